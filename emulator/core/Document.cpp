#include "emulator/core/Document.h"

#include <cmath>
#include <limits>

namespace emulator {

AIPoint View::ToViewPoint(const AIRealPoint& artwork) const {
    return {static_cast<ASInt32>(std::lround((artwork.h - origin.h) * zoom)),
            static_cast<ASInt32>(std::lround((origin.v - artwork.v) * zoom))};
}

AIRealPoint View::ToArtworkPoint(const AIPoint& point) const {
    return {static_cast<AIReal>(origin.h + point.h / zoom),
            static_cast<AIReal>(origin.v - point.v / zoom)};
}

AIRealRect View::Bounds() const {
    return {origin.h, origin.v, static_cast<AIReal>(origin.h + widthPixels / zoom),
            static_cast<AIReal>(origin.v - heightPixels / zoom)};
}

bool Document::HasArtworkPoint(double x, double y) const {
    constexpr double kLargest = std::numeric_limits<AIReal>::max();
    return std::abs(x * unitScale) <= kLargest && std::abs(y * unitScale) <= kLargest;
}

AIRealPoint Document::ToArtwork(double x, double y) const {
    return {static_cast<AIReal>(x * unitScale), static_cast<AIReal>(-y * unitScale)};
}

}  // namespace emulator
