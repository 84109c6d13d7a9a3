// Reading SVG artwork into the emulated host's document: path data, shapes, transforms,
// units, layers, styles, tags, and inputs that must neither crash nor hang the reader.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "emulator/SvgImport.h"

namespace {

using emulator::Art;
using emulator::ArtType;
using emulator::Document;
using emulator::Layer;
using emulator::Paint;
using emulator::ReadSvg;

// Coordinates are floats of a few hundred points at most in these cases.
constexpr double kTolerance = 1e-4;
constexpr double kKappa = 0.5522847;
constexpr double kPointsPerMm = 72 / 25.4;

std::string Svg(const std::string& body, const std::string& rootAttributes = "") {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\""
           " xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\""
           " xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" " +
           rootAttributes + ">" + body + "</svg>";
}

std::unique_ptr<Document> Read(const std::string& body, const std::string& rootAttributes = "") {
    std::string error;
    auto document = ReadSvg(Svg(body, rootAttributes), &error);
    EXPECT_NE(document, nullptr) << error;
    return document;
}

// The art of the first layer that has any.
const std::vector<std::unique_ptr<Art>>& AllArt(const Document& document) {
    for (const auto& layer : document.layers) {
        if (!layer->art.empty()) {
            return layer->art;
        }
    }
    static const std::vector<std::unique_ptr<Art>> kNone;
    return kNone;
}

// The only art of a one-element drawing (null, with a failure, when there is not exactly one).
const Art* OnlyArt(const Document* document) {
    if (!document) {
        return nullptr;
    }
    const auto& art = AllArt(*document);
    EXPECT_EQ(art.size(), 1u);
    return art.size() == 1 ? art.front().get() : nullptr;
}

// An anchor in SVG user units (y downwards), as the cases write it.
struct Anchor {
    double px, py, inx, iny, outx, outy;
    int corner;
};

// An anchor whose handles are on it.
Anchor Plain(double x, double y) {
    return {x, y, x, y, x, y, 1};
}

void ExpectAnchors(const Art* art, const std::vector<Anchor>& expected, double k = 1) {
    ASSERT_NE(art, nullptr);
    ASSERT_EQ(art->type, ArtType::Path);
    ASSERT_EQ(art->segments.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("anchor " + std::to_string(i));
        const auto& s = art->segments[i];
        const Anchor& e = expected[i];
        EXPECT_NEAR(s.p.h, e.px * k, kTolerance);
        EXPECT_NEAR(s.p.v, -e.py * k, kTolerance);
        EXPECT_NEAR(s.in.h, e.inx * k, kTolerance);
        EXPECT_NEAR(s.in.v, -e.iny * k, kTolerance);
        EXPECT_NEAR(s.out.h, e.outx * k, kTolerance);
        EXPECT_NEAR(s.out.v, -e.outy * k, kTolerance);
        EXPECT_EQ(s.corner, e.corner);
    }
}

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
    EXPECT_EQ(group->source.name(), std::string("path"));
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

struct TransformCase {
    const char* transform;
    double x1, y1, x2, y2;
};

// Would catch each transform's arguments misread (defaults of translate and scale, the centre
// of rotate, skews on the wrong axis, the matrix's column order), a list composed in the
// wrong order, and a malformed list half applied instead of ignored.
TEST(SvgImportTransforms, MapEveryCoordinate) {
    const TransformCase cases[] = {
        {"translate(5)", 15, 20, 35, 20},
        {"translate(5,-5)", 15, 15, 35, 15},
        {"scale(2)", 20, 40, 60, 40},
        {"scale(2 3)", 20, 60, 60, 60},
        {"rotate(90)", -20, 10, -20, 30},
        {"rotate(90 10 20)", 10, 20, 10, 40},
        {"skewX(45)", 30, 20, 50, 20},
        {"skewY(45)", 10, 30, 30, 50},
        {"matrix(1 2 3 4 5 6)", 75, 106, 95, 146},
        {"translate(10,0) scale(2)", 30, 40, 70, 40},
        {" translate(10 0) , rotate(90) ", -10, 10, -10, 30},
        {"translate(10", 10, 20, 30, 20},
        {"scale(2) shear(1)", 10, 20, 30, 20},
        {"matrix(1 2 3)", 10, 20, 30, 20},
    };
    for (const TransformCase& c : cases) {
        SCOPED_TRACE(c.transform);
        const auto document =
            Read(std::string("<path transform=\"") + c.transform + "\" d=\"M 10 20 L 30 20\"/>");
        ExpectAnchors(OnlyArt(document.get()), {Plain(c.x1, c.y1), Plain(c.x2, c.y2)});
    }
}

// Would catch the transforms of ancestors ignored or composed in the wrong order, and stroke
// widths and dashes left in the element's own user units.
TEST(SvgImportTransforms, ComposeWithAncestorsAndScaleStrokes) {
    const auto document = Read(
        "<g transform='translate(100,0)'><g transform='scale(2,8)'>"
        "<path transform='translate(0,5)' stroke='black' stroke-width='3' stroke-dasharray='1 2'"
        " d='M 10 20 L 30 20'/></g></g>");
    const Art* outer = OnlyArt(document.get());
    ASSERT_NE(outer, nullptr);
    ASSERT_EQ(outer->children.size(), 1u);
    ASSERT_EQ(outer->children[0]->children.size(), 1u);
    const Art* path = outer->children[0]->children[0].get();
    ExpectAnchors(path, {Plain(120, 200), Plain(160, 200)});
    EXPECT_NEAR(path->style.strokeWidth, 12, kTolerance);
    EXPECT_EQ(path->style.dash, (std::vector<double>{4, 8}));
}

struct UnitCase {
    const char* root;
    double k;
    double width;
    double height;
};

// Would catch a unit's points wrong, the viewBox ignored (or applied without a width),
// without a viewBox the width's unit not taken as the user unit, a percentage width read as
// a length, and a document without a size left at zero instead of fitting its art.
TEST(SvgImportUnits, ScaleAndSizeComeFromTheRoot) {
    const UnitCase cases[] = {
        {"width='210mm' height='297mm' viewBox='0 0 210 297'", kPointsPerMm, 210, 297},
        {"width='2in' height='1in'", 72, 2, 1},
        {"width='10cm' height='5cm'", 72 / 2.54, 10, 5},
        {"width='200' height='100'", 1, 200, 100},
        {"width='200px' height='100px'", 1, 200, 100},
        {"width='400' height='200' viewBox='0 0 200 100'", 2, 200, 100},
        {"width='100pt' height='50pt' viewBox='0,0,50,25'", 2, 50, 25},
        {"width='3pc' height='3pc' viewBox='0 0 36 36'", 1, 36, 36},
        {"viewBox='0 0 300 200'", 1, 300, 200},
        {"width='100%' height='100%' viewBox='0 0 50 60'", 1, 50, 60},
        {"", 1, 120, 80},
    };
    for (const UnitCase& c : cases) {
        SCOPED_TRACE(c.root);
        const auto document = Read("<path d='M 10 10 L 120 80'/>", c.root);
        ASSERT_NE(document, nullptr);
        EXPECT_NEAR(document->unitScale, c.k, 1e-6);
        EXPECT_NEAR(document->width, c.width, 1e-6);
        EXPECT_NEAR(document->height, c.height, 1e-6);
        ExpectAnchors(OnlyArt(document.get()), {Plain(10, 10), Plain(120, 80)}, c.k);
        EXPECT_EQ(document->view.zoom, 1.0);
        EXPECT_EQ(document->view.origin.h, 0.0f);
        EXPECT_EQ(document->view.origin.v, 0.0f);
    }
}

struct LayerCase {
    const char* attributes;
    const char* title;
    bool locked;
    bool visible;
};

// Would catch a layer's title taken from the wrong attribute (or not falling back to its id
// or a numbered name), a layer's lock or visibility missed in either place it is written,
// and the style attribute not winning over the display attribute.
TEST(SvgImportLayers, ReadTitleLockAndVisibility) {
    const LayerCase cases[] = {
        {"inkscape:label='Plan' id='l1'", "Plan", false, true},
        {"id='layer7'", "layer7", false, true},
        {"", "Calque 1", false, true},
        {"inkscape:label='\xC3\x89t\xC3\xA9'", "\xC3\x89t\xC3\xA9", false, true},
        {"inkscape:label='A' sodipodi:insensitive='true'", "A", true, true},
        {"inkscape:label='A' style='fill:red; display : none'", "A", false, false},
        {"inkscape:label='A' display='none'", "A", false, false},
        {"inkscape:label='A' display='none' style='display:inline'", "A", false, true},
    };
    for (const LayerCase& c : cases) {
        SCOPED_TRACE(c.attributes);
        const auto document = Read(std::string("<g inkscape:groupmode='layer' ") + c.attributes +
                                   "><rect width='1' height='1'/></g>");
        ASSERT_NE(document, nullptr);
        ASSERT_EQ(document->layers.size(), 1u);
        const Layer& layer = *document->layers[0];
        EXPECT_EQ(layer.title, c.title);
        EXPECT_EQ(layer.locked, c.locked);
        EXPECT_EQ(layer.visible, c.visible);
        ASSERT_EQ(layer.art.size(), 1u);
        EXPECT_FALSE(layer.art[0]->hidden) << "display is not inherited";
        EXPECT_EQ(layer.source.name(), std::string("g"));
    }
}

// Would catch art outside the layers dropped, put in a layer of its own each time or on top,
// a nested layer made a layer, the current layer not the topmost, and the layer and parent
// links of art left unset.
TEST(SvgImportLayers, ArtOutsideLayersGoesToOneLayerAtTheBottom) {
    const auto document = Read(
        "<path id='first' d='M 0 0 L 1 1'/>"
        "<g inkscape:groupmode='layer' inkscape:label='Plan'><rect id='r' width='1' "
        "height='1'/></g>"
        "<g inkscape:groupmode='layer' inkscape:label='Notes'>"
        "<g inkscape:groupmode='layer' inkscape:label='Inner'><circle r='1'/></g></g>"
        "<metadata/><circle id='last' r='2'/>");
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(document->layers.size(), 3u);
    const Layer& stray = *document->layers[0];
    EXPECT_EQ(stray.title, "Calque 1");
    ASSERT_EQ(stray.art.size(), 2u);
    EXPECT_EQ(stray.art[0]->source.attribute("id").value(), std::string("first"));
    EXPECT_EQ(stray.art[1]->source.attribute("id").value(), std::string("last"));
    EXPECT_EQ(stray.art[1]->layer, &stray);
    EXPECT_EQ(document->layers[1]->title, "Plan");
    const Layer& notes = *document->layers[2];
    EXPECT_EQ(document->currentLayer, &notes);
    ASSERT_EQ(notes.art.size(), 1u);
    const Art& inner = *notes.art[0];
    EXPECT_EQ(inner.type, ArtType::Group);
    EXPECT_EQ(inner.name, "Inner");
    EXPECT_EQ(inner.layer, &notes);
    EXPECT_EQ(inner.parent, nullptr);
    ASSERT_EQ(inner.children.size(), 1u);
    EXPECT_EQ(inner.children[0]->parent, &inner);
    EXPECT_EQ(inner.children[0]->layer, &notes);
}

// Would catch a document without art left without a layer (the host needs a current one),
// and an extra "Calque 1" added beside layers that are merely empty.
TEST(SvgImportLayers, EveryDocumentHasALayer) {
    for (const char* body : {"", "<defs/><text>a</text>", "<g inkscape:groupmode='layer'/>"}) {
        SCOPED_TRACE(body);
        const auto document = Read(body);
        ASSERT_NE(document, nullptr);
        ASSERT_EQ(document->layers.size(), 1u);
        EXPECT_EQ(document->layers[0]->title, "Calque 1");
        EXPECT_TRUE(document->layers[0]->art.empty());
        EXPECT_EQ(document->currentLayer, document->layers[0].get());
        EXPECT_NE(document->source, nullptr);
    }
}

Paint Rgb(double r, double g, double b) {
    Paint paint;
    paint.kind = Paint::Kind::RGB;
    paint.red = r;
    paint.green = g;
    paint.blue = b;
    return paint;
}

const Paint kNone{};

struct StyleCase {
    const char* group;
    const char* element;
    Paint fill;
    Paint stroke;
    double width;
};

void ExpectPaint(const Paint& actual, const Paint& expected) {
    EXPECT_EQ(actual.kind, expected.kind);
    if (expected.kind == Paint::Kind::RGB) {
        EXPECT_NEAR(actual.red, expected.red, 1e-3);
        EXPECT_NEAR(actual.green, expected.green, 1e-3);
        EXPECT_NEAR(actual.blue, expected.blue, 1e-3);
    }
}

// Would catch the defaults of SVG not applied, the style attribute losing to a presentation
// attribute, an element's own attribute losing to its parent's style, inheritance not
// reaching children (or "inherit" not honoured), currentColor resolved against the parent's
// colour instead of the element's, any colour syntax misread, references and unknown paints
// not painting nothing, and a bad stroke width overriding the inherited one.
TEST(SvgImportStyles, ReadPaintsAndWidthsWithInheritance) {
    const Paint black = Rgb(0, 0, 0);
    const Paint red = Rgb(1, 0, 0);
    const StyleCase cases[] = {
        {"", "", black, kNone, 1},
        {"", "fill='red' stroke='#00f' stroke-width='3'", red, Rgb(0, 0, 1), 3},
        {"", "fill='red' style='fill:#0f0'", Rgb(0, 1, 0), kNone, 1},
        {"fill='blue' stroke='red' stroke-width='2'", "", Rgb(0, 0, 1), red, 2},
        {"style='fill:blue'", "fill='yellow'", Rgb(1, 1, 0), kNone, 1},
        {"fill='red'", "fill='blue' style='fill:inherit'", red, kNone, 1},
        {"color='#ff0000'", "fill='currentColor'", red, kNone, 1},
        {"color='red'", "color='lime' style='fill:currentColor;stroke:currentcolor'", Rgb(0, 1, 0),
         Rgb(0, 1, 0), 1},
        {"", "fill='currentColor'", black, kNone, 1},
        {"", "fill='rgb(255, 128, 0)'", Rgb(1, 128 / 255.0, 0), kNone, 1},
        {"", "fill='rgb(100%,50%,0%)'", Rgb(1, 0.5, 0), kNone, 1},
        {"", "fill='#f80'", Rgb(1, 0x88 / 255.0, 0), kNone, 1},
        {"", "fill='Orange' stroke='GRAY'", Rgb(1, 0xA5 / 255.0, 0), Rgb(0.502, 0.502, 0.502), 1},
        {"fill='red'", "fill='url(#gradient)'", kNone, kNone, 1},
        {"fill='red'", "style='fill: bogus'", kNone, kNone, 1},
        {"", "fill='none' stroke='black'", kNone, black, 1},
        {"", "stroke-width='1mm'", black, kNone, 96 / 25.4},
        {"stroke-width='5'", "stroke-width='-2'", black, kNone, 5},
        {"stroke-width='5'", "style='stroke-width:2 !important'", black, kNone, 2},
    };
    for (const StyleCase& c : cases) {
        SCOPED_TRACE(std::string(c.group) + " / " + c.element);
        const auto document =
            Read(std::string("<g ") + c.group + "><path " + c.element + " d='M 0 0 L 1 0'/></g>");
        const Art* group = OnlyArt(document.get());
        ASSERT_NE(group, nullptr);
        ASSERT_EQ(group->children.size(), 1u);
        const auto& style = group->children[0]->style;
        ExpectPaint(style.fill, c.fill);
        ExpectPaint(style.stroke, c.stroke);
        EXPECT_NEAR(style.strokeWidth, c.width, 1e-9);
    }
}

// Would catch dashes, caps, joins or the miter limit misread, an odd dash list not repeated,
// an inherited dash not cleared by "none", and stroke lengths left in user units when the
// user unit is a millimetre.
TEST(SvgImportStyles, ReadStrokeDetailsInPoints) {
    const auto document = Read(
        "<g style='stroke-dasharray:5,2 1;stroke-dashoffset:3;stroke-linecap:round;"
        "stroke-linejoin:bevel;stroke-miterlimit:10' stroke-width='2'>"
        "<path d='M 0 0 L 1 0'/><path stroke-dasharray='none' d='M 0 0 L 1 0'/></g>",
        "width='20mm' height='20mm' viewBox='0 0 20 20'");
    const Art* group = OnlyArt(document.get());
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->children.size(), 2u);
    const auto& dashed = group->children[0]->style;
    const std::vector<double> expected{5, 2, 1, 5, 2, 1};
    ASSERT_EQ(dashed.dash.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(dashed.dash[i], expected[i] * kPointsPerMm, 1e-9);
    }
    EXPECT_NEAR(dashed.dashOffset, 3 * kPointsPerMm, 1e-9);
    EXPECT_NEAR(dashed.strokeWidth, 2 * kPointsPerMm, 1e-9);
    EXPECT_EQ(dashed.cap, emulator::LineCap::Round);
    EXPECT_EQ(dashed.join, emulator::LineJoin::Bevel);
    EXPECT_EQ(dashed.miterLimit, 10);
    EXPECT_TRUE(group->children[1]->style.dash.empty());
}

