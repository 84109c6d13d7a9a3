// The line and text colours of the settings shown beside the cursor: the name of each
// colour's model and a swatch of it, left of the cursor tip.
#pragma once

#include "plugin/ui/PanelDrawer.h"
#include "plugin/ui/ToolActivity.h"
#include "plugin/ui/ViewMapping.h"

namespace ui {

// Draws the colour indicators around the cursor of the last hover analysis: the line colour
// (not for the Lengths & Areas tool, which draws no lines) above the text colour.
void DrawColorIndicators(PanelDrawer& drawer, const ViewMapping& view, ToolKind tool);

}  // namespace ui
