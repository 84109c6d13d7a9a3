# The demo's drawing and session, built into the `mesra` program so that the demo runs
# from any folder: each file becomes a raw string literal of a generated source file.

set(MESRA_DEMO_FILES
    ${PROJECT_SOURCE_DIR}/examples/drawing.svg
    ${PROJECT_SOURCE_DIR}/examples/demo.session)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MESRA_DEMO_FILES})
file(READ ${PROJECT_SOURCE_DIR}/examples/drawing.svg MESRA_DEMO_DRAWING)
file(READ ${PROJECT_SOURCE_DIR}/examples/demo.session MESRA_DEMO_SESSION)
foreach(text MESRA_DEMO_DRAWING MESRA_DEMO_SESSION)
    string(FIND "${${text}}" ")mesra\"" clash)
    if(NOT clash EQUAL -1)
        message(FATAL_ERROR "a demo file contains the raw string delimiter )mesra\"")
    endif()
endforeach()
set(MESRA_DEMO_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/DemoFiles.cpp)
file(CONFIGURE OUTPUT ${MESRA_DEMO_SOURCE} CONTENT
"// Generated from examples/drawing.svg and examples/demo.session: do not edit.
#include \"app/DemoFiles.h\"

namespace app {

const char* const kDemoDrawing = R\"mesra(@MESRA_DEMO_DRAWING@)mesra\";
const char* const kDemoSession = R\"mesra(@MESRA_DEMO_SESSION@)mesra\";

}  // namespace app
" @ONLY)
