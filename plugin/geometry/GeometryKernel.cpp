#include "plugin/geometry/GeometryKernel.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numbers>
#include <utility>

#include "plugin/hostaccess/Suites.h"
#include "plugin/measure/RealMath.h"

namespace geometry {
namespace {

using measure::StoreAsFloat;

// Length of the construction lines CircleFromAnchors draws from a point in a direction.
constexpr float kConstructionLength = 100.0f;
// The step of the arc test's parameter.
constexpr float kArcSampleStep = 0.001f;

// The circle that the last IsCircularArc fitted: one record for the whole plug-in.
Circle gArcFit{};

bool IsFinite(const AIRealPoint& p) {
    return std::isfinite(p.h) && std::isfinite(p.v);
}

bool IsFinite(const AIRealBezier& b) {
    return IsFinite(b.p0) && IsFinite(b.p1) && IsFinite(b.p2) && IsFinite(b.p3);
}

AIRealPoint Difference(const AIRealPoint& from, const AIRealPoint& to) {
    return {StoreAsFloat(static_cast<double>(to.h) - from.h),
            StoreAsFloat(static_cast<double>(to.v) - from.v)};
}

bool HasNoHandles(const AIPathSegment& s) {
    return SamePoint(s.in, s.p) && SamePoint(s.out, s.p);
}

// The slope and the intercept at x = 0 of the line through two points not on a vertical.
struct SlopeForm {
    float slope;
    float intercept;
};

SlopeForm SlopeFormOf(const AIRealPoint& a, const AIRealPoint& b) {
    const float slope =
        StoreAsFloat((static_cast<double>(b.v) - a.v) / (static_cast<double>(b.h) - a.h));
    return {slope, StoreAsFloat(a.v - static_cast<double>(slope) * a.h)};
}

// The curve from anchor k to anchor k + 1.
AIRealBezier CurveAfter(const std::vector<AIPathSegment>& segments, std::size_t k) {
    return {segments[k].p, segments[k].out, segments[k + 1].in, segments[k + 1].p};
}

// The closing curve of a closed path, from anchor 0 backwards to the last anchor.
AIRealBezier ClosingCurve(const std::vector<AIPathSegment>& segments) {
    const AIPathSegment& last = segments.back();
    return {segments.front().p, segments.front().in, last.out, last.p};
}

double HostLength(const AIRealBezier& curve) {
    return sAIRealBezier->Length(&curve, kBezierFlatness);
}

}  // namespace

bool SamePoint(const AIRealPoint& a, const AIRealPoint& b) {
    return a.h == b.h && a.v == b.v;
}

float Dot(const AIRealPoint& a, const AIRealPoint& b) {
    return StoreAsFloat(static_cast<double>(a.h) * b.h + static_cast<double>(a.v) * b.v);
}

float Cross(const AIRealPoint& a, const AIRealPoint& b, const AIRealPoint& c,
            const AIRealPoint& d) {
    return StoreAsFloat((static_cast<double>(b.h) - a.h) * (static_cast<double>(d.v) - c.v) -
                        (static_cast<double>(b.v) - a.v) * (static_cast<double>(d.h) - c.h));
}

bool AreCollinear(const AIRealPoint& a, const AIRealPoint& b, const AIRealPoint& c) {
    return Cross(a, b, c, b) == 0.0f;
}

AIRealPoint ProjectPointOnLine(const AIRealPoint& q, const AIRealPoint& a, const AIRealPoint& b) {
    const AIRealPoint direction = Difference(a, b);
    const float lengthSquared = Dot(direction, direction);
    if (lengthSquared == 0.0f) {
        return a;
    }
    const float t =
        StoreAsFloat(Dot(Difference(a, q), direction) / static_cast<double>(lengthSquared));
    return {StoreAsFloat(a.h + static_cast<double>(t) * direction.h),
            StoreAsFloat(a.v + static_cast<double>(t) * direction.v)};
}

std::optional<AIRealPoint> LineIntersection(const AIRealPoint& a, const AIRealPoint& b,
                                            const AIRealPoint& c, const AIRealPoint& d) {
    if (!IsFinite(a) || !IsFinite(b) || !IsFinite(c) || !IsFinite(d) || SamePoint(a, b) ||
        SamePoint(c, d)) {
        return std::nullopt;
    }
    const bool firstVertical = a.h == b.h;
    const bool secondVertical = c.h == d.h;
    AIRealPoint crossing{};
    if (firstVertical && secondVertical) {
        return std::nullopt;
    }
    if (firstVertical) {
        const SlopeForm second = SlopeFormOf(c, d);
        crossing = {a.h, StoreAsFloat(static_cast<double>(second.slope) * a.h + second.intercept)};
    } else if (secondVertical) {
        const SlopeForm first = SlopeFormOf(a, b);
        crossing = {c.h, StoreAsFloat(static_cast<double>(first.slope) * c.h + first.intercept)};
    } else {
        const SlopeForm first = SlopeFormOf(a, b);
        const SlopeForm second = SlopeFormOf(c, d);
        if (first.slope == second.slope) {
            return std::nullopt;
        }
        const double slopes = static_cast<double>(first.slope) - second.slope;
        crossing = {
            StoreAsFloat((static_cast<double>(second.intercept) - first.intercept) / slopes),
            StoreAsFloat((static_cast<double>(first.slope) * second.intercept -
                          static_cast<double>(first.intercept) * second.slope) /
                         slopes)};
    }
    if (!IsFinite(crossing)) {
        return std::nullopt;
    }
    return crossing;
}

bool SegmentsCross(const AIRealPoint& a, const AIRealPoint& b, const AIRealPoint& c,
                   const AIRealPoint& d) {
    const AIRealPoint ab = Difference(a, b);
    const AIRealPoint cd = Difference(c, d);
    const AIRealPoint ca = Difference(c, a);
    const float denominator =
        StoreAsFloat(static_cast<double>(cd.h) * ab.v - static_cast<double>(cd.v) * ab.h);
    if (denominator == 0.0f || !std::isfinite(denominator)) {
        return false;
    }
    // Where the crossing lies along a–b (s) and along c–d (t), 0 and 1 at the ends.
    const float s = StoreAsFloat(
        (static_cast<double>(cd.v) * ca.h - static_cast<double>(ca.v) * cd.h) / denominator);
    const float t = StoreAsFloat(
        (static_cast<double>(ab.v) * ca.h - static_cast<double>(ca.v) * ab.h) / denominator);
    return s > 0 && s < 1 && t > 0 && t < 1;
}

bool IsStraightCorner(const AIPathSegment& prev, const AIPathSegment& mid,
                      const AIPathSegment& next) {
    return HasNoHandles(mid) && SamePoint(prev.out, prev.p) && SamePoint(next.in, next.p);
}

bool PointInQuad(const std::array<AIRealPoint, 4>& corners, const AIRealPoint& point) {
    if (!IsFinite(point)) {
        return false;
    }
    for (const AIRealPoint& corner : corners) {
        if (!IsFinite(corner)) {
            return false;
        }
    }
    bool inside = false;
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
        const AIRealPoint& pi = corners[i];
        const AIRealPoint& pj = corners[j];
        const bool spans =
            (pi.v <= point.v && point.v < pj.v) || (pj.v <= point.v && point.v < pi.v);
        if (!spans) {
            continue;
        }
        const float edgeX = StoreAsFloat(pi.h + (static_cast<double>(pj.h) - pi.h) *
                                                    (static_cast<double>(point.v) - pi.v) /
                                                    (static_cast<double>(pj.v) - pi.v));
        if (point.h < edgeX) {
            inside = !inside;
        }
    }
    return inside;
}

