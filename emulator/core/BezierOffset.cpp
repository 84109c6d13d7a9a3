#include "emulator/core/BezierOffset.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

#include "emulator/core/BezierMath.h"
#include "emulator/core/CubicCurve.h"
#include "emulator/core/CurveSearch.h"

// The offset of C at distance d is O(t) = C(t) + d·N(t), N the unit left normal. Its
// derivative is O'(t) = |C'(t)|·(1 − d·κ(t))·T(t), T the unit tangent and κ the signed
// curvature: the offset runs the way the curve runs as long as d·κ < 1, and turns back
// (folds) where a bend's radius of curvature on the side of the offset falls to |d|. At a
// cusp (C' = 0 inside the curve) the normal flips and the offset jumps across the curve.
//
// Where it does not fold, the offset is smooth and its tangent at t is T(t). It is
// approximated greedily from p0: each piece runs from the offset point at one parameter to
// the offset point at another, leaves and arrives along T there, and has the handle lengths
// that fit best (least squares) the offset between; a piece is taken as long as it stays
// within the tolerance of the offset both ways, measured on samples dense in the turning of
// the tangent.

namespace emulator {
namespace {

using cubic::Cross;
using cubic::Cubic;
using cubic::Dot;
using cubic::FirstDerivative;
using cubic::FromBezier;
using cubic::GoldenMinimum;
using cubic::kFoldGrid;
using cubic::kGoldenSteps;
using cubic::kProjectionSteps;
using cubic::Left;
using cubic::LocalMinima;
using cubic::Norm;
using cubic::PointOf;
using cubic::PolygonLength;
using cubic::PowerForm;
using cubic::RoundingOf;
using cubic::SecondDerivative;
using cubic::Straight;
using cubic::ToPoint;
using cubic::TurnBetween;
using cubic::Vec;

// A speed this small against the largest speed the control polygon allows is a cusp: a
// cusp whose coordinates went through float rounding keeps a speed about this small.
constexpr double kCuspSpeed = 1e-6;
// A parameter this close to an end belongs to the end.
constexpr double kEndParameter = 1e-9;
// The curvature test's margin against rounding, relative to the curve's speeds.
constexpr double kFoldMargin = 1e-12;
// A fold confined to an end of the curve (where a handle lies on its anchor, the curvature
// grows without bound) is accepted when the offset runs back there over no more than this
// share of the tolerance: the pieces then stay within the tolerance of it all the same.
constexpr double kEndFoldShare = 0.5;

// The samples of the offset start on a uniform grid and the curve's sharpest turns (where
// its speed is least), and are refined until the tangent turns by no more than kMaxTurn
// between neighbours. A turn and a turn back between two neighbours would take a sharper
// bend than a cubic makes away from its sharpest turns.
constexpr int kSampleGrid = 64;
constexpr double kMaxTurn = 2 * std::numbers::pi / 180;
constexpr double kMaxTurnCosine = 0.99939082701909573;  // cos kMaxTurn
constexpr int kMaxSampleDepth = 48;

// The share of the tolerance a piece may use on the samples; the rest is left for the
// stretches between samples and for the float rounding of the control points.
constexpr double kFitShare = 0.8;
// Least-squares rounds, each after moving the samples' parameters to their nearest points.
constexpr int kFitRounds = 3;
// A fit this many times over the budget after its first round, or its second, is given up.
constexpr double kHopelessFirst = 20;
constexpr double kHopeless = 4;
// A piece spanning fewer samples than this is fitted to this many points in each gap.
constexpr std::size_t kFewSamples = 4;
// The handle lengths are fitted to about this many of a piece's targets.
constexpr std::size_t kFitPoints = 24;
// A handle longer than this many times the offset's length between its ends is not a fit.
constexpr double kLongestHandle = 2;
// The least share of the tolerance left to a fit where floats round coarsely.
constexpr double kLeastShare = 0.1;
// A bound on the pieces, far above what a curve needs: beyond it, the rest of the offset
// is one piece.
constexpr std::size_t kMaxPieces = 10000;

// A sample of the offset: its parameter, the offset point and the curve's unit tangent.
struct Sample {
    double t;
    Vec point;
    Vec tangent;
};

// A fitted piece: the control points in double precision.
using Piece = Cubic;

class Offsetter {
  public:
    Offsetter(const Cubic& curve, double distance, double budget)
        : c_(curve),
          d_(distance),
          budget_(budget),
          speedScale_(3 * std::max({Norm(curve[1] - curve[0]), Norm(curve[2] - curve[1]),
                                    Norm(curve[3] - curve[2])})) {}

