// The geometry of angular and radial dimensions: signed angles, arcs drawn as cubics, the
// trimming at arrowheads, the right-angle mark and the side of a leader's shoulder.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "plugin/geometry/Arcs.h"
#include "plugin/geometry/Trigonometry.h"

namespace {

using namespace geometry;

constexpr double kPi = std::numbers::pi;

double Distance(AIRealPoint a, AIRealPoint b) {
    return std::hypot(static_cast<double>(a.h) - b.h, static_cast<double>(a.v) - b.v);
}

AIRealPoint CubicAt(const AIPathSegment& a, const AIPathSegment& b, double t) {
    const double u = 1 - t;
    const auto at = [&](double p0, double p1, double p2, double p3) {
        return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
    };
    return {static_cast<AIReal>(at(a.p.h, a.out.h, b.in.h, b.p.h)),
            static_cast<AIReal>(at(a.p.v, a.out.v, b.in.v, b.p.v))};
}

// The straight angle used to come out as NaN (acos of a dot product just above 1), and a
// side of no length was not refused.
TEST(Arcs, SweptAngleIsSignedAndNeverNaN) {
    const struct {
        const char* what;
        AIRealPoint vertex, a, b;
        std::optional<double> sweep;
    } cases[] = {
        {"quarter turn counter-clockwise", {0, 0}, {10, 0}, {0, 5}, kPi / 2},
        {"the same sides the other way", {0, 0}, {0, 5}, {10, 0}, -kPi / 2},
        {"straight anchor", {0, 0}, {-3, 0}, {7, 0}, kPi},
        {"nearly the same direction", {0, 0}, {1e6f, 0}, {1e6f, 1}, 1e-6},
        {"a side of no length", {1, 1}, {1, 1}, {5, 1}, std::nullopt},
        {"not a number", {0, 0}, {NAN, 0}, {0, 1}, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto sweep = SweptAngle(c.vertex, c.a, c.b);
        ASSERT_EQ(sweep.has_value(), c.sweep.has_value()) << c.what;
        if (sweep) {
            EXPECT_NEAR(std::fabs(*sweep), std::fabs(*c.sweep), 1e-9) << c.what;
            if (std::fabs(*c.sweep) < kPi) {
                EXPECT_EQ(*sweep > 0, *c.sweep > 0) << c.what;
            }
        }
    }
}

// Every arc of a dimension is drawn in pieces of at most a quarter turn that stay on the
// circle; a reflex arc takes four or five anchors.
TEST(Arcs, ArcsArePiecesOfAtMostAQuarterTurnOnTheCircle) {
    const AIRealPoint centre{100, -50};
    const struct {
        double start, sweep;
        std::size_t anchors;
    } cases[] = {
        {0, kPi / 3, 2},   {0.3, kPi / 2, 2},   {1, -kPi * 0.9, 3},
        {2, kPi * 1.4, 4}, {-1, -kPi * 1.9, 5}, {0, 0, 0},
    };
    for (const auto& c : cases) {
        const auto anchors = ArcAnchors(centre, 40, c.start, c.sweep);
        ASSERT_EQ(anchors.size(), c.anchors) << c.sweep;
        if (anchors.empty()) {
            continue;
        }
        EXPECT_NEAR(DirectionAngle(centre, anchors.front().p), NormalizeAngle(c.start), 1e-5);
        EXPECT_NEAR(DirectionAngle(centre, anchors.back().p), NormalizeAngle(c.start + c.sweep),
                    1e-5);
        for (std::size_t k = 0; k + 1 < anchors.size(); ++k) {
            for (double t = 0; t <= 1; t += 0.125) {
                // The usual cubic stands outside the circle by at most 0.03 % of the radius;
                // handles in proportion to the angle bulged a 60° piece by 0.4 %.
                EXPECT_NEAR(Distance(CubicAt(anchors[k], anchors[k + 1], t), centre), 40, 0.012);
            }
            // The arc runs the way the sweep turns.
            const double step = NormalizeAngle(DirectionAngle(centre, anchors[k + 1].p) -
                                               DirectionAngle(centre, anchors[k].p));
            EXPECT_EQ(step > 0, c.sweep > 0);
        }
    }
}

TEST(Arcs, TrimsMarksAndShoulders) {
    // An arrowhead base of 10.5 points on an arc of radius 30 subtends about 20 degrees.
    EXPECT_NEAR(ArcTrimAngle(10.5, 30) * 180 / kPi, 19.86, 0.01);
    EXPECT_EQ(ArcTrimAngle(10.5, 0), 0);

    const struct {
        double degrees;
        int precision;
        bool right;
    } angles[] = {{89.96, 1, true}, {89.9, 1, false},  {90.04, 1, true},
                  {270, 1, false},  {89.96, 2, false}, {-90, 0, true}};
    for (const auto& c : angles) {
        EXPECT_EQ(IsRightAngle(c.degrees * kPi / 180, c.precision), c.right) << c.degrees;
    }

    // The mark lies between the sides whichever way the second side turns.
    for (const double sweep : {kPi / 2, -kPi / 2}) {
        const auto mark = RightAngleMark({10, 10}, 5, kPi, sweep);
        EXPECT_NEAR(mark[0].h, 5, 1e-5);
        EXPECT_NEAR(mark[0].v, 10, 1e-5);
        EXPECT_NEAR(mark[2].h, 10, 1e-5);
        EXPECT_NEAR(mark[2].v, sweep > 0 ? 5 : 15, 1e-5);
        EXPECT_NEAR(mark[1].h, 5, 1e-5);
        EXPECT_NEAR(mark[1].v, mark[2].v, 1e-5);
    }

    EXPECT_EQ(ShoulderDirection(kPi / 4), 1);
    EXPECT_EQ(ShoulderDirection(3 * kPi / 4), -1);
    EXPECT_EQ(ShoulderDirection(-3 * kPi / 4), -1);
    EXPECT_EQ(ShoulderDirection(5 * kPi / 2), 1);

    EXPECT_TRUE(WithinSweep(kPi / 4, 0, kPi / 2));
    EXPECT_FALSE(WithinSweep(-kPi / 4, 0, kPi / 2));
    EXPECT_TRUE(WithinSweep(-kPi / 4, 0, -kPi / 2));
    EXPECT_TRUE(WithinSweep(kPi, kPi / 2, kPi));
}

// An arc's sweep follows the curve, so that an arc longer than half a turn is not measured
// the short way round.
TEST(Arcs, ArcSweepFollowsTheCurve) {
    const AIRealPoint centre{0, 0};
    const auto quarter = ArcAnchors(centre, 10, 0, kPi / 2);
    const AIRealBezier shortArc{quarter[0].p, quarter[0].out, quarter[1].in, quarter[1].p};
    EXPECT_NEAR(*ArcSweep(centre, shortArc), kPi / 2, 1e-6);
    // The same ends joined the long way round (a single cubic bulging the other way).
    const AIRealBezier longArc{{10, 0}, {10, -18}, {-18, 10}, {0, 10}};
    EXPECT_NEAR(*ArcSweep(centre, longArc), -1.5 * kPi, 1e-6);
    EXPECT_FALSE(ArcSweep(centre, {centre, centre, {1, 1}, {2, 2}}).has_value());
}

// Texts set upright or upside down are turned by matrices of these sines and cosines, which
// must not depend on how a maths library reduces angles (MinGW's gave 6.1230e-17 for the
// cosine of a quarter turn). Next to each multiple of a quarter turn they are the angle's
// distance to it, here worked out from π's digits (π/2 − 1.5707963267948966 =
// 6.123233995736766e-17...), and within a unit in the last place of this system's library
// a few units from it; elsewhere they are exactly the library's.
TEST(Trigonometry, SinesAndCosinesNextToQuarterTurns) {
    struct Exact {
        double angle;
        double sine;
        double cosine;
    };
    const Exact exact[] = {
        {0, 0, 1},
        {kPi / 2, 1, 6.123233995736766e-17},
        {-kPi / 2, -1, 6.123233995736766e-17},
        {kPi, 1.2246467991473532e-16, -1},
        {-kPi, -1.2246467991473532e-16, -1},
        {3 * kPi / 2, -1, -1.8369701987210297e-16},
        {2 * kPi, -2.4492935982947064e-16, 1},
        {5 * kPi / 2, 1, 3.061616997868383e-16},
        // One unit in the last place past a quarter turn: 2^-52 − 6.123233995736766e-17.
        {std::nextafter(kPi / 2, 2.0), 1, -1.6081226496766366e-16},
    };
    for (const Exact& e : exact) {
        const SineCosine sc = SinCos(e.angle);
        EXPECT_EQ(sc.sine, e.sine) << e.angle;
        EXPECT_EQ(sc.cosine, e.cosine) << e.angle;
    }
    const auto ulp = [](double x) { return std::fabs(std::nextafter(x, 2 * x + 1) - x); };
    for (int quarters = -64; quarters <= 64; ++quarters) {
        double near = quarters * (kPi / 2);
        for (int step = 0; step < 8; ++step, near = std::nextafter(near, 1e3)) {
            for (const double angle : {near, -near}) {
                const SineCosine sc = SinCos(angle);
                EXPECT_NEAR(sc.sine, std::sin(angle), ulp(std::sin(angle))) << angle;
                EXPECT_NEAR(sc.cosine, std::cos(angle), ulp(std::cos(angle))) << angle;
            }
        }
        for (const double angle : {quarters * (kPi / 2) + 2e-9, quarters * (kPi / 2) + 0.3}) {
            EXPECT_EQ(SinCos(angle).sine, std::sin(angle)) << angle;
            EXPECT_EQ(SinCos(angle).cosine, std::cos(angle)) << angle;
        }
    }
    EXPECT_TRUE(std::isnan(SinCos(std::nan("")).sine));
}

}  // namespace
