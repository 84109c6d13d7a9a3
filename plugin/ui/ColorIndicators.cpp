#include "plugin/ui/ColorIndicators.h"

#include "plugin/drawing/DimensionStyles.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/tools/ToolStates.h"
#include "plugin/ui/MainPage.h"
#include "plugin/ui/SmartGuideColor.h"

namespace ui {
namespace {

// The swatch, relative to the tip anchor, view pixels.
constexpr double kSwatchLeft = -26;
constexpr double kSwatchRight = -10;
constexpr double kSwatchHeight = 5;
constexpr double kLineSwatchTop = -6;
constexpr double kTextSwatchTop = 1;
constexpr double kTextLabelDrop = 8;
// The Lengths & Areas tool's text indicator sits higher, beside its first tip line.
constexpr double kAreaToolRise = 4;

struct ModelLabel {
    const char* text = "";
    double left = 0;  // how far left of the anchor the label starts
};

// The name of a colour model, and where it starts; a custom colour is named after the kind
// the host gives its definition.
ModelLabel LabelOf(std::int32_t model, AICustomColorHandle custom) {
    switch (model) {
        case settings::kGray:
            return {"G", 33};
        case settings::kRGB:
            return {"RVB", 44};
        case settings::kCMYK:
            return {"CMJN", 50};
        case settings::kCustomColor: {
            AICustomColor definition{};
            const bool threeColor = custom != nullptr &&
                                    sAICustomColor->GetCustomColor(custom, &definition) == 0 &&
                                    definition.kind == kThreeColor;
            return {threeColor ? "TD" : "CQ", 40};
        }
        default:
            return {};
    }
}

void DrawIndicator(PanelDrawer& drawer, AIRealPoint anchor, double labelY, double swatchTop,
                   const ModelLabel& label, const AIRGBColor& swatch) {
    const SmartGuideColor& guide = CurrentSmartGuideColor();
    drawer.Color({guide.red, guide.green, guide.blue});
    if (label.text[0] != '\0') {
        drawer.Text(anchor.h - label.left, anchor.v + labelY, label.text);
    }
    const double left = anchor.h + kSwatchLeft;
    const double right = anchor.h + kSwatchRight;
    const double top = anchor.v + swatchTop;
    drawer.Color(swatch);
    drawer.Rect(left, top, right, top + kSwatchHeight, true);
    drawer.Color(kBlack);
    drawer.LineWidth(1);
    drawer.Rect(left, top, right, top + kSwatchHeight, false);
}

}  // namespace

void DrawColorIndicators(PanelDrawer& drawer, const ViewMapping& view, ToolKind tool) {
    const settings::DimensionSettings& s = settings::Settings();
    const drawing::DimensionStyles& styles = drawing::Styles();
    const AIRealPoint anchor = view.ToView(tools::Hover().cursorPoint);
    drawer.Font(kAnnotatorFontSmall);
    const bool areaTool = tool == ToolKind::LengthsAndAreas;
    if (!areaTool) {
        DrawIndicator(drawer, anchor, 0, kLineSwatchTop,
                      LabelOf(s.strokeColorModel, styles.strokeCustomColor), LineColorSwatch());
    }
    const double rise = areaTool ? kAreaToolRise : 0;
    DrawIndicator(drawer, anchor, kTextLabelDrop - rise, kTextSwatchTop - rise,
                  LabelOf(s.textColorModel, styles.textCustomColor), TextColorSwatch());
}

}  // namespace ui
