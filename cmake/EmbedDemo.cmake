# The demo's drawing and session, and the page of `mesra serve`, built into the `mesra`
# program so that it runs from any folder: each file becomes a raw string literal of a
# generated source file.

set(MESRA_DEMO_FILES
    ${PROJECT_SOURCE_DIR}/examples/drawing.svg
    ${PROJECT_SOURCE_DIR}/examples/demo.session
    ${PROJECT_SOURCE_DIR}/app/web/mesra.html)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MESRA_DEMO_FILES})
file(READ ${PROJECT_SOURCE_DIR}/examples/drawing.svg MESRA_DEMO_DRAWING)
file(READ ${PROJECT_SOURCE_DIR}/examples/demo.session MESRA_DEMO_SESSION)
file(READ ${PROJECT_SOURCE_DIR}/app/web/mesra.html MESRA_SERVE_PAGE)
foreach(text MESRA_DEMO_DRAWING MESRA_DEMO_SESSION MESRA_SERVE_PAGE)
    string(FIND "${${text}}" ")mesra\"" clash)
    if(NOT clash EQUAL -1)
        message(FATAL_ERROR "a demo file contains the raw string delimiter )mesra\"")
    endif()
endforeach()
set(MESRA_DEMO_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/DemoFiles.cpp)
file(CONFIGURE OUTPUT ${MESRA_DEMO_SOURCE} CONTENT
"// Generated from examples/drawing.svg, examples/demo.session and app/web/mesra.html: do not
// edit.
#include \"app/DemoFiles.h\"
#include \"app/ServePage.h\"

namespace app {

const char* const kDemoDrawing = R\"mesra(@MESRA_DEMO_DRAWING@)mesra\";
const char* const kDemoSession = R\"mesra(@MESRA_DEMO_SESSION@)mesra\";
const char* const kServePage = R\"mesra(@MESRA_SERVE_PAGE@)mesra\";

}  // namespace app
" @ONLY)
