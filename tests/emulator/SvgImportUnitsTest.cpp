// Where the SVG reader puts coordinates: the transforms of elements and their ancestors,
// and the scale and size the root gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulator/svg/SvgImport.h"
#include "tests/emulator/SvgImportSupport.h"

namespace {

using emulator::Art;
using namespace testing_support::svg_import;

struct TransformCase {
    const char* transform;
    double x1, y1, x2, y2;
};

// Would catch each transform's arguments misread (defaults of translate and scale, the centre
// of rotate, skews on the wrong axis, the matrix's column order), a list composed in the
// wrong order, and a malformed list half applied instead of ignored.
TEST(SvgImportTransforms, MapEveryCoordinate) {
    const TransformCase cases[] = {
        {"translate(5)", 15, 20, 35, 20},
        {"translate(5,-5)", 15, 15, 35, 15},
        {"scale(2)", 20, 40, 60, 40},
        {"scale(2 3)", 20, 60, 60, 60},
        {"rotate(90)", -20, 10, -20, 30},
        {"rotate(90 10 20)", 10, 20, 10, 40},
        {"skewX(45)", 30, 20, 50, 20},
        {"skewY(45)", 10, 30, 30, 50},
        {"matrix(1 2 3 4 5 6)", 75, 106, 95, 146},
        {"translate(10,0) scale(2)", 30, 40, 70, 40},
        {" translate(10 0) , rotate(90) ", -10, 10, -10, 30},
        {"translate(10", 10, 20, 30, 20},
        {"scale(2) shear(1)", 10, 20, 30, 20},
        {"matrix(1 2 3)", 10, 20, 30, 20},
    };
    for (const TransformCase& c : cases) {
        SCOPED_TRACE(c.transform);
        const auto document =
            Read(std::string("<path transform=\"") + c.transform + "\" d=\"M 10 20 L 30 20\"/>");
        ExpectAnchors(OnlyArt(document.get()), {Plain(c.x1, c.y1), Plain(c.x2, c.y2)});
    }
}

// Would catch the transforms of ancestors ignored or composed in the wrong order, and stroke
// widths and dashes left in the element's own user units.
TEST(SvgImportTransforms, ComposeWithAncestorsAndScaleStrokes) {
    const auto document = Read(
        "<g transform='translate(100,0)'><g transform='scale(2,8)'>"
        "<path transform='translate(0,5)' stroke='black' stroke-width='3' stroke-dasharray='1 2'"
        " d='M 10 20 L 30 20'/></g></g>");
    const Art* outer = OnlyArt(document.get());
    ASSERT_NE(outer, nullptr);
    ASSERT_EQ(outer->children.size(), 1u);
    ASSERT_EQ(outer->children[0]->children.size(), 1u);
    const Art* path = outer->children[0]->children[0].get();
    ExpectAnchors(path, {Plain(120, 200), Plain(160, 200)});
    EXPECT_NEAR(path->style.strokeWidth, 12, kTolerance);
    EXPECT_EQ(path->style.dash, (std::vector<double>{4, 8}));
}

struct UnitCase {
    const char* root;
    double k;
    double width;
    double height;
};

// Would catch a unit's points wrong, the viewBox ignored (or applied without a width),
// without a viewBox a physical width's unit taken as the user unit (a user unit is then a CSS
// pixel, and plain numbers stay points), a percentage width read as a length, and a document
// without a size left at zero instead of fitting its art.
TEST(SvgImportUnits, ScaleAndSizeComeFromTheRoot) {
    constexpr double kPixel = 0.75;
    const UnitCase cases[] = {
        {"width='210mm' height='297mm' viewBox='0 0 210 297'", kPointsPerMm, 210, 297},
        {"width='2in' height='1in'", kPixel, 192, 96},
        {"width='10cm' height='5cm'", kPixel, 960 / 2.54, 480 / 2.54},
        {"width='100mm'", kPixel, 9600 / 25.4, 80},
        {"width='200' height='30pt'", kPixel, 200, 40},
        {"width='200' height='100'", 1, 200, 100},
        {"width='200px' height='100px'", 1, 200, 100},
        {"width='400' height='200' viewBox='0 0 200 100'", 2, 200, 100},
        {"width='100pt' height='50pt' viewBox='0,0,50,25'", 2, 50, 25},
        {"width='3pc' height='3pc' viewBox='0 0 36 36'", 1, 36, 36},
        {"viewBox='0 0 300 200'", 1, 300, 200},
        {"width='100%' height='100%' viewBox='0 0 50 60'", 1, 50, 60},
        {"", 1, 120, 80},
    };
    for (const UnitCase& c : cases) {
        SCOPED_TRACE(c.root);
        const auto document = Read("<path d='M 10 10 L 120 80'/>", c.root);
        ASSERT_NE(document, nullptr);
        EXPECT_NEAR(document->unitScale, c.k, 1e-6);
        EXPECT_NEAR(document->width, c.width, 1e-6);
        EXPECT_NEAR(document->height, c.height, 1e-6);
        ExpectAnchors(OnlyArt(document.get()), {Plain(10, 10), Plain(120, 80)}, c.k);
    }
}

}  // namespace
