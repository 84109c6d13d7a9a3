# The 32-bit plug-in beside the Windows build, and the release archive made from both
# (`cpack` in this build): x86/ and x64/, each with the plug-in file and its four click
# sounds, and LISEZMOI.txt.

# The 32-bit plug-in comes from a build of its own in x86/ (the plug-in alone, for i686),
# run at every build so that it follows the sources. One compiler at a time inside it: the
# outer build already runs its own jobs beside it.
include(ExternalProject)
set(x86_build ${CMAKE_BINARY_DIR}/x86)
set(MESRA_X86_PLUGIN "${x86_build}/bin/plugin/${MESRA_PLUGIN_FILE_NAME}.aip")
set(x86_launcher "")
if(CMAKE_CXX_COMPILER_LAUNCHER)
    set(x86_launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER})
endif()
ExternalProject_Add(mesra_plugin_x86
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${x86_build}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake
               -DMESRA_PLUGIN_ONLY=ON -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} ${x86_launcher}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> -j1
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${MESRA_X86_PLUGIN})

set(sounds BipPoint.wav BipSegment.wav BipArc.wav BipBezier.wav)
install(FILES $<TARGET_FILE:mesra_plugin> DESTINATION x64)
install(FILES ${MESRA_X86_PLUGIN} DESTINATION x86)
foreach(sound ${sounds})
    install(FILES ${PROJECT_SOURCE_DIR}/plugin/resources/sounds/${sound} DESTINATION x64)
    install(FILES ${PROJECT_SOURCE_DIR}/plugin/resources/sounds/${sound} DESTINATION x86)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/plugin/resources/LISEZMOI.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Vorn-Cotaline)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Vorn-Cotaline-${PROJECT_VERSION}-windows)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/release)
include(CPack)
