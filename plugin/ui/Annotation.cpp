#include "plugin/ui/Annotation.h"

#include "plugin/hostaccess/Suites.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/ui/ColorIndicators.h"
#include "plugin/ui/CursorTips.h"
#include "plugin/ui/HoverHighlights.h"
#include "plugin/ui/PanelState.h"
#include "plugin/ui/SettingsPanel.h"

namespace {

// The colour of the current layer, in which the host shows what is selected on it; black
// when the host cannot tell.
AIRGBColor CurrentLayerColor(ASErr* error) {
    AILayerHandle layer = nullptr;
    AIRGBColor color{0, 0, 0};
    *error = sAILayer->GetCurrentLayer(&layer);
    if (*error == 0) {
        *error = sAILayer->GetLayerColor(layer, &color);
    }
    return color;
}

}  // namespace

ASErr DrawAnnotation(AIAnnotatorMessage* message, const ui::ToolActivity& activity) {
    if (message == nullptr || message->drawer == nullptr) {
        return 0;
    }
    ASErr error = 0;
    const AIRGBColor highlight = CurrentLayerColor(&error);
    const ui::PanelState& panel = ui::Panel();
    if (panel.panelOpen && panel.panelOpenedByAlt) {
        return ui::DrawPanel(*message);
    }
    ui::ViewMapping view;
    if (const ASErr read = view.Read(message->view)) {
        return read;
    }
    ui::PanelDrawer drawer(message->drawer, {0, 0});
    if (activity.tool == ToolKind::LengthsAndAreas && activity.dragging) {
        ui::DrawSelectionRectangle(drawer, view, highlight);
    }
    ui::DrawCursorTip(drawer, view, activity.tool, ui::CursorTipLines(activity));
    if (settings::Settings().showAnnotationColors != 0 && activity.cursorTracked) {
        ui::DrawColorIndicators(drawer, view, activity.tool);
    }
    ui::DrawHoverHighlight(drawer, view, activity, highlight);
    return drawer.Error() != 0 ? drawer.Error() : error;
}

ASErr InvalidateWholeView() {
    AIRealRect bounds{};
    ASErr error = sAIDocumentView->GetDocumentViewBounds(nullptr, &bounds);
    if (error != 0) {
        return error;
    }
    const AIRealPoint topLeft{bounds.left, bounds.top};
    const AIRealPoint bottomRight{bounds.right, bounds.bottom};
    AIPoint a{};
    AIPoint b{};
    error = sAIDocumentView->ArtworkPointToViewPoint(nullptr, &topLeft, &a);
    if (error == 0) {
        error = sAIDocumentView->ArtworkPointToViewPoint(nullptr, &bottomRight, &b);
    }
    if (error != 0) {
        return error;
    }
    const AIRect rect{a.h, a.v, b.h, b.v};
    return sAIAnnotator->InvalAnnotationRect(nullptr, &rect);
}

ASErr InvalidateAnnotation(const AIRect& annotationRect) {
    return sAIAnnotator->InvalAnnotationRect(nullptr, &annotationRect);
}
