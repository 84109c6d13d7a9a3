// The cursor tip: the few lines beside the cursor that say what a click of the active tool
// will do and give the live measure of what lies under the cursor, in the settings' unit,
// scale and precision.
#pragma once

#include <string>
#include <vector>

#include "plugin/host/Records.h"
#include "plugin/ui/PanelDrawer.h"
#include "plugin/ui/ToolActivity.h"
#include "plugin/ui/ViewMapping.h"

namespace ui {

// The tip's lines for the last hover analysis (Windows-1252), in the order drawn: what a
// click does, the drawing scale when it is not 1:1, then the measure lines of the tool and
// of what lies under the cursor. A measure the settings cannot write (the no-measure unit)
// leaves its line out.
std::vector<std::string> CursorTipLines(const ToolActivity& activity);

// Draws `lines` beside the cursor of the last hover analysis, in the smart-guide colour and
// the host's large annotation font: 16 pixels to the right of the cursor, 12 pixels apart
// (the Lengths & Areas tool's lines after the first begin 20 pixels down).
void DrawCursorTip(PanelDrawer& drawer, const ViewMapping& view, ToolKind tool,
                   const std::vector<std::string>& lines);

// The length of `path` between two anchors, computed once for the path under the cursor
// and kept while its anchors stay the same (points).
double HoveredPathLength(AIArtHandle path, std::int32_t from, std::int32_t to);

}  // namespace ui
