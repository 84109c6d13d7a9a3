// The emulated host's numerics: Bézier points, tangents, lengths, parameters at a length and
// division, and the real-math suite's rounding to a multiple and point closeness.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "emulator/core/BezierMath.h"
#include "emulator/core/Host.h"
#include "emulator/core/SuiteRegistry.h"
#include "plugin/host/GeometrySuites.h"
#include "plugin/host/ResultCodes.h"
#include "tests/support/CurveReference.h"
#include "tests/support/HostFixture.h"

namespace {

using emulator::BezierLength;
using emulator::BezierParameterAtLength;
using emulator::BezierPoint;
using emulator::BezierTangent;
using emulator::DivideBezier;

constexpr double kCircleHandle = 0.5522847;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

// The quarter circle of radius r about the origin from (r, 0) to (0, r).
AIRealBezier QuarterCircle(float r) {
    const auto k = static_cast<float>(kCircleHandle * r);
    return {{r, 0}, {r, k}, {k, r}, {0, r}};
}

bool Same(const AIRealPoint& a, const AIRealPoint& b) {
    return a.h == b.h && a.v == b.v;
}

struct NamedCurve {
    const char* name;
    AIRealBezier bezier;
};

// Curves whose speed varies a lot, vanishes or turns back: where a measurement that trusts a
// coarse flattening, or a quadrature over the whole curve, goes wrong.
const NamedCurve kCurves[] = {
    {"straight, handles in thirds", {{0, 0}, {10, 0}, {20, 0}, {30, 0}}},
    {"straight, handles on anchors", {{10, 10}, {10, 10}, {40, 50}, {40, 50}}},
    {"straight, handles overshooting", {{0, 0}, {60, 0}, {-20, 0}, {40, 0}}},
    {"quarter circle", QuarterCircle(100)},
    {"S curve", {{0, 0}, {200, 0}, {-100, 100}, {100, 100}}},
    {"loop", {{0, 0}, {150, 100}, {-50, 100}, {100, 0}}},
    {"cusp", {{0, 0}, {100, 100}, {0, 100}, {100, 0}}},
    {"far from the origin", {{10000, -5000}, {10080, -5000}, {10100, -4950}, {10100, -4900}}},
    {"tiny", {{0, 0}, {0.001f, 0.002f}, {0.003f, 0.001f}, {0.004f, 0}}},
    {"near cusp", {{0, 0}, {100, 100}, {0, 100}, {100.01f, 0}}},
    {"handle on its anchor", {{0, 0}, {0, 0}, {50, 100}, {100, 100}}},
    {"long thin loop", {{0, 0}, {1000, 0.5f}, {-900, 0.5f}, {100, 0}}},
    {"very large", {{1e6f, -1e6f}, {1.3e6f, -0.9e6f}, {1.1e6f, -1.2e6f}, {1.5e6f, -1.1e6f}}},
    {"tiny near cusp", {{0, 0}, {1e-3f, 1e-3f}, {0, 1e-3f}, {1.0001e-3f, 0}}},
};

// How far a length may be from the reference: a thousandth of a point, and on small curves
// a hundred-millionth of the length.
double LengthTolerance(double length) {
    return std::min(1e-3, 1e-12 + 1e-8 * length);
}

// Would catch a length taken from a flattening coarse enough to obey the flatness of 1.0
// (a quarter circle of radius 100 would lose about 0.3 pt), a quadrature trusted on a piece
// where the speed dips sharply or has a kink (near a cusp, where a straight curve turns
// back), the flatness argument making lengths visibly different, and parameters at a length
// that do not agree with the lengths.
TEST(BezierMath, MeasuresLengthsAsTheReferenceDoesWhateverTheFlatness) {
    for (const NamedCurve& c : kCurves) {
        SCOPED_TRACE(c.name);
        const double expected = testing_support::ReferenceLength(c.bezier);
        for (const double flatness : {1.0, 0.1, 100.0, 0.0, -1.0, double(kNaN)}) {
            EXPECT_NEAR(BezierLength(c.bezier, flatness), expected, LengthTolerance(expected))
                << "flatness " << flatness;
        }
        for (const double fraction : {0.3, 0.7}) {
            const auto t = BezierParameterAtLength(c.bezier, fraction * expected, 1);
            ASSERT_TRUE(t.has_value());
            EXPECT_NEAR(testing_support::ReferenceLength(c.bezier, *t), fraction * expected,
                        LengthTolerance(expected))
                << "at " << fraction;
        }
    }
}

// Would catch a search that stops early (the lengths inside the curve are checked against
// the reference above), and lengths out of range that are not clamped.
TEST(BezierMath, FindsTheParameterAtALength) {
    // Symmetric about its middle: half the length is reached at t = 0.5.
    const AIRealBezier symmetric = {{0, 0}, {10, 80}, {90, 80}, {100, 0}};
    const double total = BezierLength(symmetric, 1);
    EXPECT_NEAR(*BezierParameterAtLength(symmetric, total / 2, 1), 0.5, 1e-9);

    const struct {
        double length;
        double t;
    } clamps[] = {
        {-5, 0}, {0, 0}, {total, 1}, {total * 2, 1}, {std::numeric_limits<double>::infinity(), 1}};
    for (const auto& c : clamps) {
        EXPECT_EQ(*BezierParameterAtLength(symmetric, c.length, 1), c.t) << c.length;
    }
}

// Would catch a division whose halves do not meet exactly (a gap or overlap in a split
// path), that drops the original ends, or that is taken at another parameter than asked.
TEST(BezierMath, DividesIntoHalvesThatJoinBack) {
    const AIRealBezier curve = {{3, -7}, {120, 40}, {-30, 95}, {80, 10}};
    const double total = BezierLength(curve, 1);
    for (const double t : {0.0, 0.2, 0.5, 0.731, 1.0}) {
        SCOPED_TRACE(t);
        const auto halves = DivideBezier(curve, t);
        ASSERT_TRUE(halves.has_value());
        EXPECT_TRUE(Same(halves->first.p0, curve.p0));
        EXPECT_TRUE(Same(halves->second.p3, curve.p3));
        EXPECT_TRUE(Same(halves->first.p3, halves->second.p0));
        const AIRealPoint at = BezierPoint(curve, t);
        EXPECT_NEAR(halves->first.p3.h, at.h, 1e-4);
        EXPECT_NEAR(halves->first.p3.v, at.v, 1e-4);
        // Each half traces its part of the curve.
        for (const double u : {0.3, 0.6}) {
            const AIRealPoint inFirst = BezierPoint(halves->first, u);
            const AIRealPoint onCurve = BezierPoint(curve, u * t);
            EXPECT_NEAR(inFirst.h, onCurve.h, 1e-4);
            EXPECT_NEAR(inFirst.v, onCurve.v, 1e-4);
            const AIRealPoint inSecond = BezierPoint(halves->second, u);
            const AIRealPoint onRest = BezierPoint(curve, t + u * (1 - t));
            EXPECT_NEAR(inSecond.h, onRest.h, 1e-4);
            EXPECT_NEAR(inSecond.v, onRest.v, 1e-4);
        }
        EXPECT_NEAR(BezierLength(halves->first, 1) + BezierLength(halves->second, 1), total, 1e-3);
    }
}

// Would catch tangents that vanish where a handle lies on its anchor (the direction of a
// curve's end is then lost), or that point backwards at the end of the curve.
TEST(BezierMath, GivesTangentsThatFollowTheCurve) {
    const struct {
        const char* name;
        AIRealBezier bezier;
        double t;
        double expectedAngle;
    } cases[] = {
        {"plain start", {{0, 0}, {0, 10}, {10, 20}, {20, 20}}, 0, std::numbers::pi / 2},
        {"plain end", {{0, 0}, {0, 10}, {10, 20}, {20, 20}}, 1, 0},
        {"no handle at the start", {{0, 0}, {0, 0}, {10, 10}, {20, 0}}, 0, std::numbers::pi / 4},
        {"no handle at the end", {{0, 0}, {10, 10}, {20, 0}, {20, 0}}, 1, -std::numbers::pi / 4},
        {"no handles at all, start", {{0, 0}, {0, 0}, {-10, 0}, {-10, 0}}, 0, std::numbers::pi},
        {"no handles at all, end", {{0, 0}, {0, 0}, {0, -10}, {0, -10}}, 1, -std::numbers::pi / 2},
        {"both handles on the start", {{0, 0}, {0, 0}, {0, 0}, {5, 5}}, 0, std::numbers::pi / 4},
        {"past the end", {{0, 0}, {0, 10}, {10, 20}, {20, 20}}, 7, 0},
    };
    for (const auto& c : cases) {
        const AIRealPoint tangent = BezierTangent(c.bezier, c.t);
        EXPECT_NEAR(std::atan2(tangent.v, tangent.h), c.expectedAngle, 1e-6) << c.name;
    }
}

// Would catch a degenerate curve that yields NaN, an infinite loop in the subdivision or a
// division by a zero length, and parameters that are not clamped.
TEST(BezierMath, AnswersDegenerateCurvesWithFiniteValues) {
    const AIRealBezier point = {{5, 5}, {5, 5}, {5, 5}, {5, 5}};
    EXPECT_EQ(BezierLength(point, 1), 0);
    EXPECT_EQ(*BezierParameterAtLength(point, 3, 1), 0);
    EXPECT_TRUE(Same(BezierPoint(point, 0.5), {5, 5}));
    EXPECT_TRUE(Same(BezierTangent(point, 0.5), {0, 0}));
    EXPECT_TRUE(DivideBezier(point, 0.5).has_value());

    for (const float bad : {kNaN, kInfinity, -kInfinity}) {
        SCOPED_TRACE(bad);
        const AIRealBezier curve = {{0, 0}, {10, bad}, {20, 10}, {30, 0}};
        EXPECT_EQ(BezierLength(curve, 1), 0);
        EXPECT_FALSE(BezierParameterAtLength(curve, 5, 1).has_value());
        EXPECT_TRUE(Same(BezierPoint(curve, 0.5), {0, 0}));
        EXPECT_TRUE(Same(BezierTangent(curve, 0.5), {0, 0}));
        EXPECT_FALSE(DivideBezier(curve, 0.5).has_value());
    }

    const AIRealBezier curve = {{0, 0}, {0, 10}, {10, 20}, {20, 20}};
    EXPECT_FALSE(BezierParameterAtLength(curve, kNaN, 1).has_value());
    const struct {
        float t;
        AIRealPoint expected;
    } clamps[] = {{-1, curve.p0}, {kNaN, curve.p0}, {2, curve.p3}, {kInfinity, curve.p3}};
    for (const auto& c : clamps) {
        EXPECT_TRUE(Same(BezierPoint(curve, c.t), c.expected)) << c.t;
    }
}

// The suites as the plug-in holds them.
class NumericSuitesTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(suites_.Acquire(math_, bezier_)); }

    static emulator::HostOptions Options() {
        emulator::HostOptions options;
        options.fonts = std::vector<std::string>{"ArialMT"};
        return options;
    }

    emulator::Host host_{Options()};
    testing_support::HeldSuites suites_{host_};
    const AIRealMathSuite* math_ = nullptr;
    const AIRealBezierSuite* bezier_ = nullptr;
};

