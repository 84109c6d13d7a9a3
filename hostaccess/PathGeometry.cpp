#include "hostaccess/PathGeometry.h"

#include "hostaccess/Suites.h"

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

}  // namespace hostaccess
