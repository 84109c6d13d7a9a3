#include "plugin/ui/ViewMapping.h"

#include "plugin/hostaccess/Suites.h"

namespace ui {

ASErr ViewMapping::Read(AIDocumentViewHandle view) {
    AIRealRect bounds{};
    AIReal zoom = 1;
    ASErr error = sAIDocumentView->GetDocumentViewBounds(view, &bounds);
    if (error == 0) {
        error = sAIDocumentView->GetDocumentViewZoom(view, &zoom);
    }
    if (error == 0) {
        left_ = bounds.left;
        top_ = bounds.top;
        zoom_ = zoom;
    }
    return error;
}

AIRealPoint ViewMapping::ToView(AIRealPoint artwork) const {
    return {static_cast<AIReal>((artwork.h - left_) * zoom_),
            static_cast<AIReal>((top_ - artwork.v) * zoom_)};
}

}  // namespace ui
