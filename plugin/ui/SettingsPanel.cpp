#include "plugin/ui/SettingsPanel.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "plugin/drawing/DimensionStyles.h"
#include "plugin/hostaccess/PluginFiles.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/preferences/PreferencesFile.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/settings/PreferenceGroups.h"
#include "plugin/ui/MainPage.h"
#include "plugin/ui/PanelPages.h"
#include "plugin/ui/PanelState.h"
#include "plugin/ui/SmartGuideColor.h"

namespace ui {
namespace {

// The main page's list: the group cells, and where the list ends.
constexpr double kCellsLeft = 17;
constexpr double kCellsRight = 36;
constexpr double kListLeft = 44;
constexpr double kListRight = 216;
constexpr double kListEndRow = 19;
// The hover highlight's opacity, and the hints'.
constexpr double kHighlight = 0.1;
constexpr double kHintOpacity = 0.5;
// The least room between what a page draws and its outline: the outline's width.
constexpr double kFrameMargin = 2;
// The hint's place: its last line's baseline above the page's foot, its left end inside
// the page, and the pitch of its lines.
constexpr double kHintBelow = 8;
constexpr double kHintIndent = 8;
constexpr double kHintLinePitch = 12;

PanelFonts& Fonts() {
    static PanelFonts fonts;
    return fonts;
}

// The host's fonts, counted when the panel opens.
void CountFonts() {
    PanelFonts& fonts = Fonts();
    fonts = {};
    ASInt32 count = 0;
    if (sAIFont->CountFonts(&count) != 0 || count <= 0) {
        return;
    }
    for (ASInt32 i = 0; i < count; ++i) {
        AIFontKey font = nullptr;
        char name[1024];
        ASInt32 length = 0;
        if (sAIFont->IndexFontList(i, &font) == 0 &&
            sAIFont->GetFontName(font, name, sizeof name, &length) == 0) {
            fonts.names.emplace_back(name);
        }
    }
    const auto n = static_cast<std::int32_t>(fonts.names.size());
    fonts.pageCount = (n + kFontsPerPage - 1) / kFontsPerPage;
}

double Zoom() {
    AIReal zoom = 1;
    if (sAIDocumentView->GetDocumentViewZoom(nullptr, &zoom) != 0 || !(zoom > 0)) {
        zoom = 1;
    }
    return zoom;
}

// The document point `point` in the panel's pixels and rows.
PanelPoint ToPanel(AIRealPoint point) {
    const PanelState& panel = Panel();
    const double zoom = Zoom();
    const double dx = (static_cast<double>(point.h) - panel.panelOrigin.h) * zoom;
    const double dy = (static_cast<double>(panel.panelOrigin.v) - point.v) * zoom;
    return {dx, dy / kRowPixels};
}

std::optional<PanelPage> OpenPage() {
    const PanelState& panel = Panel();
    for (int k = 0; k < kPanelPageCount; ++k) {
        if (panel.pageOpen[static_cast<std::size_t>(k)]) {
            return static_cast<PanelPage>(k);
        }
    }
    return std::nullopt;
}

// The main page's click: a group applied, an entry opened or reset, or the panel closed.
void MainPageClick(const PanelPoint& at, bool alt) {
    PanelState& panel = Panel();
    panel.pageOpen.fill(false);
    if (at.dx > kCellsLeft && at.dx < kCellsRight && at.rows > 0 &&
        at.rows < settings::kGroupCount) {
        settings::ApplyPreferenceGroup(settings::Settings(), static_cast<int>(at.rows));
        drawing::BuildStyles();
        panel.panelState = 2;
        return;
    }
    if (at.dx >= kListRight || at.dx <= kListLeft || at.rows >= kListEndRow) {
        panel.Close();
        return;
    }
    const int row = static_cast<int>(std::floor(at.rows));
    if (row < 0 || row >= kPanelPageCount) {
        return;
    }
    if (!alt) {
        panel.pageOpen[static_cast<std::size_t>(row)] = true;
        panel.panelState = 2;
        return;
    }
    if (const auto reset = MainPageReset(row)) {
        settings::ResetPage(settings::Settings(), *reset);
        drawing::BuildStyles();
        panel.panelState = 3;
    }
}

// A page's click: the control hit acts (or, switched off, does nothing) and keeps the page
// open.
bool PageClick(const Page& page, const PanelPoint& at, const PanelKeys& keys) {
    for (const Control& control : page.controls) {
        const std::optional<int> region = control.RegionAt(at);
        if (!region) {
            continue;
        }
        if (control.Enabled() && control.click) {
            control.click(*region, keys);
            drawing::BuildStyles();
        }
        return true;
    }
    return false;
}

// What a page draws over its background: its texts, its controls, and the control under
// the cursor with its hint at the foot of the page.
void DrawContents(PanelDrawer& drawer, const Page& page) {
    drawer.Color(kBlack);
    for (const PageText& text : page.texts) {
        drawer.Opacity(text.opacity);
        drawer.Text(text.x, text.y, text.text);
    }
    drawer.Opacity(1);
    for (const Control& control : page.controls) {
        if (control.draw) {
            control.draw(drawer, control.Enabled());
        }
    }
    if (page.extra) {
        page.extra(drawer);
    }
    const PanelPoint hover = ToPanel(Panel().hoverPoint);
    for (const Control& control : page.controls) {
        const std::optional<int> region = control.RegionAt(hover);
        if (!region) {
            continue;
        }
        const Region& r = control.regions[static_cast<std::size_t>(*region)];
        drawer.Opacity(kHighlight);
        drawer.Rect(r.left, r.TopPixels(), r.right, r.BottomPixels(), true);
        drawer.Opacity(1);
        drawer.Rect(r.left, r.TopPixels(), r.right, r.BottomPixels(), false);
        std::string hint = control.HintOf(*region);
        drawer.Opacity(kHintOpacity);
        double y = page.bottom - kHintBelow;
        for (std::size_t line = hint.rfind('\r'); line != std::string::npos;
             line = hint.rfind('\r')) {
            drawer.Text(page.left + kHintIndent, y, hint.substr(line + 1));
            hint.erase(line);
            y -= kHintLinePitch;
        }
        drawer.Text(page.left + kHintIndent, y, hint);
        drawer.Opacity(1);
        break;
    }
}

// The page on its background: a white rectangle outlined in the smart-guide colour, as
// large as the page asks and larger where what it draws (a long name, a wide value, a hint)
// would reach past it.
void DrawPage(PanelDrawer& drawer, const Page& page) {
    drawer.Font(kAnnotatorFontSmall);
    drawer.BeginMeasure();
    DrawContents(drawer, page);
    PanelRect frame{page.left, page.top, page.right, page.bottom};
    if (const std::optional<PanelRect> used = drawer.EndMeasure()) {
        frame.left = std::min(frame.left, used->left - kFrameMargin);
        frame.top = std::min(frame.top, used->top - kFrameMargin);
        frame.right = std::max(frame.right, used->right + kFrameMargin);
        frame.bottom = std::max(frame.bottom, used->bottom + kFrameMargin);
    }
    drawer.Color(kWhite);
    drawer.Opacity(1);
    drawer.Rect(frame.left, frame.top, frame.right, frame.bottom, true);
    const SmartGuideColor& guide = CurrentSmartGuideColor();
    drawer.Color({guide.red, guide.green, guide.blue});
    drawer.LineWidth(2);
    drawer.Rect(frame.left, frame.top, frame.right, frame.bottom, false);
    drawer.LineWidth(1);
    DrawContents(drawer, page);
}

}  // namespace

Page BuildPage(PanelPage page, const PanelFonts& fonts) {
    switch (page) {
        case PanelPage::Unit:
            return UnitPage();
        case PanelPage::DoubleMeasure:
            return DoubleMeasurePage();
        case PanelPage::NumberFormat:
            return NumberFormatPage();
        case PanelPage::Scale:
            return ScalePage();
        case PanelPage::Arrowheads:
            return ArrowheadsPage();
        case PanelPage::LineFormat:
            return LineFormatPage();
        case PanelPage::Font:
            return FontPage(fonts);
        case PanelPage::FontSize:
            return FontSizePage();
        case PanelPage::Colors:
            return ColorsPage();
        case PanelPage::Tolerances:
            return TolerancesPage();
        case PanelPage::Sound:
            return SoundPage();
        case PanelPage::LayerName:
            return LayerNamePage();
        case PanelPage::SegmentTool:
            return SegmentToolPage();
        case PanelPage::AngleTool:
            return AngleToolPage();
        case PanelPage::CircleTool:
            return CircleToolPage();
        case PanelPage::BezierTool:
            return BezierToolPage();
        case PanelPage::LengthsAndAreasTool:
            return LengthsAndAreasToolPage();
    }
    return {};
}

ASErr PanelMouseDown(AIRealPoint point, bool alt, bool shift) {
    PanelState& panel = Panel();
    panel.panelOpen = true;
    if (panel.panelState == 0) {
        panel.panelOrigin = point;
        panel.hoverPoint = point;
        CountFonts();
        panel.panelState = 1;
        return 0;
    }
    const PanelPoint at = ToPanel(point);
    if (panel.panelState == 1) {
        MainPageClick(at, alt);
        return 0;
    }
    panel.pageHit = false;
    if (const auto page = OpenPage()) {
        panel.pageHit = PageClick(BuildPage(*page, Fonts()), at, {alt, shift});
    }
    if (!panel.pageHit) {
        panel.panelState = static_cast<std::int16_t>(panel.panelState + 1);
    }
    return 0;
}

void PanelMouseUp() {
    PanelState& panel = Panel();
    if (!panel.panelOpenedByAlt) {
        return;
    }
    if (panel.panelState >= 2) {
        settings::SavePreferences(CurrentPluginFiles().preferences);
    }
    if (panel.panelState >= 3) {
        panel.Close();
    }
}

void PanelTrack(AIRealPoint point) {
    Panel().hoverPoint = point;
}

ASErr DrawPanel(const AIAnnotatorMessage& message) {
    const PanelState& panel = Panel();
    AIPoint origin{};
    ASErr error =
        sAIDocumentView->ArtworkPointToViewPoint(message.view, &panel.panelOrigin, &origin);
    if (error != 0) {
        return error;
    }
    PanelDrawer drawer(message.drawer, origin);
    if (panel.panelState == 1) {
        DrawPage(drawer, MainPage());
    } else if (const auto page = OpenPage(); page && panel.panelState == 2) {
        DrawPage(drawer, BuildPage(*page, Fonts()));
    }
    return drawer.Error();
}

}  // namespace ui
