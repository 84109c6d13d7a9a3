// Linear dimensions built on a document of the emulated host: the dimension layer and
// group, the broken line around the measure text, the extension lines, the arrowheads and
// the texts, read back from the host's model of the document.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "emulator/core/ArtTree.h"
#include "emulator/core/TextLayout.h"
#include "plugin/drawing/ArrowheadPlacement.h"
#include "plugin/drawing/Arrowheads.h"
#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/DimensionStyles.h"
#include "plugin/drawing/LinearDimension.h"
#include "plugin/drawing/MeasureText.h"
#include "tests/support/DrawingTest.h"

namespace {

using namespace drawing;
using emulator::Art;

constexpr double kPi = std::numbers::pi;

const char* const kArtwork = R"(<svg xmlns="http://www.w3.org/2000/svg"
     xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape" width="400" height="400">
  <g inkscape:groupmode="layer" inkscape:label="Calque 1">
    <path d="M 100,100 L 200,100"/>
  </g>
</svg>)";

class LinearDimensionTest : public testing_support::DrawingTest {
  protected:
    LinearDimensionTest() : DrawingTest(kArtwork) {}

    Art* Find(AIArtHandle handle) { return handle != nullptr ? Host().FindArt(handle) : nullptr; }
    const LineArt& Lines(int index = 0) { return WorkingArt().lines[index]; }

    // A new dimension from (x1, y1) to (x2, y2) with the cursor at (cx, cy), artwork
    // coordinates.
    bool Build(AIRealPoint p1, AIRealPoint p2, AIRealPoint cursor, LinearFlags flags = {},
               LinearLayout layout = LinearLayout::Oblique) {
        if (!PrepareDimensionGroup()) {
            return false;
        }
        CreateSegmentDimensionArt(0);
        return BuildSegmentDimension(p1, p2, cursor, layout, flags, 0);
    }

    // The start and end of a two-point path.
    std::pair<AIRealPoint, AIRealPoint> Ends(AIArtHandle path) {
        const Art* art = Find(path);
        EXPECT_NE(art, nullptr);
        if (art == nullptr || art->segments.size() != 2) {
            ADD_FAILURE() << "not a two-point path";
            return {};
        }
        return {art->segments[0].p, art->segments[1].p};
    }

    const emulator::PointText& Text(AIArtHandle frame) {
        static const emulator::PointText kNone;
        const Art* art = Find(frame);
        return art != nullptr ? art->pointText : kNone;
    }
    static double TextAngle(const emulator::PointText& text) {
        return std::atan2(text.matrix[1], text.matrix[0]);
    }
};

TEST_F(LinearDimensionTest, LayerIsMadeOnceAndEmptyGroupsGo) {
    ASSERT_TRUE(plugin_.Ready());
    ASSERT_TRUE(PrepareDimensionGroup());
    ASSERT_EQ(Document().layers.size(), 2u);
    emulator::Layer& layer = *Document().layers.back();
    EXPECT_EQ(layer.title, "Dimensions");
    ASSERT_EQ(layer.art.size(), 1u);
    EXPECT_EQ(layer.art[0]->type, emulator::ArtType::Group);

    // The first group stayed empty: the next dimension disposes of it and reuses the layer.
    ASSERT_TRUE(PrepareDimensionGroup());
    EXPECT_EQ(Document().layers.size(), 2u);
    ASSERT_EQ(layer.art.size(), 1u);
    // A dimension started but never laid out (a first point without its second) goes too.
    CreateSegmentDimensionArt(0);
    ASSERT_TRUE(PrepareDimensionGroup());
    EXPECT_EQ(layer.art.size(), 1u);
    CreateSegmentDimensionArt(0);
    ASSERT_TRUE(BuildSegmentDimension({0, 0}, {10, 0}, {5, 5}, LinearLayout::Oblique, {}, 0));
    ASSERT_TRUE(PrepareDimensionGroup());
    EXPECT_EQ(layer.art.size(), 2u) << "a finished dimension stays";
    EXPECT_TRUE(Host().Alerts().empty());
    EXPECT_TRUE(Host().TakeViolations().empty());
}

