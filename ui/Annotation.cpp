#include "ui/Annotation.h"

#include "hostaccess/Suites.h"

ASErr DrawAnnotation(AIAnnotatorMessage*) {
    // The cursor tips and the settings panel draw here (issue #4 and the tips' issue); until
    // then the annotation is empty.
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