std::optional<Circle> CircleFromAnchors(const AIPathSegment& a, const AIPathSegment& b) {
    if (sAIRealMath == nullptr || !IsFinite(a.p) || !IsFinite(a.in) || !IsFinite(a.out) ||
        !IsFinite(b.p) || SamePoint(a.p, b.p) || HasNoHandles(a)) {
        return std::nullopt;
    }
    // The tangent at a follows its in handle, or its out handle when it has none.
    const AIRealPoint& handle = SamePoint(a.in, a.p) ? a.out : a.in;
    const AIRealPoint tangent = Difference(a.p, handle);
    const AIRealPoint chord = Difference(a.p, b.p);
    const double sine = std::fabs(static_cast<double>(Cross({0, 0}, tangent, {0, 0}, chord))) /
                        (std::hypot(static_cast<double>(tangent.h), tangent.v) *
                         std::hypot(static_cast<double>(chord.h), chord.v));
    if (!(sine >= kLeastTangentChordSine)) {
        return std::nullopt;
    }
    constexpr double kQuarterTurn = std::numbers::pi / 2;
    const AIRealPoint middle = {StoreAsFloat((static_cast<double>(a.p.h) + b.p.h) / 2),
                                StoreAsFloat((static_cast<double>(a.p.v) + b.p.v) / 2)};
    const float chordAngle = sAIRealMath->PointAngle(&b.p, &a.p);
    AIRealPoint bisectorEnd{};
    sAIRealMath->PointAtLengthAndAngle(&middle, kConstructionLength,
                                       StoreAsFloat(chordAngle + kQuarterTurn), &bisectorEnd);
    const float tangentAngle = sAIRealMath->PointAngle(&a.p, &handle);
    AIRealPoint normalEnd{};
    sAIRealMath->PointAtLengthAndAngle(&a.p, kConstructionLength,
                                       StoreAsFloat(tangentAngle + kQuarterTurn), &normalEnd);
    const auto centre = LineIntersection(a.p, normalEnd, middle, bisectorEnd);
    if (!centre) {
        return std::nullopt;
    }
    const float radius = sAIRealMath->PointDistance(&*centre, &a.p);
    if (!std::isfinite(radius)) {
        return std::nullopt;
    }
    return Circle{*centre, radius};
}

