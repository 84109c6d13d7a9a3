#include "ui/Annotation.h"

#include "hostaccess/Suites.h"
#include "ui/PanelState.h"
#include "ui/SettingsPanel.h"

ASErr DrawAnnotation(AIAnnotatorMessage* message) {
    if (message == nullptr || message->drawer == nullptr) {
        return 0;
    }
    const ui::PanelState& panel = ui::Panel();
    if (panel.panelOpen && panel.panelOpenedByAlt) {
        return ui::DrawPanel(*message);
    }
    // The cursor tips are drawn here once they exist; without the panel nothing is drawn.
    return 0;
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
