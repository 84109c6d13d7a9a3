// The fonts of the system the host runs on, as the core asks for them: the names of the
// installed fonts and the metrics of their faces.
//
// The core declares these functions and the font adapter linked into the program defines
// them (emulator/fonts: FreeType over the font files that fontconfig finds). A name that is
// not installed is set in the face the system substitutes for it (DejaVu Sans on a plain
// Debian system), an empty name in the system's default face; when not even a substitute
// can be opened, a face measures half an em a character, 0.8 em above the baseline and
// 0.2 em below. None of this is thread-safe.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace emulator {

// The PostScript names of the installed fonts, without repeats: first the system's default
// text face (the face matched for "sans-serif"), then the others sorted by name.
std::vector<std::string> InstalledFonts();

// The PostScript name of the face matched for "sans-serif", or "" when there is none.
std::string DefaultSansSerifFont();

// How far the face that sets `postScriptName` reaches above and below its baseline, in ems
// (both ≥ 0).
struct FaceExtent {
    double ascent = 0;
    double descent = 0;
};
FaceExtent FaceExtentInEms(const std::string& postScriptName);

// The sum of the advances of `characters` in the face that sets `postScriptName`, in ems,
// without kerning. A character the face lacks takes the width of its missing glyph.
double AdvancesInEms(const std::string& postScriptName, std::u32string_view characters);

}  // namespace emulator
