// The few real-number operations that the measures share with the host's real-math suite,
// computed the way that suite computes them, and the rounding of a double into the 32-bit
// float in which the measures are held.
#pragma once

#include "plugin/host/Records.h"

namespace measure {

// `value` rounded to the nearest float. A finite value beyond the float range becomes the
// infinity of its sign (instead of the undefined conversion); NaN stays NaN.
float StoreAsFloat(double value);

// `x` rounded to the nearest whole number, halves away from zero (2.5 gives 3, -2.5 gives
// -3), as every rounding of the measures does.
double RoundHalfAwayFromZero(double x);

// The distance between two points, computed in double and held as a float. Non-finite
// coordinates give a non-finite distance.
float PointDistance(const AIRealPoint& a, const AIRealPoint& b);

// Radians to degrees with the plain factor 180/π, computed in double and held as a float.
float RadiansToDegrees(float radians);

}  // namespace measure
