#include "plugin/geometry/Trigonometry.h"

#include <cmath>

namespace geometry {
namespace {

// A quarter turn in four parts: the first three of 24 bits each, so that their products by
// a whole number of quarter turns up to 64 are exact, the last the rest.
constexpr double kQuarter1 = 0x1.921fb4p+0;
constexpr double kQuarter2 = 0x1.4442dp-24;
constexpr double kQuarter3 = 0x1.846988p-48;
constexpr double kQuarter4 = 0x1.8cc51701b839ap-72;
constexpr double kQuarterTurn = 0x1.921fb54442d18p+0;

// Within this distance of a multiple of a quarter turn, sin r rounds to r and cos r to 1.
constexpr double kNearMultiple = 1e-9;
constexpr double kMostQuarters = 64;

}  // namespace

SineCosine SinCos(double angle) {
    const double quarters = std::nearbyint(angle / kQuarterTurn);
    if (std::fabs(quarters) <= kMostQuarters) {
        // Each subtraction but the last is exact: the two numbers are within a factor of two.
        double r = angle - quarters * kQuarter1;
        r -= quarters * kQuarter2;
        r -= quarters * kQuarter3;
        r -= quarters * kQuarter4;
        if (std::fabs(r) < kNearMultiple) {
            switch (static_cast<int>(quarters) & 3) {
                case 0:
                    return {r, 1};
                case 1:
                    return {1, -r};
                case 2:
                    return {-r, -1};
                default:
                    return {-1, r};
            }
        }
    }
    return {std::sin(angle), std::cos(angle)};
}

}  // namespace geometry