TEST_F(LinearDimensionTest, ObliqueDimensionLiesOnTheCursorsSide) {
    ASSERT_TRUE(plugin_.Ready());
    for (float side : {1.0f, -1.0f}) {
        SCOPED_TRACE(side);
        ASSERT_TRUE(Build({100, 0}, {200, 0}, {150, 30 * side}));
        EXPECT_FLOAT_EQ(S().extensionLength, 30 * side);
        // The tips lie on the line; the line stops 10.5 points (7 × 150 %) short of them.
        const auto [a, end1] = Ends(Lines().lineHalf1);
        const auto [b, end2] = Ends(Lines().lineHalf2);
        EXPECT_FLOAT_EQ(a.h, 110.5f);
        EXPECT_FLOAT_EQ(b.h, 189.5f);
        EXPECT_FLOAT_EQ(a.v, 30 * side);
        // The gap is the text's width and 4 points, centred.
        const Art* frame = Find(Lines().measureText);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->pointText.text, u"100 pt");
        const double width = emulator::PointTextBounds(frame->pointText).right -
                             emulator::PointTextBounds(frame->pointText).left;
        EXPECT_GT(width, 20);
        EXPECT_NEAR(end2.h - end1.h, width + 4, 1e-3);
        EXPECT_NEAR(frame->pointText.matrix[4], 150, 1e-4);
        EXPECT_NEAR(frame->pointText.matrix[5], 30 * side, 1e-4);
        // Extension lines: from the gap to 4 % of the arrow size beyond the line.
        const auto [from, to] = Ends(Lines().extension1);
        EXPECT_FLOAT_EQ(from.v, side * static_cast<float>(S().extensionGap));
        EXPECT_FLOAT_EQ(to.v, side * 36);
        EXPECT_FLOAT_EQ(from.h, 100);
        EXPECT_FLOAT_EQ(Ends(Lines().extension2).first.h, 200);
        // Heads sit at the tips, inside the line.
        ASSERT_NE(Find(Lines().heads[0]), nullptr);
        EXPECT_FLOAT_EQ(Find(Lines().heads[0])->segments[0].p.h, 100);
        // All of it is the plug-in's own art, which no click measures.
        for (AIArtHandle path : {Lines().lineHalf1, Lines().lineHalf2, Lines().extension1,
                                 Lines().heads[0], Lines().heads[1]}) {
            EXPECT_EQ(Find(path)->tags.at("vorn"), "jj");
        }
    }
    EXPECT_TRUE(Host().TakeViolations().empty());
}

// The offset of the dimension line, from the cursor, in each layout.
TEST_F(LinearDimensionTest, OffsetsFollowTheCursorAndSnap) {
    ASSERT_TRUE(plugin_.Ready());
    const struct {
        LinearLayout layout;
        bool snap;
        AIRealPoint cursor;
        double offset;
    } cases[] = {
        {LinearLayout::Oblique, false, {150, 5}, 0.0},  // on the measured line
        {LinearLayout::Oblique, true, {140, 44}, 56.692914},
        {LinearLayout::Oblique, true, {160, -34}, -56.692914},
        {LinearLayout::Horizontal, false, {0, 47}, 47},
        {LinearLayout::Horizontal, true, {0, 47}, 40},
        {LinearLayout::Horizontal, true, {0, -27}, -20},
        {LinearLayout::Vertical, true, {147, 0}, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.layout) << " " << c.cursor.v);
        // A line of slope 1/10: (140, 44) is 40 points from it.
        ASSERT_TRUE(Build({100, 0}, {200, 10}, c.cursor, {c.snap}, c.layout));
        EXPECT_NEAR(S().extensionLength, c.offset, 1e-4);
    }
}

