// The paints the host models beyond an SVG colour, written as their colour with the rest
// kept for the reader.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "emulator/svg/SvgExport.h"
#include "tests/emulator/SvgExportSupport.h"

namespace {

using emulator::Art;
using emulator::Layer;
using emulator::Paint;
using emulator::WriteSvg;
using namespace testing_support::svg_export;

// Paints the host models beyond an SVG colour show as their colour and keep the rest in
// attributes of their own, which the reader gives back: a mistake in the CMYK conversion,
// a missing attribute or a paint that comes back as plain RGB after a reopen shows.
TEST(SvgExport, PaintsShowTheirColourAndReadBackWhole) {
    const struct {
        const char* name;
        Paint paint;
        double red, green, blue;
        const char* attribute;
    } cases[] = {
        {"gray", GrayPaint(0.2), 0.2, 0.2, 0.2, "mesrapaint:fill-gray=\"0.2\""},
        {"rgb", RgbPaint(0.1, 0.5, 1), 0.1, 0.5, 1, nullptr},
        {"cmyk", CmykPaint(0.5, 0, 1, 0.2), 0.4, 0.8, 0, "mesrapaint:fill-cmyk=\"0.5 0 1 0.2\""},
        {"custom", CustomPaint("Orange vif", 0.75, 1, 0.5, 0), 1, 0.5, 0,
         "mesrapaint:fill-custom=\"Orange vif\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto document = NewDocument(100, 100, 1);
        Layer& layer = *document->layers.back();
        Art* path =
            Append(layer.art, StraightPath({{1, 1}, {50, 50}, {1, 50}}, true, 1), &layer, nullptr);
        path->style.fill = c.paint;
        path->style.fillOverprint = true;
        const std::string text = WriteSvg(*document);
        if (c.attribute) {
            EXPECT_TRUE(Contains(text, c.attribute)) << text;
        }
        EXPECT_TRUE(Contains(text, "mesrapaint:fill-overprint=\"true\"")) << text;
        const auto again = Reread(*document);
        ASSERT_NE(again, nullptr);
        const Art& read = *again->layers.front()->art.front();
        const Paint& fill = read.style.fill;
        EXPECT_NEAR(fill.red, c.red, kRatioTolerance);
        EXPECT_NEAR(fill.green, c.green, kRatioTolerance);
        EXPECT_NEAR(fill.blue, c.blue, kRatioTolerance);
        EXPECT_EQ(fill.kind, c.paint.kind);
        EXPECT_TRUE(read.style.fillOverprint);
        EXPECT_FALSE(read.style.strokeOverprint);
        for (double Paint::*kept : {&Paint::gray, &Paint::cyan, &Paint::magenta, &Paint::yellow,
                                    &Paint::black, &Paint::tint}) {
            EXPECT_NEAR(fill.*kept, c.paint.*kept, kRatioTolerance);
        }
        EXPECT_EQ(fill.customName, c.paint.customName);
    }
}

}  // namespace