    // True when the offset folds over itself somewhere.
    bool Folds() { return HasCusp() || BendsTooTight(); }

    // The pieces of the offset, from p0.
    std::vector<Piece> Fit() {
        BuildSamples();
        std::vector<Piece> pieces;
        std::size_t from = 0;
        // How many samples the piece before spanned: where the next one probably ends.
        std::size_t span = samples_.size() - 1;
        while (from + 1 < samples_.size()) {
            const std::size_t last = samples_.size() - 1;
            if (pieces.size() + 1 == kMaxPieces) {
                pieces.push_back(ChordThirds(from, last));
                break;
            }
            // The longest piece from `from`: its end lies between the farthest sample known
            // to end a piece that fits and the nearest known to end one that does not. The
            // search starts at the guess, goes out by doubling while pieces fit, in by
            // halving while they do not, then halves the range between.
            std::size_t fits = from;
            std::size_t misses = last + 1;
            std::size_t probe = std::min(from + std::max<std::size_t>(span, 1), last);
            std::optional<Piece> piece;
            while (misses - fits > 1) {
                if (auto candidate = FitBetween(from, probe)) {
                    piece = candidate;
                    fits = probe;
                } else {
                    misses = probe;
                }
                if (misses > last) {
                    probe = std::min(from + 2 * (fits - from), last);
                } else if (fits == from) {
                    probe = from + (misses - from) / 2;
                } else {
                    probe = fits + (misses - fits) / 2;
                }
            }
            if (!piece) {
                // Not even the next sample: a sample between, or when the samples cannot be
                // told apart any more, the best that can be done.
                if (RefineAfter(from)) {
                    continue;
                }
                fits = from + 1;
                piece = ChordThirds(from, fits);
            }
            pieces.push_back(*piece);
            span = fits - from;
            from = fits;
        }
        return pieces;
    }

    // The unit tangent at t; where the derivative vanishes (a handle on its anchor), the
    // direction the curve leaves in: the second derivative (reversed at the end), then the
    // chord.
    Vec Tangent(double t) const {
        Vec direction = FirstDerivative(c_, t);
        if (direction.x == 0 && direction.y == 0) {
            direction = t < 1 ? SecondDerivative(c_, t) : SecondDerivative(c_, t) * -1;
        }
        if (direction.x == 0 && direction.y == 0) {
            direction = c_[3] - c_[0];
        }
        const double norm = Norm(direction);
        return norm > 0 ? direction * (1 / norm) : Vec{1, 0};
    }

    Vec OffsetPoint(double t) const { return PointOf(c_, t) + Left(Tangent(t)) * d_; }

  private:
    // A cusp inside the curve: its speed falls to (almost) nothing there.
    bool HasCusp() const {
        const auto speed = [this](double t) { return Norm(FirstDerivative(c_, t)); };
        for (const auto& [t, value] : LocalMinima(speed)) {
            if (t > kEndParameter && t < 1 - kEndParameter && value <= kCuspSpeed * speedScale_) {
                return true;
            }
        }
        return false;
    }

    // |C'|³·(1 − d·κ), scaled by the speeds: not positive where the offset turns back.
    double Bend(double t) const {
        const Vec first = FirstDerivative(c_, t);
        const double speed = Norm(first);
        return (speed * speed * speed - d_ * Cross(first, SecondDerivative(c_, t))) /
               (speedScale_ * speedScale_ * speedScale_);
    }