TEST_F(LinearDimensionTest, HorizontalAndVerticalLayoutsMeasureAlongTheirAxis) {
    ASSERT_TRUE(plugin_.Ready());
    // The right point first: the layout orders the points.
    ASSERT_TRUE(Build({200, 50}, {100, 0}, {0, 80}, {}, LinearLayout::Horizontal));
    EXPECT_EQ(Text(Lines().measureText).text, u"100 pt");
    EXPECT_NEAR(TextAngle(Text(Lines().measureText)), 0, 1e-6);
    const auto [from, to] = Ends(Lines().extension2);  // at the right point (200, 50)
    EXPECT_FLOAT_EQ(from.h, 200);
    EXPECT_FLOAT_EQ(from.v, 50 + static_cast<float>(S().extensionGap));
    EXPECT_FLOAT_EQ(to.v, 86);

    ASSERT_TRUE(Build({200, 50}, {100, 0}, {0, 80}, {}, LinearLayout::Vertical));
    EXPECT_EQ(Text(Lines().measureText).text, u"50 pt");
    EXPECT_NEAR(TextAngle(Text(Lines().measureText)), kPi / 2, 1e-6);
    // 50 pt less two setbacks of 10.5 leave 29 pt, less than "50 pt" needs: the half runs
    // outward from the tip at (0, 0), one setback long.
    const auto [a, b] = Ends(Lines().lineHalf1);
    EXPECT_FLOAT_EQ(a.h, 0);
    EXPECT_FLOAT_EQ(a.v, 0);
    EXPECT_FLOAT_EQ(b.h, 0);
    EXPECT_FLOAT_EQ(b.v, -10.5f);
}

TEST_F(LinearDimensionTest, TextNeverReadsUpsideDown) {
    ASSERT_TRUE(plugin_.Ready());
    const struct {
        AIRealPoint p1, p2;
        double angle;
    } cases[] = {
        {{100, 0}, {200, 0}, 0},
        {{200, 0}, {100, 0}, 0},  // P2 left of P1: turned half a turn back
        {{100, 0}, {100, 100}, kPi / 2},
        {{100, 100}, {100, 0}, kPi / 2},
        {{0, 0}, {100, 100}, kPi / 4},
        {{100, 100}, {0, 0}, kPi / 4},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Build(c.p1, c.p2, {300, 300}));
        const double angle = TextAngle(Text(Lines().measureText));
        EXPECT_NEAR(std::remainder(angle - c.angle, 2 * kPi), 0, 1e-5)
            << c.p1.h << "," << c.p1.v << " -> " << c.p2.h << "," << c.p2.v;
    }
}

TEST_F(LinearDimensionTest, BrokenLineAroundTheText) {
    ASSERT_TRUE(plugin_.Ready());
    // A text wider than the line: the halves run outward beyond the arrowheads.
    ASSERT_TRUE(Build({100, 0}, {125, 0}, {110, 20}));
    auto [a, end1] = Ends(Lines().lineHalf1);
    EXPECT_LT(end1.h, a.h);
    EXPECT_GT(Ends(Lines().lineHalf2).second.h, Ends(Lines().lineHalf2).first.h);

    // The text follows the cursor, keeping 5 points of line on its left.
    ASSERT_TRUE(Build({0, 0}, {300, 0}, {20, 20}, {false, true}));
    std::tie(a, end1) = Ends(Lines().lineHalf1);
    EXPECT_NEAR(end1.h - a.h, 5, 1e-3);
    ASSERT_TRUE(Build({0, 0}, {300, 0}, {200, 20}, {false, true}));
    EXPECT_NEAR(Text(Lines().measureText).matrix[4], 200, 1e-3);

    // Lifted off the line, the text leaves one unbroken solid line, even when dashed.
    S().dashedLines = 1;
    S().textOffset = 20;
    BuildStyles();
    ASSERT_TRUE(Build({100, 0}, {200, 0}, {150, 30}));
    std::tie(a, end1) = Ends(Lines().lineHalf1);
    EXPECT_FLOAT_EQ(a.h, 110.5f);
    EXPECT_FLOAT_EQ(end1.h, 189.5f);
    EXPECT_TRUE(Find(Lines().lineHalf1)->style.dash.empty());
    EXPECT_EQ(Lines().lineHalf2, nullptr);
    EXPECT_NEAR(Text(Lines().measureText).matrix[5], 50, 1e-4);
    // Back on the line: two dashed halves again.
    S().textOffset = 0;
    ASSERT_TRUE(RebuildSegmentDimension(0));
    ASSERT_NE(Find(Lines().lineHalf2), nullptr);
    EXPECT_EQ(Find(Lines().lineHalf2)->style.dash.size(), 2u);
    EXPECT_TRUE(Find(Lines().lineHalf2)->tags.count("mods")) << "half 2 keeps the records";
}

