// The demo's drawing and session script, built into the program.
#pragma once

namespace app {

// examples/drawing.svg: a mounting plate and its parts, in millimetres.
extern const char* const kDemoDrawing;
// examples/demo.session: every tool on the plate, and a view of each tool's cursor tip.
extern const char* const kDemoSession;

}  // namespace app
