// The hover analysis skips art far from the cursor to stay fast on large drawings; it must
// find exactly what the literal search over every path finds.
#include <gtest/gtest.h>

#include <tuple>

#include "plugin/hostaccess/PathGeometry.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/tools/HostArt.h"
#include "plugin/tools/HoverAnalysis.h"
#include "tests/support/GeneratedDrawing.h"
#include "tests/support/InProcessPlugin.h"

namespace {

using testing_support::CursorWalk;
using testing_support::GeneratedDrawing;
using testing_support::InProcessPlugin;
using tools::HoverState;

// What the tools read of a hover.
auto Fields(const HoverState& h) {
    return std::tie(h.overAnchor, h.overOtherPoint, h.overIntersection, h.overStraightSegment,
                    h.overCurve, h.overArc, h.overStraightDimension, h.overArcDimension, h.hoverArt,
                    h.hoverPoint.h, h.hoverPoint.v, h.startIndex, h.endIndex, h.curveHitPoint.h,
                    h.curveHitPoint.v);
}

void ExpectSame(const HoverState& a, const HoverState& b, AIRealPoint cursor) {
    EXPECT_EQ(Fields(a), Fields(b)) << "cursor " << cursor.h << "," << cursor.v;
}

class HoverIdentityTest : public testing::Test {
  protected:
    static constexpr int kPaths = 300;
    emulator::HostOptions Options() {
        emulator::HostOptions options;
        options.fonts = std::vector<std::string>{};
        return options;
    }
};

TEST_F(HoverIdentityTest, SegmentToolFindsWhatTheLiteralSearchFinds) {
    InProcessPlugin plugin(GeneratedDrawing(kPaths), Options());
    ASSERT_TRUE(plugin.Ready());
    int found = 0;
    for (const AIRealPoint cursor : CursorWalk(kPaths, 400)) {
        plugin.Host().SetCullHitTests(true);
        ASSERT_EQ(tools::AnalyseHover(ToolKind::Segment, cursor), 0);
        const HoverState culled = tools::Hover();
        plugin.Host().SetCullHitTests(false);
        ASSERT_EQ(tools::AnalyseHover(ToolKind::Segment, cursor), 0);
        ExpectSame(culled, tools::Hover(), cursor);
        found += culled.hoverArt != nullptr ? 1 : 0;
    }
    // The walk must cross art, or the comparison proves nothing.
    EXPECT_GE(found, 3);
    EXPECT_TRUE(plugin.Host().Violations().empty());
}

TEST_F(HoverIdentityTest, AreaScanFindsWhatTheLiteralScanFinds) {
    // The literal scan samples every curve a thousand times: a smaller drawing will do.
    constexpr int kScannedPaths = 60;
    InProcessPlugin plugin(GeneratedDrawing(kScannedPaths), Options());
    ASSERT_TRUE(plugin.Ready());
    int found = 0;
    for (const AIRealPoint cursor : CursorWalk(kScannedPaths, 60)) {
        ASSERT_EQ(tools::AreaToolHover(cursor, tools::ScanMode::Culled), 0);
        const HoverState culled = tools::Hover();
        ASSERT_EQ(tools::AreaToolHover(cursor, tools::ScanMode::Literal), 0);
        ExpectSame(culled, tools::Hover(), cursor);
        found += culled.hoverArt != nullptr ? 1 : 0;
    }
    EXPECT_GE(found, 3);
    EXPECT_TRUE(plugin.Host().Violations().empty());
}

// The host keeps its index of the drawing up to date through every kind of edit, without
// building it again, and finds what its literal search finds, ties of stacking included.
TEST_F(HoverIdentityTest, HitIndexFollowsEditsWithoutRebuilding) {
    InProcessPlugin plugin(GeneratedDrawing(kPaths), Options());
    ASSERT_TRUE(plugin.Ready());
    std::vector<AIRealPoint> points = CursorWalk(kPaths, 300);
    const auto compare = [&](const char* step) {
        for (const AIRealPoint p : points) {
            plugin.Host().SetCullHitTests(true);
            const AIToolHitData culled = tools::HitAt(p, 4, 0).data;
            plugin.Host().SetCullHitTests(false);
            const AIToolHitData literal = tools::HitAt(p, 4, 0).data;
            EXPECT_EQ(std::tie(culled.hit, culled.art, culled.type, culled.segment),
                      std::tie(literal.hit, literal.art, literal.type, literal.segment))
                << step << ", point " << p.h << "," << p.v;
        }
        plugin.Host().SetCullHitTests(true);
    };
    compare("opened");
    const int builds = plugin.Host().Index()->Builds();

    // A new path across the whole page, and one far outside it.
    const auto newPath = [](std::vector<AIRealPoint> anchors) {
        AIArtHandle art = nullptr;
        EXPECT_EQ(sAIArt->NewArt(kPathArt, kPlaceAboveAll, nullptr, &art), 0);
        std::vector<AIPathSegment> segments;
        for (const AIRealPoint& a : anchors) {
            segments.push_back({a, a, a, 1});
        }
        const auto n = static_cast<ASInt16>(segments.size());
        EXPECT_EQ(sAIPath->SetPathSegmentCount(art, n), 0);
        EXPECT_EQ(sAIPath->SetPathSegments(art, 0, n, segments.data()), 0);
        return art;
    };
    const AIArtHandle across = newPath({{0, 0}, {700, -700}});
    newPath({{5000, 5000}, {5100, 5000}});
    points.push_back({5050, 5000});
    compare("placed");

    // A copy exactly over the original: the copy, painted above, wins the ties.
    std::vector<AIArtHandle> paths;
    ASSERT_EQ(tools::ReachablePaths(&paths), 0);
    AIArtHandle copy = nullptr;
    ASSERT_EQ(sAIArt->DuplicateArt(paths[40], kPlaceAbove, paths[40], &copy), 0);
    const auto& copied = hostaccess::ReadPath(copy).segments;
    points.push_back(copied.front().p);
    points.push_back({(copied[0].p.h + copied[1].p.h) / 2, (copied[0].p.v + copied[1].p.v) / 2});
    compare("duplicated");
    // Moved, reshaped, disposed of.
    const AIRealMatrix shift{1, 0, 0, 1, 13, -7};
    ASSERT_EQ(sAITransformArt->TransformArt(copy, &shift, 1, kTransformObjects), 0);
    ASSERT_EQ(sAIPath->SetPathClosed(across, true), 0);
    for (std::size_t i = 0; i < paths.size(); i += 7) {
        ASSERT_EQ(sAIArt->DisposeArt(paths[i]), 0);
    }
    compare("edited");
    EXPECT_EQ(plugin.Host().Index()->Builds(), builds);
    EXPECT_TRUE(plugin.Host().Violations().empty());
}

}  // namespace