TEST_F(LinearDimensionTest, ArrowheadShapesSetTheLineBack) {
    ASSERT_TRUE(plugin_.Ready());
    const struct {
        std::int32_t shape;
        double size;
        float lineStart;  // where half 1 starts, the tip being at 100
        bool heads;
    } cases[] = {
        {3, 300, 127, true},  // "pleine": a 27-point triangle
        {1, 150, 100, true},  // "vecteur": no setback
        {0, 0, 100, false},   // size 0: no heads and no setback
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shape);
        S().arrowShape = c.shape;
        S().arrowSize = c.size;
        ASSERT_TRUE(Build({100, 0}, {300, 0}, {150, 30}));
        EXPECT_FLOAT_EQ(Ends(Lines().lineHalf1).first.h, c.lineStart);
        EXPECT_EQ(Find(Lines().heads[0]) != nullptr, c.heads);
        if (c.heads) {
            const Art& head = *Find(Lines().heads[0]);
            float farthest = 0;
            for (const auto& segment : head.segments) {
                farthest = std::max(farthest, segment.p.h - 100);
            }
            EXPECT_NEAR(farthest, 9 * c.size / 100, 1e-3);
            EXPECT_EQ(head.style.stroke.kind != emulator::Paint::Kind::None, c.shape == 1);
        }
    }
    // Heads of a dimension disappear when it is rebuilt at size 0.
    S().arrowSize = 150;
    ASSERT_TRUE(Build({100, 0}, {300, 0}, {150, 30}));
    ASSERT_NE(Find(Lines().heads[1]), nullptr);
    S().arrowSize = 0;
    ASSERT_TRUE(RebuildSegmentDimension(0));
    EXPECT_EQ(Lines().heads[0], nullptr);
    EXPECT_EQ(Lines().heads[1], nullptr);
    EXPECT_TRUE(Host().TakeViolations().empty());
}

