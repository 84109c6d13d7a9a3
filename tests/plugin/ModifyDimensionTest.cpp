// Bringing a segment dimension up to date when the rebuild cannot be carried out: the old
// dimension must stay as it was.
#include <gtest/gtest.h>

#include "plugin/drawing/DimensionRecords.h"
#include "plugin/tools/ModifyDimension.h"
#include "tests/support/DrawingTest.h"

namespace {

using namespace drawing;

const char* const kArtwork = R"(<svg xmlns="http://www.w3.org/2000/svg"
     xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape" width="400" height="400">
  <g inkscape:groupmode="layer" inkscape:label="Plan">
    <path d="M 100,100 L 200,100"/>
  </g>
  <g inkscape:groupmode="layer" inkscape:label="Notes"/>
</svg>)";

class ModifyDimensionTest : public testing_support::DrawingTest {
  protected:
    ModifyDimensionTest() : DrawingTest(kArtwork) {}

    // A dimension of the path's two anchors, as the Segment tool makes it; its line half 1.
    AIArtHandle Measure() {
        emulator::Document& document = *plugin_.Host().CurrentDocument();
        path_ = plugin_.Host().HandleOf(document.layers[0]->art[0].get());
        EXPECT_TRUE(PrepareDimensionGroup());
        CreateSegmentDimensionArt(0);
        const SegmentRecordArt halves{WorkingArt().lines[0].lineHalf1,
                                      WorkingArt().lines[0].lineHalf2};
        EXPECT_EQ(WritePointLink(path_, 0, Point::First, halves), 0);
        EXPECT_EQ(WritePointLink(path_, 1, Point::Second, halves), 0);
        EXPECT_TRUE(BuildSegmentDimension({100, -100}, {200, -100}, {150, -80},
                                          LinearLayout::Oblique, {}, 0));
        return halves.lineHalf1;
    }

    emulator::Layer& DimensionLayer() { return *plugin_.Host().CurrentDocument()->layers.back(); }

    AIArtHandle path_ = nullptr;
};

// Would catch a refused rebuild (a locked layer, a record past the path's last anchor) that
// disposed of the old dimension before it knew, or left part of a new one.
TEST_F(ModifyDimensionTest, RefusedRebuildsKeepTheOldDimension) {
    ASSERT_TRUE(plugin_.Ready());
    const AIArtHandle half = Measure();
    emulator::Art* group = DimensionLayer().art[0].get();
    const std::size_t parts = group->children.size();

    // The current layer locked: the new dimension cannot be drawn, the old one stays.
    emulator::Document& document = *plugin_.Host().CurrentDocument();
    emulator::Layer* notes = document.layers[1].get();
    emulator::Layer* current = document.currentLayer;
    document.currentLayer = notes;
    notes->locked = true;
    EXPECT_FALSE(tools::RebuildDimension(half, ToolKind::Segment, {150, -80}));
    ASSERT_EQ(plugin_.Host().Alerts().size(), 1u);
    EXPECT_EQ(plugin_.Host().Alerts()[0], "Cotation impossible. Calque verrouillé.");
    notes->locked = false;
    document.currentLayer = current;

    // The record points past the path's last anchor (the path lost anchors).
    plugin_.Host().FindArt(half)->tags["num2"] = std::string("7");
    EXPECT_FALSE(tools::RebuildDimension(half, ToolKind::Segment, {150, -80}));
    ASSERT_EQ(plugin_.Host().Alerts().size(), 2u);
    EXPECT_EQ(plugin_.Host().Alerts()[1],
              "Le tracé correspondant à cette cote n'a pas été trouvé !");

    ASSERT_EQ(DimensionLayer().art.size(), 1u);
    EXPECT_EQ(DimensionLayer().art[0].get(), group);
    EXPECT_EQ(group->children.size(), parts);
    EXPECT_TRUE(plugin_.Host().TakeViolations().empty());
}

}  // namespace