// Would catch display inherited (hiding children twice over, so showing the group would not
// show them), visibility not inherited, and a child's own visibility not overriding it.
TEST(SvgImportStyles, HiddenArt) {
    const auto document = Read(
        "<g display='none'><path d='M 0 0 L 1 0'/></g>"
        "<g style='visibility:hidden'><path d='M 0 0 L 1 0'/>"
        "<path visibility='visible' d='M 0 0 L 1 0'/></g>"
        "<path style='display:none' d='M 0 0 L 1 0'/>");
    const auto& art = AllArt(*document);
    ASSERT_EQ(art.size(), 3u);
    EXPECT_TRUE(art[0]->hidden);
    EXPECT_FALSE(art[0]->children[0]->hidden);
    EXPECT_TRUE(art[1]->children[0]->hidden);
    EXPECT_FALSE(art[1]->children[1]->hidden);
    EXPECT_TRUE(art[2]->hidden);
}

// Would catch tags found by their prefix instead of their namespace (a file may bind any
// prefix, and the same prefix may mean something else elsewhere), a binding outliving its
// element, tag values left in UTF-8, ordinary attributes taken as tags, and the name or lock
// of art missed.
TEST(SvgImportTags, ReadTagsNamesAndLocksOfArt) {
    const auto document = Read(
        "<path id='a' inkscape:label='Cote 1' sodipodi:insensitive='true' t:kind='lin\xC3\xA9"
        "aire'"
        " t:value='12,5 mm' o:kind='other' kind='plain' d='M 0 0 L 1 0'/>"
        "<path id='b' xmlns:t='urn:elsewhere' t:kind='no' d='M 0 0 L 1 0'/>"
        "<path id='c' xmlns:x='urn:x-mesra:tags' x:k='\xE2\x82\xAC' d='M 0 0 L 1 0'/>"
        "<path id='d' x:k='unbound' d='M 0 0 L 1 0'/>",
        "xmlns:t='urn:x-mesra:tags' xmlns:o='urn:other'");
    const auto& art = AllArt(*document);
    ASSERT_EQ(art.size(), 4u);
    EXPECT_EQ(art[0]->name, "Cote 1");
    EXPECT_TRUE(art[0]->locked);
    EXPECT_EQ(art[0]->tags, (std::map<std::string, std::string>{{"kind",
                                                                 "lin\xE9"
                                                                 "aire"},
                                                                {"value", "12,5 mm"}}));
    EXPECT_TRUE(art[1]->tags.empty());
    EXPECT_TRUE(art[1]->name.empty());
    EXPECT_FALSE(art[1]->locked);
    EXPECT_EQ(art[2]->tags, (std::map<std::string, std::string>{{"k", "\x80"}}));
    EXPECT_TRUE(art[3]->tags.empty());
    EXPECT_EQ(art[3]->source.attribute("id").value(), std::string("d"));
}

