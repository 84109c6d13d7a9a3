// The numerics behind the host's real-math and Bézier suites: free functions on the host's
// points and cubic Béziers, computed in double precision.
//
// Parameters are clamped to [0, 1] (NaN counts as 0). A curve with a non-finite
// coordinate is degenerate: see each function for its answer.
#pragma once

#include <optional>

#include "plugin/host/Records.h"

namespace emulator {

// `value` rounded to the nearest float; a finite value beyond the float range becomes the
// infinity of its sign (the plain conversion would be undefined), NaN stays NaN.
float StoreFloat(double value);

// `value` moved to a whole multiple of |multiple|: away from zero with `roundUp`, toward
// zero without. A quotient within a millionth of a whole number n (of 1 when n is 0) is
// taken as n, so a value already on a multiple stays there. A multiple of 0 or a
// non-finite argument gives `value`.
double RoundToMultiple(double value, double multiple, bool roundUp);

// True when a and b are at most `tolerance` apart; false for a negative or NaN tolerance
// and for non-finite coordinates.
bool PointsClose(const AIRealPoint& a, const AIRealPoint& b, double tolerance);

// True when every coordinate of the curve is finite.
bool IsFinite(const AIRealBezier& bezier);

// The point of the curve at t: exactly p0 at 0 and p3 at 1; (0, 0) for a degenerate curve.
AIRealPoint BezierPoint(const AIRealBezier& bezier, double t);

// The tangent at t, pointing the way the curve runs: the derivative of the curve in t;
// where it vanishes, the second derivative (reversed at t = 1); then the chord p0→p3;
// (0, 0) for a single point or a degenerate curve.
AIRealPoint BezierTangent(const AIRealBezier& bezier, double t);

// The length of the curve (see the Bézier suite for the method); 0 for a single point or
// a degenerate curve.
double BezierLength(const AIRealBezier& bezier, double flatness);

// The parameter at which the length from p0 reaches `length`: 0 for a length of 0 or
// less, 1 for the curve's length or more, 0 for a single point. Nothing for a NaN length
// or a degenerate curve.
std::optional<double> BezierParameterAtLength(const AIRealBezier& bezier, double length,
                                              double flatness);

struct BezierHalves {
    AIRealBezier first;
    AIRealBezier second;
};

// The curve split at t by de Casteljau's construction; first.p3 and second.p0 are equal,
// first.p0 is p0 and second.p3 is p3 exactly. Nothing for a degenerate curve.
std::optional<BezierHalves> DivideBezier(const AIRealBezier& bezier, double t);

}  // namespace emulator
