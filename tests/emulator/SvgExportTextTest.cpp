// Point texts written to SVG: read back exactly, shown where the host sets them, edited in
// place, and the user's own text kept as it was.
#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "emulator/svg/SvgExport.h"
#include "emulator/svg/SvgImport.h"
#include "emulator/svg/SvgSyntax.h"
#include "tests/emulator/SvgExportSupport.h"

namespace {

using emulator::Art;
using emulator::ArtType;
using emulator::Justification;
using emulator::Layer;
using emulator::Paint;
using emulator::ReadSvg;
using emulator::WriteSvg;
using namespace testing_support::svg_export;

// Texts read back exactly (a feature left out of the record, or a frame's transform that
// does not agree with the matrix, shows as a field that differs), and the written element
// draws each paragraph where the host sets it: at its baseline on the page, with the
// anchor and font size that put it there. A sign of the y flip, a scale left out of the
// font size or the baseline shift, or paragraphs stacked upwards shows as a line elsewhere.
TEST(SvgExportText, TextsReadBackExactlyAndShowWhereTheHostSetsThem) {
    using Lines = std::vector<std::pair<double, double>>;  // each line's anchor, user units
    const struct {
        const char* name;
        double k;
        std::u16string text;
        double degrees, x, y;
        Justification justification;
        double shift, spacing;  // baseline shift; space before and after paragraphs
        Paint fill;
        const char* style;  // what the style must say
        Lines lines;
    } cases[] = {
        {"two paragraphs", 1, u"Cote 12,5\rseconde", 0, 100, 200, Justification::Left, 0, 0,
         GrayPaint(0), "text-anchor:start", Lines{{100, 200}, {100, 212}}},
        {"rotated and shifted, 2 points a unit", 2, u"L = 20\rà 1:1", 90, 50, 100,
         Justification::Left, 4, 0, RgbPaint(1, 0, 0), "font-size:5", Lines{{48, 100}, {54, 100}}},
        {"centred CMYK in millimetres", 72 / 25.4, u"Ø 20", 0, 30, 40, Justification::Center, 0, 0,
         CmykPaint(0, 0.5, 1, 0), "text-anchor:middle", Lines{{30, 40}}},
        {"right-justified, turned clockwise, spaced, an empty paragraph", 1, u"a\r\rc", -30, 10, 10,
         Justification::Right, -2, 1.5, CustomPaint("Orange vif", 0.5, 1, 0.5, 0),
         "text-anchor:end", Lines{{9, 11.732051}, {1.5, 24.722432}, {-6, 37.712813}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto document = NewDocument(200, 200, c.k);
        Layer& layer = *document->layers.front();
        Art* text = Append(layer.art, TextArt(c.text, c.degrees, c.x, c.y, c.k), &layer, nullptr);
        auto& features = text->pointText.features;
        features.justification = c.justification;
        features.baselineShift = c.shift;
        features.spaceBefore = c.spacing;
        features.spaceAfter = c.spacing;
        features.tracking = 25;
        features.firstLineIndent = 1.5;
        features.startIndent = 2;
        features.endIndent = 3;
        features.fill = c.fill;
        features.fillOverprint = c.fill.kind == Paint::Kind::CMYK;
        const auto again = Reread(*document);
        ASSERT_NE(again, nullptr);
        ExpectSameModel(*document, *again);

        pugi::xml_document xml;
        ASSERT_TRUE(xml.load_string(WriteSvg(*document).c_str()));
        const pugi::xml_node element = xml.select_node("//text").node();
        ASSERT_FALSE(element.empty());
        EXPECT_TRUE(Contains(element.attribute("style").value(), c.style))
            << element.attribute("style").value();
        const auto transform =
            emulator::svg::ParseTransform(element.attribute("transform").value());
        ASSERT_TRUE(transform.has_value());
        std::size_t i = 0;
        for (const pugi::xml_node tspan : element.children("tspan")) {
            ASSERT_LT(i, c.lines.size());
            const auto shown = emulator::svg::Apply(
                *transform, {tspan.attribute("x").as_double(), tspan.attribute("y").as_double()});
            EXPECT_NEAR(shown.x, c.lines[i].first, kTolerance) << "line " << i;
            EXPECT_NEAR(shown.y, c.lines[i].second, kTolerance) << "line " << i;
            ++i;
        }
        EXPECT_EQ(i, c.lines.size());
    }
}

// A text of the file is edited where it is: an unchanged document writes back to the very
// same text, and an edit keeps the element with what other programs put on it.
TEST(SvgExportText, TextsAreEditedInPlace) {
    auto document = NewDocument(200, 200, 1);
    Layer& layer = *document->layers.front();
    Append(layer.art, TextArt(u"avant", 0, 20, 30, 1), &layer, nullptr);
    Append(layer.art, StraightPath({{0, 0}, {10, 10}}, false, 1), &layer, nullptr);
    std::string file = WriteSvg(*document);
    const std::size_t at = file.find("<text ");
    ASSERT_NE(at, std::string::npos) << file;
    file.insert(at + 6, "id=\"keep\" data-note=\"x\" ");

    std::string error;
    auto read = ReadSvg(file, &error);
    ASSERT_NE(read, nullptr) << error;
    EXPECT_EQ(WriteSvg(*read), file);

    Art& text = *read->layers.front()->art.front();
    ASSERT_EQ(text.type, ArtType::Text);
    text.pointText.text = u"après\rdeux";
    text.pointText.matrix[4] += 5;
    text.pointText.features.fill = RgbPaint(0, 0, 1);
    const std::string edited = WriteSvg(*read);
    EXPECT_TRUE(Contains(edited, "<text id=\"keep\" data-note=\"x\" ")) << edited;
    EXPECT_EQ(edited.find("<text "), edited.rfind("<text ")) << edited;
    const auto again = Reread(*read);
    ASSERT_NE(again, nullptr);
    ExpectSameModel(*read, *again);
}

// The user's own text is not modelled and comes back byte for byte, whitespace included:
// indentation added inside it, or a space between spans dropped, would change what it shows.
TEST(SvgExportText, UsersTextIsKeptAsItWas) {
    const std::string kept[] = {
        "<text xml:space=\"preserve\" x=\"10\" y=\"20\"><tspan>a</tspan> <tspan x=\"10\" "
        "dy=\"9\">b <tspan style=\"font-weight:bold\">c</tspan></tspan></text>",
        "<text id=\"t2\">\n      <tspan>x</tspan>\n    </text>",
    };
    const std::string file =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\">\n"
        "  <g>\n    " +
        kept[0] + "\n    <path d=\"M 0,0 L 10,10\" stroke=\"red\" />\n    " + kept[1] +
        "\n  </g>\n</svg>\n";
    std::string error;
    auto document = ReadSvg(file, &error);
    ASSERT_NE(document, nullptr) << error;
    Art& group = *document->layers.front()->art.front();
    ASSERT_EQ(group.children.size(), 1u);
    group.children.front()->segments[1].p.h += 1;
    const std::string written = WriteSvg(*document);
    for (const std::string& text : kept) {
        EXPECT_TRUE(Contains(written, text)) << text << "\n" << written;
    }
}

}  // namespace
