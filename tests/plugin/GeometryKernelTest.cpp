// The measuring tools' geometry kernel, run against the emulated host's numeric suites.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "emulator/core/BezierMath.h"
#include "emulator/core/Host.h"
#include "emulator/core/SuiteRegistry.h"
#include "plugin/geometry/GeometryKernel.h"
#include "plugin/hostaccess/Suites.h"
#include "tests/support/HostFixture.h"

namespace {

using geometry::ArcDirection;
using geometry::PolygonArea;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kCircleHandle = 0.5522847f;

AIPathSegment Corner(float h, float v) {
    return {{h, v}, {h, v}, {h, v}, 1};
}

AIPathSegment Smooth(AIRealPoint p, AIRealPoint in, AIRealPoint out) {
    return {p, in, out, 0};
}

std::vector<AIPathSegment> Polygon(std::initializer_list<AIRealPoint> points) {
    std::vector<AIPathSegment> segments;
    for (const AIRealPoint& p : points) {
        segments.push_back(Corner(p.h, p.v));
    }
    return segments;
}

// The usual circle of four anchors (east, north, west, south, counter-clockwise), each
// handle 0.5522847·r long along the tangent.
std::vector<AIPathSegment> FourArcCircle(AIRealPoint c, float r) {
    const float k = kCircleHandle * r;
    return {Smooth({c.h + r, c.v}, {c.h + r, c.v - k}, {c.h + r, c.v + k}),
            Smooth({c.h, c.v + r}, {c.h + k, c.v + r}, {c.h - k, c.v + r}),
            Smooth({c.h - r, c.v}, {c.h - r, c.v + k}, {c.h - r, c.v - k}),
            Smooth({c.h, c.v - r}, {c.h - k, c.v - r}, {c.h + k, c.v - r})};
}

// The kernel with the host's real-math and Bézier suites in the plug-in's suite pointers,
// as after the plug-in's start-up; the host must see no misuse.
class GeometryKernelTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(suites_.Acquire(sAIRealMath, sAIRealBezier)); }
    void TearDown() override {
        sAIRealMath = nullptr;
        sAIRealBezier = nullptr;
        geometry::ClearArcFit();
    }

  private:
    static emulator::HostOptions Options() {
        emulator::HostOptions options;
        options.fonts = std::vector<std::string>{"ArialMT"};
        return options;
    }

    emulator::Host host_{Options()};
    testing_support::HeldSuites suites_{host_};
};

struct PointCase {
    const char* name;
    AIRealPoint a, b, c, d;
    std::optional<AIRealPoint> expected;
};

// Would catch the vertical cases swapped (the x of the other line taken), a division by
// zero on parallel lines answered with an infinite or NaN point instead of a refusal, and a
// line whose two points coincide taken for a vertical one.
TEST_F(GeometryKernelTest, IntersectsLinesOrRefusesParallelOnes) {
    const PointCase cases[] = {
        {"diagonals", {0, 0}, {10, 10}, {0, 10}, {10, 0}, AIRealPoint{5, 5}},
        {"first vertical", {3, -5}, {3, 5}, {0, 1}, {1, 3}, AIRealPoint{3, 7}},
        {"second vertical", {0, 1}, {1, 3}, {3, -5}, {3, 5}, AIRealPoint{3, 7}},
        {"horizontal and vertical", {0, 4}, {9, 4}, {2, 0}, {2, 1}, AIRealPoint{2, 4}},
        {"crossing outside both segments", {0, 0}, {1, 0}, {5, 1}, {6, 2}, AIRealPoint{4, 0}},
        {"parallel", {0, 0}, {10, 10}, {0, 5}, {10, 15}, std::nullopt},
        {"one line", {0, 0}, {1, 1}, {2, 2}, {3, 3}, std::nullopt},
        {"both horizontal", {0, 1}, {5, 1}, {0, 2}, {5, 2}, std::nullopt},
        {"both vertical", {1, 0}, {1, 5}, {4, 0}, {4, 1}, std::nullopt},
        {"first line a point", {2, 2}, {2, 2}, {0, 0}, {5, 1}, std::nullopt},
        {"second line a point", {0, 0}, {5, 1}, {2, 2}, {2, 2}, std::nullopt},
        {"not finite", {0, 0}, {kNaN, 1}, {0, 10}, {10, 0}, std::nullopt},
    };
    for (const PointCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto crossing = geometry::LineIntersection(c.a, c.b, c.c, c.d);
        ASSERT_EQ(crossing.has_value(), c.expected.has_value());
        if (crossing) {
            EXPECT_NEAR(crossing->h, c.expected->h, 1e-5);
            EXPECT_NEAR(crossing->v, c.expected->v, 1e-5);
        }
    }
}

