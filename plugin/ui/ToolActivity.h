// What the active tool is doing, as the event routing knows it: the annotator draws the
// cursor tip, the highlights and the selection rectangle from it.
#pragma once

#include "plugin/host/Records.h"
#include "plugin/settings/ToolKind.h"

namespace ui {

struct ToolActivity {
    ToolKind tool = ToolKind::Segment;
    // The cursor has moved since the tool was selected: there is something under it to
    // tell about.
    bool cursorTracked = false;
    // The cursor of the last tool event, in artwork coordinates.
    AIRealPoint eventPoint{0, 0};
    // A drag places a dimension (or, with the Lengths & Areas tool, a selection rectangle).
    bool dragging = false;
    // Alt was held during the last drag.
    bool altDrag = false;
};

}  // namespace ui
