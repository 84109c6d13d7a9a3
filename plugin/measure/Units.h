// Lengths, areas and angles as the user reads them: the drawing scale applied, converted
// from host points to the chosen unit, written as numbers with their unit marks. Inches of
// the fractional units are written as whole numbers with a binary fraction reduced from
// 32nds, and the feet-and-inches unit splits feet from inches.
//
// Every text is Windows-1252.
#pragma once

#include <cstdint>
#include <string>

namespace measure {

// A full turn, 2π held as a float; the outer angle of a sweep a is kFullTurn - |a|.
constexpr float kFullTurn = 6.2831855f;

// The mark written after a length in `unit` when the unit is shown (" mm", " \"" for the
// inch units...); "" for the no-measure unit and unknown codes.
const char* LengthMark(std::int32_t unit);

// The value of a length of `points` in `unit` (a settings::UnitKind), divided by the live
// `scaleFactor`: computed in double, held as a float. The inch units give decimal inches.
// The no-measure unit (10) and any unknown code give 0; a zero scale gives an infinity.
float ConvertLength(double points, std::int32_t unit);

// The text of a length of `points` in `unit`: the number, then the unit's mark when
// `showUnit` is set. Decimal units use FormatMeasureNumber with `decimals` and the second
// measure's separator when `secondMeasure` is set. Fractional inches (4) give "W N/D" with
// D in 2..32, or "W " when the fraction reduces away (0.99 in gives "1 "); feet and inches
// (5) give "F ’ I N/D", with the feet left out below a foot and nothing before the space
// below an inch (0.15625 in gives " 5/32"). The no-measure unit (10) and unknown codes give
// "", and a non-finite value gives "?" (with the mark).
std::string FormatLength(double points, std::int32_t unit, int decimals, bool secondMeasure,
                         bool showUnit);

// The number text of the fractional units (4 and 5, as FormatLength writes it without the
// mark) of a length of `inches`, with `feetMark` between feet and inches (FormatLength uses
// space, ’, space). Any other unit is taken as 4.
std::string FormatInchFraction(float inches, std::int32_t unit, bool secondMeasure,
                               const char* feetMark);

// The text of an angle: |radians| in degrees, or the outer angle 2π − |radians| when
// `reflex` is set, written with the live `precision` and followed by ° when `showUnit` is
// set. It does not look at the unit: angles are always degrees.
std::string FormatAngle(float radians, bool reflex);

// The text of an area of `squarePoints`, in the square of the live `unitKind` (square inches
// for the three inch units), divided by the square of `scaleFactor`, written with
// `precision` and always followed by its mark (" pt2", " mm2", ...). The no-measure unit
// gives "".
std::string FormatArea(double squarePoints);

}  // namespace measure
