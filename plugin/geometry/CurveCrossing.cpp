#include "plugin/geometry/CurveCrossing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace geometry {
namespace {

// A piece of a curve within this distance of its chord is crossed as its chord, points.
constexpr double kFlatness = 1e-3;
// Pieces are cut no finer than this many halvings, and no more pairs than this are looked
// at: curves that run along each other would otherwise be cut without end.
constexpr int kMaxHalvings = 40;
constexpr int kMaxPairs = 20000;
// Chords that meet this close past their ends still count, so that a crossing on the cut
// between two pieces is not lost to rounding.
constexpr double kChordSlack = 1e-9;
constexpr int kNewtonSteps = 8;
// A crossing refined this far off the curves' parameter range is none of theirs.
constexpr double kParameterSlack = 1e-6;

struct P {
    double x = 0;
    double y = 0;
};

P operator+(P a, P b) {
    return {a.x + b.x, a.y + b.y};
}
P operator-(P a, P b) {
    return {a.x - b.x, a.y - b.y};
}
P operator*(double k, P p) {
    return {k * p.x, k * p.y};
}
double CrossOf(P a, P b) {
    return a.x * b.y - a.y * b.x;
}
P Mid(P a, P b) {
    return 0.5 * (a + b);
}

using Cubic = std::array<P, 4>;

Cubic Of(const AIRealBezier& b) {
    return {P{b.p0.h, b.p0.v}, P{b.p1.h, b.p1.v}, P{b.p2.h, b.p2.v}, P{b.p3.h, b.p3.v}};
}

P PointOn(const Cubic& c, double t) {
    const double u = 1 - t;
    return (u * u * u) * c[0] + (3 * u * u * t) * c[1] + (3 * u * t * t) * c[2] +
           (t * t * t) * c[3];
}

P TangentOn(const Cubic& c, double t) {
    const double u = 1 - t;
    return (3 * u * u) * (c[1] - c[0]) + (6 * u * t) * (c[2] - c[1]) + (3 * t * t) * (c[3] - c[2]);
}

// The two halves of a piece, by de Casteljau's construction at its middle.
std::array<Cubic, 2> Halves(const Cubic& c) {
    const P ab = Mid(c[0], c[1]);
    const P bc = Mid(c[1], c[2]);
    const P cd = Mid(c[2], c[3]);
    const P abc = Mid(ab, bc);
    const P bcd = Mid(bc, cd);
    const P middle = Mid(abc, bcd);
    return {Cubic{c[0], ab, abc, middle}, Cubic{middle, bcd, cd, c[3]}};
}

// The largest distance of the handles from the chord (from the start when the chord is a
// point).
double Bulge(const Cubic& c) {
    const P chord = c[3] - c[0];
    const double length = std::hypot(chord.x, chord.y);
    double bulge = 0;
    for (const P& handle : {c[1], c[2]}) {
        const P off = handle - c[0];
        bulge = std::max(
            bulge, length > 0 ? std::fabs(CrossOf(chord, off)) / length : std::hypot(off.x, off.y));
    }
    return bulge;
}

struct Box {
    double left, bottom, right, top;
};

Box BoxOf(const Cubic& c) {
    Box box{c[0].x, c[0].y, c[0].x, c[0].y};
    for (const P& p : c) {
        box = {std::min(box.left, p.x), std::min(box.bottom, p.y), std::max(box.right, p.x),
               std::max(box.top, p.y)};
    }
    return box;
}

bool Meet(const Box& a, const Box& b) {
    return a.left <= b.right + kFlatness && b.left <= a.right + kFlatness &&
           a.bottom <= b.top + kFlatness && b.bottom <= a.top + kFlatness;
}

// A piece of a curve: its control points and the parameters of the whole curve it spans.
struct Piece {
    Cubic c;
    double from = 0;
    double to = 1;
};

std::array<Piece, 2> Halves(const Piece& p) {
    const auto [left, right] = Halves(p.c);
    const double middle = (p.from + p.to) / 2;
    return {Piece{left, p.from, middle}, Piece{right, middle, p.to}};
}

// Moves the parameters s on `a` and t on `b` to where the curves meet; false when the
// curves run parallel there or the step leaves the curves.
bool Refine(const Cubic& a, const Cubic& b, double& s, double& t) {
    for (int step = 0; step < kNewtonSteps; ++step) {
        const P gap = PointOn(a, s) - PointOn(b, t);
        const P da = TangentOn(a, s);
        const P db = TangentOn(b, t);
        // Solve da·ds − db·dt = −gap.
        const double determinant = CrossOf(db, da);
        if (determinant == 0 || !std::isfinite(determinant)) {
            return false;
        }
        s += CrossOf(db, gap) / determinant;
        t += CrossOf(da, gap) / determinant;
        if (!std::isfinite(s) || !std::isfinite(t)) {
            return false;
        }
    }
    return s >= -kParameterSlack && s <= 1 + kParameterSlack && t >= -kParameterSlack &&
           t <= 1 + kParameterSlack;
}

}  // namespace