bool IsCircularArc(const AIPathSegment& a, const AIPathSegment& b, ArcDirection direction) {
    if (sAIRealBezier == nullptr || sAIRealMath == nullptr || HasNoHandles(a) || HasNoHandles(b)) {
        return false;
    }
    const AIRealBezier curve = direction == ArcDirection::kForward
                                   ? AIRealBezier{a.p, a.out, b.in, b.p}
                                   : AIRealBezier{a.p, a.in, b.out, b.p};
    if (!IsFinite(curve)) {
        return false;
    }
    const auto circle = CircleFromAnchors(a, b);
    if (!circle) {
        return false;
    }
    gArcFit = *circle;
    for (float t = 0; t < 1.0f; t += kArcSampleStep) {
        AIRealPoint sample{};
        sAIRealBezier->PointAt(&curve, t, &sample);
        const float distance = sAIRealMath->PointDistance(&sample, &circle->centre);
        if (std::fabs(static_cast<double>(distance) - circle->radius) > kArcTolerance) {
            return false;
        }
    }
    return true;
}

const Circle& LastArcFit() {
    return gArcFit;
}

void ClearArcFit() {
    gArcFit = Circle{};
}

float PathLengthBetween(const std::vector<AIPathSegment>& segments, bool closed, int i, int j) {
    const std::size_t n = segments.size();
    if (sAIRealBezier == nullptr || n < 2 || i < 0 || j < 0 || static_cast<std::size_t>(i) >= n ||
        static_cast<std::size_t>(j) >= n) {
        return 0;
    }
    auto from = static_cast<std::size_t>(i);
    auto to = static_cast<std::size_t>(j);
    double total = 0;
    auto addCurves = [&](std::size_t first, std::size_t end) {
        for (std::size_t k = first; k < end; ++k) {
            total += HostLength(CurveAfter(segments, k));
        }
    };
    if (!closed) {
        if (from > to) {
            std::swap(from, to);
        }
        addCurves(from, to);
    } else if (from == to) {
        addCurves(0, n - 1);
        total += HostLength(ClosingCurve(segments));
    } else if (from < to) {
        addCurves(from, to);
    } else {
        addCurves(0, to);
        addCurves(from, n - 1);
        total += HostLength(ClosingCurve(segments));
    }
    return StoreAsFloat(total);
}

std::vector<AIRealBezier> PathCurves(const std::vector<AIPathSegment>& segments, bool closed) {
    std::vector<AIRealBezier> curves;
    const std::size_t n = segments.size();
    if (n < 2) {
        return curves;
    }
    for (std::size_t k = 0; k + 1 < n; ++k) {
        curves.push_back(CurveAfter(segments, k));
    }
    if (closed) {
        const AIPathSegment& last = segments.back();
        curves.push_back({last.p, last.out, segments.front().in, segments.front().p});
    }
    return curves;
}