    // True where the curve bends toward the offset with a radius of |d| or less. Where the
    // speed vanishes (a handle on its anchor) the bend is taken just inside the curve, since
    // the curvature grows without bound toward such an end.
    bool Folded(double t) const {
        if (t <= 0 || t >= 1) {
            t = std::clamp(t, kEndParameter, 1 - kEndParameter);
        }
        const Vec first = FirstDerivative(c_, t);
        return d_ * Cross(first, SecondDerivative(c_, t)) > 0 && Bend(t) <= kFoldMargin;
    }

    // A bend whose radius of curvature on the side of the offset is |d| or less, except a
    // fold confined to an end so small that the pieces cover it.
    bool BendsTooTight() {
        const auto bend = [this](double t) { return Bend(t); };
        foldedStart_ = FoldedEnd(0, 1);
        foldedEnd_ = FoldedEnd(1, 0);
        for (const auto& [t, value] : LocalMinima(bend)) {
            if (t > foldedStart_ && t < foldedEnd_ && value <= kFoldMargin && Folded(t)) {
                return true;
            }
        }
        const double allowed = kEndFoldShare * budget_;
        return foldedStart_ >= foldedEnd_ || RunBack(0, foldedStart_) > allowed ||
               RunBack(foldedEnd_, 1) > allowed;
    }

    // Where the folded stretch that starts at the end `end` stops (the end itself when the
    // offset does not turn back there), searched toward `other`.
    double FoldedEnd(double end, double other) const {
        if (!Folded(end)) {
            return end;
        }
        // The first grid point that bends gently enough, then the change between.
        double folded = end;
        double gentle = other;
        for (int i = 1; i <= kFoldGrid; ++i) {
            const double t = end + (other - end) * i / kFoldGrid;
            if (!Folded(t)) {
                gentle = t;
                break;
            }
            folded = t;
        }
        if (Folded(gentle)) {
            return other;
        }
        for (int step = 0; step < kGoldenSteps; ++step) {
            const double middle = (folded + gentle) / 2;
            (Folded(middle) ? folded : gentle) = middle;
        }
        return gentle;
    }

    // How far the offset runs back between the parameters a and b: |d| times the tangent's
    // turn less the curve's length there.
    double RunBack(double a, double b) const {
        if (b <= a) {
            return 0;
        }
        constexpr int kSteps = 64;
        double turn = 0;
        double length = 0;
        Vec previous = PointOf(c_, a);
        Vec previousTangent = Tangent(a);
        for (int i = 1; i <= kSteps; ++i) {
            const double t = a + (b - a) * i / kSteps;
            const Vec point = PointOf(c_, t);
            const Vec tangent = Tangent(t);
            length += Norm(point - previous);
            turn += TurnBetween(previousTangent, tangent);
            previous = point;
            previousTangent = tangent;
        }
        return std::max(0.0, std::fabs(d_) * turn - length);
    }

    Sample SampleAt(double t) const {
        const Vec tangent = Tangent(t);
        return {t, PointOf(c_, t) + Left(tangent) * d_, tangent};
    }

