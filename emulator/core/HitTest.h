// What lies under a point of the artwork: the host's hit testing.
#pragma once

#include <vector>

#include "emulator/core/Document.h"
#include "emulator/core/HitIndex.h"
#include "plugin/host/ArtworkSuites.h"

namespace emulator {

struct Hit {
    bool hit = false;
    Art* art = nullptr;
    ASInt32 type = kAnchorHit;
    ASInt32 segment = 0;
    double t = 0;
    AIRealPoint point{0, 0};
    // How far the point hit lies from the point tested.
    double distance = 0;
};

// Hit-tests the paths and texts of `document` (or only `within` and what it holds) at
// `point` within `tolerance` artwork points for what `request` asks (kHitAnchorPoints,
// kHitInHandles, kHitSegments, kHitFills; 0 for all). Each path offers its best hit: an
// anchor within the tolerance beats a centre point, a handle, a segment and a fill of the
// same path (so an anchor wins over the segments that meet at it), and the nearest of each
// kind wins. Across art the nearest hit wins; at the same distance the higher kind wins
// (an anchor the point is exactly on beats the segments of other paths through it), and
// only then the topmost art. A text with characters is hit as a fill (segment 0, t 0, the
// point itself) anywhere within the tolerance of its bounds, at its distance from them; a
// fill is hit at distance 0. Locked, hidden and guide art is never hit; handles are hit
// only on selected paths. Art whose extent lies farther than the tolerance is not
// examined.
// With an `index`, only the art it finds near the point is examined; without one all of it
// is (the literal search, kept to check that both find the same).
Hit HitTestDocument(Document& document, AIRealPoint point, double tolerance, ASInt32 request,
                    Art* within = nullptr, HitIndex* index = nullptr);

// The point of a cubic nearest to `point`: its parameter and its distance.
struct Nearest {
    double t = 0;
    double distance = 0;
    AIRealPoint point{0, 0};
};
Nearest NearestOnBezier(const AIRealBezier& bezier, AIRealPoint point);

}  // namespace emulator
