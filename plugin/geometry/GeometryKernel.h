// The plane geometry the measuring tools, the cursor tips and the dimension builders share:
// vector products, projection on a line, crossings of lines and segments, recognition of
// circular arcs, lengths along a path and the area of a straight-sided closed path.
//
// Everything works in artwork coordinates (points, y upwards) and answers single-precision
// reals: products are taken in double precision and each named intermediate is held as a
// float. Coordinates are compared exactly (SamePoint) unless a named tolerance says
// otherwise. Curve lengths and points on curves come from the host's Bézier services, so
// CircleFromAnchors, IsCircularArc and PathLengthBetween need sAIRealMath and
// sAIRealBezier to be held; without them they refuse (nullopt, false, 0).
//
// A path is given by its anchors and its closed flag. The curve from anchor k to anchor
// k + 1 is (p of k, out of k, in of k + 1, p of k + 1); the closing curve of a closed path
// of n anchors is taken from anchor 0 backwards: (p of 0, in of 0, out of n − 1, p of
// n − 1), which has the same length as the closing curve taken forwards.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "plugin/host/Records.h"
#include "plugin/hostaccess/WindowsText.h"

namespace geometry {

// The flatness passed to every host Bézier length and length-to-parameter call.
constexpr float kBezierFlatness = 1.0f;

// The text that replaces an area when a closed path crosses itself (Windows-1252).
inline constexpr const char* kCrossedPolygonText = "Polygone croisé"_w1252;

// True when a and b have exactly the same coordinates.
bool SamePoint(const AIRealPoint& a, const AIRealPoint& b);

// a.h·b.h + a.v·b.v. Non-finite coordinates give a non-finite result.
float Dot(const AIRealPoint& a, const AIRealPoint& b);

// (b.h − a.h)·(d.v − c.v) − (b.v − a.v)·(d.h − c.h): the cross product of the vectors a→b
// and c→d, positive when c→d turns counter-clockwise from a→b. Non-finite coordinates give
// a non-finite result.
float Cross(const AIRealPoint& a, const AIRealPoint& b, const AIRealPoint& c, const AIRealPoint& d);

// True when Cross(a, b, c, b) is exactly 0: a, b and c lie on one line (two or three of
// them equal included). False when a coordinate is not finite.
bool AreCollinear(const AIRealPoint& a, const AIRealPoint& b, const AIRealPoint& c);

// The foot of the perpendicular from q on the infinite line through a and b:
// a + t·(b − a) with t = ((q − a)·(b − a)) / |b − a|². When a and b coincide the line is
// that one point and the answer is a. Non-finite coordinates give a non-finite point,
// which LineIntersection refuses.
AIRealPoint ProjectPointOnLine(const AIRealPoint& q, const AIRealPoint& a, const AIRealPoint& b);

// The crossing point of the infinite lines ab and cd, in slope form: with neither line
// vertical, from the slopes and intercepts of both; with ab vertical (a.h = b.h), at
// x = a.h on cd; with cd vertical, at x = c.h on ab. Refused (nullopt) when the lines are
// parallel (equal slopes, or both vertical), when a line's two points coincide, when a
// coordinate is not finite, and when the lines are so nearly parallel that the crossing
// lies beyond the float range.
std::optional<AIRealPoint> LineIntersection(const AIRealPoint& a, const AIRealPoint& b,
                                            const AIRealPoint& c, const AIRealPoint& d);

// True when the segments a–b and c–d cross strictly inside both: segments that touch at an
// end, meet at an end of either, run parallel or overlap on a common line (zero-length
// segments included) do not cross. False when a coordinate is not finite.
bool SegmentsCross(const AIRealPoint& a, const AIRealPoint& b, const AIRealPoint& c,
                   const AIRealPoint& d);

// True when the curves prev→mid and mid→next are both straight lines meeting at mid: mid
// has no handles, prev no outgoing handle and next no incoming handle (exact comparisons).
bool IsStraightCorner(const AIPathSegment& prev, const AIPathSegment& mid,
                      const AIPathSegment& next);

// True when `point` lies inside the quadrilateral of the four corners, in order (even-odd
// rule: a crossed quadrilateral holds its two triangles). Edges are half-open, so that two
// quadrilaterals sharing an edge never both hold a point on it: on an upright rectangle
// the left and lower edges are inside, the right and upper edges outside. False when a
// coordinate is not finite.
bool PointInQuad(const std::array<AIRealPoint, 4>& corners, const AIRealPoint& point);

// The sine of the smallest angle between an anchor's tangent and the chord for which
// CircleFromAnchors fits a circle: below it the radius would pass half the chord times a
// hundred thousand, and the angles the host hands back are only good to about 1e-7.
constexpr double kLeastTangentChordSine = 1e-5;

// A circle of the plane.
struct Circle {
    AIRealPoint centre;
    float radius;
};

// The circle through a.p and b.p that is tangent at a.p to a's handle: its out handle
// when it has no in handle, else its in handle. The centre is the crossing of the chord's
// perpendicular bisector with the normal at a.p; the radius is its distance to a.p.
// Refused (nullopt) when a.p and b.p coincide, when a has no handle (no tangent), when the
// tangent runs along the chord within kLeastTangentChordSine (the normal is then parallel
// to the bisector, or so nearly that only rounding of the angles keeps it apart: a
// straight line, not a circle), when a coordinate is not finite, and without the host's
// real-math suite.
std::optional<Circle> CircleFromAnchors(const AIPathSegment& a, const AIPathSegment& b);

// Which curve between two anchors IsCircularArc examines.
enum class ArcDirection {
    // (a.p, a.out, b.in, b.p): the curve from a forwards to b.
    kForward = 0,
    // (a.p, a.in, b.out, b.p): the curve that leaves a backwards.
    kBackward = 1,
};

// The largest distance, in points, by which a sample of a curve may miss the fitted circle
// for the curve to count as an arc of it.
constexpr float kArcTolerance = 1.0f;

// True when the curve between a and b is an arc of circle: both anchors have a handle,
// CircleFromAnchors(a, b) fits a circle, and the points of the curve at t = 0, 0.001,
// 0.002, ... while t < 1 (t a float stepped by 0.001) all lie within kArcTolerance of it.
// The fitted circle becomes the shared arc fit (LastArcFit) whether or not the samples
// then stay on it; when no circle can be fitted (see CircleFromAnchors) the arc fit keeps
// its previous value. False, with the arc fit untouched, when a control point of the curve
// is not finite or the host's Bézier suite is not held.
bool IsCircularArc(const AIPathSegment& a, const AIPathSegment& b, ArcDirection direction);

// The circle last fitted by IsCircularArc: the Segment, Circle and Bézier tools and the
// hover analysis read it right after the test that filled it. Zero before any fit.
const Circle& LastArcFit();

// Forgets the last arc fit (at start-up and shut-down, so that no stale fit survives).
void ClearArcFit();

// The length along the path from anchor i to anchor j: the host Bézier lengths (flatness
// kBezierFlatness) of the curves between them.
// - i = j: 0 on an open path; the whole perimeter (every curve and the closing curve) on a
//   closed path.
// - Open path: the indices are ordered and the curves from the smaller to the larger are
//   summed.
// - Closed path, i < j: curves i .. j − 1. Closed path, j < i: the path is followed forwards
//   from i through its end back to j: curves i .. n − 2, the closing curve, then curves
//   0 .. j − 1.
// 0 for a path of fewer than two anchors, for an index outside [0, n − 1] and without the
// host's Bézier suite. A curve with a non-finite coordinate counts as length 0.
float PathLengthBetween(const std::vector<AIPathSegment>& segments, bool closed, int i, int j);

// The curves of a path in the order it runs: from anchor 0 to the last anchor, and for a
// closed path then the closing curve from the last anchor back to anchor 0. Empty for
// fewer than two anchors.
std::vector<AIRealBezier> PathCurves(const std::vector<AIPathSegment>& segments, bool closed);

// A point of a path and the direction the path runs there (not of unit length; (0, 0)
// only where the curve is a single point).
struct PathPoint {
    AIRealPoint point;
    AIRealPoint tangent;
};

// The point at `length` along `curves` from the start of the first: each curve's host
// length (flatness kBezierFlatness) is taken off while it is less than what remains, and on
// the curve reached the host gives the parameter at the rest. A length of 0 or less gives
// the start, the whole length or more (up to a rounding of a millionth of it) the end.
// Nothing for no curves, a length further than that, a length that is not finite, or
// without the host's Bézier suite.
std::optional<PathPoint> PointAtLength(const std::vector<AIRealBezier>& curves, double length);

// The point of `curves` nearest to `point`, with the direction the path runs there: the
// nearest of evenly spaced parameters of each curve (every 1/kNearestSamples); a curve
// whose control points all lie farther than the nearest point found so far is passed
// over. Nothing for no curves, a point that is not finite, or without the host's Bézier
// suite; curves with a non-finite control point are passed over.
constexpr int kNearestSamples = 200;
std::optional<PathPoint> NearestPathPoint(const std::vector<AIRealBezier>& curves,
                                          const AIRealPoint& point);

// The sum of the host lengths of `curves`; 0 without the host's Bézier suite.
double CurvesLength(const std::vector<AIRealBezier>& curves);

// What PolygonAreaOrCrossed found.
struct PolygonArea {
    enum class Kind {
        // Not a closed straight-sided path (open, empty, or an anchor with a handle), or
        // an area that is not finite: nothing to show.
        kNone,
        // The path crosses itself: kCrossedPolygonText replaces the area.
        kCrossed,
        // `area` holds the enclosed area.
        kArea,
    };
    Kind kind = Kind::kNone;
    // Square points, when kind is kArea; 0 otherwise.
    float area = 0;

    // kCrossedPolygonText for a crossed path, "" otherwise.
    const char* Verdict() const { return kind == Kind::kCrossed ? kCrossedPolygonText : ""; }
};

// The area of a closed path whose anchors are all handle-free (in = p = out): the shoelace
// formula over the anchors in order, |Σ x_k·y_k+1 − Σ y_k·x_k+1| / 2 with wrap-around (0 for
// fewer than three anchors). A path of more than three anchors is first checked for
// crossings: each edge against every edge not adjacent to it (SegmentsCross), and the
// first crossing makes the verdict kCrossed. The first anchor with a handle, an open or
// empty path, and a non-finite area give kNone. The caller decides whether an area is
// wanted at all (the Circle tool shows none); this function does not look at the tool.
PolygonArea PolygonAreaOrCrossed(const std::vector<AIPathSegment>& segments, bool closed);

}  // namespace geometry
