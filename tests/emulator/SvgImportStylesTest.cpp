// Reading the styles of SVG artwork: paints and widths with their inheritance, the details
// of strokes, and hidden art.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulator/svg/SvgImport.h"
#include "tests/emulator/SvgImportSupport.h"

namespace {

using emulator::Art;
using emulator::Paint;
using namespace testing_support::svg_import;

Paint Rgb(double r, double g, double b) {
    return {Paint::Kind::RGB, 0, r, g, b, 0, 0, 0, 0, "", 0};
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

}  // namespace
