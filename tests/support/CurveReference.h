// Slow but plain references for the host's Bézier numerics, shared by the tests and the
// benchmarks: the length of a curve from dense polylines, and how far offset pieces stray
// from the true offset (each point of the curve moved along its unit normal).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "plugin/host/Records.h"

namespace testing_support {

struct XY {
    double x;
    double y;
};

inline XY CurvePoint(const AIRealBezier& b, double t) {
    const double s = 1 - t;
    const double w0 = s * s * s;
    const double w1 = 3 * s * s * t;
    const double w2 = 3 * s * t * t;
    const double w3 = t * t * t;
    return {w0 * b.p0.h + w1 * b.p1.h + w2 * b.p2.h + w3 * b.p3.h,
            w0 * b.p0.v + w1 * b.p1.v + w2 * b.p2.v + w3 * b.p3.v};
}

inline XY CurveDerivative(const AIRealBezier& b, double t) {
    const double s = 1 - t;
    return {
        3 * (s * s * (b.p1.h - b.p0.h) + 2 * s * t * (b.p2.h - b.p1.h) + t * t * (b.p3.h - b.p2.h)),
        3 * (s * s * (b.p1.v - b.p0.v) + 2 * s * t * (b.p2.v - b.p1.v) +
             t * t * (b.p3.v - b.p2.v))};
}

// The length of the polyline through the curve's points at `chords` equal steps of t from 0
// to `end`.
inline long double PolylineLength(const AIRealBezier& b, double end, int chords) {
    long double length = 0;
    XY previous = CurvePoint(b, 0);
    for (int i = 1; i <= chords; ++i) {
        const XY next = CurvePoint(b, end * i / chords);
        length += std::hypot(next.x - previous.x, next.y - previous.y);
        previous = next;
    }
    return length;
}

// The length of the curve from t = 0 to `end`: a polyline's length falls short by a term in
// 1/chords², which Richardson's extrapolation from 2^17 and 2^18 chords removes.
inline double ReferenceLength(const AIRealBezier& b, double end = 1) {
    constexpr int kChords = 1 << 17;
    const long double coarse = PolylineLength(b, end, kChords);
    const long double fine = PolylineLength(b, end, 2 * kChords);
    return static_cast<double>((4 * fine - coarse) / 3);
}

// The point of the true offset at t: the curve's point moved by `distance` along its left
// unit normal (y upwards). Where the derivative vanishes (a handle on its anchor) the normal
// is the limit from inside the curve.
inline XY TrueOffset(const AIRealBezier& b, double distance, double t) {
    XY d = CurveDerivative(b, t);
    if (d.x == 0 && d.y == 0) {
        d = CurveDerivative(b, t < 0.5 ? 1e-9 : 1 - 1e-9);
    }
    const double norm = std::hypot(d.x, d.y);
    const XY p = CurvePoint(b, t);
    return {p.x - distance * d.y / norm, p.y + distance * d.x / norm};
}

// The lengths along a polyline from its start to each of its points.
inline std::vector<double> LengthsAlong(const std::vector<XY>& line) {
    std::vector<double> lengths{0};
    for (std::size_t i = 1; i < line.size(); ++i) {
        lengths.push_back(lengths.back() +
                          std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y));
    }
    return lengths;
}

// The largest distance from a point of `from` to the polyline `to`. Both trace the same
// curve closely, so each point is looked for on the part of `to` within a few hundredths of
// the length (two points at most) of where it lies along `from`: a distance that can only be
// too large, never too small, and that a part of the curve passing near another part does
// not hide.
inline double PolylineGap(const std::vector<XY>& from, const std::vector<XY>& to) {
    constexpr double kWindow = 0.03;
    constexpr double kWidestWindow = 2.0;
    const std::vector<double> alongFrom = LengthsAlong(from);
    const std::vector<double> alongTo = LengthsAlong(to);
    const double scale = alongTo.back() / std::max(alongFrom.back(), 1e-300);
    const double reach = std::min(kWindow * alongTo.back(), kWidestWindow);
    std::size_t first = 0;
    double worst = 0;
    for (std::size_t k = 0; k < from.size(); ++k) {
        const XY p = from[k];
        const double at = alongFrom[k] * scale;
        while (first + 2 < to.size() && alongTo[first + 1] < at - reach) {
            ++first;
        }
        double best = std::numeric_limits<double>::infinity();
        for (std::size_t i = first; i + 1 < to.size() && alongTo[i] <= at + reach; ++i) {
            const XY a = to[i];
            const XY b = to[i + 1];
            const double dx = b.x - a.x;
            const double dy = b.y - a.y;
            const double squared = dx * dx + dy * dy;
            const double u =
                squared > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / squared, 0.0, 1.0)
                            : 0.0;
            best = std::min(best, std::hypot(p.x - (a.x + u * dx), p.y - (a.y + u * dy)));
        }
        worst = std::max(worst, best);
    }
    return worst;
}

// How far the pieces stray from the true offset of `b` by `distance`, both ways: the larger
// of the farthest point of the pieces from the offset and the farthest point of the offset
// from the pieces, on dense polylines (their chords miss the curves by far less than a
// thousandth of a point on the curves used here).
inline double OffsetDeviation(const AIRealBezier& b, double distance,
                              const std::vector<AIRealBezier>& pieces) {
    // The offset on a grid of t, each step halved while its chord is long: where the curve
    // turns sharply, the offset sweeps a wide arc in a short run of t.
    constexpr int kOffsetGrid = 4000;
    constexpr double kLongestChord = 0.05;
    constexpr double kPieceSpacing = 0.05;
    std::vector<XY> offset{TrueOffset(b, distance, 0)};
    const auto add = [&](auto& self, double t0, double t1, XY end, int depth) -> void {
        const XY start = offset.back();
        if (depth < 40 && std::hypot(end.x - start.x, end.y - start.y) > kLongestChord) {
            const double middle = (t0 + t1) / 2;
            self(self, t0, middle, TrueOffset(b, distance, middle), depth + 1);
            self(self, middle, t1, end, depth + 1);
            return;
        }
        offset.push_back(end);
    };
    for (int i = 1; i <= kOffsetGrid; ++i) {
        const double t0 = static_cast<double>(i - 1) / kOffsetGrid;
        const double t1 = static_cast<double>(i) / kOffsetGrid;
        add(add, t0, t1, TrueOffset(b, distance, t1), 0);
    }
    std::vector<XY> approximation;
    for (const AIRealBezier& piece : pieces) {
        const double polygon = std::hypot(piece.p1.h - piece.p0.h, piece.p1.v - piece.p0.v) +
                               std::hypot(piece.p2.h - piece.p1.h, piece.p2.v - piece.p1.v) +
                               std::hypot(piece.p3.h - piece.p2.h, piece.p3.v - piece.p2.v);
        const int samples = std::max(16, static_cast<int>(polygon / kPieceSpacing));
        for (int i = approximation.empty() ? 0 : 1; i <= samples; ++i) {
            approximation.push_back(CurvePoint(piece, static_cast<double>(i) / samples));
        }
    }
    return std::max(PolylineGap(offset, approximation), PolylineGap(approximation, offset));
}

}  // namespace testing_support
