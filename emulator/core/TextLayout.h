// How the emulated host lays out point text: lines, widths and bounds from real font metrics.
//
// A point text is set one line per paragraph (paragraphs end at a carriage return, 13; no
// line is ever wrapped). Everything here is in the frame's own coordinates (the first
// baseline starts at the origin, y upwards) unless it says otherwise; PointText::matrix
// takes frame coordinates to artwork coordinates.
//
// Metrics come from the system's fonts (FontFaces.h): a name that is not installed is set
// in the face the system substitutes for it, and an empty name in its default face. None of
// this is thread-safe.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "emulator/core/Artwork.h"
#include "plugin/host/Records.h"

namespace emulator {

// The distance between the baselines of two paragraphs, in points, before their spacing:
// exactly 1.2 × the font size.
double Leading(double size);

// How far a font reaches above and below its baseline at a size, in points (both ≥ 0).
struct FontExtent {
    double ascent = 0;
    double descent = 0;
};

// The extent of the font named `postScriptName` (UTF-8) at `size` points.
FontExtent FontExtentOf(const std::string& postScriptName, double size);

// The width in points of one line of characters (UTF-16, without carriage returns) in the
// font `postScriptName` at `size` points: the sum of the glyphs' advances, plus
// `tracking` × size / 1000 between each two characters (none after the last). Kerning is
// not applied. A character the font lacks takes the width of the font's missing glyph.
double LineWidth(const std::string& postScriptName, double size, double tracking,
                 std::u16string_view line);

// One paragraph of a point text as it is set.
struct TextLine {
    std::u16string text;  // the paragraph's characters, without its carriage return
    double width = 0;     // LineWidth of `text`
    // Where the line starts on its baseline: 0 for left justification, −width / 2 centred,
    // −width right-justified.
    double x = 0;
    // The height of its baseline: 0 for the first line; each next one lower by the leading
    // plus the space after the paragraph above and the space before its own. All lines are
    // raised by the baseline shift.
    double baseline = 0;
};

struct PointTextLayout {
    // One line per paragraph: an empty text has one empty line, a text ending with a
    // carriage return an empty last line.
    std::vector<TextLine> lines;
    FontExtent extent;  // of the text's font at its size
};

// Sets `text` with its features.
PointTextLayout LayOutPointText(const PointText& text);

// The extent of a point text in artwork coordinates (top above bottom): the union of the
// lines' boxes [x, x + width] × [baseline − descent, baseline + ascent], its four corners
// taken through the frame's matrix. An empty text is a box of no size at its anchor.
AIRealRect PointTextBounds(const PointText& text);

}  // namespace emulator
