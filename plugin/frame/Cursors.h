// The plug-in's cursors, by resource id.
#pragma once

#include "plugin/host/Records.h"

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
