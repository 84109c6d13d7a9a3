// Reading SVG path data and shapes: every command, arcs, closing, subpaths, and the anchors
// of each shape.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "emulator/svg/SvgImport.h"
#include "emulator/svg/SvgSource.h"
#include "tests/emulator/SvgImportSupport.h"

namespace {

using emulator::Art;
using emulator::ArtType;
using emulator::Paint;
using namespace testing_support::svg_import;

struct PathCase {
    const char* d;
    bool closed;
    std::vector<Anchor> anchors;
};

template <std::size_t N>
void ExpectPaths(const PathCase (&cases)[N]) {
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.d);
        const auto document = Read(std::string("<path d=\"") + c.d + "\"/>");
        const Art* art = OnlyArt(document.get());
        ExpectAnchors(art, c.anchors);
        if (art) {
            EXPECT_EQ(art->closed, c.closed);
        }
    }
}

// Would catch a command read as its absolute or relative twin, H/V moving the other axis,
// a repeated command not repeated (or M's repeats not turned into lines), numbers that run
// together misread, S and T reflecting the wrong point (or after the wrong kind of curve),
// a quadratic elevated with the wrong weights, and smoothness misjudged at a reflection.
TEST(SvgImportPath, ReadsEveryCommandAbsoluteAndRelative) {
    const PathCase cases[] = {
        {"M 10 20 L 30 40 H 50 V 60",
         false,
         {Plain(10, 20), Plain(30, 40), Plain(50, 40), Plain(50, 60)}},
        {"m 10 20 l 20 20 h 20 v 20",
         false,
         {Plain(10, 20), Plain(30, 40), Plain(50, 40), Plain(50, 60)}},
        {"M0,0 10,0 10,10", false, {Plain(0, 0), Plain(10, 0), Plain(10, 10)}},
        {"m 5 5 10 0 0 10", false, {Plain(5, 5), Plain(15, 5), Plain(15, 15)}},
        {"M-.5.5L1e1-1e-1", false, {Plain(-0.5, 0.5), Plain(10, -0.1)}},
        {"M 0 0 C 10 0 20 10 20 20", false, {{0, 0, 0, 0, 10, 0, 1}, {20, 20, 20, 10, 20, 20, 1}}},
        {"m 0 0 c 10 0 20 10 20 20", false, {{0, 0, 0, 0, 10, 0, 1}, {20, 20, 20, 10, 20, 20, 1}}},
        {"M 0 0 C 0 10 10 10 10 0 S 20 -10 20 0",
         false,
         {{0, 0, 0, 0, 0, 10, 1}, {10, 0, 10, 10, 10, -10, 0}, {20, 0, 20, -10, 20, 0, 1}}},
        {"m 0 0 c 0 10 10 10 10 0 s 10 -10 10 0",
         false,
         {{0, 0, 0, 0, 0, 10, 1}, {10, 0, 10, 10, 10, -10, 0}, {20, 0, 20, -10, 20, 0, 1}}},
        {"M 0 0 S 10 10 20 0", false, {Plain(0, 0), {20, 0, 10, 10, 20, 0, 1}}},
        {"M 0 0 Q 30 30 60 0", false, {{0, 0, 0, 0, 20, 20, 1}, {60, 0, 40, 20, 60, 0, 1}}},
        {"m 0 0 q 30 30 60 0", false, {{0, 0, 0, 0, 20, 20, 1}, {60, 0, 40, 20, 60, 0, 1}}},
        {"M 0 0 Q 30 30 60 0 T 120 0",
         false,
         {{0, 0, 0, 0, 20, 20, 1}, {60, 0, 40, 20, 80, -20, 0}, {120, 0, 100, -20, 120, 0, 1}}},
        {"m 0 0 q 30 30 60 0 t 60 0",
         false,
         {{0, 0, 0, 0, 20, 20, 1}, {60, 0, 40, 20, 80, -20, 0}, {120, 0, 100, -20, 120, 0, 1}}},
        {"M 0 0 L 10 0 T 30 0", false, {Plain(0, 0), Plain(10, 0), {30, 0, 50.0 / 3, 0, 30, 0, 1}}},
        {"M 0 0 Q 10 10 20 0 S 30 10 40 0",
         false,
         {{0, 0, 0, 0, 20.0 / 3, 20.0 / 3, 1},
          {20, 0, 40.0 / 3, 20.0 / 3, 20, 0, 1},
          {40, 0, 30, 10, 40, 0, 1}}},
        {"M 0 0 L 10 0 L 10 10 Z", true, {Plain(0, 0), Plain(10, 0), Plain(10, 10)}},
    };
    ExpectPaths(cases);
}

struct ArcCase {
    const char* d;
    double cx, cy, r;
    // The anchors after the first, in order.
    std::vector<std::pair<double, double>> anchors;
};

