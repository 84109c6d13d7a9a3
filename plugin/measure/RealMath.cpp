#include "plugin/measure/RealMath.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace measure {

float StoreAsFloat(double value) {
    constexpr float kLargest = std::numeric_limits<float>::max();
    if (std::fabs(value) <= kLargest || std::isnan(value)) {
        return static_cast<float>(value);
    }
    // Above the largest float, a value still rounds down to it up to half a unit of its last
    // place (2^103); from there on it rounds to infinity.
    const double halfLastPlace = std::ldexp(1.0, 103);
    const float magnitude = std::fabs(value) < kLargest + halfLastPlace
                                ? kLargest
                                : std::numeric_limits<float>::infinity();
    return value < 0 ? -magnitude : magnitude;
}

double RoundHalfAwayFromZero(double x) {
    return x > 0 ? std::floor(x + 0.5) : std::ceil(x - 0.5);
}

float PointDistance(const AIRealPoint& a, const AIRealPoint& b) {
    const double dx = static_cast<double>(b.h) - a.h;
    const double dy = static_cast<double>(b.v) - a.v;
    return StoreAsFloat(std::sqrt(dx * dx + dy * dy));
}

float RadiansToDegrees(float radians) {
    return StoreAsFloat(radians * (180.0 / std::numbers::pi));
}

}  // namespace measure
