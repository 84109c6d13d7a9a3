// The plug-in's cursors, by resource id, and the host's smart-guide colour in which the
// cursor tips are drawn.
#pragma once

#include "host/Records.h"

enum CursorId : ASInt32 {
    kCursorGeneric = 20000,
    kCursorPoint = 20001,
    kCursorSegment = 20002,
    kCursorModify = 20003,
    kCursorBezier = 20004,
    kCursorArc = 20005,
    kCursorIntersection = 20006,
    kCursorHand = 20007,
    kCursorCentralPoint = 20008,
    kCursorNextTool = 20009,
    kCursorSettings = 20010,
};

// Shows the cursor `id` through the plug-in's cursor manager; without a manager (before
// the application has started) nothing is shown.
ASErr ShowCursor(AICursorManagerHandle manager, ASInt32 id);

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
