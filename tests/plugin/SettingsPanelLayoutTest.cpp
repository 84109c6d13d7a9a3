// The settings panel's pages as the host's drawer records them, drawn by the plug-in's code
// in the test's process so that the settings can be put at the ends of what each control
// can show. The texts are measured as the host sets them (its annotation font's advances,
// ascent and descent), independently of the widths the plug-in asked for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "emulator/core/DisplayList.h"
#include "emulator/core/TextLayout.h"
#include "emulator/picture/ViewPicture.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/ui/MainPage.h"
#include "plugin/ui/PanelPages.h"
#include "plugin/ui/PanelState.h"
#include "plugin/ui/SettingsPanel.h"
#include "tests/support/InProcessPlugin.h"
#include "tests/support/PngImage.h"

namespace {

using emulator::DisplayItem;
using emulator::DisplayKind;
using settings::DimensionSettings;
using ui::PanelPage;

const char* const kDrawing = R"(<svg xmlns="http://www.w3.org/2000/svg"
     width="1000" height="700" viewBox="0 0 1000 700"/>)";

// The panel opens here (SVG user units, one view pixel each at zoom 1).
constexpr double kOriginX = 80;
constexpr double kOriginY = 100;
constexpr double kRow = 18;

// Twenty fonts, two pages of the font page, some with long names.
std::vector<std::string> Fonts() {
    std::vector<std::string> fonts = {"DejaVuSans", "DejaVuSans-Bold", "DejaVuSerif",
                                      "MinionPro-SemiboldItalicSubhead",
                                      "HelveticaNeue-UltraLightCondensedObl"};
    while (fonts.size() < 20) {
        fonts.push_back("Font" + std::to_string(fonts.size()));
    }
    return fonts;
}

struct Box {
    double left;
    double top;
    double right;
    double bottom;
};

// Positive overlap: boxes that only touch are clear of each other.
bool Overlap(const Box& a, const Box& b) {
    constexpr double kTouch = 0.01;
    return std::min(a.right, b.right) - std::max(a.left, b.left) > kTouch &&
           std::min(a.bottom, b.bottom) - std::max(a.top, b.top) > kTouch;
}

bool Inside(const Box& inner, const Box& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

// What an item covers in view pixels: a text from its baseline by the host's advance width
// and the font's ascent and descent; a stroke with half its width around it.
Box BoxOf(const DisplayItem& item) {
    if (item.kind == DisplayKind::Text) {
        const emulator::FontExtent extent =
            emulator::FontExtentOf(emulator::AnnotationFontName(), item.fontSize);
        const emulator::ViewPoint at = item.points.front();
        return {at.x, at.y - extent.ascent, at.x + item.textWidth, at.y + extent.descent};
    }
    Box box{item.points.front().x, item.points.front().y, item.points.front().x,
            item.points.front().y};
    for (const emulator::ViewPoint& p : item.points) {
        box = {std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x),
               std::max(box.bottom, p.y)};
    }
    const double half = item.fill ? 0 : item.style.lineWidth / 2;
    return {box.left - half, box.top - half, box.right + half, box.bottom + half};
}

std::string Describe(const DisplayItem& item) {
    std::ostringstream out;
    const Box b = BoxOf(item);
    out << (item.kind == DisplayKind::Text ? "\"" + item.text + "\""
                                           : "item " + std::to_string(static_cast<int>(item.kind)))
        << " [" << b.left << ", " << b.top << " - " << b.right << ", " << b.bottom << "]";
    return out.str();
}

