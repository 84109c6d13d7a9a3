// What the plug-in's annotator draws over the document view.
#pragma once

#include "plugin/host/Messages.h"
#include "plugin/ui/ToolActivity.h"

// "AI Annotation"/"AI Draw": draws in the message's view the settings panel while it is
// open; otherwise the Lengths & Areas tool's selection rectangle while it is dragged, the
// cursor tip of `activity`'s tool, the colour indicators when the settings show them, and
// the hover highlight in the colour of the current layer. A failing host call does not
// stop the drawing; the last error is the result.
ASErr DrawAnnotation(AIAnnotatorMessage* message, const ui::ToolActivity& activity);

// Invalidates the annotation over the whole current view, so that the annotator draws it
// all again.
ASErr InvalidateWholeView();

// "AI Annotation"/"AI Invalidate": invalidates `annotationRect` (view pixels) in the
// current view and returns the host's result.
ASErr InvalidateAnnotation(const AIRect& annotationRect);