std::optional<AIRealPoint> CrossingNearest(const AIRealBezier& a, const AIRealBezier& b,
                                           const AIRealPoint& near) {
    const Cubic ca = Of(a);
    const Cubic cb = Of(b);
    for (const P& p : ca) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            return std::nullopt;
        }
    }
    for (const P& p : cb) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            return std::nullopt;
        }
    }
    if (!std::isfinite(near.h) || !std::isfinite(near.v)) {
        return std::nullopt;
    }
    struct Pair {
        Piece a;
        Piece b;
        int halvings;
    };
    std::vector<Pair> pending = {{Piece{ca}, Piece{cb}, 0}};
    std::optional<P> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    int looked = 0;
    while (!pending.empty() && looked++ < kMaxPairs) {
        const Pair pair = pending.back();
        pending.pop_back();
        if (!Meet(BoxOf(pair.a.c), BoxOf(pair.b.c))) {
            continue;
        }
        const bool flatA = Bulge(pair.a.c) <= kFlatness;
        const bool flatB = Bulge(pair.b.c) <= kFlatness;
        if ((flatA && flatB) || pair.halvings >= kMaxHalvings) {
            // Cross the chords: a0 + u·(a3 − a0) = b0 + v·(b3 − b0).
            const P da = pair.a.c[3] - pair.a.c[0];
            const P db = pair.b.c[3] - pair.b.c[0];
            const double determinant = CrossOf(da, db);
            if (determinant == 0) {
                continue;
            }
            const P start = pair.b.c[0] - pair.a.c[0];
            const double u = CrossOf(start, db) / determinant;
            const double v = CrossOf(start, da) / determinant;
            if (u < -kChordSlack || u > 1 + kChordSlack || v < -kChordSlack ||
                v > 1 + kChordSlack) {
                continue;
            }
            double s = pair.a.from + u * (pair.a.to - pair.a.from);
            double t = pair.b.from + v * (pair.b.to - pair.b.from);
            const P chordCrossing = pair.a.c[0] + u * da;
            const P crossing = Refine(ca, cb, s, t) ? PointOn(ca, s) : chordCrossing;
            const double distance = std::hypot(crossing.x - near.h, crossing.y - near.v);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = crossing;
            }
            continue;
        }
        // Halve the piece that is further from flat, or both.
        const int next = pair.halvings + 1;
        if (flatA) {
            for (const Piece& half : Halves(pair.b)) {
                pending.push_back({pair.a, half, next});
            }
        } else if (flatB) {
            for (const Piece& half : Halves(pair.a)) {
                pending.push_back({half, pair.b, next});
            }
        } else {
            for (const Piece& halfA : Halves(pair.a)) {
                for (const Piece& halfB : Halves(pair.b)) {
                    pending.push_back({halfA, halfB, next});
                }
            }
        }
    }
    if (!best) {
        return std::nullopt;
    }
    return AIRealPoint{static_cast<AIReal>(best->x), static_cast<AIReal>(best->y)};
}

}  // namespace geometry
