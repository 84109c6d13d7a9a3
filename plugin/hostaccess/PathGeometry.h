// The anchors of a path as the host holds them.
#pragma once

#include <vector>

#include "plugin/host/ArtworkSuites.h"

namespace hostaccess {

// The anchors and the closed flag of a path; empty when the art is not a readable path.
struct PathGeometry {
    std::vector<AIPathSegment> segments;
    bool closed = false;
};
PathGeometry ReadPath(AIArtHandle path);

// True when `a` and `b` hold the same anchors, bit for bit: what was computed from one
// still holds for the other.
bool SameAnchors(const std::vector<AIPathSegment>& a, const std::vector<AIPathSegment>& b);

}  // namespace hostaccess
