#include "ui/Annotation.h"

#include "hostaccess/Suites.h"

ASErr DrawAnnotation(AIAnnotatorMessage*) {
    // The cursor tips and the settings panel draw here (issue #4 and the tips' issue); until
    // then the annotation is empty.
    return 0;
}

ASErr InvalidateAnnotation(const AIRect& annotationRect) {
    return sAIAnnotator->InvalAnnotationRect(nullptr, &annotationRect);
}
