# The plug-in: its code compiled once into an object library, linked into the plug-in file
# (a module exporting PluginMain and nothing else) and into a static library that the unit
# tests link to reach the plug-in's inner functions.

add_library(mesra_plugin_objects OBJECT)
set_target_properties(mesra_plugin_objects PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
target_include_directories(mesra_plugin_objects PUBLIC ${PROJECT_SOURCE_DIR})

foreach(dir hostaccess settings measure preferences geometry ate drawing tools ui frame)
    if(EXISTS ${PROJECT_SOURCE_DIR}/${dir}/CMakeLists.txt)
        add_subdirectory(${dir})
    endif()
endforeach()

if(WIN32)
    target_sources(mesra_plugin_objects PRIVATE ${PROJECT_SOURCE_DIR}/hostaccess/WindowsPlatform.cpp)
else()
    target_sources(mesra_plugin_objects PRIVATE ${PROJECT_SOURCE_DIR}/hostaccess/HostedPlatform.cpp)
endif()

add_library(mesra_plugin MODULE $<TARGET_OBJECTS:mesra_plugin_objects>)
set_target_properties(mesra_plugin PROPERTIES
    OUTPUT_NAME "${MESRA_PLUGIN_FILE_NAME}"
    PREFIX ""
    SUFFIX ".aip"
    LIBRARY_OUTPUT_DIRECTORY ${MESRA_PLUGIN_DIR}
    RUNTIME_OUTPUT_DIRECTORY ${MESRA_PLUGIN_DIR})

if(WIN32)
    # The Windows resources: property list, icons, cursors and the image map.
    target_sources(mesra_plugin PRIVATE ${PROJECT_SOURCE_DIR}/resources/Mesra.rc)
    set_source_files_properties(${PROJECT_SOURCE_DIR}/resources/Mesra.rc PROPERTIES
        COMPILE_FLAGS "--include-dir=${PROJECT_SOURCE_DIR}/resources")
    target_link_libraries(mesra_plugin PRIVATE winmm)
    target_link_options(mesra_plugin PRIVATE -static-libgcc -static-libstdc++ -static)
else()
    # The same resources in a section of the plug-in file that the host reads.
    set(bundle ${CMAKE_BINARY_DIR}/generated/ResourceBundle.cpp)
    file(GLOB resource_files CONFIGURE_DEPENDS
         ${PROJECT_SOURCE_DIR}/resources/IDToFile.txt
         ${PROJECT_SOURCE_DIR}/resources/icons/*.png
         ${PROJECT_SOURCE_DIR}/resources/cursors/*.png)
    add_custom_command(
        OUTPUT ${bundle}
        COMMAND ${CMAKE_COMMAND} -DRESOURCES=${PROJECT_SOURCE_DIR}/resources -DOUTPUT=${bundle}
                -P ${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake
        DEPENDS ${resource_files} ${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake
        COMMENT "Embedding the plug-in's resources")
    target_sources(mesra_plugin PRIVATE ${bundle})
    # The plug-in exports PluginMain and nothing else, whatever visibility the standard
    # library's own inline data asks for.
    target_link_options(mesra_plugin PRIVATE
        -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/plugin-exports.map)
    set_property(TARGET mesra_plugin APPEND PROPERTY LINK_DEPENDS
        ${PROJECT_SOURCE_DIR}/cmake/plugin-exports.map)
    # Nothing but the C++ standard library: no undefined symbol may wait for another one.
    if(NOT MESRA_SANITIZE AND NOT MESRA_FUZZ)
        target_link_options(mesra_plugin PRIVATE -Wl,--no-undefined)
    endif()
endif()

# The click sounds go beside the plug-in file.
foreach(sound BipPoint BipSegment BipArc BipBezier)
    configure_file(${PROJECT_SOURCE_DIR}/resources/sounds/${sound}.wav
                   ${MESRA_PLUGIN_DIR}/${sound}.wav COPYONLY)
endforeach()

add_library(mesra_plugin_internals STATIC $<TARGET_OBJECTS:mesra_plugin_objects>)
target_include_directories(mesra_plugin_internals PUBLIC ${PROJECT_SOURCE_DIR})