    // Samples from t = 0 to 1: a uniform grid, the curve's sharpest turns, and more until
    // the tangent turns little between neighbours.
    void BuildSamples() {
        std::vector<double> seeds;
        for (int i = 0; i <= kSampleGrid; ++i) {
            seeds.push_back(static_cast<double>(i) / kSampleGrid);
        }
        const auto speed = [this](double t) { return Norm(FirstDerivative(c_, t)); };
        for (const auto& minimum : LocalMinima(speed)) {
            seeds.push_back(minimum.first);
        }
        std::sort(seeds.begin(), seeds.end());
        seeds.erase(std::unique(seeds.begin(), seeds.end()), seeds.end());
        samples_.clear();
        samples_.push_back(SampleAt(seeds.front()));
        for (std::size_t i = 1; i < seeds.size(); ++i) {
            AddRefined(samples_.back(), SampleAt(seeds[i]), 0);
        }
        // Within a small fold at an end, and until the offset is past the end's offset point
        // again, a piece cannot end: the first (last) piece runs from the end's point across
        // the fold.
        std::size_t first = 1;
        if (foldedStart_ > 0) {
            while (first + 1 < samples_.size() &&
                   (samples_[first].t <= foldedStart_ ||
                    Dot(samples_[first].point - samples_.front().point, samples_[first].tangent) <=
                        0)) {
                ++first;
            }
        }
        std::size_t last = samples_.size() - 1;
        if (foldedEnd_ < 1) {
            while (last > first && (samples_[last - 1].t >= foldedEnd_ ||
                                    Dot(samples_.back().point - samples_[last - 1].point,
                                        samples_[last - 1].tangent) <= 0)) {
                --last;
            }
        }
        samples_.erase(samples_.begin() + static_cast<std::ptrdiff_t>(last), samples_.end() - 1);
        samples_.erase(samples_.begin() + 1, samples_.begin() + static_cast<std::ptrdiff_t>(first));
    }

    // Appends the samples after `a` up to `b`, refined between.
    void AddRefined(const Sample& a, const Sample& b, int depth) {
        if (depth < kMaxSampleDepth && Dot(a.tangent, b.tangent) < kMaxTurnCosine) {
            const Sample middle = SampleAt((a.t + b.t) / 2);
            AddRefined(a, middle, depth + 1);
            AddRefined(middle, b, depth + 1);
            return;
        }
        samples_.push_back(b);
    }

    // Adds a sample halfway between samples `index` and the next; false when they are too
    // close for one.
    bool RefineAfter(std::size_t index) {
        const double a = samples_[index].t;
        const double b = samples_[index + 1].t;
        const double middle = (a + b) / 2;
        if (!(middle > a && middle < b)) {
            return false;
        }
        samples_.insert(samples_.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                        SampleAt(middle));
        return true;
    }

    // The points the piece between samples `from` and `to` is fitted to and checked on: the
    // samples between, and more between them when they are few.
    std::vector<Sample> Targets(std::size_t from, std::size_t to) const {
        const int between = to - from < kFewSamples ? kFewSamples : 1;
        std::vector<Sample> targets;
        for (std::size_t i = from; i < to; ++i) {
            if (i > from) {
                targets.push_back(samples_[i]);
            }
            for (int k = 1; k < between; ++k) {
                const double t = samples_[i].t + (samples_[i + 1].t - samples_[i].t) * k / between;
                targets.push_back(SampleAt(t));
            }
        }
        return targets;
    }

    // The piece between samples `from` and `to` with handles a third of its chord long.
    Piece ChordThirds(std::size_t from, std::size_t to) const {
        const Sample& a = samples_[from];
        const Sample& b = samples_[to];
        const double third = Norm(b.point - a.point) / 3;
        return {a.point, a.point + a.tangent * third, b.point - b.tangent * third, b.point};
    }

