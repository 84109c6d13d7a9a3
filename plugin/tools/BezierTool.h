// The Bézier tool: ticks that divide a path, a straight segment or an angle into equal
// parts, a tick at a given length along a path from one of its ends, and the centre mark of
// an arc of circle; and the drag that lengthens the ticks.
#pragma once

#include <vector>

#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/Records.h"
#include "plugin/tools/ToolClick.h"

namespace tools {

// The mark being placed, kept for the drag that redraws it.
struct BezierMark {
    enum class Kind { None, Distance, Path, Segment, Angle, CentreMark };
    Kind kind = Kind::None;
    // The curves of the marked path, in the order it runs, and whether it is closed.
    std::vector<AIRealBezier> curves;
    bool closed = false;
    // Distance: how far along the curves the tick stands.
    double length = 0;
    // What the drag measures the ticks' length from: the point clicked (Distance, Path),
    // the vertex (Angle).
    AIRealPoint reference{0, 0};
    // Segment: its two ends.
    AIRealPoint segmentStart{0, 0};
    AIRealPoint segmentEnd{0, 0};
    // Angle: the first side's direction and the signed angle to the second.
    double firstSideAngle = 0;
    double sweep = 0;
};

BezierMark& BezierToolMark();

// The Bézier tool's click at `cursor`, reading the hover analysis of the last cursor
// movement; `hit` is the host's hit test of the click.
ClickOutcome BezierToolClick(const AIToolHitData& hit, AIRealPoint cursor, ClickKeys keys);

// Draws the mark again for `cursor`: its ticks (or rays) reach the cursor's distance from
// the mark; with Shift a tick as drawn (both halves, or the one half with Alt) and a ray
// are rounded up to whole tick lengths of the settings. With Alt every tick keeps to the
// side of the path that the cursor is on; with Ctrl an open path has no end ticks; an
// angle is divided outside its sides when the cursor is there.
void LayOutBezierDrag(AIRealPoint cursor, const DragKeys& keys);

// The message of a distance longer than the path (Windows-1252).
extern const char* const kDistanceTooLong;

}  // namespace tools
