// The demo's drawing and session script, built into the program.
#pragma once

namespace app {

// examples/drawing.svg: a mounting plate and its parts, in millimetres.
extern const char* const kDemoDrawing;
// examples/demo.session: the Segment tool measuring the plate.
extern const char* const kDemoSession;

}  // namespace app
