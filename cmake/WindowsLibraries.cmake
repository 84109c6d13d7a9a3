# pugixml and FreeType for the Windows build of the emulated host, built as static libraries
# from Debian's own source packages (Debian ships MinGW builds of zlib only), at Debian's
# versions. The sources are fetched once into the build folder.

set(MESRA_DEBIAN_SOURCES ${CMAKE_BINARY_DIR}/debian-sources)
execute_process(
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/debian-sources.sh ${MESRA_DEBIAN_SOURCES}
            pugixml freetype
    RESULT_VARIABLE fetched)
if(NOT fetched EQUAL 0)
    message(FATAL_ERROR "the sources of pugixml and FreeType could not be fetched")
endif()
file(GLOB pugixml_source LIST_DIRECTORIES true ${MESRA_DEBIAN_SOURCES}/pugixml-*/src)
file(GLOB freetype_source LIST_DIRECTORIES true ${MESRA_DEBIAN_SOURCES}/freetype-*/CMakeLists.txt)
list(GET pugixml_source 0 pugixml_source)
list(GET freetype_source 0 freetype_source)
get_filename_component(freetype_source ${freetype_source} DIRECTORY)

# pugixml is one source file, meant to be compiled into the program that uses it.
add_library(pugixml STATIC ${pugixml_source}/pugixml.cpp)
target_include_directories(pugixml SYSTEM PUBLIC ${pugixml_source})
target_compile_options(pugixml PRIVATE -w)

# FreeType with its own build, without its optional libraries (bzip2-compressed fonts, PNG
# glyphs, HarfBuzz, Brotli): the host reads plain TrueType and OpenType files. Its gzip
# support uses the zlib the host links (its own copy would define zlib's functions twice).
include(ExternalProject)
set(freetype_prefix ${CMAKE_BINARY_DIR}/freetype)
set(freetype_library ${freetype_prefix}/lib/libfreetype.a)
set(toolchain ${CMAKE_TOOLCHAIN_FILE})
if(NOT IS_ABSOLUTE "${toolchain}")
    set(toolchain ${PROJECT_SOURCE_DIR}/${toolchain})
endif()
set(launcher "")
if(CMAKE_CXX_COMPILER_LAUNCHER)
    set(launcher -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER})
endif()
ExternalProject_Add(freetype_build
    SOURCE_DIR ${freetype_source}
    BINARY_DIR ${freetype_prefix}/build
    INSTALL_DIR ${freetype_prefix}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${toolchain} -DCMAKE_BUILD_TYPE=Release
               -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR> -DBUILD_SHARED_LIBS=OFF ${launcher}
               -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON
               -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> -j1
    BUILD_BYPRODUCTS ${freetype_library}
    EXCLUDE_FROM_ALL ON)
file(MAKE_DIRECTORY ${freetype_prefix}/include/freetype2)
add_library(freetype STATIC IMPORTED GLOBAL)
set_target_properties(freetype PROPERTIES
    IMPORTED_LOCATION ${freetype_library}
    INTERFACE_INCLUDE_DIRECTORIES ${freetype_prefix}/include/freetype2
    INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
add_dependencies(freetype freetype_build)