// The faults of one drawing of a page: anything past the inner edge of the page's outline
// (the first outlined rectangle, over the white one), a text over another text, or a text
// over a stroke, a mark or a box that does not frame it whole. The rectangles from
// `highlight` on mark the click region under the cursor, which may cross a label.
std::vector<std::string> Faults(const emulator::DisplayList& drawing,
                                std::size_t highlight = SIZE_MAX) {
    const std::vector<DisplayItem>& items = drawing.items;
    std::vector<std::string> faults;
    if (items.size() < 2 || items[1].kind != DisplayKind::Rect || items[1].fill) {
        return {"no page outline"};
    }
    const Box outline = BoxOf(items[1]);
    const double edge = items[1].style.lineWidth;
    const Box inner{outline.left + edge, outline.top + edge, outline.right - edge,
                    outline.bottom - edge};
    for (std::size_t i = 2; i < items.size(); ++i) {
        if (!Inside(BoxOf(items[i]), inner)) {
            faults.push_back(Describe(items[i]) + " runs past the page's outline");
        }
        if (items[i].text.find("\xC3\x83") != std::string::npos) {
            faults.push_back(Describe(items[i]) + " is read in the wrong encoding");
        }
        if (items[i].kind != DisplayKind::Text) {
            continue;
        }
        const Box text = BoxOf(items[i]);
        for (std::size_t j = 2; j < items.size(); ++j) {
            const Box other = BoxOf(items[j]);
            const bool rect = items[j].kind == DisplayKind::Rect;
            const bool frames = rect && (Inside(text, other) || j >= highlight);
            if (j != i && !frames && Overlap(text, other) &&
                (items[j].kind != DisplayKind::Text || j > i)) {
                faults.push_back(Describe(items[i]) + " overlaps " + Describe(items[j]));
            }
        }
    }
    return faults;
}

class PanelLayout : public testing::Test {
  protected:
    PanelLayout() : plugin_(kDrawing, Options()), saved_(settings::Settings()) {
        settings::SetDefaults(settings::Settings(), "DejaVuSans");
        ui::Panel() = {};
        Host().AddHostAnnotator([](AIAnnotatorDrawer* drawer) {
            AIAnnotatorMessage message{};
            message.drawer = drawer;
            EXPECT_EQ(ui::DrawPanel(message), 0);
        });
        origin_ = Host().CurrentDocument()->ToArtwork(kOriginX, kOriginY);
        fonts_.names = Fonts();
        fonts_.pageCount = 2;
    }
    ~PanelLayout() override {
        ui::Panel() = {};
        settings::Settings() = saved_;
    }

    static emulator::HostOptions Options() {
        emulator::HostOptions options;
        options.fonts = Fonts();
        return options;
    }
    emulator::Host& Host() { return plugin_.Host(); }

    // The document point `dx` pixels right of the panel's origin and `rows` rows below it.
    AIRealPoint At(double dx, double rows) const {
        return {static_cast<AIReal>(origin_.h + dx), static_cast<AIReal>(origin_.v - rows * kRow)};
    }

    // Opens the panel with an Alt-click and, with a click on its entry, the page.
    void Open(PanelPage page) {
        ui::Panel() = {};
        ui::Panel().panelOpenedByAlt = true;
        ASSERT_EQ(ui::PanelMouseDown(At(0, 0), true, false), 0);
        ASSERT_EQ(ui::PanelMouseDown(At(100, static_cast<int>(page) + 0.5), false, false), 0);
        ASSERT_EQ(ui::Panel().panelState, 2);
    }

    // What the view shows with the cursor at `hover`.
    const emulator::DisplayList& Drawn(AIRealPoint hover) {
        ui::PanelTrack(hover);
        Host().Redraw();
        return Host().LastAnnotation();
    }

    testing_support::InProcessPlugin plugin_;
    DimensionSettings saved_;
    AIRealPoint origin_{};
    ui::PanelFonts fonts_;
};