// Would catch snapping in the wrong direction (a dragged distance that falls short of its
// step, or a negative offset snapped toward the other side), a value already on a multiple
// pushed one step further by float rounding, and a zero step dividing by zero.
TEST_F(NumericSuitesTest, MovesValuesToMultiples) {
    const float cm = 28.346457f;
    const struct {
        float value;
        float multiple;
        bool roundUp;
        float expected;
    } cases[] = {
        {7, 5, true, 10},
        {7, 5, false, 5},
        {-7, 5, true, -10},
        {-7, 5, false, -5},
        {10, 5, true, 10},
        {10, 5, false, 10},
        {0, 5, true, 0},
        {7, -5, true, 10},
        {0.2f, 12, true, 12},
        {11.9f, 12, false, 0},
        {3 * cm, cm, true, 3 * cm},
        {3 * cm, cm, false, 3 * cm},
        {7, 0, true, 7},
        {kInfinity, 5, true, kInfinity},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.value << " by " << c.multiple << (c.roundUp ? " up" : " down"));
        EXPECT_FLOAT_EQ(math_->AIRealMultiple(c.value, c.multiple, c.roundUp ? 1 : 0), c.expected);
    }
    EXPECT_TRUE(std::isnan(math_->AIRealMultiple(kNaN, 5, 1)));
}

