// The page of `mesra serve` (app/web/mesra.html), built into the program.
#pragma once

namespace app {

extern const char* const kServePage;

}  // namespace app