// Would catch the wrong centre of the two (a flag misread, or the flags needing separators),
// radii too small not scaled up, pieces of more than 90° (handles too short to stay on the
// circle), the relative end point taken as absolute, and a rotated ellipse not rotated.
TEST(SvgImportPath, DrawsArcsAsQuarterCircleCubics) {
    const ArcCase cases[] = {
        {"M 0 50 A 50 50 0 0 1 100 50", 50, 50, 50, {{50, 0}, {100, 50}}},
        {"M 0 50 A 50 50 0 0 0 100 50", 50, 50, 50, {{50, 100}, {100, 50}}},
        {"m 0 50 a 50 50 0 0 1 100 0", 50, 50, 50, {{50, 0}, {100, 50}}},
        {"M0 50a50 50 0 01100 0", 50, 50, 50, {{50, 0}, {100, 50}}},
        {"M 0 50 A 10 10 0 0 1 100 50", 50, 50, 50, {{50, 0}, {100, 50}}},
        {"M 100 50 A 50 50 0 1 1 50 0", 50, 50, 50, {{50, 100}, {0, 50}, {50, 0}}},
        {"M 100 50 A 50 50 0 0 0 50 0", 50, 50, 50, {{50, 0}}},
    };
    for (const ArcCase& c : cases) {
        SCOPED_TRACE(c.d);
        const auto document = Read(std::string("<path d=\"") + c.d + "\"/>");
        const Art* art = OnlyArt(document.get());
        ASSERT_NE(art, nullptr);
        ASSERT_EQ(art->segments.size(), c.anchors.size() + 1);
        for (std::size_t i = 0; i < c.anchors.size(); ++i) {
            EXPECT_NEAR(art->segments[i + 1].p.h, c.anchors[i].first, kTolerance);
            EXPECT_NEAR(art->segments[i + 1].p.v, -c.anchors[i].second, kTolerance);
        }
        const double handle = kKappa * c.r;
        for (std::size_t i = 0; i < art->segments.size(); ++i) {
            const auto& s = art->segments[i];
            EXPECT_NEAR(std::hypot(s.p.h - c.cx, s.p.v + c.cy), c.r, kTolerance);
            if (i > 0) {
                EXPECT_NEAR(std::hypot(s.in.h - s.p.h, s.in.v - s.p.v), handle, 1e-3);
            }
            if (i + 1 < art->segments.size()) {
                EXPECT_NEAR(std::hypot(s.out.h - s.p.h, s.out.v - s.p.v), handle, 1e-3);
            }
            EXPECT_EQ(s.corner, i == 0 || i + 1 == art->segments.size() ? 1 : 0);
        }
    }

    // A half ellipse turned a quarter turn: from the top, down its right side.
    const auto rotated = Read("<path d=\"M 0 0 A 20 10 90 0 1 0 40\"/>");
    ExpectAnchors(OnlyArt(rotated.get()), {{0, 0, 0, 0, 10 * kKappa, 0, 1},
                                           {10, 20, 10, 20 - 20 * kKappa, 10, 20 + 20 * kKappa, 0},
                                           {0, 40, 10 * kKappa, 40, 0, 40, 1}});
}

// Would catch a closed subpath ending on its start keeping a duplicate anchor, the merged
// anchor losing the closing curve's handle (a circle that is no longer smooth where it
// starts), rounding of relative commands defeating the merge, an open path merged, a
// zero-radius arc drawn as a curve, and an arc between identical points drawn as a full
// ellipse (as a naive centre computation does).
TEST(SvgImportPath, ClosingMergesAndDegenerateArcs) {
    const PathCase cases[] = {
        {"M 0 0 L 10 0 L 10 10 L 0 0 Z", true, {Plain(0, 0), Plain(10, 0), Plain(10, 10)}},
        {"M 0 0 C 0 -10 20 -10 20 0 C 20 10 0 10 0 0 Z",
         true,
         {{0, 0, 0, 10, 0, -10, 0}, {20, 0, 20, -10, 20, 10, 0}}},
        {"m 0.1 0.1 l 0.2 0 l 0 0.3 l -0.2 -0.3 z",
         true,
         {Plain(0.1, 0.1), Plain(0.3, 0.1), Plain(0.3, 0.4)}},
        {"M 0 0 L 10 0 L 0 0", false, {Plain(0, 0), Plain(10, 0), Plain(0, 0)}},
        {"M 0 0 A 0 10 0 0 1 10 0", false, {Plain(0, 0), Plain(10, 0)}},
        {"M 0 0 A 5 5 0 0 1 0 0 L 10 0", false, {Plain(0, 0), Plain(10, 0)}},
    };
    ExpectPaths(cases);
}

