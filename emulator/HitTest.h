// What lies under a point of the artwork: the host's hit testing.
#pragma once

#include "emulator/Document.h"
#include "host/ArtworkSuites.h"

namespace emulator {

struct Hit {
    bool hit = false;
    Art* art = nullptr;
    ASInt32 type = kAnchorHit;
    ASInt32 segment = 0;
    double t = 0;
    AIRealPoint point{0, 0};
};

// Hit-tests the paths of `document` (or only `within` and what it holds) at `point` within
// `tolerance` points for what `request` asks (kHitAnchorPoints, kHitInHandles,
// kHitSegments, kHitFills; 0 for all). The topmost path with a hit wins; within a path an
// anchor beats a centre point, a handle, a segment and a fill, and the nearest of each kind
// wins. Locked, hidden and guide art is never hit; handles are hit only on selected paths.
// Paths whose extent lies farther than the tolerance are not examined.
// Without `cull` every path is examined whatever its extent (the literal search, kept to
// check that both find the same).
Hit HitTestDocument(Document& document, AIRealPoint point, double tolerance, ASInt32 request,
                    Art* within = nullptr, bool cull = true);

// The point of a cubic nearest to `point`: its parameter and its distance.
struct Nearest {
    double t = 0;
    double distance = 0;
    AIRealPoint point{0, 0};
};
Nearest NearestOnBezier(const AIRealBezier& bezier, AIRealPoint point);

}  // namespace emulator