// Every page, each at the values where its texts are widest (and where its controls switch
// off), with the cursor away and over each of its controls to show their hints.
TEST_F(PanelLayout, EveryTextLiesInsideItsPageAndClearsItsNeighbours) {
    using S = DimensionSettings;
    const auto widest = [](S& s) {
        s.unitKind = settings::kNoMeasure;
        s.doubleMeasure = 1;
        s.secondPrecision = 6;
        s.precision = 6;
        s.decimalSeparator = '.';
        s.thousandsSeparator = 0;
        s.scaleNumerator = s.scaleDenominator = settings::kMaxScale;
        s.scaleStepMultiplier = 3;
        s.arrowSize = settings::kMaxArrowSize;
        s.strokeWidth = settings::kMaxStrokeWidth;
        s.dashedLines = 1;
        s.dashLength = s.dashGap = settings::kMaxDash;
        s.fontPage = 2;
        s.fontName = "HelveticaNeue-UltraLightCondensedObl";
        s.fontSize = settings::kMaxFontSize;
        s.fontSizeStepMultiplier = 1;
        s.tolerance1On = s.tolerance2On = 1;
        s.tolerance1Value = settings::kMaxToleranceValue - 0.001;
        s.tolerance2Value = settings::kMaxToleranceValue;
        s.tolerance1Offset = s.tolerance2Offset = -settings::kMaxOffset;
        s.tolerance1StepTimes10 = s.tolerance2StepTimes10 = 1;
        s.tolerance1Sign = s.tolerance2Sign = settings::kTolerancePlusMinus;
        // The widest key of the layer-name keyboard, as often as the name may hold.
        s.layerName.assign(settings::kMaxNameLength, 'W');
        s.dimensionType = settings::kHorizontalAndVertical;
        s.textOffset = s.extensionGap = -settings::kMaxOffset;
        s.arcMultiple = 1;
        s.arcCount = 1000;
        s.arcGap = s.arcRadius = settings::kMaxLength;
        s.radiusLeaderLength = settings::kMaxLength;
        s.curveDivisions = 1000;
        s.curvePointLength = s.curveLengthOnCurve = settings::kMaxLength;
    };
    const auto least = [](S& s) {
        s.doubleMeasure = 0;
        s.precision = 0;
        s.thousandsSeparator = 3;
        s.scaleNumerator = s.scaleDenominator = 1;
        s.arrowSize = 0;
        s.strokeWidth = 0;
        s.dashedLines = 0;
        s.fontSizeInMm = 1;
        s.layerName.clear();
        s.withExtensionLines = 0;
        s.textOffset = s.extensionGap = 0;
        s.arcMultiple = 0;
        s.radiusPrefixOn = 0;
        s.curveShare = 0;
        s.curvePointLength = 0.1;
        s.areaShowTotalLength = s.areaShowPartialLength = s.areaShowArea = 0;
    };
    const struct {
        const char* name;
        std::function<void(S&)> set;
    } states[] = {{"defaults", [](S&) {}}, {"widest", widest}, {"least", least}};

    for (const auto& state : states) {
        for (int k = -1; k < ui::kPanelPageCount; ++k) {
            settings::SetDefaults(settings::Settings(), "DejaVuSans");
            state.set(settings::Settings());
            const auto page = static_cast<PanelPage>(std::max(k, 0));
            if (k < 0) {
                // The main page, with the summaries of every page.
                ui::Panel() = {};
                ASSERT_EQ(ui::PanelMouseDown(At(0, 0), true, false), 0);
            } else {
                Open(page);
            }
            SCOPED_TRACE(std::string(state.name) + ", page " + std::to_string(k));
            const std::size_t away = Drawn(At(-200, -10)).items.size();
            for (const std::string& fault : Faults(Host().LastAnnotation())) {
                ADD_FAILURE() << fault;
            }
            const ui::Page built = k < 0 ? ui::MainPage() : ui::BuildPage(page, fonts_);
            for (const ui::Control& control : built.controls) {
                for (const ui::Region& r : control.regions) {
                    const auto faults =
                        Faults(Drawn(At((r.left + r.right) / 2, (r.top + r.bottom) / 2)), away);
                    for (const std::string& fault : faults) {
                        ADD_FAILURE() << fault;
                    }
                }
            }
        }
    }
    EXPECT_TRUE(Host().TakeViolations().empty());
}

