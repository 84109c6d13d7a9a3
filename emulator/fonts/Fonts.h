// The host's font list.
#pragma once

#include <string>
#include <vector>

namespace emulator {

// The PostScript names of the fonts that fontconfig finds, without repeats: first the face
// it matches for "sans-serif" (the system's default text face), then the others sorted by
// name.
std::vector<std::string> InstalledFonts();

// The PostScript name of the face fontconfig matches for "sans-serif", or "" when it matches
// none.
std::string DefaultSansSerifFont();

}  // namespace emulator
