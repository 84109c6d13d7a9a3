// The state of the on-canvas settings panel that the tool events consult.
#pragma once

#include <array>
#include <cstdint>

#include "plugin/host/Records.h"

namespace ui {

// The pages of the panel's main page, in its order.
enum class PanelPage {
    Unit,
    DoubleMeasure,
    NumberFormat,
    Scale,
    Arrowheads,
    LineFormat,
    Font,
    FontSize,
    Colors,
    Tolerances,
    Sound,
    LayerName,
    SegmentTool,
    AngleTool,
    CircleTool,
    BezierTool,
    LengthsAndAreasTool,
};
constexpr int kPanelPageCount = 17;

struct PanelState {
    bool panelOpen = false;
    bool panelOpenedByAlt = false;
    // 0 opening, 1 main page, 2 a page is open, 3 close at the next mouse-up.
    std::int16_t panelState = 0;
    std::array<bool, kPanelPageCount> pageOpen{};
    // Set by a page's click when it hit one of the page's controls.
    bool pageHit = false;
    AIRealPoint panelOrigin{0, 0};
    // Where the cursor is over the panel (document point), for the hover highlight.
    AIRealPoint hoverPoint{0, 0};
    // The layer-name keyboard types capitals.
    bool capitals = true;

    // True when none of the ten pages whose clicks use Shift and Alt is open: scale,
    // arrowheads, line format, font size, tolerances and the five tool pages.
    bool NoPageOpen() const;
    // Closes the panel: every flag and page cleared.
    void Close();
};

PanelState& Panel();

}  // namespace ui
