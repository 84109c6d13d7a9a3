#include "plugin/hostaccess/PathGeometry.h"

#include <cstring>

#include "plugin/hostaccess/Suites.h"

namespace hostaccess {

PathGeometry ReadPath(AIArtHandle path) {
    PathGeometry geometry;
    ASInt32 type = kUnknownArt;
    ASInt16 count = 0;
    if (path == nullptr || sAIArt->GetArtType(path, &type) != 0 || type != kPathArt ||
        sAIPath->GetPathSegmentCount(path, &count) != 0 || count <= 0) {
        return geometry;
    }
    geometry.segments.resize(static_cast<std::size_t>(count));
    AIBoolean closed = false;
    if (sAIPath->GetPathSegments(path, 0, count, geometry.segments.data()) != 0 ||
        sAIPath->GetPathClosed(path, &closed) != 0) {
        geometry.segments.clear();
        return geometry;
    }
    geometry.closed = closed != 0;
    return geometry;
}

bool SameAnchors(const std::vector<AIPathSegment>& a, const std::vector<AIPathSegment>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(AIPathSegment)) == 0);
}

}  // namespace hostaccess
