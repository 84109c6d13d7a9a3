#include "emulator/core/BezierMath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "emulator/core/CubicCurve.h"

namespace emulator {
namespace {

// The range a measurement's flatness is held in: the coarsest keeps lengths far below a
// hundredth of a point off, the finest bounds the work.
constexpr double kCoarsestFlatness = 0.01;
constexpr double kFinestFlatness = 0.0001;
// On very large curves the pieces stop at this fraction of the control polygon's length,
// which is below what a float coordinate can tell apart anyway.
constexpr double kRelativeFlatness = 1e-7;
// A piece is measured whatever its flatness after this many halvings.
constexpr int kMaxSubdivisionDepth = 24;
// A flat piece's quadrature is trusted when it agrees with the sum over its halves within
// this fraction of the curve's control polygon, or after this many halvings in all.
constexpr double kQuadratureAgreement = 1e-12;
constexpr int kMaxQuadratureDepth = 50;
// A quotient this close (relatively) to a whole number is that whole number.
constexpr double kOnMultiple = 1e-6;
// The parameter search stops when the length found is this close (relatively) to the
// length asked for, or after this many steps.
constexpr double kLengthPrecision = 1e-12;
constexpr int kMaxParameterSteps = 60;

using cubic::Cubic;
using cubic::FirstDerivative;
using cubic::FromBezier;
using cubic::FromPoint;
using cubic::Norm;
using cubic::PointOf;
using cubic::PolygonLength;
using cubic::SecondDerivative;
using cubic::Split;
using cubic::ToPoint;
using cubic::Vec;

// t held within [0, 1]; NaN gives 0.
double ClampParameter(double t) {
    if (!(t > 0)) {
        return 0;
    }
    return t < 1 ? t : 1;
}

// How much longer the control polygon is than the chord: 0 for a straight piece run in
// one direction, and an upper bound of how far the piece strays from its chord.
double Excess(const Cubic& c) {
    return PolygonLength(c) - Norm(c[3] - c[0]);
}

// Eight-point Gauss-Legendre rule on [−1, 1].
constexpr std::array<double, 4> kGaussNodes = {0.1834346424956498, 0.5255324099163290,
                                               0.7966664774136267, 0.9602898564975363};
constexpr std::array<double, 4> kGaussWeights = {0.3626837833783620, 0.3137066458778873,
                                                 0.2223810344533745, 0.1012285362903763};

// The length of the curve between the parameters t0 and t1: the integral of its speed.
double SpeedIntegral(const Cubic& c, double t0, double t1) {
    const double half = (t1 - t0) / 2;
    const double centre = (t0 + t1) / 2;
    double sum = 0;
    for (std::size_t i = 0; i < kGaussNodes.size(); ++i) {
        const double offset = half * kGaussNodes[i];
        sum += kGaussWeights[i] * (Norm(FirstDerivative(c, centre - offset)) +
                                   Norm(FirstDerivative(c, centre + offset)));
    }
    return sum * half;
}

double EffectiveFlatness(double flatness) {
    if (!(flatness > 0) || !std::isfinite(flatness)) {
        return kCoarsestFlatness;
    }
    return std::clamp(flatness, kFinestFlatness, kCoarsestFlatness);
}

// A flat piece of the curve between two parameters, with its length.
struct Piece {
    double t0;
    double t1;
    double length;
};

// Appends the flat piece from t0 to t1 with its length. The rule is checked against its
// two halves: where the speed has a sharp dip or a kink (near a cusp, where a straight curve
// turns back) a single rule misses, and the piece is halved until the two agree.
void MeasurePiece(const Cubic& c, double t0, double t1, double length, double agreement, int depth,
                  std::vector<Piece>& pieces) {
    const double middle = (t0 + t1) / 2;
    const double first = SpeedIntegral(c, t0, middle);
    const double second = SpeedIntegral(c, middle, t1);
    if (depth >= kMaxQuadratureDepth || std::fabs(first + second - length) <= agreement) {
        pieces.push_back({t0, t1, first + second});
        return;
    }
    MeasurePiece(c, t0, middle, first, agreement, depth + 1, pieces);
    MeasurePiece(c, middle, t1, second, agreement, depth + 1, pieces);
}

void CollectPieces(const Cubic& whole, const Cubic& part, double t0, double t1, double tolerance,
                   double agreement, int depth, std::vector<Piece>& pieces) {
    if (depth >= kMaxSubdivisionDepth || Excess(part) <= tolerance) {
        MeasurePiece(whole, t0, t1, SpeedIntegral(whole, t0, t1), agreement, depth, pieces);
        return;
    }
    const auto [first, second] = Split(part, 0.5);
    const double middle = (t0 + t1) / 2;
    CollectPieces(whole, first, t0, middle, tolerance, agreement, depth + 1, pieces);
    CollectPieces(whole, second, middle, t1, tolerance, agreement, depth + 1, pieces);
}

// The flat pieces of a finite curve, in order from p0.
std::vector<Piece> FlatPieces(const Cubic& c, double flatness) {
    const double tolerance =
        std::max(EffectiveFlatness(flatness), kRelativeFlatness * PolygonLength(c));
    std::vector<Piece> pieces;
    CollectPieces(c, c, 0, 1, tolerance, kQuadratureAgreement * PolygonLength(c), 0, pieces);
    return pieces;
}

// The parameter in [piece.t0, piece.t1] at which the length from piece.t0 is `length`
// (0 ≤ length ≤ piece.length): Newton's steps on the speed integral, kept inside a
// shrinking bracket by bisection.
double ParameterInPiece(const Cubic& c, const Piece& piece, double length) {
    double low = piece.t0;
    double high = piece.t1;
    double t = piece.t0 + (piece.t1 - piece.t0) * (length / piece.length);
    for (int step = 0; step < kMaxParameterSteps; ++step) {
        const double error = SpeedIntegral(c, piece.t0, t) - length;
        if (std::fabs(error) <= kLengthPrecision * piece.length) {
            break;
        }
        if (error > 0) {
            high = t;
        } else {
            low = t;
        }
        const double speed = Norm(FirstDerivative(c, t));
        const double newton = speed > 0 ? t - error / speed : low;
        t = newton > low && newton < high ? newton : (low + high) / 2;
        if (high - low <= std::numeric_limits<double>::epsilon()) {
            break;
        }
    }
    return t;
}

bool IsFinite(const AIRealPoint& p) {
    return std::isfinite(p.h) && std::isfinite(p.v);
}

bool IsZero(const AIRealPoint& p) {
    return p.h == 0 && p.v == 0;
}

}  // namespace

float StoreFloat(double value) {
    constexpr float kLargest = std::numeric_limits<float>::max();
    if (std::fabs(value) <= kLargest || std::isnan(value)) {
        return static_cast<float>(value);
    }
    // Above the largest float a value still rounds down to it up to half a unit of its last
    // place (2^103); from there on it rounds to infinity.
    const double halfLastPlace = std::ldexp(1.0, 103);
    const float magnitude = std::fabs(value) < kLargest + halfLastPlace
                                ? kLargest
                                : std::numeric_limits<float>::infinity();
    return value < 0 ? -magnitude : magnitude;
}

double RoundToMultiple(double value, double multiple, bool roundUp) {
    if (!std::isfinite(value) || !std::isfinite(multiple) || multiple == 0) {
        return value;
    }
    const double step = std::fabs(multiple);
    double quotient = value / step;
    const double nearest = std::round(quotient);
    if (std::fabs(quotient - nearest) <= kOnMultiple * std::max(1.0, std::fabs(nearest))) {
        quotient = nearest;
    } else if (roundUp) {
        quotient = quotient > 0 ? std::ceil(quotient) : std::floor(quotient);
    } else {
        quotient = std::trunc(quotient);
    }
    return quotient * step;
}

bool PointsClose(const AIRealPoint& a, const AIRealPoint& b, double tolerance) {
    if (!(tolerance >= 0) || !IsFinite(a) || !IsFinite(b)) {
        return false;
    }
    return Norm(FromPoint(b) - FromPoint(a)) <= tolerance;
}

bool IsFinite(const AIRealBezier& bezier) {
    return IsFinite(bezier.p0) && IsFinite(bezier.p1) && IsFinite(bezier.p2) && IsFinite(bezier.p3);
}

AIRealPoint BezierPoint(const AIRealBezier& bezier, double t) {
    if (!IsFinite(bezier)) {
        return {0, 0};
    }
    return ToPoint(PointOf(FromBezier(bezier), ClampParameter(t)));
}

AIRealPoint BezierTangent(const AIRealBezier& bezier, double t) {
    if (!IsFinite(bezier)) {
        return {0, 0};
    }
    const Cubic c = FromBezier(bezier);
    t = ClampParameter(t);
    // Where the derivative vanishes, the curve moves on along its second derivative, except
    // at the very end, where the speed falls to 0 and the curve comes in against it. Where
    // both vanish the curve is straight there, along its chord.
    const Vec second = SecondDerivative(c, t);
    const Vec onward = t < 1 ? second : second * -1;
    // The first of these that a float can hold as something other than (0, 0).
    for (const Vec candidate : {FirstDerivative(c, t), onward, c[3] - c[0]}) {
        const AIRealPoint tangent = ToPoint(candidate);
        if (!IsZero(tangent)) {
            return tangent;
        }
    }
    return {0, 0};
}

double BezierLength(const AIRealBezier& bezier, double flatness) {
    if (!IsFinite(bezier)) {
        return 0;
    }
    double length = 0;
    for (const Piece& piece : FlatPieces(FromBezier(bezier), flatness)) {
        length += piece.length;
    }
    return length;
}

std::optional<double> BezierParameterAtLength(const AIRealBezier& bezier, double length,
                                              double flatness) {
    if (!IsFinite(bezier) || std::isnan(length)) {
        return std::nullopt;
    }
    if (length <= 0) {
        return 0.0;
    }
    const Cubic c = FromBezier(bezier);
    const std::vector<Piece> pieces = FlatPieces(c, flatness);
    // The total summed as BezierLength sums it, so that its own length gives exactly 1.
    double total = 0;
    for (const Piece& piece : pieces) {
        total += piece.length;
    }
    if (length >= total) {
        // The length reaches the end of the curve, or the curve is a single point.
        return total > 0 ? 1.0 : 0.0;
    }
    double remaining = length;
    for (const Piece& piece : pieces) {
        if (remaining < piece.length) {
            return ParameterInPiece(c, piece, remaining);
        }
        remaining -= piece.length;
    }
    return 1.0;
}

std::optional<BezierHalves> DivideBezier(const AIRealBezier& bezier, double t) {
    if (!IsFinite(bezier)) {
        return std::nullopt;
    }
    const auto [first, second] = Split(FromBezier(bezier), ClampParameter(t));
    const AIRealPoint joint = ToPoint(first[3]);
    return BezierHalves{{bezier.p0, ToPoint(first[1]), ToPoint(first[2]), joint},
                        {joint, ToPoint(second[1]), ToPoint(second[2]), bezier.p3}};
}

}  // namespace emulator
