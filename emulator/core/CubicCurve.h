// Plane vectors and cubic Bézier curves in double precision, shared by the emulated host's
// Bézier numerics (lengths, parameters, division, offsets).
#pragma once

#include <array>
#include <cmath>
#include <utility>

#include "emulator/core/BezierMath.h"
#include "plugin/host/Records.h"

namespace emulator::cubic {

struct Vec {
    double x;
    double y;
};

inline Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec operator*(Vec a, double k) {
    return {a.x * k, a.y * k};
}
inline double Dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y;
}
// The z of the cross product: positive when b turns counter-clockwise from a (y upwards).
inline double Cross(Vec a, Vec b) {
    return a.x * b.y - a.y * b.x;
}
inline double Norm(Vec a) {
    return std::sqrt(a.x * a.x + a.y * a.y);
}
inline Vec Lerp(Vec a, Vec b, double t) {
    return a * (1 - t) + b * t;
}
// `a` turned a quarter counter-clockwise (y upwards): the left normal of a direction.
inline Vec Left(Vec a) {
    return {-a.y, a.x};
}

inline Vec FromPoint(const AIRealPoint& p) {
    return {p.h, p.v};
}
inline AIRealPoint ToPoint(Vec v) {
    return {StoreFloat(v.x), StoreFloat(v.y)};
}

using Cubic = std::array<Vec, 4>;

inline Cubic FromBezier(const AIRealBezier& b) {
    return {FromPoint(b.p0), FromPoint(b.p1), FromPoint(b.p2), FromPoint(b.p3)};
}

inline Vec PointOf(const Cubic& c, double t) {
    const double s = 1 - t;
    return c[0] * (s * s * s) + c[1] * (3 * s * s * t) + c[2] * (3 * s * t * t) +
           c[3] * (t * t * t);
}

inline Vec FirstDerivative(const Cubic& c, double t) {
    const double s = 1 - t;
    return ((c[1] - c[0]) * (s * s) + (c[2] - c[1]) * (2 * s * t) + (c[3] - c[2]) * (t * t)) * 3;
}

inline Vec SecondDerivative(const Cubic& c, double t) {
    const Vec a = c[2] - c[1] * 2 + c[0];
    const Vec b = c[3] - c[2] * 2 + c[1];
    return (a * (1 - t) + b * t) * 6;
}

// The curve split at t by de Casteljau's construction.
inline std::pair<Cubic, Cubic> Split(const Cubic& c, double t) {
    const Vec p01 = Lerp(c[0], c[1], t);
    const Vec p12 = Lerp(c[1], c[2], t);
    const Vec p23 = Lerp(c[2], c[3], t);
    const Vec p012 = Lerp(p01, p12, t);
    const Vec p123 = Lerp(p12, p23, t);
    const Vec mid = Lerp(p012, p123, t);
    return {{c[0], p01, p012, mid}, {mid, p123, p23, c[3]}};
}

inline double PolygonLength(const Cubic& c) {
    return Norm(c[1] - c[0]) + Norm(c[2] - c[1]) + Norm(c[3] - c[2]);
}

}  // namespace emulator::cubic
