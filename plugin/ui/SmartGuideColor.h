// The host's smart-guide colour, in which the cursor tips and the settings panel's outline
// are drawn.
#pragma once

#include "plugin/host/Records.h"

struct SmartGuideColor {
    ASUInt16 red;
    ASUInt16 green;
    ASUInt16 blue;
};

// The colour read at the last tool selection.
SmartGuideColor& CurrentSmartGuideColor();

// A colour component of the host's preferences (0.0 to 1.0) as a 16-bit component:
// round(value × 65535), clamped to the 16-bit range.
ASUInt16 SmartGuideComponent(AIReal value);

// Reads the smart-guide colour from the host's preferences "snapomatic/Color/red",
// "…/green" and "…/blue"; a component that cannot be read counts as 0.
void ReadSmartGuideColor();
