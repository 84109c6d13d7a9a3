// The settings panel: drawn over the document view by the annotator and driven by the
// active tool's mouse events. An Alt-click opens it at the click on its main page; a click
// on an entry opens its page, clicks on a page's controls change settings at once (saved to
// the preferences file at the mouse-up), and a click beside the controls closes it.
#pragma once

#include "plugin/host/Messages.h"
#include "plugin/host/Records.h"

namespace ui {

// A mouse-down that opens the panel (an Alt-click of a tool) or that the open panel takes,
// at the document point `point` with the keys held.
ASErr PanelMouseDown(AIRealPoint point, bool alt, bool shift);

// Every mouse-up: after a change the preferences file is written; after a click beside the
// controls, an Alt-click reset or a group applied and a further click, the panel closes.
void PanelMouseUp();

// Where the cursor is, for the hover highlight and the hints.
void PanelTrack(AIRealPoint point);

// Draws the open panel (its main page or its open page) in the draw message's view.
ASErr DrawPanel(const AIAnnotatorMessage& message);

}  // namespace ui
