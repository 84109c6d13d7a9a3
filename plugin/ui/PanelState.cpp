#include "plugin/ui/PanelState.h"

namespace ui {

bool PanelState::NoPageOpen() const {
    for (PanelPage page :
         {PanelPage::Scale, PanelPage::Arrowheads, PanelPage::LineFormat, PanelPage::FontSize,
          PanelPage::Tolerances, PanelPage::SegmentTool, PanelPage::AngleTool,
          PanelPage::CircleTool, PanelPage::BezierTool, PanelPage::LengthsAndAreasTool}) {
        if (pageOpen[static_cast<int>(page)]) {
            return false;
        }
    }
    return true;
}

void PanelState::Close() {
    panelOpen = false;
    panelOpenedByAlt = false;
    panelState = 0;
    pageOpen.fill(false);
}

PanelState& Panel() {
    static PanelState state;
    return state;
}

}  // namespace ui