// Would catch subpaths flattened into one path, the element's name or tags put on every
// subpath instead of the group, the style lost on the subpaths, and a lone moveto kept as a
// one-anchor path.
TEST(SvgImportPath, SeveralSubpathsBecomeAGroupOfPaths) {
    const auto document = Read(
        "<path inkscape:label=\"paire\" stroke=\"red\" "
        "d=\"M 10 10 L 20 10 L 20 20 Z l 5 5 M 40 0 L 50 0 M 60 60\"/>");
    const Art* group = OnlyArt(document.get());
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->type, ArtType::Group);
    EXPECT_EQ(group->name, "paire");
    EXPECT_EQ(emulator::XmlNode(group->source).name(), std::string("path"));
    ASSERT_EQ(group->children.size(), 3u);
    ExpectAnchors(group->children[0].get(), {Plain(10, 10), Plain(20, 10), Plain(20, 20)});
    ExpectAnchors(group->children[1].get(), {Plain(10, 10), Plain(15, 15)});
    ExpectAnchors(group->children[2].get(), {Plain(40, 0), Plain(50, 0)});
    for (const auto& path : group->children) {
        EXPECT_TRUE(path->name.empty());
        EXPECT_EQ(path->parent, group);
        EXPECT_EQ(path->style.stroke.kind, Paint::Kind::RGB);
        EXPECT_EQ(path->style.stroke.red, 1.0);
    }
    EXPECT_TRUE(group->children[0]->closed);
    EXPECT_FALSE(group->children[1]->closed);

    const auto lone = Read("<path d=\"M 0 0 L 10 0 M 5 5\"/>");
    ExpectAnchors(OnlyArt(lone.get()), {Plain(0, 0), Plain(10, 0)});
}

struct ShapeCase {
    const char* element;
    bool closed;
    std::vector<Anchor> anchors;
};

// Would catch a shape's anchors in another order or place (the circle's order is relied on
// by whoever measures it), rounded corners with the wrong handle length or a radius not
// clamped to half a side (or not copied from the other radius), zero-length sides kept as
// duplicate anchors, a polygon left open, and a trailing odd coordinate read as a point.
TEST(SvgImportShapes, BuildTheSameAnchorsAsTheirPaths) {
    const double h = kKappa * 5;
    const double c = kKappa * 10;
    const double e = kKappa * 20;
    const ShapeCase cases[] = {
        {"<rect x='10' y='20' width='30' height='40'/>",
         true,
         {Plain(10, 20), Plain(40, 20), Plain(40, 60), Plain(10, 60)}},
        {"<rect width='40' height='20' rx='5'/>",
         true,
         {{5, 0, 5 - h, 0, 5, 0, 1},
          {35, 0, 35, 0, 35 + h, 0, 1},
          {40, 5, 40, 5 - h, 40, 5, 1},
          {40, 15, 40, 15, 40, 15 + h, 1},
          {35, 20, 35 + h, 20, 35, 20, 1},
          {5, 20, 5, 20, 5 - h, 20, 1},
          {0, 15, 0, 15 + h, 0, 15, 1},
          {0, 5, 0, 5, 0, 5 - h, 1}}},
        {"<rect width='10' height='10' ry='20'/>",
         true,
         {{5, 0, 5 - h, 0, 5 + h, 0, 0},
          {10, 5, 10, 5 - h, 10, 5 + h, 0},
          {5, 10, 5 + h, 10, 5 - h, 10, 0},
          {0, 5, 0, 5 + h, 0, 5 - h, 0}}},
        {"<circle cx='50' cy='50' r='10'/>",
         true,
         {{60, 50, 60, 50 - c, 60, 50 + c, 0},
          {50, 60, 50 + c, 60, 50 - c, 60, 0},
          {40, 50, 40, 50 + c, 40, 50 - c, 0},
          {50, 40, 50 - c, 40, 50 + c, 40, 0}}},
        {"<ellipse rx='20' ry='10'/>",
         true,
         {{20, 0, 20, -c, 20, c, 0},
          {0, 10, e, 10, -e, 10, 0},
          {-20, 0, -20, c, -20, -c, 0},
          {0, -10, -e, -10, e, -10, 0}}},
        {"<line x1='1' y1='2' x2='3' y2='4'/>", false, {Plain(1, 2), Plain(3, 4)}},
        {"<polyline points='0,0 10,0 10,10'/>", false, {Plain(0, 0), Plain(10, 0), Plain(10, 10)}},
        {"<polygon points='0,0 10,0 10,10 5'/>", true, {Plain(0, 0), Plain(10, 0), Plain(10, 10)}},
    };
    for (const ShapeCase& s : cases) {
        SCOPED_TRACE(s.element);
        const auto document = Read(s.element);
        const Art* art = OnlyArt(document.get());
        ExpectAnchors(art, s.anchors);
        if (art) {
            EXPECT_EQ(art->closed, s.closed);
        }
    }
}

// Would catch shapes that SVG does not draw turned into degenerate paths.
TEST(SvgImportShapes, ShapesThatDrawNothingMakeNoArt) {
    for (const char* element :
         {"<rect width='0' height='10'/>", "<rect width='10'/>", "<circle r='-1'/>",
          "<ellipse rx='5'/>", "<polyline points='1 2'/>", "<rect width='10' height='1e999'/>",
          "<use href='#a'/>", "<text x='1' y='2'>a</text>",
          "<defs><rect width='5' height='5'/></defs>"}) {
        SCOPED_TRACE(element);
        const auto document = Read(element);
        ASSERT_NE(document, nullptr);
        EXPECT_TRUE(AllArt(*document).empty());
    }
}

}  // namespace
