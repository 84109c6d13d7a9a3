// The texts of a dimension: the measure text frame and the two tolerance texts, with the
// character and paragraph attributes that the settings give them.
#pragma once

#include <string>

#include "plugin/host/Records.h"

namespace drawing {

// The kinds of measure text, which differ in their baseline shift and in whether the
// no-measure unit leaves them out.
enum class LabelKind { Segment, ArcLength, CurveLength, Radius, Angle };

// The baseline shift of a measure text of `kind`: a third of the font size down, or up for
// the lengths when double measure puts a second line under the first.
double MeasureBaselineShift(LabelKind kind, double fontSize, bool doubleMeasure);

// Creates the measure text frame of line set `index` at `anchor` (or reuses the live one)
// and fills it with `label` (Windows-1252; a carriage return starts a second paragraph).
// With the no-measure unit, a length's frame is disposed of and nothing is made: false.
bool CreateMeasureTextFrame(LabelKind kind, AIRealPoint anchor, const std::string& label,
                            int index = 0);

// Duplicates the measure text frame of line set `index` into tolerance text `which` (1 or
// 2): 70 % of the measure's size, raised by the tolerance's offset, left-justified, holding
// the tolerance's sign and text. The previous tolerance frame of that number is disposed
// of. Null when there is no measure text to copy or the host refused.
AIArtHandle CreateToleranceText(int which, int index = 0);

// Moves tolerance text `which` right by half the measure text's width, so that it starts at
// the right end of the centred measure.
void PlaceToleranceBesideMeasure(int which, int index = 0);

// Puts a new measure text frame holding `label` at `anchor` in place of line set 0's
// (disposing of the old one and of its tolerance texts), then a tolerance text beside it
// for each tolerance whose flag is on. With the no-measure unit a length gets no text.
void PlaceMeasureText(LabelKind kind, AIRealPoint anchor, const std::string& label);

// A new point text on top of the dimension group holding `text` (Windows-1252) with its
// anchor at `anchor`, left-justified, in the measure text's font, size and colour. Null
// when the host refused.
AIArtHandle CreateTextLine(AIRealPoint anchor, const std::string& text);

// The text of tolerance `sign` (0 '+', 1 '-', 2 '±') and `text` (Windows-1252).
std::string ToleranceLabel(std::int32_t sign, const std::string& text);

}  // namespace drawing
