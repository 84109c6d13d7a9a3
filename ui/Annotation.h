// What the plug-in's annotator draws over the document view.
#pragma once

#include "host/Messages.h"

// "AI Annotation"/"AI Draw": draws the annotation of the active tool in the message's view.
ASErr DrawAnnotation(AIAnnotatorMessage* message);

// Invalidates the annotation over the whole current view, so that the annotator draws it
// all again.
ASErr InvalidateWholeView();

// "AI Annotation"/"AI Invalidate": invalidates `annotationRect` (view pixels) in the
// current view and returns the host's result.
ASErr InvalidateAnnotation(const AIRect& annotationRect);
