// How dimensions look: the styles built from the settings, and the names of dimensions.
#include <gtest/gtest.h>

#include "emulator/core/Unicode.h"
#include "plugin/drawing/DimensionStyles.h"
#include "tests/support/InProcessPlugin.h"

namespace {

using namespace drawing;
using settings::DimensionSettings;

DimensionSettings Defaults() {
    DimensionSettings s{};
    settings::SetDefaults(s, "DejaVuSans");
    return s;
}

// The defaults: red round-capped lines, arrowheads filled red with mitered joins; a style
// missing a paint or a cap shows here (the blue of the text, the measure texts drawn show).
TEST(DimensionStyles, DefaultsAreRedLinesAndBlueText) {
    const DimensionStyles styles = MakeStyles(Defaults(), nullptr, nullptr);
    const AIPathStyle& line = styles.solidLine;
    EXPECT_FALSE(line.fillPaint);
    EXPECT_TRUE(line.strokePaint);
    EXPECT_EQ(line.stroke.color.kind, kThreeColor);
    EXPECT_EQ(line.stroke.color.rgb.red, 1);
    EXPECT_EQ(line.stroke.color.rgb.green, 0);
    EXPECT_EQ(line.stroke.cap, kRoundCap);
    EXPECT_EQ(line.stroke.join, kRoundJoin);
    EXPECT_EQ(styles.dashedLine.stroke.dash.length, 0);  // dashes only when asked for
    const AIPathStyle& arrow = styles.arrowFill;
    EXPECT_TRUE(arrow.fillPaint);
    EXPECT_FALSE(arrow.strokePaint);
    EXPECT_EQ(arrow.fill.color.rgb.red, 1);
    EXPECT_EQ(arrow.stroke.join, kMiterJoin);
    EXPECT_EQ(arrow.stroke.miterLimit, 10);
}

TEST(DimensionStyles, SettingsShapeTheStyles) {
    DimensionSettings s = Defaults();
    s.dashedLines = 1;
    s.dashLength = 4;
    s.dashGap = 2;
    s.roundCaps = 0;
    s.strokeWidth = 0.5;
    s.overprintStroke = 1;
    s.overprintFill = 1;
    s.strokeColorModel = settings::kCMYK;
    s.textColorModel = settings::kGray;
    s.textGray = 0.6;
    const DimensionStyles styles = MakeStyles(s, nullptr, nullptr);
    EXPECT_EQ(styles.solidLine.stroke.dash.length, 0);
    ASSERT_EQ(styles.dashedLine.stroke.dash.length, 2);
    EXPECT_EQ(styles.dashedLine.stroke.dash.array[0], 4);
    EXPECT_EQ(styles.dashedLine.stroke.dash.array[1], 2);
    EXPECT_EQ(styles.dashedLine.stroke.cap, kButtCap);
    EXPECT_EQ(styles.solidLine.stroke.width, 0.5f);
    EXPECT_TRUE(styles.solidLine.stroke.overprint);
    EXPECT_TRUE(styles.arrowFill.fill.overprint);
    EXPECT_EQ(styles.solidLine.stroke.color.kind, kFourColor);
    EXPECT_EQ(styles.solidLine.stroke.color.cmyk.cyan, 1);
    EXPECT_EQ(styles.solidLine.stroke.color.cmyk.magenta, 0.5f);
    EXPECT_EQ(styles.textColor.kind, kGrayColor);
    EXPECT_EQ(styles.textColor.gray.gray, 0.6f);
    // A custom colour model without a colour from the host keeps the RGB colour.
    s.strokeColorModel = settings::kCustomColor;
    EXPECT_EQ(MakeStyles(s, nullptr, nullptr).solidLine.stroke.color.kind, kThreeColor);
}

// Would catch a dimension named after another kind; the sessions read back the names of
// the oblique, both-direction, arc, curve, angle and radius dimensions.
TEST(DimensionNames, ByToolAndKind) {
    const struct {
        MadeDimension made;
        std::int32_t type;
        std::int32_t diameter;
        const char* name;
    } cases[] = {
        {{ToolKind::Segment, false, false}, settings::kHorizontal, 0, "Segment horiz"},
        {{ToolKind::Segment, false, false}, settings::kVertical, 0, "Segment verti"},
        {{ToolKind::Segment, false, false}, 9, 0, "Segment erreur"},
        {{ToolKind::Circle, false, false}, 0, 1, "Cercle Diamètre"},
        {{ToolKind::Bezier, false, false}, 0, 0, "Bézier partage"},
        {{ToolKind::LengthsAndAreas, false, false}, 0, 0, "Longueurs & Aires"},
    };
    for (const auto& c : cases) {
        DimensionSettings s = Defaults();
        s.dimensionType = c.type;
        s.showDiameter = c.diameter;
        EXPECT_EQ(emulator::Utf8FromWindows1252(DimensionName(c.made, s)), c.name);
    }
}

// The custom colour of the document becomes the lines' colour only under the custom
// colour model, and a group is named only when it is live.
TEST(DimensionStyles, DocumentCustomColourAndNamingThroughTheHost) {
    emulator::HostOptions options;
    options.fonts = std::vector<std::string>{};
    testing_support::InProcessPlugin plugin(
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"><g/></svg>)", options);
    ASSERT_TRUE(plugin.Ready());
    settings::DimensionSettings& live = settings::Settings();
    const DimensionSettings saved = live;
    settings::SetDefaults(live, "DejaVuSans");

    AICustomColor orange{kThreeColor, {1, 0.5f, 0}, {}};
    AICustomColorHandle handle = nullptr;
    ASSERT_EQ(sAICustomColor->NewCustomColor(&orange, u"Orange", &handle), 0);
    EXPECT_EQ(ApplyDocumentCustomColor(), 0);
    EXPECT_EQ(Styles().solidLine.stroke.color.kind, kThreeColor);
    live.strokeColorModel = settings::kCustomColor;
    EXPECT_EQ(ApplyDocumentCustomColor(), 0);
    EXPECT_EQ(Styles().solidLine.stroke.color.kind, kCustomColor);
    EXPECT_EQ(Styles().solidLine.stroke.color.custom.color, handle);
    EXPECT_EQ(Styles().arrowFill.fill.color.custom.tint, 0);
    EXPECT_EQ(Styles().textColor.kind, kThreeColor);

    // The sessions read back the names given to live groups.
    EXPECT_EQ(NameDimensionArt(nullptr, {ToolKind::Angle, false, false}), 0);

    Styles() = {};
    live = saved;
}

}  // namespace
