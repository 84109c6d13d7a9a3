// The document view: what annotators draw through the drawer suite, and the view as a
// picture (artwork rendered at the view's zoom, the drawing over it).
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "emulator/picture/ViewPicture.h"
#include "plugin/host/InterfaceSuites.h"
#include "tests/support/HostFixture.h"
#include "tests/support/PngImage.h"
#include "tests/support/SessionFixture.h"

namespace {

using emulator::DisplayKind;
using emulator::DisplayList;
using emulator::Host;
using testing_support::Image;
using testing_support::ReadPng;

// A host with a document, holding the drawer suite as a front that draws over the view
// does.
class AnnotatorDrawer : public testing::Test {
  protected:
    static emulator::HostOptions Options() {
        emulator::HostOptions options;
        options.fonts = testing_support::FixedFonts();
        return options;
    }
    void SetUp() override {
        host.NewDocument(200, 100);
        ASSERT_TRUE(suites.Acquire(d));
    }

    Host host{Options()};
    testing_support::HeldSuites suites{host};
    const AIAnnotatorDrawerSuite* d = nullptr;
};

// One draw with every operation: each item keeps the drawer's state when it was drawn, and a
// drawer starts from black, opaque, 1 pixel and the small font at each draw message.
TEST_F(AnnotatorDrawer, RecordsWhatEachOperationDrawsWithTheDrawersState) {
    ASInt32 small = 0, smallLong = 0, large = 0;
    host.AddHostAnnotator([&](AIAnnotatorDrawer* drawer) {
        const AIRGBColor red{65535, 0, 0};
        EXPECT_EQ(d->SetColor(drawer, &red), 0);
        EXPECT_EQ(d->SetOpacity(drawer, 1.5f), 0);  // clamped to 1
        EXPECT_EQ(d->SetOpacity(drawer, 0.25f), 0);
        EXPECT_EQ(d->SetLineWidth(drawer, 3), 0);
        EXPECT_NE(d->SetLineWidth(drawer, -1), 0);
        const AIPoint a{10, 20}, b{30, 40};
        EXPECT_EQ(d->DrawLine(drawer, &a, &b), 0);
        const AIRect box{50, 60, 5, 6};  // sides given the wrong way round
        EXPECT_EQ(d->DrawRect(drawer, &box, true), 0);
        EXPECT_EQ(d->DrawEllipse(drawer, &box, false), 0);
        const AIPoint line[] = {{1, 1}, {2, 3}, {5, 8}};
        EXPECT_EQ(d->DrawPolyLine(drawer, line, 3), 0);
        EXPECT_NE(d->DrawPolyLine(drawer, line, 1), 0);
        const AIRealPoint curve[] = {{0, 0},    {1.5f, 0}, {3, 1.5f}, {3, 3},
                                     {3, 4.5f}, {1.5f, 6}, {0, 6}};
        EXPECT_EQ(d->DrawBezierOutline(drawer, curve, 7, true), 0);
        EXPECT_NE(d->DrawBezierOutline(drawer, curve, 6, false), 0);
        EXPECT_EQ(d->GetTextWidth(drawer, u"i", &small), 0);
        EXPECT_EQ(d->GetTextWidth(drawer, u"iiiiiiii", &smallLong), 0);
        EXPECT_NE(d->SetFontPreset(drawer, 3), 0);
        EXPECT_EQ(d->SetFontPreset(drawer, kAnnotatorFontLarge), 0);
        EXPECT_EQ(d->GetTextWidth(drawer, u"iiiiiiii", &large), 0);
        const AIPoint baseline{100, 50};
        EXPECT_EQ(d->DrawText(drawer, u"12,5 cm", &baseline), 0);
    });
    host.AddHostAnnotator([&](AIAnnotatorDrawer* drawer) {
        const AIPoint a{0, 0}, b{1, 1};
        EXPECT_EQ(d->DrawLine(drawer, &a, &b), 0);
    });
    host.Redraw();

    EXPECT_GT(small, 0);
    EXPECT_GT(smallLong, 4 * small);
    EXPECT_GT(large, smallLong);
    const auto& items = host.LastAnnotation().items;
    ASSERT_EQ(items.size(), 7u);
    const struct {
        DisplayKind kind;
        std::vector<double> coordinates;
        bool fill;
    } expected[] = {
        {DisplayKind::Line, {10, 20, 30, 40}, false},
        {DisplayKind::Rect, {5, 6, 50, 60}, true},
        {DisplayKind::Ellipse, {5, 6, 50, 60}, false},
        {DisplayKind::PolyLine, {1, 1, 2, 3, 5, 8}, false},
        {DisplayKind::BezierOutline, {0, 0, 1.5, 0, 3, 1.5, 3, 3, 3, 4.5, 1.5, 6, 0, 6}, false},
        {DisplayKind::Text, {100, 50}, false},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const emulator::DisplayItem& item = items[i];
        EXPECT_EQ(item.kind, expected[i].kind) << i;
        std::vector<double> coordinates;
        for (const emulator::ViewPoint& p : item.points) {
            coordinates.insert(coordinates.end(), {p.x, p.y});
        }
        EXPECT_EQ(coordinates, expected[i].coordinates) << i;
        EXPECT_EQ(item.fill, expected[i].fill) << i;
        EXPECT_EQ(item.style.color.red, 65535) << i;
        EXPECT_EQ(item.style.color.green, 0) << i;
        EXPECT_DOUBLE_EQ(item.style.opacity, 0.25) << i;
        EXPECT_DOUBLE_EQ(item.style.lineWidth, 3) << i;
    }
    EXPECT_TRUE(items[4].closed);
    const emulator::DisplayItem& text = items[5];
    EXPECT_EQ(text.text, "12,5 cm");
    EXPECT_EQ(text.style.fontPreset, kAnnotatorFontLarge);
    EXPECT_DOUBLE_EQ(text.fontSize, 13);
    EXPECT_GT(text.textWidth, 30);
    // The second annotator's drawer starts afresh.
    EXPECT_EQ(items[6].style.color.red, 0);
    EXPECT_DOUBLE_EQ(items[6].style.opacity, 1);
    EXPECT_DOUBLE_EQ(items[6].style.lineWidth, 1);
    EXPECT_EQ(items[6].style.fontPreset, kAnnotatorFontSmall);
}

// A drawer kept from an earlier draw, or one that never was, draws nothing: the host answers
// an error and records the misuse.
TEST_F(AnnotatorDrawer, DrawingOutsideTheDrawMessageIsAMisuse) {
    AIAnnotatorDrawer* kept = nullptr;
    const AIPoint a{0, 0}, b{5, 5};
    host.AddHostAnnotator([&](AIAnnotatorDrawer* drawer) {
        if (kept != nullptr) {
            // A drawer of the earlier draw, during this one.
            EXPECT_EQ(d->DrawLine(kept, &a, &b), kBadParameterErr);
        }
        kept = drawer;
        EXPECT_EQ(d->DrawLine(drawer, &a, &b), 0);
    });
    host.Redraw();
    EXPECT_EQ(host.TakeViolations().size(), 0u);
    EXPECT_EQ(d->DrawLine(kept, &a, &b), kBadParameterErr);
    ASInt32 width = 0;
    EXPECT_EQ(d->GetTextWidth(kept, u"x", &width), kBadParameterErr);
    auto* bogus = reinterpret_cast<AIAnnotatorDrawer*>(&width);
    EXPECT_EQ(d->DrawLine(bogus, &a, &b), kBadParameterErr);
    host.Redraw();
    EXPECT_EQ(host.LastAnnotation().items.size(), 1u);
    EXPECT_EQ(host.TakeViolations().size(), 4u);
}

class ViewPictureTest : public testing_support::SessionFixture {};

// `view` writes what the user sees: the artwork at the view's zoom on a white view of the
// view's size, the annotation over it.
TEST_F(ViewPictureTest, TheViewShowsTheArtworkAtItsZoomAndTheDrawingOverIt) {
    Write("square.svg",
          "<svg xmlns='http://www.w3.org/2000/svg' width='200' height='100' "
          "viewBox='0 0 200 100'><rect x='20' y='20' width='40' height='40'/></svg>");
    Session("doc square.svg\nzoom 2\nview out.png\nview out.svg\n");
    const Image view = ReadPng(Read("out.png"));
    ASSERT_EQ(view.width, 1024);
    ASSERT_EQ(view.height, 768);
    // The square covers view pixels 40 to 120 at zoom 2.
    EXPECT_EQ(view.At(42, 118), 0x000000u);
    EXPECT_EQ(view.At(124, 80), 0xFFFFFFu);
    EXPECT_EQ(view.At(600, 600), 0xFFFFFFu);
    EXPECT_NE(Read("out.svg").find("<svg"), std::string::npos);

    // The drawing over it: a filled rectangle covers its pixels, a line of width 1 the row
    // it names and no other.
    auto document = Saved("square.svg");
    DisplayList drawing;
    emulator::DisplayItem box;
    box.kind = DisplayKind::Rect;
    box.style.color = {65535, 0, 0};
    box.points = {{40, 40}, {60, 50}};
    box.fill = true;
    emulator::DisplayItem line;
    line.kind = DisplayKind::Line;
    line.points = {{200, 300}, {260, 300}};
    drawing.items = {box, line};
    std::string error;
    const auto png =
        emulator::ViewPicture(*document, drawing, emulator::PictureFormat::Png, &error);
    ASSERT_TRUE(png.has_value()) << error;
    const Image over = ReadPng(*png);
    EXPECT_EQ(over.At(40, 40), 0xFF0000u);
    EXPECT_EQ(over.At(59, 49), 0xFF0000u);
    EXPECT_EQ(over.At(59, 50), 0x000000u);  // the square below
    EXPECT_EQ(over.At(230, 300), 0x000000u);
    EXPECT_EQ(over.At(230, 299), 0xFFFFFFu);
    EXPECT_EQ(over.At(230, 301), 0xFFFFFFu);
}

}  // namespace
