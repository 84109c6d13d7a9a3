// The complete texts of dimensions and of the measuring tools' read-outs: the main measure
// with its unit mark, the R or Ø of radii, and the second measure on a line of its own when
// double measure is on. One builder per kind of measure; each writes a shared text that the
// drawing and the cursor tips read afterwards.
//
// Every text is Windows-1252. With the no-measure unit (`unitKind` 10) the length labels
// stay empty, so the dimension gets no text frame.
#pragma once

#include <cstdint>
#include <string>

#include "plugin/host/Records.h"

namespace measure {

// The length of `path` between its anchors `from` and `to`, in points (the geometry
// kernel's measure; equal indices give the perimeter of a closed path).
using PathLengthBetween = double (*)(AIArtHandle path, std::int32_t from, std::int32_t to);

// The measure text written by the last length, arc, curve or radius builder: the main line
// and, with a second measure (settings::HasSecondMeasure), '\r' and the second line. Each
// of those builders empties it first.
const std::string& MeasureText();

// The length between (x1, y1) and (x2, y2) by `dimensionType`: oblique (0) and both (3)
// measure the distance; horizontal (1) |x2 - x1|, or |y2 - y1| with `swapAxis`; vertical
// (2) |y2 - y1|, or |x2 - x1| with `swapAxis`. An unknown type measures the distance.
void BuildSegmentLabel(float x1, float y1, float x2, float y2, bool swapAxis);

// The length of a circular arc: radius × |angle|, or radius × (2π − |angle|) when `reflex`.
void BuildArcLengthLabel(float radius, float angle, bool reflex);

// The length of `path` between two of its anchors, as `lengthBetween` measures it. Without
// a measuring function the text stays empty.
void BuildCurveLengthLabel(AIArtHandle path, std::int32_t from, std::int32_t to,
                           PathLengthBetween lengthBetween);

// A radius, or the diameter (twice the radius) when `showDiameter` differs from `altDrag`
// (Alt held while the dimension is dragged toggles the two). With `radiusPrefixOn` each line
// carries the symbol R or Ø: "R 12,5 mm" with `radiusPrefixBefore`, "12,5 mm R" without.
// A second line whose unit gives no text stays empty, without a symbol.
void BuildRadiusLabel(float radius, bool altDrag);

// The area text of the Lengths & Areas tool and the cursor tips, kept apart from the measure
// text.
const std::string& AreaText();

// Writes FormatArea(area) into the area text and returns true; with `requireClosed` and an
// open path, returns false. The text is emptied first, so that it never shows the area of
// an earlier call: with the no-measure unit it returns true and stays empty.
bool BuildAreaLabel(bool pathClosed, double area, bool requireClosed);

// The total length of the Lengths & Areas tool's selection: the length of `points` in the
// main unit and precision, with its unit mark always written. "" for the no-measure unit.
std::string SelectionLengthText(double points);

// The cursor tip's length of `path` between two anchors, written by BuildTipLengthLabel.
const std::string& TipLengthText();

// Writes into the tip length text the length of `path` between two anchors in the main unit
// and precision, always with a French mark (" mm", " po" for inches, ...); the fractional
// units write "W N/D po", and feet and inches "F pi I N/D po". The no-measure unit, or no
// measuring function, gives an empty text.
void BuildTipLengthLabel(AIArtHandle path, std::int32_t from, std::int32_t to,
                         PathLengthBetween lengthBetween);

}  // namespace measure
