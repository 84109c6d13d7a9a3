// The radius or diameter dimension of a circle: the radius (or diameter) line with its
// arrowheads, a leader that leaves the circle toward the cursor and bends into a horizontal
// shoulder, and the measure text at the end of the shoulder.
#pragma once

#include "plugin/host/Records.h"

namespace drawing {

// What a circle dimension is drawn from.
struct CircleState {
    AIRealPoint centre{0, 0};
    double radius = 0;
    // The direction in which the dimension leaves the centre (toward the cursor).
    double leaderAngle = 0;
    // How far from the centre the leader bends into its shoulder, remembered from the last
    // layout.
    double leaderLength = 0;
    // Alt held in the drag: the diameter is shown in place of the radius, or the other way.
    bool altDrag = false;
};

CircleState& CircleDimension();

// Creates the art of a new circle dimension in the dimension group: the leader (first path,
// tagged "modc" and "red") and the radius line below it (tagged "modc"). The heads and the
// texts come with the layout.
void CreateCircleDimensionArt();

// True when the diameter is shown: `showDiameter` differs from the drag's Alt.
bool ShowsDiameter();

// Lays the circle dimension out from CircleDimension() for `cursor`: the radius or diameter
// line in the direction `leaderAngle` (when `radiusLineDrawn`), its heads (outside pointing
// in when `arrowsOutside`), the leader and its shoulder, and the text at the end of the
// shoulder raised by `textOffset`, or on the cursor with `textOnCursor`. Records the
// leader's bend distance in `leaderLength` and marks the dimension as laid out.
void BuildCircleDimension(AIRealPoint cursor, bool arrowsOutside, bool textOnCursor);

}  // namespace drawing
