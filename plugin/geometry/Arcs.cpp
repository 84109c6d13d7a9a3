#include "plugin/geometry/Arcs.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "plugin/geometry/Trigonometry.h"

namespace geometry {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kQuarterTurn = kPi / 2;

bool Finite(const AIRealPoint& p) {
    return std::isfinite(p.h) && std::isfinite(p.v);
}

AIRealPoint Point(double x, double y) {
    return {static_cast<AIReal>(x), static_cast<AIReal>(y)};
}

}  // namespace

double Distance(const AIRealPoint& a, const AIRealPoint& b) {
    return std::hypot(static_cast<double>(a.h) - b.h, static_cast<double>(a.v) - b.v);
}

double NormalizeAngle(double angle) {
    if (!std::isfinite(angle)) {
        return angle;
    }
    double a = std::remainder(angle, 2 * kPi);
    if (a <= -kPi) {
        a += 2 * kPi;
    }
    return a;
}

double DirectionAngle(const AIRealPoint& from, const AIRealPoint& to) {
    const double dx = static_cast<double>(to.h) - from.h;
    const double dy = static_cast<double>(to.v) - from.v;
    return dx == 0 && dy == 0 ? 0.0 : std::atan2(dy, dx);
}

AIRealPoint PointAt(const AIRealPoint& from, double distance, double angle) {
    const SineCosine direction = SinCos(angle);
    return Point(from.h + distance * direction.cosine, from.v + distance * direction.sine);
}

std::optional<double> SweptAngle(const AIRealPoint& vertex, const AIRealPoint& a,
                                 const AIRealPoint& b) {
    if (!Finite(vertex) || !Finite(a) || !Finite(b)) {
        return std::nullopt;
    }
    const double ax = static_cast<double>(a.h) - vertex.h;
    const double ay = static_cast<double>(a.v) - vertex.v;
    const double bx = static_cast<double>(b.h) - vertex.h;
    const double by = static_cast<double>(b.v) - vertex.v;
    const double la = std::hypot(ax, ay);
    const double lb = std::hypot(bx, by);
    if (la == 0 || lb == 0 || !std::isfinite(la) || !std::isfinite(lb)) {
        return std::nullopt;
    }
    const double cross = (ax / la) * (by / lb) - (ay / la) * (bx / lb);
    const double dot = (ax / la) * (bx / lb) + (ay / la) * (by / lb);
    return std::atan2(cross, dot);
}

std::optional<double> ArcSweep(const AIRealPoint& centre, const AIRealBezier& curve) {
    const std::optional<double> sweep = SweptAngle(centre, curve.p0, curve.p3);
    if (!sweep || *sweep == 0) {
        return std::nullopt;
    }
    // The curve's point at t = 0.5.
    const AIRealPoint middle =
        Point((curve.p0.h + 3.0 * curve.p1.h + 3.0 * curve.p2.h + curve.p3.h) / 8,
              (curve.p0.v + 3.0 * curve.p1.v + 3.0 * curve.p2.v + curve.p3.v) / 8);
    if (WithinSweep(DirectionAngle(centre, middle), DirectionAngle(centre, curve.p0), *sweep)) {
        return sweep;
    }
    return *sweep > 0 ? *sweep - 2 * kPi : *sweep + 2 * kPi;
}

bool WithinSweep(double angle, double startAngle, double sweep) {
    // How far the direction lies from the start, measured the way the arc turns.
    double along = NormalizeAngle(sweep >= 0 ? angle - startAngle : startAngle - angle);
    if (along < 0) {
        along += 2 * kPi;
    }
    return along <= std::fabs(sweep);
}

std::vector<AIPathSegment> ArcAnchors(const AIRealPoint& centre, double radius, double startAngle,
                                      double sweep) {
    std::vector<AIPathSegment> anchors;
    if (!Finite(centre) || !std::isfinite(radius) || !std::isfinite(startAngle) ||
        !std::isfinite(sweep) || radius <= 0 || sweep == 0 || std::fabs(sweep) > 2 * kPi) {
        return anchors;
    }
    const int pieces =
        std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / kQuarterTurn - 1e-9)));
    const double step = sweep / pieces;
    // The handles run along the tangent, the way the arc turns, at the length that keeps
    // the piece on the circle: 4/3 · tan(α/4) of the radius, 0.5522847 for a quarter turn. (Handles
    // in proportion to the angle would bulge a 60° piece 0.4 % outward.)
    const double handle = radius * 4.0 / 3.0 * std::tan(step / 4);
    for (int i = 0; i <= pieces; ++i) {
        const SineCosine radial = SinCos(startAngle + step * i);
        const double x = centre.h + radius * radial.cosine;
        const double y = centre.v + radius * radial.sine;
        const double tx = -radial.sine;
        const double ty = radial.cosine;
        AIPathSegment s{};
        s.p = Point(x, y);
        s.in = i == 0 ? s.p : Point(x - handle * tx, y - handle * ty);
        s.out = i == pieces ? s.p : Point(x + handle * tx, y + handle * ty);
        s.corner = i == 0 || i == pieces;
        anchors.push_back(s);
    }
    return anchors;
}

double ArcTrimAngle(double setback, double radius) {
    if (!std::isfinite(setback) || !std::isfinite(radius) || radius <= 0) {
        return 0.0;
    }
    return 2 * std::atan(setback / (2 * radius));
}

bool IsRightAngle(double sweep, int precision) {
    const double degrees = std::fabs(sweep) * 180 / kPi;
    const double margin = std::pow(0.1, precision);
    return degrees > 90 - margin && degrees < 90 + margin;
}

std::array<AIRealPoint, 3> RightAngleMark(const AIRealPoint& vertex, double size,
                                          double firstSideAngle, double sweep) {
    // Along the first side, then a quarter turn toward the second side.
    const double across = firstSideAngle + (sweep < 0 ? -kQuarterTurn : kQuarterTurn);
    const AIRealPoint onFirst = PointAt(vertex, size, firstSideAngle);
    const AIRealPoint onSecond = PointAt(vertex, size, across);
    const AIRealPoint far = Point(onFirst.h + (static_cast<double>(onSecond.h) - vertex.h),
                                  onFirst.v + (static_cast<double>(onSecond.v) - vertex.v));
    return {onFirst, far, onSecond};
}

double ShoulderDirection(double angle) {
    return std::fabs(NormalizeAngle(angle)) > kQuarterTurn ? -1.0 : 1.0;
}

int SideOfLine(const AIRealPoint& a, const AIRealPoint& b, const AIRealPoint& p) {
    const double cross = (static_cast<double>(b.h) - a.h) * (static_cast<double>(p.v) - a.v) -
                         (static_cast<double>(b.v) - a.v) * (static_cast<double>(p.h) - a.h);
    return cross > 0 ? 1 : cross < 0 ? -1 : 0;
}

}  // namespace geometry