std::optional<PathPoint> NearestPathPoint(const std::vector<AIRealBezier>& curves,
                                          const AIRealPoint& point) {
    if (sAIRealBezier == nullptr || !IsFinite(point)) {
        return std::nullopt;
    }
    const AIRealBezier* nearestCurve = nullptr;
    AIReal nearestT = 0;
    double nearest = std::numeric_limits<double>::infinity();
    for (const AIRealBezier& curve : curves) {
        if (!IsFinite(curve)) {
            continue;
        }
        // The curve lies within the box of its control points.
        const double left = std::min({curve.p0.h, curve.p1.h, curve.p2.h, curve.p3.h});
        const double right = std::max({curve.p0.h, curve.p1.h, curve.p2.h, curve.p3.h});
        const double bottom = std::min({curve.p0.v, curve.p1.v, curve.p2.v, curve.p3.v});
        const double top = std::max({curve.p0.v, curve.p1.v, curve.p2.v, curve.p3.v});
        const double dx = std::max({left - point.h, 0.0, point.h - right});
        const double dy = std::max({bottom - point.v, 0.0, point.v - top});
        if (std::hypot(dx, dy) >= nearest) {
            continue;
        }
        for (int i = 0; i <= kNearestSamples; ++i) {
            const auto t = static_cast<AIReal>(i) / kNearestSamples;
            AIRealPoint sample{0, 0};
            sAIRealBezier->PointAt(&curve, t, &sample);
            const double d = std::hypot(static_cast<double>(sample.h) - point.h,
                                        static_cast<double>(sample.v) - point.v);
            if (d < nearest) {
                nearest = d;
                nearestCurve = &curve;
                nearestT = t;
            }
        }
    }
    if (nearestCurve == nullptr) {
        return std::nullopt;
    }
    PathPoint at{};
    sAIRealBezier->PointAndTangentAt(nearestCurve, nearestT, &at.point, &at.tangent);
    return at;
}

double CurvesLength(const std::vector<AIRealBezier>& curves) {
    if (sAIRealBezier == nullptr) {
        return 0;
    }
    double total = 0;
    for (const AIRealBezier& curve : curves) {
        total += HostLength(curve);
    }
    return total;
}

std::optional<PathPoint> PointAtLength(const std::vector<AIRealBezier>& curves, double length) {
    if (sAIRealBezier == nullptr || curves.empty() || !std::isfinite(length)) {
        return std::nullopt;
    }
    // How far past the end a length may reach and still give the end: rounding.
    constexpr double kEndMargin = 1e-6;
    double remaining = std::max(length, 0.0);
    for (std::size_t k = 0; k < curves.size(); ++k) {
        const AIRealBezier& curve = curves[k];
        const double curveLength = HostLength(curve);
        const bool last = k + 1 == curves.size();
        if (remaining > curveLength && !last) {
            remaining -= curveLength;
            continue;
        }
        if (remaining > curveLength * (1 + kEndMargin) + kEndMargin) {
            return std::nullopt;
        }
        AIReal t = 1;
        if (remaining < curveLength &&
            sAIRealBezier->ParameterAtLength(&curve, static_cast<AIReal>(remaining),
                                             kBezierFlatness, &t) != 0) {
            return std::nullopt;
        }
        PathPoint at{};
        sAIRealBezier->PointAndTangentAt(&curve, t, &at.point, &at.tangent);
        return at;
    }
    return std::nullopt;
}

PolygonArea PolygonAreaOrCrossed(const std::vector<AIPathSegment>& segments, bool closed) {
    const std::size_t n = segments.size();
    if (!closed || n == 0) {
        return {};
    }
    for (const AIPathSegment& anchor : segments) {
        if (!HasNoHandles(anchor)) {
            return {};
        }
    }
    double forward = 0;
    double backward = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const AIRealPoint& p = segments[k].p;
        const AIRealPoint& next = segments[(k + 1) % n].p;
        forward += static_cast<double>(p.h) * next.v;
        backward += static_cast<double>(p.v) * next.h;
    }
    if (n > 3) {
        for (std::size_t k = 0; k < n; ++k) {
            const AIRealPoint& start = segments[k].p;
            const AIRealPoint& end = segments[(k + 1) % n].p;
            // Every edge but k itself and its two neighbours.
            for (std::size_t offset = 2; offset + 1 < n; ++offset) {
                const std::size_t m = (k + offset) % n;
                if (SegmentsCross(start, end, segments[m].p, segments[(m + 1) % n].p)) {
                    return {PolygonArea::Kind::kCrossed, 0};
                }
            }
        }
    }
    const float area = StoreAsFloat(std::fabs(forward - backward) / 2);
    if (!std::isfinite(area)) {
        return {};
    }
    return {PolygonArea::Kind::kArea, area};
}

}  // namespace geometry