// The arrowheads page's samples look like the heads the dimensions get: filled inside for
// the elegant, solid and solid-dot shapes, white inside for the hollow ones. Its size
// stepper dims the button that can go no further; a few texts once shown wrong.
TEST_F(PanelLayout, SamplesButtonsAndWords) {
    Open(PanelPage::Arrowheads);
    const emulator::DisplayList& page = Drawn(At(-200, -10));
    std::string error;
    const auto png = emulator::ViewPicture(*Host().CurrentDocument(), page,
                                           emulator::PictureFormat::Png, &error);
    ASSERT_TRUE(png.has_value()) << error;
    const testing_support::Image view = testing_support::ReadPng(*png);
    std::vector<const DisplayItem*> samples;
    for (const DisplayItem& item : page.items) {
        if (item.kind == DisplayKind::BezierOutline) {
            samples.push_back(&item);
        }
    }
    ASSERT_EQ(samples.size(), 7u);
    // Shapes 0 to 6; the open V and the tick have no inside.
    const char filled[] = {'y', '-', 'n', 'y', 'y', 'n', '-'};
    for (std::size_t shape = 0; shape < samples.size(); ++shape) {
        if (filled[shape] == '-') {
            continue;
        }
        // The mean of a sample's anchors and handles lies inside each of these shapes.
        double x = 0;
        double y = 0;
        for (const emulator::ViewPoint& p : samples[shape]->points) {
            x += p.x / samples[shape]->points.size();
            y += p.y / samples[shape]->points.size();
        }
        const std::uint32_t pixel = view.At(static_cast<int>(x), static_cast<int>(y));
        EXPECT_EQ(pixel == 0xFFFFFFu, filled[shape] == 'n')
            << "shape " << shape << " shows " << std::hex << pixel;
    }

    // Which of the size stepper's buttons are faint, from its two horizontal strokes, 12
    // pixels long and 3 wide (a faint one is drawn at 0.1).
    const auto faint = [this] {
        std::vector<bool> buttons;
        for (const DisplayItem& item : Drawn(At(-200, -10)).items) {
            if (item.kind == DisplayKind::Line && item.style.lineWidth == 3 &&
                item.points[0].y == item.points[1].y &&
                std::fabs(item.points[1].x - item.points[0].x) == 12) {
                buttons.push_back(item.style.opacity < 0.5);
            }
        }
        return buttons;
    };
    settings::Settings().arrowSize = 0;
    EXPECT_EQ(faint(), (std::vector<bool>{true, false}));
    settings::Settings().arrowSize = settings::kMaxArrowSize;
    EXPECT_EQ(faint(), (std::vector<bool>{false, true}));
    settings::Settings().arrowSize = 150;
    EXPECT_EQ(faint(), (std::vector<bool>{false, false}));

    const auto texts = [this](PanelPage shown) {
        Open(shown);
        std::vector<std::string> all;
        for (const DisplayItem& item : Drawn(At(-200, -10)).items) {
            all.push_back(item.text);
        }
        return all;
    };
    const auto tolerances = texts(PanelPage::Tolerances);
    for (const char* word :
         {"Avec tolérance 1", "Tolérance 1 :", "Avec tolérance 2", "Tolérance 2 :"}) {
        EXPECT_NE(std::find(tolerances.begin(), tolerances.end(), word), tolerances.end()) << word;
    }
    const auto angle = texts(PanelPage::AngleTool);
    EXPECT_NE(std::find(angle.begin(), angle.end(), "30 mm"), angle.end());
    // Counts are numbers like the others, with the thousands separator.
    settings::Settings().thousandsSeparator = settings::kThousandsComma;
    settings::Settings().arcMultiple = 1;
    settings::Settings().arcCount = 1000;
    settings::Settings().curveDivisions = 1000;
    for (PanelPage tool : {PanelPage::AngleTool, PanelPage::BezierTool}) {
        const auto shown = texts(tool);
        EXPECT_NE(std::find(shown.begin(), shown.end(), "1,000"), shown.end())
            << static_cast<int>(tool);
    }
    EXPECT_TRUE(Host().TakeViolations().empty());
}

}  // namespace
