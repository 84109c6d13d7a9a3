// The host's font list.
#pragma once

#include <string>
#include <vector>

namespace emulator {

// The PostScript names of the fonts that fontconfig finds, sorted and without repeats.
std::vector<std::string> InstalledFonts();

}  // namespace emulator
