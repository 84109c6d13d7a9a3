// The Segment tool: the clicks that measure a distance (two points, a whole straight
// segment, the perpendicular distance of two segments) and the drag that places the
// dimension line.
#pragma once

#include <optional>
#include <utility>

#include "drawing/LinearDimension.h"
#include "host/ArtworkSuites.h"
#include "host/Records.h"

namespace tools {

// The keys of a click that the tool reads.
struct ClickKeys {
    bool shift = false;
    bool alt = false;
};

// What a click did.
struct ClickOutcome {
    ASErr error = 0;
    // A dimension was started: the drag that follows places it.
    bool dimensionStarted = false;
    // A dimension group was made or rebuilt in this click, to be named.
    bool nameDimension = false;
    // The click belongs to another tool (a click on an angle or circle dimension): the
    // tool to select.
    std::optional<ASInt32> handOverTo;
};

// The Segment tool's click at `cursor`, reading the hover analysis of the last cursor
// movement; `hit` is the host's hit test of the click.
ClickOutcome SegmentToolClick(const AIToolHitData& hit, AIRealPoint cursor, ClickKeys keys);

// Takes `first` and `second` as the measured points (with their direction) and lays their
// dimension out in `layout` for `cursor`.
bool LayOutMeasure(AIRealPoint first, AIRealPoint second, AIRealPoint cursor,
                   drawing::LinearLayout layout);

// The keys held during a drag that the layouts read.
struct DragKeys {
    bool alt = false;        // arrowheads outside the extension lines
    bool ctrl = false;       // the offset snaps to whole centimetres (tens of points)
    bool space = false;      // the measure text follows the cursor along the line
    bool leftShift = false;  // another orientation for this event
    bool rightShift = false;
};

// Lays the Segment tool's dimension in progress out for `cursor`. The ends of the dimension
// line laid out, when there is one, for the placed-line memory.
std::optional<std::pair<AIRealPoint, AIRealPoint>> LayOutSegmentDrag(AIRealPoint cursor,
                                                                     const DragKeys& keys);

// The messages of the Segment tool (Windows-1252).
extern const char* const kSecondPointNeeded;
extern const char* const kPathMustBeOpen;
extern const char* const kClickOnAnObject;
extern const char* const kSecondSegmentNeeded;
extern const char* const kSegmentsPerpendicular;

}  // namespace tools
