// The Angle tool: the angle at a vertex of two straight sides, between two straight
// segments, or subtended by an arc of circle at its centre; and the drag that sets the
// arc's radius and the side it is drawn on.
#pragma once

#include <cstdint>

#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/Records.h"
#include "plugin/tools/ToolClick.h"

namespace tools {

// What the Angle tool keeps between clicks and for the drag.
struct AngleToolState {
    // The measured angle (radians, counter-clockwise positive).
    double sweptAngle = 0;
    // An arc of circle's angle is being measured.
    bool arcAngleMode = false;
    // The first side of the two-sides mode: its path, its anchors and their indices.
    AIArtHandle firstSidePath = nullptr;
    std::int16_t firstSideStartIndex = 0;
    std::int16_t firstSideEndIndex = 0;
    AIRealPoint firstSideStart{0, 0};
    AIRealPoint firstSideEnd{0, 0};
};

AngleToolState& AngleTool();

// The Angle tool's click at `cursor`, reading the hover analysis of the last cursor
// movement; `hit` is the host's hit test of the click.
ClickOutcome AngleToolClick(const AIToolHitData& hit, AIRealPoint cursor, ClickKeys keys);

// Lays the angle dimension in progress out for `cursor`: its radius is the cursor's
// distance from the vertex (a whole multiple of the arc-radius setting with Shift), it
// measures the outer angle when the cursor lies outside the sides, Alt puts the heads
// outside, Ctrl the text on the other side, and Esc moves the text alone onto the cursor.
void LayOutAngleDrag(AIRealPoint cursor, const DragKeys& keys);

// The radius of a new angle dimension, points: the `arcRadius` setting (millimetres).
double SettingArcRadius();

// Measures the angle at `vertex` between the far ends of its two sides (Windows-1252 alert
// and nothing when a side has no length): the angle dimension's state for the layout, with
// the radius of the `arcRadius` setting.
bool SetUpAngle(AIRealPoint vertex, AIRealPoint firstSideEnd, AIRealPoint secondSideEnd);

// The messages of the Angle tool (Windows-1252).
extern const char* const kNotAVertex;
extern const char* const kParallelSides;
extern const char* const kSecondSideNeeded;

}  // namespace tools