    // The piece between samples `from` and `to` when it stays within the budget of the
    // offset both ways.
    std::optional<Piece> FitBetween(std::size_t from, std::size_t to) const {
        const Sample& a = samples_[from];
        const Sample& b = samples_[to];
        const std::vector<Sample> targets = Targets(from, to);

        // The targets' parameters on the piece, first in proportion to the curve's: the
        // offset of a short stretch is nearly the stretch moved, parameter for parameter.
        std::vector<double> u(targets.size());
        for (std::size_t i = 0; i < targets.size(); ++i) {
            u[i] = (targets[i].t - a.t) / (b.t - a.t);
        }
        const double reach = Norm(b.point - a.point) + std::fabs(d_) * kMaxTurn * (to - from);

        // Handle lengths out of reason (where the offset bends back within a small fold at an
        // end, say) give way to a third of the chord for the next round.
        const double chord = Norm(b.point - a.point);
        // The rounds fit a spread of the targets; the others are checked once at the end.
        const std::size_t stride = std::max<std::size_t>(1, targets.size() / kFitPoints);
        Piece piece{};
        for (int round = 0; round < kFitRounds; ++round) {
            auto handles = HandleLengths(a, b, targets, u, stride);
            if (!handles || !(handles->first > 0) || !(handles->second > 0) ||
                handles->first > kLongestHandle * reach ||
                handles->second > kLongestHandle * reach) {
                handles = std::pair{chord / 3, chord / 3};
            }
            piece = {a.point, a.point + a.tangent * handles->first,
                     b.point - b.tangent * handles->second, b.point};
            // The offset near the piece: the targets at their nearest points of the piece.
            const PowerForm power(piece);
            double worst = 0;
            for (std::size_t i = 0; i < targets.size(); i += stride) {
                u[i] = power.Project(targets[i].point, u[i]);
                worst = std::max(worst, Norm(power.Point(u[i]) - targets[i].point));
            }
            if (worst <= budget_) {
                break;
            }
            if (round + 1 == kFitRounds ||
                worst > (round == 0 ? kHopelessFirst : kHopeless) * budget_) {
                return std::nullopt;
            }
        }
        const PowerForm power(piece);
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const std::size_t before = i - i % stride;
            if (before == i) {
                continue;
            }
            // From where the fitted targets on either side lie on the piece.
            const std::size_t after = before + stride;
            const double uAfter = after < targets.size() ? u[after] : 1.0;
            const double tAfter = after < targets.size() ? targets[after].t : b.t;
            const double w = (targets[i].t - targets[before].t) / (tAfter - targets[before].t);
            u[i] = power.Project(targets[i].point, u[before] + w * (uAfter - u[before]));
            if (Norm(power.Point(u[i]) - targets[i].point) > budget_) {
                return std::nullopt;
            }
        }

        // The piece near the offset: points of the piece at their nearest points of the
        // offset, searched from the target whose parameter on the piece is closest.
        const std::size_t checks = targets.size() + kFewSamples * 2;
        std::size_t nearest = 0;
        for (std::size_t j = 1; j < checks; ++j) {
            const double v = static_cast<double>(j) / checks;
            while (nearest + 1 < targets.size() &&
                   std::fabs(u[nearest + 1] - v) <= std::fabs(u[nearest] - v)) {
                ++nearest;
            }
            if (!NearOffset(PointOf(piece, v), targets, nearest, a.t, b.t)) {
                return std::nullopt;
            }
        }
        return piece;
    }

    // The handle lengths that bring the piece with the given ends and tangents closest to
    // every stride-th target at its parameter in u, in the least-squares sense.
    static std::optional<std::pair<double, double>> HandleLengths(
        const Sample& a, const Sample& b, const std::vector<Sample>& targets,
        const std::vector<double>& u, std::size_t stride) {
        // piece(u) = a·(B0 + B1) + b·(B2 + B3) + α·B1·Ta − β·B2·Tb.
        double m11 = 0;
        double m12 = 0;
        double m22 = 0;
        double r1 = 0;
        double r2 = 0;
        for (std::size_t i = 0; i < targets.size(); i += stride) {
            const double t = u[i];
            const double s = 1 - t;
            const double b0 = s * s * s;
            const double b1 = 3 * s * s * t;
            const double b2 = 3 * s * t * t;
            const double b3 = t * t * t;
            const Vec rest = targets[i].point - (a.point * (b0 + b1) + b.point * (b2 + b3));
            const Vec alpha = a.tangent * b1;
            const Vec beta = b.tangent * -b2;
            m11 += Dot(alpha, alpha);
            m12 += Dot(alpha, beta);
            m22 += Dot(beta, beta);
            r1 += Dot(alpha, rest);
            r2 += Dot(beta, rest);
        }
        const double determinant = m11 * m22 - m12 * m12;
        if (!(std::fabs(determinant) > 1e-12 * m11 * m22)) {
            return std::nullopt;
        }
        return std::pair{(r1 * m22 - r2 * m12) / determinant, (m11 * r2 - m12 * r1) / determinant};
    }