// Would catch crossings counted at an end point (a polygon's neighbouring edges would all
// "cross"), overlapping collinear segments taken for a crossing, and zero-length segments
// dividing by zero.
TEST_F(GeometryKernelTest, SegmentsCrossOnlyStrictlyInsideBoth) {
    const struct {
        const char* name;
        AIRealPoint a, b, c, d;
        bool cross;
    } cases[] = {
        {"an X", {0, 0}, {10, 10}, {0, 10}, {10, 0}, true},
        {"an X near an end", {0, 0}, {10, 0}, {9.99f, -1}, {9.99f, 1}, true},
        {"sharing an end", {0, 0}, {10, 0}, {10, 0}, {10, 10}, false},
        {"ending on the other", {0, 0}, {10, 0}, {5, 0}, {5, 10}, false},
        {"the other ending on it", {5, 0}, {5, 10}, {0, 0}, {10, 0}, false},
        {"crossing the line beyond an end", {0, 0}, {10, 0}, {12, -1}, {12, 1}, false},
        {"parallel", {0, 0}, {10, 0}, {0, 1}, {10, 1}, false},
        {"overlapping on one line", {0, 0}, {10, 0}, {5, 0}, {15, 0}, false},
        {"zero length", {5, 5}, {5, 5}, {0, 0}, {10, 10}, false},
        {"not finite", {0, 0}, {10, 10}, {0, 10}, {kNaN, 0}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(geometry::SegmentsCross(c.a, c.b, c.c, c.d), c.cross) << c.name;
    }
}

// Would catch a projection on the segment instead of the infinite line, t taken over |b − a|
// instead of its square, and a zero-length line dividing by zero.
TEST_F(GeometryKernelTest, ProjectsPointsOnLines) {
    const struct {
        const char* name;
        AIRealPoint q, a, b, expected;
    } cases[] = {
        {"horizontal", {5, 5}, {0, 0}, {10, 0}, {5, 0}},
        {"vertical", {7, 5}, {3, -1}, {3, 8}, {3, 5}},
        {"diagonal", {10, 0}, {0, 0}, {10, 10}, {5, 5}},
        {"beyond the end", {20, 3}, {0, 0}, {10, 0}, {20, 0}},
        {"long line", {50, 80}, {0, 0}, {200, 0}, {50, 0}},
        {"a point for a line", {20, 3}, {4, 4}, {4, 4}, {4, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const AIRealPoint foot = geometry::ProjectPointOnLine(c.q, c.a, c.b);
        EXPECT_FLOAT_EQ(foot.h, c.expected.h);
        EXPECT_FLOAT_EQ(foot.v, c.expected.v);
    }
    EXPECT_GT(geometry::Cross({0, 0}, {1, 0}, {0, 0}, {0, 1}), 0);
    EXPECT_TRUE(geometry::AreCollinear({0, 0}, {2, 1}, {6, 3}));
    EXPECT_FALSE(geometry::AreCollinear({0, 0}, {2, 1}, {6, 3.001f}));
}

// Would catch a corner test that looks at the outer anchors' far handles, or that misses
// a handle on one side of the middle anchor.
TEST_F(GeometryKernelTest, RecognisesStraightCorners) {
    const AIPathSegment plain = Corner(10, 10);
    const struct {
        const char* name;
        AIPathSegment prev, mid, next;
        bool straight;
    } cases[] = {
        {"all plain", Corner(0, 0), plain, Corner(20, 0), true},
        {"handles away from the corner", Smooth({0, 0}, {-5, 3}, {0, 0}), plain,
         Smooth({20, 0}, {20, 0}, {25, 2}), true},
        {"middle in handle", Corner(0, 0), Smooth({10, 10}, {8, 10}, {10, 10}), Corner(20, 0),
         false},
        {"middle out handle", Corner(0, 0), Smooth({10, 10}, {10, 10}, {12, 10}), Corner(20, 0),
         false},
        {"previous out handle", Smooth({0, 0}, {0, 0}, {1, 3}), plain, Corner(20, 0), false},
        {"next in handle", Corner(0, 0), plain, Smooth({20, 0}, {19, 2}, {20, 0}), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(geometry::IsStraightCorner(c.prev, c.mid, c.next), c.straight) << c.name;
    }
}

// Would catch the edges' half-open rule broken (a point on a shared edge in both or neither
// quadrilateral), the crossing test done with the wrong corner pairs, and NaN let in.
TEST_F(GeometryKernelTest, FindsPointsInQuadrilaterals) {
    const std::array<AIRealPoint, 4> square = {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}};
    const std::array<AIRealPoint, 4> bowTie = {{{0, 0}, {10, 10}, {10, 0}, {0, 10}}};
    const struct {
        const char* name;
        const std::array<AIRealPoint, 4>& quad;
        AIRealPoint point;
        bool inside;
    } cases[] = {
        {"centre", square, {5, 5}, true},
        {"outside", square, {15, 5}, false},
        {"below", square, {5, -0.01f}, false},
        {"left edge", square, {0, 5}, true},
        {"right edge", square, {10, 5}, false},
        {"lower edge", square, {5, 0}, true},
        {"upper edge", square, {5, 10}, false},
        {"bow-tie, left triangle", bowTie, {2, 5}, true},
        {"bow-tie, right triangle", bowTie, {8, 5}, true},
        {"bow-tie, between the triangles", bowTie, {5, 2}, false},
        {"not finite", square, {kNaN, 5}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(geometry::PointInQuad(c.quad, c.point), c.inside) << c.name;
    }
}

struct CircleCase {
    const char* name;
    AIPathSegment a;
    AIPathSegment b;
    std::optional<geometry::Circle> expected;
};

// Would catch the tangent taken from the out handle while there is an in handle, the normal
// or the bisector turned the wrong way, a loss of precision far from the origin, and a
// tangent along the chord answered with a huge or infinite circle instead of a refusal.
TEST_F(GeometryKernelTest, FitsCirclesToAnchorsOrRefuses) {
    const CircleCase cases[] = {
        {"tangent up", Smooth({0, 0}, {0, 0}, {0, 10}), Corner(100, 0),
         geometry::Circle{{50, 0}, 50}},
        {"in handle wins over a cusp's out handle", Smooth({0, 0}, {0, -10}, {7, 3}),
         Corner(100, 0), geometry::Circle{{50, 0}, 50}},
        {"vertical normal far from the origin", Smooth({1000, 2000}, {1000, 2000}, {1010, 2000}),
         Corner(1100, 2100), geometry::Circle{{1000, 2100}, 100}},
        {"shallow tangent", Smooth({0, 0}, {0, 0}, {10, 0.1f}), Corner(100, 0),
         geometry::Circle{{50, -5000}, 5000.25f}},
        {"tangent along the chord", Smooth({0, 0}, {0, 0}, {30, 0}), Corner(100, 0), std::nullopt},
        {"tangent against the chord", Smooth({0, 0}, {-30, 0}, {0, 0}), Corner(100, 0),
         std::nullopt},
        {"tangent along the chord but for rounding", Smooth({0, 0}, {0, 0}, {30, 3e-6f}),
         Corner(100, 0), std::nullopt},
        {"no handle", Corner(0, 0), Corner(100, 0), std::nullopt},
        {"one point", Smooth({0, 0}, {0, 0}, {0, 10}), Corner(0, 0), std::nullopt},
        {"not finite", Smooth({0, 0}, {0, 0}, {0, 10}), Corner(kNaN, 0), std::nullopt},
    };
    for (const CircleCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto circle = geometry::CircleFromAnchors(c.a, c.b);
        ASSERT_EQ(circle.has_value(), c.expected.has_value());
        if (circle) {
            const double tolerance = 1e-4 * c.expected->radius + 1e-3;
            EXPECT_NEAR(circle->centre.h, c.expected->centre.h, tolerance);
            EXPECT_NEAR(circle->centre.v, c.expected->centre.v, tolerance);
            EXPECT_NEAR(circle->radius, c.expected->radius, tolerance);
        }
    }
}

// Would catch the arc test run on the wrong pair of handles for a direction, a tolerance
// other than 1 pt, a straight segment between plain corners taken for an arc, and the fit
// not kept for the tools that read it after the test.
TEST_F(GeometryKernelTest, RecognisesArcsOfCircle) {
    // The arcs of a circle, forward and closing, and the radius of their fit are measured in
    // the circle sessions; here, a pair taken in the wrong direction.
    const std::vector<AIPathSegment> circle = FourArcCircle({200, 300}, 50);
    EXPECT_FALSE(geometry::IsCircularArc(circle[0], circle[1], ArcDirection::kBackward));

    // The quarter from east to north with both handles lengthened by `stretch`: the middle
    // of the curve moves out by about 0.53 × stretch.
    const float k = kCircleHandle * 50;
    const struct {
        float stretch;
        bool arc;
    } strays[] = {{1, true}, {-1, true}, {2.5f, false}, {-2.5f, false}};
    for (const auto& s : strays) {
        const AIPathSegment east = Smooth({250, 300}, {250, 300 - k}, {250, 300 + k + s.stretch});
        const AIPathSegment north = Smooth({200, 350}, {200 + k + s.stretch, 350}, {200 - k, 350});
        EXPECT_EQ(geometry::IsCircularArc(east, north, ArcDirection::kForward), s.arc) << s.stretch;
    }

    const std::vector<AIPathSegment> square = Polygon({{0, 0}, {100, 0}, {100, 100}});
    const geometry::Circle before = geometry::LastArcFit();
    EXPECT_FALSE(geometry::IsCircularArc(square[0], square[1], ArcDirection::kForward));
    EXPECT_EQ(geometry::LastArcFit().radius, before.radius);
    // Straight with handles along it: no circle to fit.
    EXPECT_FALSE(geometry::IsCircularArc(Smooth({0, 0}, {0, 0}, {30, 0}),
                                         Smooth({90, 0}, {60, 0}, {90, 0}),
                                         ArcDirection::kForward));
    EXPECT_FALSE(geometry::IsCircularArc(circle[0], Smooth({200, 350}, {kNaN, 350}, {150, 350}),
                                         ArcDirection::kForward));
}

// Would catch the closing curve built from the wrong handles, the wrap from the last
// anchor back to the first missed or counted twice, an open path summed backwards, and an
// index past the end read out of bounds.
TEST_F(GeometryKernelTest, MeasuresLengthsAlongPaths) {
    // Straight sides of 30, 40 and 70; the closing curve, from anchor 0 backwards, is a
    // quarter circle of radius 40 carried by anchor 0's in handle and anchor 3's out handle.
    const float k = kCircleHandle * 40;
    const std::vector<AIPathSegment> path = {Smooth({0, 0}, {0, k}, {0, 0}), Corner(30, 0),
                                             Corner(30, 40),
                                             Smooth({-40, 40}, {-40, 40}, {-40 + k, 40})};
    const double closing = emulator::BezierLength({{0, 0}, {0, k}, {-40 + k, 40}, {-40, 40}}, 1);
    ASSERT_NEAR(closing, 20 * std::numbers::pi, 0.01);

    const struct {
        bool closed;
        int i, j;
        double length;
    } cases[] = {
        {true, 0, 0, 140 + closing}, {true, 2, 2, 140 + closing},
        {true, 1, 3, 110},           {true, 0, 3, 140},
        {true, 3, 1, closing + 30},  {true, 2, 1, 70 + closing + 30},
        {true, 3, 0, closing},       {false, 0, 0, 0},
        {false, 1, 3, 110},          {false, 3, 1, 110},
        {false, 0, 3, 140},          {true, 0, 4, 0},
        {false, -1, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.closed ? "closed " : "open ") << c.i << " to " << c.j);
        EXPECT_NEAR(geometry::PathLengthBetween(path, c.closed, c.i, c.j), c.length, 1e-3);
    }

    const std::vector<AIPathSegment> two = Polygon({{0, 0}, {0, 25}});
    EXPECT_NEAR(geometry::PathLengthBetween(two, true, 1, 1), 50, 1e-4);
    EXPECT_EQ(geometry::PathLengthBetween({}, true, 0, 0), 0);
    EXPECT_EQ(geometry::PathLengthBetween(Polygon({{5, 5}}), true, 0, 0), 0);
    std::vector<AIPathSegment> broken = Polygon({{0, 0}, {10, 0}, {10, 10}});
    broken[1].out = {kNaN, 0};
    EXPECT_NEAR(geometry::PathLengthBetween(broken, false, 0, 2), 10, 1e-4);
}

// Would catch crossings reported for a simple polygon whose neighbouring edges meet at
// awkward float coordinates, a crossed polygon given an area, an area computed over curved
// sides, and a triangle sent through the crossing test.
TEST_F(GeometryKernelTest, GivesAreasOrTheCrossedVerdict) {
    std::vector<AIPathSegment> heptagon;
    for (int i = 0; i < 7; ++i) {
        const double angle = 2 * std::numbers::pi * i / 7 + 0.1;
        heptagon.push_back(Corner(static_cast<float>(123.4 + 77.7 * std::cos(angle)),
                                  static_cast<float>(-56.7 + 77.7 * std::sin(angle))));
    }
    const double heptagonArea = 3.5 * 77.7 * 77.7 * std::sin(2 * std::numbers::pi / 7);
    std::vector<AIPathSegment> withHandle = Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    withHandle[2].in = {10, 8};
    const std::vector<AIPathSegment> notFinite = Polygon({{0, 0}, {10, 0}, {kNaN, 10}});

    const struct {
        const char* name;
        std::vector<AIPathSegment> segments;
        bool closed;
        PolygonArea::Kind kind;
        double area;
    } cases[] = {
        {"square", Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}}), true, PolygonArea::Kind::kArea,
         100},
        {"square clockwise", Polygon({{0, 0}, {0, 10}, {10, 10}, {10, 0}}), true,
         PolygonArea::Kind::kArea, 100},
        {"triangle", Polygon({{0, 0}, {10, 0}, {0, 10}}), true, PolygonArea::Kind::kArea, 50},
        {"concave", Polygon({{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}}), true,
         PolygonArea::Kind::kArea, 300},
        {"heptagon", heptagon, true, PolygonArea::Kind::kArea, heptagonArea},
        {"bow-tie", Polygon({{0, 0}, {10, 10}, {10, 0}, {0, 10}}), true,
         PolygonArea::Kind::kCrossed, 0},
        {"star", Polygon({{0, 0}, {20, 0}, {5, 15}, {10, -5}, {15, 15}}), true,
         PolygonArea::Kind::kCrossed, 0},
        {"open square", Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}}), false,
         PolygonArea::Kind::kNone, 0},
        {"a handle", withHandle, true, PolygonArea::Kind::kNone, 0},
        {"empty", {}, true, PolygonArea::Kind::kNone, 0},
        {"not finite", notFinite, true, PolygonArea::Kind::kNone, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PolygonArea result = geometry::PolygonAreaOrCrossed(c.segments, c.closed);
        EXPECT_EQ(result.kind, c.kind);
        EXPECT_NEAR(result.area, c.area, 1e-5 * c.area);
        EXPECT_STREQ(result.Verdict(),
                     c.kind == PolygonArea::Kind::kCrossed ? "Polygone crois\xE9" : "");
    }
}

}  // namespace
