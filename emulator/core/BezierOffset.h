// The offset of a cubic Bézier: the curve moved sideways by a distance along its normal,
// approximated by cubic pieces. Computed in double precision on the host's curves.
#pragma once

#include <vector>

#include "plugin/host/Records.h"

namespace emulator {

enum class OffsetOutcome {
    kDone,      // the pieces are written
    kFolds,     // the offset folds over itself: a bend too tight, a cusp, a turn back
    kBadCurve,  // a non-finite coordinate or distance, or a curve that is a single point
};

struct OffsetResult {
    OffsetOutcome outcome = OffsetOutcome::kBadCurve;
    std::vector<AIRealBezier> pieces;  // empty unless kDone
};

// The curve offset by `distance` to the left of the way it runs (y upwards), as cubic
// pieces from the side of p0 that stay within `tolerance` of the true offset, and it within
// `tolerance` of them. The first piece starts at p0 + distance × the unit normal at p0, the
// last ends at the same for p3, and each piece starts exactly where the one before ends. A
// distance of 0 gives the curve itself; a straight curve gives one straight piece.
OffsetResult OffsetBezier(const AIRealBezier& bezier, double distance, double tolerance);

}  // namespace emulator
