// The hover analysis skips art far from the cursor to stay fast on large drawings; it must
// find exactly what the literal search over every path finds.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/GeneratedDrawing.h"
#include "tests/InProcessPlugin.h"
#include "tools/HoverAnalysis.h"

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

}  // namespace