    // True when `point` is within the budget of the offset between the parameters lo and
    // hi: a point of the offset that close is searched from the target `start` and its
    // neighbours by Newton's steps along the offset.
    bool NearOffset(Vec point, const std::vector<Sample>& targets, std::size_t start, double lo,
                    double hi) const {
        for (std::size_t i = start == 0 ? 0 : start - 1; i <= start + 1 && i < targets.size();
             ++i) {
            double t = targets[i].t;
            for (int step = 0; step <= kProjectionSteps; ++step) {
                const Sample at = SampleAt(t);
                if (Norm(point - at.point) <= budget_) {
                    return true;
                }
                const Vec first = FirstDerivative(c_, t);
                const double squared = Dot(first, first);
                if (!(squared > 0)) {
                    break;
                }
                // The offset's speed: |C'|·(1 − d·κ).
                const double speed =
                    std::sqrt(squared) - d_ * Cross(first, SecondDerivative(c_, t)) / squared;
                if (!(speed > 0)) {
                    break;
                }
                t = std::clamp(t + Dot(point - at.point, at.tangent) / speed, lo, hi);
            }
        }
        return false;
    }

    Cubic c_;
    double d_;
    double budget_;
    double speedScale_;
    // The small folds accepted at the ends: from 0 to foldedStart_ and from foldedEnd_ to 1.
    double foldedStart_ = 0;
    double foldedEnd_ = 1;
    std::vector<Sample> samples_;
};

}  // namespace

OffsetResult OffsetBezier(const AIRealBezier& bezier, double distance, double tolerance) {
    OffsetResult result;
    const Cubic c = FromBezier(bezier);
    if (!IsFinite(bezier) || !std::isfinite(distance) || !(PolygonLength(c) > 0)) {
        return result;
    }
    result.outcome = OffsetOutcome::kDone;
    if (distance == 0) {
        result.pieces.push_back(bezier);
        return result;
    }
    if (const auto straight = Straight(c)) {
        if (straight->turnsBack) {
            result.outcome = OffsetOutcome::kFolds;
            return result;
        }
        // Every point moves by the same normal: the curve moved is its offset exactly.
        const Vec shift = Left(straight->direction) * distance;
        result.pieces.push_back({ToPoint(c[0] + shift), ToPoint(c[1] + shift),
                                 ToPoint(c[2] + shift), ToPoint(c[3] + shift)});
        return result;
    }

    double magnitude = 0;
    for (const Vec& p : c) {
        magnitude = std::max({magnitude, std::fabs(p.x), std::fabs(p.y)});
    }
    const double rounding = RoundingOf(magnitude + std::fabs(distance) + PolygonLength(c));
    // Far from the origin the floats cannot hold the tolerance: the pieces are then fitted as
    // closely as the floats can tell.
    const double budget =
        std::max({kFitShare * tolerance - rounding, kLeastShare * tolerance, rounding});
    Offsetter offsetter(c, distance, budget);
    if (offsetter.Folds()) {
        result.outcome = OffsetOutcome::kFolds;
        return result;
    }
    const std::vector<Piece> pieces = offsetter.Fit();
    // Each joint is rounded once, so that a piece starts exactly where the one before ends.
    AIRealPoint joint = ToPoint(offsetter.OffsetPoint(0));
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const AIRealPoint end =
            i + 1 == pieces.size() ? ToPoint(offsetter.OffsetPoint(1)) : ToPoint(pieces[i][3]);
        result.pieces.push_back({joint, ToPoint(pieces[i][1]), ToPoint(pieces[i][2]), end});
        joint = end;
    }
    return result;
}

}  // namespace emulator
