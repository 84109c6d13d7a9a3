// The Segment tool: the clicks that measure a distance (two points, a whole straight
// segment, the perpendicular distance of two segments) and the drag that places the
// dimension line.
#pragma once

#include <optional>
#include <utility>

#include "plugin/drawing/LinearDimension.h"
#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/Records.h"
#include "plugin/tools/ToolClick.h"

namespace tools {

// The Segment tool's click at `cursor`, reading the hover analysis of the last cursor
// movement; `hit` is the host's hit test of the click.
ClickOutcome SegmentToolClick(const AIToolHitData& hit, AIRealPoint cursor, ClickKeys keys);

// Takes `first` and `second` as the measured points (with their direction) and lays their
// dimension out in `layout` for `cursor`.
bool LayOutMeasure(AIRealPoint first, AIRealPoint second, AIRealPoint cursor,
                   drawing::LinearLayout layout);

// Lays the Segment tool's dimension in progress out for `cursor`. The ends of the dimension
// line laid out, when there is one, for the placed-line memory.
std::optional<std::pair<AIRealPoint, AIRealPoint>> LayOutSegmentDrag(AIRealPoint cursor,
                                                                     const DragKeys& keys);

// The point of the curve that the curve-length dimension in progress was started from.
AIRealPoint CurveDragReference();

// The messages of the Segment tool (Windows-1252).
extern const char* const kSecondPointNeeded;
extern const char* const kPathMustBeOpen;
extern const char* const kClickOnAnObject;
extern const char* const kSecondSegmentNeeded;
extern const char* const kSegmentsPerpendicular;

}  // namespace tools
