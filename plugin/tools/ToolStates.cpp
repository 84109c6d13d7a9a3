#include "tools/ToolStates.h"

#include "drawing/CurveDimension.h"
#include "drawing/DimensionArt.h"
#include "tools/AngleTool.h"
#include "tools/AreaTool.h"
#include "tools/BezierTool.h"
#include "tools/CircleTool.h"

namespace tools {

HoverState& Hover() {
    static HoverState state;
    return state;
}

SegmentToolState& SegmentTool() {
    static SegmentToolState state;
    return state;
}

VertexState& Vertex() {
    static VertexState state;
    return state;
}

AIRealPoint& BezierToolCursor() {
    static AIRealPoint cursor{0, 0};
    return cursor;
}

void ForgetMeasures() {
    drawing::ForgetWorkingArt();
    drawing::Curve() = {};
    SegmentTool() = {};
    Hover() = {};
    AngleTool() = {};
    CircleTool() = {};
    Vertex() = {};
    BezierToolMark() = {};
    // The picked paths themselves are the host's set, emptied by ForgetMeasureSet.
    AreaTool() = {};
}

}  // namespace tools
