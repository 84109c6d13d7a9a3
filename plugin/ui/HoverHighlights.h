// What the active tool highlights under the cursor, in the colour of the current layer:
// the anchor or point it would take (a circle marker), the segment, the path or the part of
// a path it would measure, and the sign of the Lengths & Areas tool's pick or take-out.
#pragma once

#include "plugin/host/Records.h"
#include "plugin/ui/PanelDrawer.h"
#include "plugin/ui/ToolActivity.h"
#include "plugin/ui/ViewMapping.h"

namespace ui {

// The most pieces a highlighted path may have; a longer path is not highlighted.
constexpr std::size_t kMaxHighlightedPieces = 31999;

// Draws the highlight of the last hover analysis for `activity`'s tool, in `color`.
void DrawHoverHighlight(PanelDrawer& drawer, const ViewMapping& view, const ToolActivity& activity,
                        const AIRGBColor& color);

// Draws the Lengths & Areas tool's selection rectangle while it is dragged, in `color`.
void DrawSelectionRectangle(PanelDrawer& drawer, const ViewMapping& view, const AIRGBColor& color);

}  // namespace ui
