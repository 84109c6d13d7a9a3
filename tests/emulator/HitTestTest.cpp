// The emulated host's artwork queries: hit testing, extents and areas of paths.
#include <gtest/gtest.h>

#include <cmath>

#include "emulator/core/ArtTree.h"
#include "emulator/core/HitTest.h"

namespace {

using namespace emulator;

AIPathSegment Corner(float x, float y) {
    return {{x, y}, {x, y}, {x, y}, 1};
}

// A document of one layer, with helpers to add paths to it.
struct Drawing {
    Document document;
    Layer* layer;

    Drawing() {
        auto l = std::make_unique<Layer>();
        layer = l.get();
        document.layers.push_back(std::move(l));
        document.currentLayer = layer;
    }

    Art* Path(std::vector<AIPathSegment> segments, bool closed, bool filled = false) {
        auto art = std::make_unique<Art>();
        art->segments = std::move(segments);
        art->closed = closed;
        art->style.fill.kind = filled ? Paint::Kind::RGB : Paint::Kind::None;
        return InsertArt(*layer, nullptr, kPlaceInsideOnTop, std::move(art));
    }
};

// A quarter circle of radius 100 about the origin, from (100, 0) to (0, 100).
std::vector<AIPathSegment> QuarterCircle() {
    const float k = 55.22847f;
    return {{{100, 0}, {100, 0}, {100, k}, 0}, {{0, 100}, {k, 100}, {0, 100}, 0}};
}

TEST(HitTesting, WhatIsHitAndHowItIsReported) {
    Drawing d;
    Art* square =
        d.Path({Corner(0, 0), Corner(100, 0), Corner(100, 100), Corner(0, 100)}, true, true);
    const struct {
        AIRealPoint point;
        ASInt32 request;
        bool hit;
        ASInt32 type;
        ASInt32 segment;
    } cases[] = {
        {{101, 99}, kHitAnchorPoints, true, kAnchorHit, 2},
        {{50, 50}, kHitAnchorPoints, true, kCenterPointHit, 0},
        {{50, 2}, kHitAnchorPoints, false, 0, 0},
        // A segment reports the anchor that ends its curve.
        {{50, 2}, kHitPointsHandlesSegments, true, kSegmentHit, 1},
        // The closing curve, from the last anchor back to anchor 0, ends at anchor 0.
        {{1, 50}, kHitPointsHandlesSegments, true, kSegmentHit, 0},
        {{30, 70}, kHitPointsHandlesSegments, false, 0, 0},
        {{30, 70}, 0, true, kFillHit, 0},
        {{130, 70}, 0, false, 0, 0},
    };
    for (const auto& c : cases) {
        const Hit hit = HitTestDocument(d.document, c.point, 4, c.request);
        EXPECT_EQ(hit.hit, c.hit) << c.point.h << "," << c.point.v << " request " << c.request;
        if (hit.hit && c.hit) {
            EXPECT_EQ(hit.art, square);
            EXPECT_EQ(hit.type, c.type) << c.point.h << "," << c.point.v;
            EXPECT_EQ(hit.segment, c.segment) << c.point.h << "," << c.point.v;
        }
    }
    const Hit onSide = HitTestDocument(d.document, {50, 3}, 4, kHitSegments);
    EXPECT_NEAR(onSide.point.h, 50, 1e-3);
    EXPECT_NEAR(onSide.point.v, 0, 1e-3);
    EXPECT_NEAR(onSide.t, 0.5, 1e-3);
}

// Locked, hidden and guide art, and art on a locked or hidden layer, is never hit; the
// topmost of two paths wins.
TEST(HitTesting, OnlyVisibleUnlockedArtIsHitTopFirst) {
    Drawing d;
    Art* below = d.Path({Corner(0, 0), Corner(100, 0)}, false);
    Art* above = d.Path({Corner(0, 0), Corner(100, 0)}, false);
    EXPECT_EQ(HitTestDocument(d.document, {50, 1}, 4, 0).art, above);
    above->locked = true;
    EXPECT_EQ(HitTestDocument(d.document, {50, 1}, 4, 0).art, below);
    below->hidden = true;
    EXPECT_FALSE(HitTestDocument(d.document, {50, 1}, 4, 0).hit);
    above->locked = false;
    above->guide = true;
    EXPECT_FALSE(HitTestDocument(d.document, {50, 1}, 4, 0).hit);
    above->guide = false;
    d.layer->locked = true;
    EXPECT_FALSE(HitTestDocument(d.document, {50, 1}, 4, 0).hit);
    d.layer->locked = false;
    d.layer->visible = false;
    EXPECT_FALSE(HitTestDocument(d.document, {50, 1}, 4, 0).hit);
    d.layer->visible = true;
    // Limited to one art.
    EXPECT_FALSE(HitTestDocument(d.document, {50, 1}, 4, 0, below).hit);
    EXPECT_EQ(HitTestDocument(d.document, {50, 1}, 4, 0, above).art, above);
    // Positions that are not numbers hit nothing.
    EXPECT_FALSE(HitTestDocument(d.document, {NAN, 1}, 4, 0).hit);
}

// The topmost art used to win whatever lay nearer: an exact click on the corner of a small
// pad took the anchor of the part above it, 3.5 points away.
TEST(HitTesting, TheNearestHitWinsAndStackingOnlyBreaksTies) {
    Drawing d;
    Art* pad = d.Path({Corner(0, 0), Corner(2, 0), Corner(2, 1), Corner(0, 1)}, true);
    Art* part = d.Path({Corner(3.5f, 0), Corner(20, 0), Corner(20, 10), Corner(3.5f, 10)}, true);
    // A line above both that passes exactly through the pad's corner (2, 0).
    Art* line = d.Path({Corner(2, -5), Corner(2, 5)}, false);
    const struct {
        const char* what;
        AIRealPoint point;
        ASInt32 request;
        Art* art;
        ASInt32 type;
    } cases[] = {
        {"exactly on the lower corner", {0, 0}, kHitAnchorPoints, pad, kAnchorHit},
        {"nearer the upper corner", {3, 0}, kHitAnchorPoints, part, kAnchorHit},
        {"an anchor beats another path's segment through it",
         {2, 0},
         kHitPointsHandlesSegments,
         pad,
         kAnchorHit},
        {"an anchor beats its own nearer segments",
         {0.6f, 0.2f},
         kHitPointsHandlesSegments,
         pad,
         kAnchorHit},
        {"the nearer segment of another path",
         {2.4f, 0.5f},
         kHitPointsHandlesSegments,
         line,
         kSegmentHit},
    };
    for (const auto& c : cases) {
        const Hit hit = HitTestDocument(d.document, c.point, 4, c.request);
        EXPECT_EQ(hit.art, c.art) << c.what;
        EXPECT_EQ(hit.type, c.type) << c.what;
        // The culled search finds the same.
        HitIndex index;
        const Hit culled = HitTestDocument(d.document, c.point, 4, c.request, nullptr, &index);
        EXPECT_EQ(culled.art, hit.art) << c.what;
        EXPECT_EQ(culled.type, hit.type) << c.what;
    }
}

TEST(HitTesting, HandlesOnlyOnSelectedPaths) {
    Drawing d;
    Art* arc = d.Path(QuarterCircle(), false);
    const AIRealPoint handle{100, 55.22847f};
    EXPECT_NE(HitTestDocument(d.document, handle, 2, kHitPointsHandlesSegments).type,
              kOutHandleHit);
    arc->selected = true;
    const Hit hit = HitTestDocument(d.document, handle, 2, kHitPointsHandlesSegments);
    EXPECT_EQ(hit.type, kOutHandleHit);
    EXPECT_EQ(hit.segment, 0);
}

TEST(HitTesting, NearestPointOfACurve) {
    const auto q = QuarterCircle();
    const AIRealBezier b{q[0].p, q[0].out, q[1].in, q[1].p};
    // The point of the arc nearest to a point on its bisector lies at 45 degrees.
    const Nearest near = NearestOnBezier(b, {80, 80});
    EXPECT_NEAR(near.t, 0.5, 1e-3);
    EXPECT_NEAR(near.point.h, 70.71, 0.05);
    EXPECT_NEAR(near.distance, std::hypot(80, 80) - 100, 0.05);
}

TEST(ArtGeometry, ExtentsAndAreas) {
    Drawing d;
    Art* square = d.Path({Corner(0, 0), Corner(10, 0), Corner(10, 10), Corner(0, 10)}, true);
    EXPECT_DOUBLE_EQ(PathArea(*square), 100);
    std::reverse(square->segments.begin(), square->segments.end());
    EXPECT_DOUBLE_EQ(PathArea(*square), -100);

    // An arc's extent is the arc's, not its handles' (which reach (100, 55)).
    Art* arc = d.Path(QuarterCircle(), false);
    const auto bounds = ArtBounds(*arc);
    ASSERT_TRUE(bounds);
    EXPECT_NEAR(bounds->right, 100, 1e-4);
    EXPECT_NEAR(bounds->top, 100, 1e-4);
    EXPECT_NEAR(bounds->left, 0, 1e-4);
    // The closed quarter-disc: a quarter of π·r², to the 0.03 % by which the usual cubic
    // stands outside the circle.
    arc->closed = true;
    arc->segments.push_back(Corner(0, 0));
    EXPECT_NEAR(PathArea(*arc), M_PI * 100 * 100 / 4, M_PI * 100 * 100 / 4 * 0.0005);
    // Two straight anchors enclose nothing; curves enclose what they go round, whatever the
    // number of anchors. One cubic from (100, 0) to (−100, 0), its handles at height
    // h = 400/3, closed by the diameter: y = 3h·t(1 − t), dx/dt = −1200·t(1 − t), so the
    // area ∫ y dx is 3600h/30 = 16 000. A loop of one anchor at the origin, its handles at
    // (100, 100) and (−100, 100): x = 300s(1 − 2t), y = 300s with s = t(1 − t), and
    // ½∮(x dy − y dx) = ½ × 300² × 2 × ∫s² dt = 3 000.
    EXPECT_DOUBLE_EQ(PathArea(*d.Path({Corner(0, 0), Corner(5, 5)}, true)), 0);
    const float h = 400.0f / 3;
    Art* halfDisc =
        d.Path({{{100, 0}, {100, 0}, {100, h}, 1}, {{-100, 0}, {-100, h}, {-100, 0}, 1}}, true);
    EXPECT_NEAR(std::fabs(PathArea(*halfDisc)), 16000, 1e-2);
    Art* loop = d.Path({{{0, 0}, {-100, 100}, {100, 100}, 1}}, true);
    EXPECT_NEAR(std::fabs(PathArea(*loop)), 3000, 1e-2);
}

TEST(ArtTreeEdits, PlacementRelativeToOtherArt) {
    Drawing d;
    Art* a = d.Path({Corner(0, 0)}, false);
    auto group = std::make_unique<Art>();
    group->type = ArtType::Group;
    Art* g = InsertArt(*d.layer, a, kPlaceAbove, std::move(group));
    ASSERT_EQ(d.layer->art.size(), 2u);
    EXPECT_EQ(d.layer->art[1].get(), g);
    Art* inside = InsertArt(*d.layer, g, kPlaceInsideOnTop, std::make_unique<Art>());
    EXPECT_EQ(inside->parent, g);
    Art* under = InsertArt(*d.layer, inside, kPlaceBelow, std::make_unique<Art>());
    EXPECT_EQ(g->children[0].get(), under);
    // Nothing goes inside a path.
    EXPECT_EQ(InsertArt(*d.layer, a, kPlaceInsideOnTop, std::make_unique<Art>()), nullptr);
    std::unique_ptr<Art> taken = DetachArt(*g);
    EXPECT_EQ(d.layer->art.size(), 1u);
    EXPECT_EQ(taken->children.size(), 2u);
}

}  // namespace
