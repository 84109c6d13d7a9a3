// The arc-length dimension: an arc concentric with a measured arc of circle, offset from it,
// with its arrowheads, radial extension lines at the measured arc's ends and the arc's
// length as text.
#pragma once

#include "plugin/host/Records.h"

namespace drawing {

// What an arc-length dimension is drawn from.
struct ArcLengthState {
    AIRealPoint centre{0, 0};
    // The measured arc: its radius, the direction of its first end and its signed sweep
    // (counter-clockwise when positive; more than half a turn for a long arc).
    double radius = 0;
    double startAngle = 0;
    double sweep = 0;
    // How far the dimension arc lies outside the measured one (inside when negative).
    double offset = 0;
};

ArcLengthState& ArcLength();

// Creates the art of a new arc-length dimension in the dimension group: its arc and the two
// extension lines above it, tagged as auxiliary art. The heads and the texts come with the
// layout.
void CreateArcLengthDimensionArt();

// Lays the arc-length dimension out from ArcLength() for `cursor`: the dimension arc at the
// measured radius plus the offset (never below the least arc radius), its heads (outside
// pointing in when `arrowsOutside`), the extension lines from `extensionGap` off the
// measured arc to just past the dimension arc, and the length text where the dimension
// arc meets the direction of the arc's middle or the opposite one, whichever lies nearer
// the cursor, raised by `textOffset`. Marks the dimension as laid out.
void BuildArcLengthDimension(AIRealPoint cursor, bool arrowsOutside);

}  // namespace drawing