// Would catch the user's text taken for the host's (or a marked one missed for a record it
// can do without), a feature that does not read spoiling the others, paragraphs cut at the
// wrong place or losing their spaces, the fill not taken from the style and the paint
// namespace, and a frame taken from the record when the transforms show the text elsewhere
// (or from rounded transforms when they agree with it).
TEST(SvgImportText, ReadsTheTextsTheWriterMarked) {
    using Matrix = std::vector<double>;
    const struct {
        const char* name;
        std::string body;
        const char* root;
        bool text;  // a point text, or left to the DOM
        std::u16string characters = u"";
        Matrix matrix = {};
        double size = 0;
        Paint::Kind fill = Paint::Kind::None;
    } cases[] = {
        {"the user's text", "<text x='1' y='2'>a</text>", "", false},
        {"a matrix of five numbers", "<text m:matrix='1 0 0 1 5'>a</text>", "", false},
        {"paragraphs, features and the recorded frame",
         "<text m:matrix='0.6 0.8 -0.8 0.6 10.0000001 -20' m:font='DejaVuSans' m:size='9.5'"
         " transform='matrix(0.6,-0.8,0.8,0.6,10,20)' style='fill:#ff0000'>"
         "<tspan> a </tspan><tspan/><tspan>b<tspan>c</tspan></tspan></text>",
         "", true, u" a \r\rbc", Matrix{0.6, 0.8, -0.8, 0.6, 10.0000001, -20}, 9.5,
         Paint::Kind::RGB},
        {"no spans, a size that does not read, a fill of the paint namespace",
         "<text xmlns:p='urn:x-mesra:paint' m:matrix='1 0 0 1 0 0' m:size='big'"
         " p:fill-cmyk='0 1 0 0'>plain</text>",
         "", true, u"plain", Matrix{1, 0, 0, 1, 0, 0}, 12, Paint::Kind::CMYK},
        {"moved by its group, 2 points a unit",
         "<g transform='translate(100,0)'><text m:matrix='1 0 0 1 20 -40'"
         " transform='translate(10,20)' fill='none'>a</text></g>",
         "width='400pt' height='400pt' viewBox='0 0 200 200'", true, u"a",
         Matrix{1, 0, 0, 1, 220, -40}, 12, Paint::Kind::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto document = Read(c.body, "xmlns:m='urn:x-mesra:text' " + std::string(c.root));
        ASSERT_NE(document, nullptr);
        const auto& all = AllArt(*document);
        ASSERT_EQ(all.size(), c.text ? 1u : 0u);
        if (!c.text) {
            continue;
        }
        const Art* art = all.front()->type == ArtType::Group ? all.front()->children.front().get()
                                                             : all.front().get();
        ASSERT_EQ(art->type, ArtType::Text);
        const auto& text = art->pointText;
        EXPECT_EQ(text.text, c.characters);
        for (int i = 0; i < 6; ++i) {
            EXPECT_NEAR(text.matrix[i], c.matrix[i], 1e-12) << i;
        }
        EXPECT_EQ(text.features.size, c.size);
        EXPECT_EQ(text.features.fill.kind, c.fill);
    }
}

// Would catch a non-SVG document accepted (or refused without saying why and where), and
// any input that crashes, hangs, or yields a document without a current layer or with a
// coordinate that is not finite. Run under the sanitizers this also catches reads past the
// end of truncated data.
TEST(SvgImportRobustness, MalformedInputGivesADocumentOrAReason) {
    std::string deep;
    for (int i = 0; i < 20000; ++i) {
        deep += "<g>";
    }
    deep += "<path d='M 0 0 L 1 1'/>";
    for (int i = 0; i < 20000; ++i) {
        deep += "</g>";
    }
    std::string longPath = "M 0 0";
    for (int i = 0; i < 100000; ++i) {
        longPath += " l 1 1";
    }
    const std::string inputs[] = {
        "",
        "not xml at all",
        "<html><body/></html>",
        "<svg",
        "<svg><g></svg>",
        std::string("<svg>\0</svg>", 12),
        Svg(deep),
        Svg("<path d='" + longPath + "'/>"),
        Svg("<path d='" + std::string(100000, '9') + "'/>"),
        Svg("<path d='M'/><path d='M 10'/><path d='L 10 10'/><path d='M 0 0 L'/>"),
        Svg("<path d='M 0 0 C 1 2 3'/><path d='M 0 0 A 1 1 0 2 1 5 5'/><path d='M0 0 1e'/>"),
        Svg("<path d='M 1e400 0 L 1 1'/><path d='M nan 0 L 1 1'/><path d='M 0 0 L inf 0'/>"),
        Svg("<path d='M 0 0 L 1e300 0'/><path transform='scale(1e300)' d='M 0 0 L 1e300 1'/>"),
        Svg("<path d='M0 0 Z Z Z m 1 1 z'/><path d='M 0 0 A 1e308 1e308 0 0 1 1 1'/>"),
        Svg("<path d='M 0 0 A 1e-320 1e-320 0 0 1 1e-320 0'/><path d='M 0 0 a 1 1 0 1 1 0 0'/>"),
        Svg("<path transform='rotate(' d='M 0 0 L 1 1'/><g transform='scale(1e308) "
            "scale(1e308)'><path d='M 0 0 L 1 1'/></g>"),
        Svg("<rect width='1e999' height='1'/><circle r='nan'/><polygon points='1 2 3'/>"
            "<rect width='1' height='1' rx='-1' ry='nan'/><ellipse rx='1e308' ry='1e308'/>"),
        Svg("<path stroke-width='1e308' transform='scale(1e10)' d='M 0 0 L 1e-10 0'/>"
            "<path style='stroke-dasharray:1,,2;fill:rgb(1,2;;;:' d='M 0 0 L 1 0'/>"
            "<path fill='#12345g' stroke='rgb(1 2 3 4 5)' d='M 0 0 L 1 0'/>"),
        Svg("<path d='M 0 0 L 1 1'/>", "width='-3mm' height='1e309in' viewBox='0 0 -1 5'"),
        Svg("<path d='M 0 0 L 1 1'/>", "width='1' height='1e307in'"),
        Svg("<path d='M 0 0 L 1 1'/>", "width='1e-300' height='1e-300' viewBox='0 0 1e300 1e300'"),
        Svg("<path xmlns:a='urn:x-mesra:tags' a:='1' :b='2' a:c:d='3' d='M 0 0 L 1 1'/>"),
    };
    for (const std::string& input : inputs) {
        SCOPED_TRACE(input.substr(0, 80));
        std::string error;
        const auto document = ReadSvg(input, &error);
        if (!document) {
            EXPECT_NE(error.find("not an SVG document"), std::string::npos) << error;
            continue;
        }
        ASSERT_FALSE(document->layers.empty());
        EXPECT_NE(document->currentLayer, nullptr);
        EXPECT_TRUE(std::isfinite(document->unitScale) && document->unitScale > 0);
        EXPECT_TRUE(std::isfinite(document->width) && std::isfinite(document->height));
        std::vector<const Art*> pending;
        for (const auto& layer : document->layers) {
            for (const auto& art : layer->art) {
                pending.push_back(art.get());
            }
        }
        while (!pending.empty()) {
            const Art* art = pending.back();
            pending.pop_back();
            for (const auto& s : art->segments) {
                for (const float v : {s.p.h, s.p.v, s.in.h, s.in.v, s.out.h, s.out.v}) {
                    EXPECT_TRUE(std::isfinite(v));
                }
            }
            EXPECT_TRUE(std::isfinite(art->style.strokeWidth));
            for (const auto& child : art->children) {
                pending.push_back(child.get());
            }
        }
    }
}

// Would catch malformed data discarding what came before the error (SVG draws up to it),
// a subpath beyond the host's floats dropping its sound siblings, and nesting beyond the
// depth limit read (or a limit so low that ordinary drawings lose art).
TEST(SvgImportRobustness, KeepsWhatPrecedesAnError) {
    const auto truncated = Read("<path d='M 0 0 L 10 0 L 20'/>");
    ExpectAnchors(OnlyArt(truncated.get()), {Plain(0, 0), Plain(10, 0)});
    const auto overflow = Read("<path d='M 0 0 L 10 0 L 1e400 0 L 30 0'/>");
    ExpectAnchors(OnlyArt(overflow.get()), {Plain(0, 0), Plain(10, 0)});
    const auto huge = Read("<path d='M 0 0 L 1 0 M 0 0 L 1e300 0'/>");
    ExpectAnchors(OnlyArt(huge.get()), {Plain(0, 0), Plain(1, 0)});

    const auto depthOf = [](int levels) {
        std::string body;
        for (int i = 0; i < levels; ++i) {
            body += "<g>";
        }
        body += "<path d='M 0 0 L 1 1'/>";
        for (int i = 0; i < levels; ++i) {
            body += "</g>";
        }
        const auto document = Read(body);
        int depth = 0;
        for (const Art* art = OnlyArt(document.get()); art; ++depth) {
            art = art->children.empty() ? nullptr : art->children[0].get();
        }
        return depth;
    };
    EXPECT_EQ(depthOf(100), 101);
    EXPECT_EQ(depthOf(1000), 256);
}

// Would catch a reason for an unreadable file that does not name it, and the bundled drawing that
// the demo and the sessions use drifting from what they expect of it.
TEST(SvgImportFile, ReadsTheBundledDrawing) {
    std::string error;
    EXPECT_EQ(emulator::ReadSvgFile("/nonexistent/missing.svg", &error), nullptr);
    EXPECT_NE(error.find("missing.svg"), std::string::npos) << error;

    const auto document = emulator::ReadSvgFile(
        std::filesystem::path(MESRA_SOURCE_DIR) / "examples/drawing.svg", &error);
    ASSERT_NE(document, nullptr) << error;
    EXPECT_NEAR(document->unitScale, kPointsPerMm, 1e-6);
    EXPECT_EQ(document->width, 210);
    EXPECT_EQ(document->height, 297);
    ASSERT_EQ(document->layers.size(), 2u);
    EXPECT_EQ(document->layers[0]->title, "Plan");
    EXPECT_EQ(document->layers[1]->title, "Notes");
    EXPECT_EQ(document->currentLayer, document->layers[1].get());
    EXPECT_EQ(document->layers[0]->art.size(), 9u);
    EXPECT_TRUE(document->layers[1]->art.empty());
    EXPECT_FALSE(document->source->select_node("//*[local-name()='image']").node().empty());
    EXPECT_FALSE(document->source->select_node("//*[local-name()='text']").node().empty());
}

}  // namespace
