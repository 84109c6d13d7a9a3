// What the tools know between events: the hover analysis of the last cursor movement, and
// the clicks of the measure in progress.
#pragma once

#include <cstdint>

#include "plugin/host/Records.h"

namespace tools {

// The result of the last hover analysis, rebuilt from nothing on every cursor movement.
struct HoverState {
    bool overAnchor = false;
    bool overOtherPoint = false;
    bool overIntersection = false;
    bool overStraightSegment = false;
    bool overCurve = false;
    bool overArc = false;
    bool overStraightDimension = false;
    bool overArcDimension = false;
    AIArtHandle hoverArt = nullptr;
    AIRealPoint hoverPoint{0, 0};
    AIRealPoint segmentEnd{0, 0};
    std::int16_t startIndex = 0;
    std::int16_t endIndex = 0;
    AIRealPoint curveHitPoint{0, 0};
    AIRealPoint cursorPoint{0, 0};
    // The direction of the curve at the anchor found by the Lengths & Areas scan.
    AIRealPoint scanDirection{0, 0};
    // The circle fitted to the arc under the cursor (`overArc`, `overArcDimension`).
    AIRealPoint arcCentre{0, 0};
    float arcRadius = 0;

    // True when the cursor is over a dimension's own line or arc.
    bool OverDimension() const { return overStraightDimension || overArcDimension; }
};

// The Segment tool's measure in progress.
struct SegmentToolState {
    std::int16_t clickCount = 0;
    AIRealPoint firstPoint{0, 0};
    AIRealPoint secondPoint{0, 0};
    AIArtHandle measuredPath = nullptr;
    // The path and anchor of a first point taken on an anchor. The link is written when the
    // second point makes the measure, so that a measure left waiting marks no path.
    AIArtHandle firstAnchorPath = nullptr;
    std::int16_t firstAnchorIndex = 0;
    bool firstPointForeign = false;
    bool freePointPending = false;
    bool perpendicularPending = false;
    bool curveMode = false;
    bool arcMode = false;
    bool segmentMode = false;
    AIReal dimensionAngle = 0;
    AIReal textRotation = 0;

    // Ends the measure of two clicks that waits for its second (a first point, free or not,
    // a first side, a first end of an arc, the first segment of a perpendicular distance):
    // a measure made in one click takes its place, and the next click starts afresh
    // instead of finishing the old measure with the art of the new one.
    void EndWaitingMeasure() {
        clickCount = 0;
        freePointPending = false;
        perpendicularPending = false;
    }
};

// The Angle tool's view of the anchor under the cursor.
struct VertexState {
    AIRealPoint vertexPoint{0, 0};
    AIRealPoint firstSideEnd{0, 0};
    AIRealPoint secondSideEnd{0, 0};
    std::int16_t vertexIndex = 0;
    std::int16_t firstSideIndex = 0;
    std::int16_t secondSideIndex = 0;
    bool notAVertex = false;
    // The anchor has a neighbour on each side, whatever its sides are like.
    bool sidesKnown = false;
};

HoverState& Hover();
SegmentToolState& SegmentTool();
VertexState& Vertex();

// Where the Bézier tool last saw the cursor.
AIRealPoint& BezierToolCursor();

// Forgets the measure in progress of every tool and every handle of art the tools and the
// dimension under construction hold (hover, vertex, ticks, the Lengths & Areas tool's
// partial length and rectangle), without touching the art: at start-up and when a document
// opens, those handles belong to a document or a host session that is gone.
void ForgetMeasures();

}  // namespace tools