// Would catch the angle measured with y downwards or its arguments swapped, and a
// closeness test by box instead of by distance or one that lets NaN through.
TEST_F(NumericSuitesTest, MeasuresAnglesAndClosenessOfPoints) {
    const AIRealPoint origin = {10, 10};
    const struct {
        AIRealPoint to;
        double angle;
    } angles[] = {{{20, 10}, 0},
                  {{10, 20}, std::numbers::pi / 2},
                  {{0, 10}, std::numbers::pi},
                  {{10, 0}, -std::numbers::pi / 2},
                  {{10, 10}, 0}};
    for (const auto& c : angles) {
        EXPECT_NEAR(math_->PointAngle(&origin, &c.to), c.angle, 1e-6) << c.to.h << " " << c.to.v;
    }
    AIRealPoint reached{};
    math_->PointAtLengthAndAngle(&origin, 5, static_cast<float>(std::numbers::pi / 2), &reached);
    EXPECT_NEAR(reached.h, 10, 1e-5);
    EXPECT_NEAR(reached.v, 15, 1e-5);

    const AIRealPoint nan = {kNaN, 0};
    const struct {
        AIRealPoint other;
        float tolerance;
        bool close;
    } closeness[] = {{{13, 14}, 5, true}, {{13, 14}, 4.99f, false}, {{13.6f, 13.6f}, 5, false},
                     {{10, 10}, 0, true}, {{10, 10}, -1, false},    {nan, 1e30f, false}};
    for (const auto& c : closeness) {
        EXPECT_EQ(math_->PointsClose(&origin, &c.other, c.tolerance) != 0, c.close)
            << c.other.h << " " << c.other.v << " within " << c.tolerance;
    }
}

// Would catch a status that claims success for a curve it cannot measure, or a parameter
// left undefined in that case, and a division that writes its halves after a failure. (The
// answers for sound curves make the curve and arc dimensions of the sessions.)
TEST_F(NumericSuitesTest, ReportsDegenerateCurvesThroughTheirStatus) {
    const AIRealBezier quarter = QuarterCircle(30);
    const AIRealBezier broken = {{0, 0}, {kNaN, 0}, {1, 1}, {2, 2}};
    AIReal t = -1;
    EXPECT_EQ(bezier_->ParameterAtLength(&broken, 1, 1, &t), kBadParameterErr);
    EXPECT_EQ(t, 0);
    EXPECT_EQ(bezier_->ParameterAtLength(nullptr, 1, 1, &t), kBadParameterErr);

    AIRealBezier first = quarter;
    AIRealBezier second = quarter;
    EXPECT_EQ(bezier_->Divide(&broken, 0.5f, &first, &second), kBadParameterErr);
    EXPECT_TRUE(Same(first.p1, quarter.p1));
}

}  // namespace
