// Where two curves of the artwork cross: the crossing point that the Segment tool measures
// from when the cursor is over two paths at once.
#pragma once

#include <optional>

#include "plugin/host/Records.h"

namespace geometry {

// The crossing of the cubic curves `a` and `b` (straight segments included: a curve whose
// handles lie on its anchors) nearest to `near`, in artwork coordinates. The curves are cut
// in halves until each piece lies within a thousandth of a point of its chord, the chords
// are crossed, and each crossing found is brought onto both curves by Newton's method.
// Nothing when the curves do not cross, when they run along each other (no single point
// to give), or when a coordinate is not finite. Needs none of the host's suites.
std::optional<AIRealPoint> CrossingNearest(const AIRealBezier& a, const AIRealBezier& b,
                                           const AIRealPoint& near);

}  // namespace geometry
