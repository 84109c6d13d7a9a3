// The routing of tool events: the cursor table, the tool cycle and the placed-line memory.
#include <gtest/gtest.h>

#include "plugin/frame/Cursors.h"
#include "plugin/frame/PlacedLines.h"
#include "plugin/frame/ToolEvents.h"

namespace {

using tools::HoverState;
using tools::SegmentToolState;

// The cursor over each kind of art is checked for every tool through the host, in the hover
// tests; here, what a hover cannot show: the open panel's hand, and the measure in progress.
TEST(ToolRouting, CursorTableOfTheFiveTools) {
    HoverState anchor;
    anchor.overAnchor = true;
    EXPECT_EQ(ChooseCursor(ToolKind::Segment, anchor, {}, true, {}), kCursorHand);
    // The measure in progress shows through.
    SegmentToolState segment;
    segment.segmentMode = true;
    EXPECT_EQ(ChooseCursor(ToolKind::Segment, {}, segment, false, {}), kCursorSegment);
    EXPECT_EQ(ChooseCursor(ToolKind::Circle, {}, segment, false, {}), kCursorGeneric);
    segment.clickCount = 1;
    EXPECT_EQ(ChooseCursor(ToolKind::Angle, {}, segment, false, {}), kCursorSegment);
    segment.segmentMode = false;
    EXPECT_EQ(ChooseCursor(ToolKind::Angle, {}, segment, false, {}), kCursorPoint);
    EXPECT_EQ(ChooseCursor(ToolKind::Angle, {}, {}, false, {true, true}), kCursorPoint);
    EXPECT_EQ(ChooseCursor(ToolKind::Segment, {}, {}, false, {true, true}), kCursorGeneric);
}

TEST(ToolRouting, ShiftClickCyclesTheTools) {
    const ASInt32 expected[] = {0, 2, 3, 4, 5, 1};
    for (ASInt32 tool = 1; tool <= 5; ++tool) {
        EXPECT_EQ(NextTool(tool), expected[tool]);
    }
}

TEST(PlacedLineMemory, KeepsTenLinesNewestFirst) {
    PlacedLines lines;
    for (int i = 0; i < 10; ++i) {
        lines.Remember({0, static_cast<float>(i)}, {100, static_cast<float>(i)});
    }
    EXPECT_EQ(lines.Lines().size(), 10u);
    // The same line again, in either order, changes nothing.
    lines.Remember({100, 9}, {0, 9});
    lines.Remember({0, 4}, {100, 4});
    EXPECT_EQ(lines.Lines().size(), 10u);
    EXPECT_EQ(lines.Lines().front().first.v, 9);
    // An eleventh line drops the oldest.
    lines.Remember({0, 50}, {100, 50});
    EXPECT_EQ(lines.Lines().size(), 10u);
    EXPECT_EQ(lines.Lines().front().first.v, 50);
    EXPECT_EQ(lines.Lines().back().first.v, 1);
}

TEST(PlacedLineMemory, SnapsToTheNearestNewestEnd) {
    PlacedLines lines;
    lines.Remember({0, 0}, {100, 0});
    lines.Remember({0, 5}, {100, 5});
    const struct {
        AIRealPoint cursor;
        double radius;
        bool snapped;
        AIRealPoint to;
    } cases[] = {
        {{3, 3}, 8, true, {0, 5}},  // both within reach: the newest line wins
        {{97, -2}, 4, true, {100, 0}},
        {{50, 0}, 8, false, {0, 0}},
        {{106, 0}, 4, false, {0, 0}},  // 6 away: outside a radius of 4 (8 pixels at 200 %)
    };
    for (const auto& c : cases) {
        const auto snapped = lines.Snap(c.cursor, c.radius);
        ASSERT_EQ(snapped.has_value(), c.snapped) << c.cursor.h << "," << c.cursor.v;
        if (snapped) {
            EXPECT_EQ(snapped->h, c.to.h);
            EXPECT_EQ(snapped->v, c.to.v);
        }
    }
}

}  // namespace
