// Searches on cubic curves that the emulated host's offset needs: minima of a function of
// the curve parameter, a cubic in power form with its nearest-point projection, the
// straightness of a curve, and the rounding a float coordinate brings.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "emulator/core/CubicCurve.h"

namespace emulator::cubic {

// The grid a search for minima scans before it refines them, and the refining steps.
constexpr int kFoldGrid = 64;
constexpr int kGoldenSteps = 60;
// Newton's steps of a projection onto a piece.
constexpr int kProjectionSteps = 4;

// The angle between the directions a and b, from 0 to π.
inline double TurnBetween(Vec a, Vec b) {
    return std::atan2(std::fabs(Cross(a, b)), Dot(a, b));
}

// The point and parameter of the smallest value of `f` in [a, b], by golden-section search.
template <typename F>
std::pair<double, double> GoldenMinimum(F f, double a, double b) {
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    double x1 = b - ratio * (b - a);
    double x2 = a + ratio * (b - a);
    double f1 = f(x1);
    double f2 = f(x2);
    for (int step = 0; step < kGoldenSteps; ++step) {
        if (f1 <= f2) {
            b = x2;
            x2 = x1;
            f2 = f1;
            x1 = b - ratio * (b - a);
            f1 = f(x1);
        } else {
            a = x1;
            x1 = x2;
            f1 = f2;
            x2 = a + ratio * (b - a);
            f2 = f(x2);
        }
    }
    return f1 <= f2 ? std::pair{x1, f1} : std::pair{x2, f2};
}

// The parameters of the smallest values of `f` on a grid of kFoldGrid steps over [0, 1],
// each local minimum of the grid refined between its neighbours, with the values there.
template <typename F>
std::vector<std::pair<double, double>> LocalMinima(F f) {
    std::array<double, kFoldGrid + 1> values{};
    for (int i = 0; i <= kFoldGrid; ++i) {
        values[i] = f(static_cast<double>(i) / kFoldGrid);
    }
    std::vector<std::pair<double, double>> minima;
    for (int i = 0; i <= kFoldGrid; ++i) {
        const bool belowLeft = i == 0 || values[i] <= values[i - 1];
        const bool belowRight = i == kFoldGrid || values[i] <= values[i + 1];
        if (belowLeft && belowRight) {
            const double a = static_cast<double>(std::max(i - 1, 0)) / kFoldGrid;
            const double b = static_cast<double>(std::min(i + 1, kFoldGrid)) / kFoldGrid;
            const auto refined = GoldenMinimum(f, a, b);
            minima.push_back(refined.second < values[i]
                                 ? refined
                                 : std::pair{static_cast<double>(i) / kFoldGrid, values[i]});
        }
    }
    return minima;
}

// A piece as a polynomial a·u³ + b·u² + c·u + d, quick to evaluate with its derivatives.
class PowerForm {
  public:
    explicit PowerForm(const Cubic& p)
        : a_(p[3] - p[2] * 3 + p[1] * 3 - p[0]),
          b_((p[2] - p[1] * 2 + p[0]) * 3),
          c_((p[1] - p[0]) * 3),
          d_(p[0]) {}

    Vec Point(double u) const { return ((a_ * u + b_) * u + c_) * u + d_; }

    // The parameter of the point nearest to `target`, by Newton's steps from u.
    double Project(Vec target, double u) const {
        for (int step = 0; step < kProjectionSteps; ++step) {
            const Vec gap = Point(u) - target;
            const Vec first = (a_ * (3 * u) + b_ * 2) * u + c_;
            const Vec second = a_ * (6 * u) + b_ * 2;
            const double slope = Dot(first, first) + Dot(gap, second);
            if (!(slope > 0)) {
                break;
            }
            const double next = std::clamp(u - Dot(gap, first) / slope, 0.0, 1.0);
            if (std::fabs(next - u) < 1e-12) {
                return next;
            }
            u = next;
        }
        return u;
    }

  private:
    Vec a_;
    Vec b_;
    Vec c_;
    Vec d_;
};

// The direction of a straight curve from p0, and whether it runs that way throughout (it
// turns back where the speed along its line changes sign); nothing when the curve is not
// straight.
struct Straightness {
    Vec direction;
    bool turnsBack;
};

inline std::optional<Straightness> Straight(const Cubic& c) {
    const double scale = PolygonLength(c);
    Vec chord = c[3] - c[0];
    if (!(Norm(chord) > 1e-12 * scale)) {
        // Closed on itself: straight only if the handles lie on one line through p0.
        chord = Norm(c[1] - c[0]) >= Norm(c[2] - c[0]) ? c[1] - c[0] : c[2] - c[0];
    }
    const Vec direction = chord * (1 / Norm(chord));
    for (const Vec handle : {c[1] - c[0], c[2] - c[0], c[3] - c[0]}) {
        if (std::fabs(Cross(direction, handle)) > 1e-9 * scale) {
            return std::nullopt;
        }
    }
    // The speed along the line is 3·(a·s² + 2b·s·t + c·t²), a quadratic in Bernstein form.
    const double a = Dot(c[1] - c[0], direction);
    const double b = Dot(c[2] - c[1], direction);
    const double e = Dot(c[3] - c[2], direction);
    const double margin = 1e-9 * scale;
    bool turnsBack = a < -margin || e < -margin;
    const double secondDifference = a - 2 * b + e;
    if (!turnsBack && secondDifference > 0) {
        const double t = (a - b) / secondDifference;
        if (t > 0 && t < 1) {
            const double s = 1 - t;
            turnsBack = a * s * s + 2 * b * s * t + e * t * t < -margin;
        }
    }
    if (Norm(c[3] - c[0]) <= 1e-12 * scale) {
        turnsBack = true;
    }
    return Straightness{direction, turnsBack};
}

// How far the rounding to floats may move a point whose coordinates are up to `magnitude`:
// half a unit in the last place of a float that large, in each coordinate.
inline double RoundingOf(double magnitude) {
    constexpr int kFloatPrecision = std::numeric_limits<float>::digits;
    const double unit = std::ldexp(1.0, std::ilogb(magnitude) - (kFloatPrecision - 1));
    return std::sqrt(2.0) * 0.5 *
           std::max(unit, static_cast<double>(std::numeric_limits<float>::denorm_min()));
}

}  // namespace emulator::cubic
