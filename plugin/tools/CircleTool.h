// The Circle tool: the radius or diameter of an arc of circle, from one click on the arc or
// two clicks on its end anchors; and the drag that turns the dimension around the centre.
#pragma once

#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/Records.h"
#include "plugin/tools/ToolClick.h"

namespace tools {

// What the Circle tool keeps between its two clicks.
struct CircleToolState {
    // The first end anchor of the two-click mode.
    AIPathSegment firstEnd{};
};

CircleToolState& CircleTool();

// The Circle tool's click at `cursor`, reading the hover analysis of the last cursor
// movement; `hit` is the host's hit test of the click.
ClickOutcome CircleToolClick(const AIToolHitData& hit, AIRealPoint cursor, ClickKeys keys);

// Lays the circle dimension in progress out for `cursor`: the dimension leaves the centre
// toward the cursor (by quarter-of-a-half-turn steps with Shift); Alt shows the diameter in
// place of the radius (or the other way) and keeps the leader's length, the dimension then
// leaving the centre opposite the cursor when no radius line is drawn; Ctrl puts the heads
// outside; Esc moves the text alone onto the cursor.
void LayOutCircleDrag(AIRealPoint cursor, const DragKeys& keys);

// Sets up the circle dimension's state for a new dimension of `centre` and `radius`, and
// the point the dimension is first laid out for: at the remembered leader length (32
// points the first time) in the direction of a quarter of a half turn.
AIRealPoint SetUpCircle(AIRealPoint centre, double radius);

// The messages of the Circle tool (Windows-1252).
extern const char* const kSecondEndNeeded;
extern const char* const kNotAnArcEnd;
extern const char* const kEndsOnOnePath;

}  // namespace tools