TEST_F(LinearDimensionTest, MeasureAndToleranceTexts) {
    ASSERT_TRUE(plugin_.Ready());
    ASSERT_TRUE(Build({100, 0}, {200, 0}, {150, 30}));
    const emulator::PointText& single = Text(Lines().measureText);
    EXPECT_FLOAT_EQ(single.features.baselineShift, -4);
    EXPECT_EQ(single.features.justification, emulator::Justification::Center);
    EXPECT_EQ(single.features.fill.kind, emulator::Paint::Kind::RGB);
    EXPECT_EQ(single.features.fill.blue, 1);
    EXPECT_EQ(single.features.font, "DejaVuSans");

    S().doubleMeasure = 1;
    S().tolerance1On = 1;
    S().tolerance1Sign = settings::kTolerancePlusMinus;
    S().tolerance1Value = 0.1;
    S().tolerance2On = 1;
    S().tolerance2Sign = settings::kToleranceMinus;
    S().tolerance2Value = 0.2;
    ASSERT_TRUE(Build({100, 0}, {200, 0}, {150, 30}));
    const emulator::PointText& both = Text(Lines().measureText);
    EXPECT_FLOAT_EQ(both.features.baselineShift, 4) << "a second line raises the first";
    EXPECT_NE(both.text.find(u'\r'), std::u16string::npos);
    const emulator::PointText& plus = Text(Lines().tolerances[0]);
    EXPECT_EQ(plus.text, u"±0,1");
    EXPECT_FLOAT_EQ(plus.features.size, 8.4);
    EXPECT_FLOAT_EQ(plus.features.baselineShift, 5);
    EXPECT_EQ(plus.features.justification, emulator::Justification::Left);
    EXPECT_EQ(Text(Lines().tolerances[1]).text, u"-0,2");
    EXPECT_FLOAT_EQ(Text(Lines().tolerances[1]).features.baselineShift, -5);
    // The tolerances start where the measure ends; the line leaves a gap around them all,
    // and the texts stand in the middle of the line (its halves are of one length).
    const double width =
        emulator::PointTextBounds(both).right - emulator::PointTextBounds(both).left;
    EXPECT_NEAR(plus.matrix[4], both.matrix[4] + width / 2, 1e-3);
    const auto [from1, to1] = Ends(Lines().lineHalf1);
    const auto [from2, to2] = Ends(Lines().lineHalf2);
    EXPECT_NEAR(to1.h - from1.h, from2.h - to2.h, 1e-3);
    EXPECT_LT(to1.h, emulator::PointTextBounds(both).left);
    // The lowered tolerance reaches down across the line (at y = 30): the gap clears it.
    const AIRealRect lowered = emulator::PointTextBounds(Text(Lines().tolerances[1]));
    ASSERT_LT(lowered.bottom, 30);
    EXPECT_GT(to2.h, lowered.right);

    // Along the reading direction of a rotated measure.
    ASSERT_TRUE(Build({200, 100}, {100, 0}, {0, 300}));
    const emulator::PointText& turned = Text(Lines().measureText);
    const emulator::PointText& tolerance = Text(Lines().tolerances[0]);
    const double along = (tolerance.matrix[4] - turned.matrix[4]) * std::cos(kPi / 4) +
                         (tolerance.matrix[5] - turned.matrix[5]) * std::sin(kPi / 4);
    EXPECT_GT(along, 10) << "toward the end of the text, not back over it";
}

TEST_F(LinearDimensionTest, NoMeasureUnitDrawsOneSolidLine) {
    ASSERT_TRUE(plugin_.Ready());
    ASSERT_TRUE(Build({100, 0}, {200, 0}, {150, 30}));
    ASSERT_NE(Find(Lines().measureText), nullptr);
    S().unitKind = settings::kNoMeasure;
    S().dashedLines = 1;
    BuildStyles();
    ASSERT_TRUE(RebuildSegmentDimension(0));
    EXPECT_EQ(Lines().measureText, nullptr);
    EXPECT_EQ(Lines().lineHalf2, nullptr);
    const auto [a, b] = Ends(Lines().lineHalf1);
    EXPECT_FLOAT_EQ(a.h, 110.5f);
    EXPECT_FLOAT_EQ(b.h, 189.5f);
    EXPECT_TRUE(Find(Lines().lineHalf1)->style.dash.empty());
}

// A text of no width (an empty label) and an arc of radius 0 give finite art.
TEST_F(LinearDimensionTest, DegenerateLayoutsStayFinite) {
    ASSERT_TRUE(plugin_.Ready());
    S().horizontalText = 1;
    ASSERT_TRUE(Build({100, 0}, {200, 100}, {100, 100}));
    ASSERT_TRUE(PrepareDimensionGroup());
    CreateSegmentDimensionArt(0);
    PlaceArcArrowheads(0, {0, 0}, 0, {0, 0}, kPi / 2, kPi / 2, false, Lines().lineHalf1);
    EXPECT_EQ(ArcHeadCorrection(0, 150), 0);
    EXPECT_TRUE(std::isfinite(ArcHeadCorrection(1e-30, 150)));
    emulator::ForEachArtInDocumentOrder(Document(), [](Art& art) {
        for (const auto& segment : art.segments) {
            EXPECT_TRUE(std::isfinite(segment.p.h) && std::isfinite(segment.p.v));
        }
    });
}

}  // namespace
