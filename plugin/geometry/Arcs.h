// The plane geometry of angular and radial dimensions: the signed angle between two
// directions, arcs of circle drawn as cubic pieces, the trimming of an arc at its
// arrowheads, the right-angle mark, and the side a leader's shoulder points to.
//
// Angles are in radians, counter-clockwise positive, in artwork coordinates (y upwards).
// Everything is computed in double precision; points are handed back as floats.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "plugin/host/Records.h"

namespace geometry {

// The distance between a and b.
double Distance(const AIRealPoint& a, const AIRealPoint& b);

// `angle` brought into (−π, π].
double NormalizeAngle(double angle);

// The direction of `to` seen from `from` (atan2); 0 when they coincide.
double DirectionAngle(const AIRealPoint& from, const AIRealPoint& to);

// The point at `distance` from `from` in the direction `angle`.
AIRealPoint PointAt(const AIRealPoint& from, double distance, double angle);

// The signed angle from the direction vertex→a to the direction vertex→b, in [−π, π],
// positive when b lies counter-clockwise from a. It is the atan2 of the cross and dot
// products of the two unit directions, so that a straight angle gives ±π and nearly equal
// directions a small angle, never NaN. Nothing when a or b coincides with the vertex (a
// side of zero length) or a coordinate is not finite.
std::optional<double> SweptAngle(const AIRealPoint& vertex, const AIRealPoint& a,
                                 const AIRealPoint& b);

// The signed sweep of the arc about `centre` that `curve` draws from p0 to p3: the angle
// between the two radii taken the way the curve runs (its middle point tells which way),
// so that a long arc sweeps more than half a turn. Nothing when an end coincides with the
// centre, when the ends coincide, or for a value that is not finite.
std::optional<double> ArcSweep(const AIRealPoint& centre, const AIRealBezier& curve);

// True when the direction `angle` lies within the arc that leaves `startAngle` and turns by
// `sweep` (either sign), ends included.
bool WithinSweep(double angle, double startAngle, double sweep);

// The anchors of the arc of `radius` about `centre` that leaves the direction `startAngle`
// and turns by `sweep` (counter-clockwise when positive), as an open path of equal cubic
// pieces of at most a quarter turn: a piece of angle α has its handles along the tangents,
// at radius × 4/3 × tan(α/4) from its anchors (0.5522847 × radius for a quarter turn), which keeps
// it within 0.03 % of the radius of the circle. Ends are corner points. Empty for a radius that is
// not positive, a sweep of 0 or more than a full turn, or a value that is not finite.
std::vector<AIPathSegment> ArcAnchors(const AIRealPoint& centre, double radius, double startAngle,
                                      double sweep);

// The angle that a length `setback` along an arc of `radius` subtends at its centre, as the
// chord of an arrowhead's base: 2 · atan(setback / (2 · radius)). 0 for a radius that is not
// positive or a value that is not finite.
double ArcTrimAngle(double setback, double radius);

// True when |sweep|, in degrees, lies strictly between 90 − 0.1^precision and
// 90 + 0.1^precision: a right angle to the precision the measure is written with.
bool IsRightAngle(double sweep, int precision);

// The three corners of the mark of a right angle at `vertex` whose first side leaves in the
// direction `firstSideAngle` and whose second side turns by `sweep` from it: a square of
// side `size` with a corner on the vertex, its two free corners on the sides and its far
// corner between them.
std::array<AIRealPoint, 3> RightAngleMark(const AIRealPoint& vertex, double size,
                                          double firstSideAngle, double sweep);

// The way a leader's horizontal shoulder points for a leader that leaves the centre in the
// direction `angle`: −1 (left) when the direction points left (|angle| > π/2), +1 (right)
// otherwise.
double ShoulderDirection(double angle);

// The side of the directed line a→b that `p` lies on: +1 left, −1 right, 0 on it (or
// when a and b coincide).
int SideOfLine(const AIRealPoint& a, const AIRealPoint& b, const AIRealPoint& p);

}  // namespace geometry
