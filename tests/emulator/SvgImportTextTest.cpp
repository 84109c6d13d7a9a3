// Reading the point texts the writer marked, and leaving the user's text to the DOM.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulator/svg/SvgImport.h"
#include "tests/emulator/SvgImportSupport.h"

namespace {

using emulator::Art;
using emulator::ArtType;
using emulator::Paint;
using namespace testing_support::svg_import;

// Would catch the user's text taken for the host's (or a marked one missed for a record it
// can do without), a feature that does not read spoiling the others, paragraphs cut at the
// wrong place or losing their spaces, the fill not taken from the style and the paint
// namespace, and a frame taken from the record when the transforms show the text elsewhere
// (or from rounded transforms when they agree with it).
TEST(SvgImportText, ReadsTheTextsTheWriterMarked) {
    using Matrix = std::vector<double>;
    const struct {
        const char* name;
        std::string body;
        const char* root;
        bool text;  // a point text, or left to the DOM
        std::u16string characters = u"";
        Matrix matrix = {};
        double size = 0;
        Paint::Kind fill = Paint::Kind::None;
    } cases[] = {
        {"the user's text", "<text x='1' y='2'>a</text>", "", false},
        {"a matrix of five numbers", "<text m:matrix='1 0 0 1 5'>a</text>", "", false},
        {"paragraphs, features and the recorded frame",
         "<text m:matrix='0.6 0.8 -0.8 0.6 10.0000001 -20' m:font='DejaVuSans' m:size='9.5'"
         " transform='matrix(0.6,-0.8,0.8,0.6,10,20)' style='fill:#ff0000'>"
         "<tspan> a </tspan><tspan/><tspan>b<tspan>c</tspan></tspan></text>",
         "", true, u" a \r\rbc", Matrix{0.6, 0.8, -0.8, 0.6, 10.0000001, -20}, 9.5,
         Paint::Kind::RGB},
        {"no spans, a size that does not read, a fill of the paint namespace",
         "<text xmlns:p='urn:x-mesra:paint' m:matrix='1 0 0 1 0 0' m:size='big'"
         " p:fill-cmyk='0 1 0 0'>plain</text>",
         "", true, u"plain", Matrix{1, 0, 0, 1, 0, 0}, 12, Paint::Kind::CMYK},
        {"moved by its group, 2 points a unit",
         "<g transform='translate(100,0)'><text m:matrix='1 0 0 1 20 -40'"
         " transform='translate(10,20)' fill='none'>a</text></g>",
         "width='400pt' height='400pt' viewBox='0 0 200 200'", true, u"a",
         Matrix{1, 0, 0, 1, 220, -40}, 12, Paint::Kind::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto document = Read(c.body, "xmlns:m='urn:x-mesra:text' " + std::string(c.root));
        ASSERT_NE(document, nullptr);
        const auto& all = AllArt(*document);
        ASSERT_EQ(all.size(), c.text ? 1u : 0u);
        if (!c.text) {
            continue;
        }
        const Art* art = all.front()->type == ArtType::Group ? all.front()->children.front().get()
                                                             : all.front().get();
        ASSERT_EQ(art->type, ArtType::Text);
        const auto& text = art->pointText;
        EXPECT_EQ(text.text, c.characters);
        for (int i = 0; i < 6; ++i) {
            EXPECT_NEAR(text.matrix[i], c.matrix[i], 1e-12) << i;
        }
        EXPECT_EQ(text.features.size, c.size);
        EXPECT_EQ(text.features.fill.kind, c.fill);
    }
}

}  // namespace
