// The curve-length dimension: a copy of a measured curve offset beside it, shortened at
// both ends for its arrowheads, with extension lines joining the two and the curve's length
// as text.
#pragma once

#include <cstdint>

#include "plugin/host/Records.h"

namespace drawing {

// What a curve-length dimension is drawn from.
struct CurveState {
    // The measured curve, and the path and anchors it runs between.
    AIRealBezier curve{};
    AIArtHandle path = nullptr;
    std::int16_t from = 0;
    std::int16_t to = 0;
    // How far the dimension line lies from the curve: to the left of the way it runs when
    // positive, to the right when negative.
    double offset = 0;
};

CurveState& Curve();

// The message shown when the host cannot offset the curve that far (Windows-1252).
extern const char* const kOffsetTooLarge;

// The offset `extensionLength` is set back to after that message: one millimetre.
constexpr double kOffsetAfterFailure = 2.8346456492;

// The length of `path` from its anchor `from` to `to`, in points (0 for a path that cannot be
// read).
double PathLengthBetweenAnchors(AIArtHandle path, std::int32_t from, std::int32_t to);

// Creates the art of a new curve-length dimension in the dimension group: the two
// extension lines and the dimension line below them, tagged as auxiliary art.
void CreateCurveDimensionArt();

// Lays the curve dimension out from Curve(): the offset copy of the curve, shortened at each
// end by the heads' setback along it (not when the heads are outside, pointing in, with
// `arrowsOutside`), the heads at its unshortened ends, the extension lines from
// `extensionGap` off the curve's ends to just past the line's, and the length text at the
// middle of the line raised by `textOffset`. When the host cannot offset the curve, tells
// the user, disposes of the dimension, sets `extensionLength` back to one millimetre and
// answers false.
bool BuildCurveDimension(bool arrowsOutside);

}  // namespace drawing
