#include "plugin/tools/ToolStates.h"

#include "plugin/drawing/CurveDimension.h"
#include "plugin/drawing/DimensionArt.h"
#include "plugin/tools/AngleTool.h"
#include "plugin/tools/AreaTool.h"
#include "plugin/tools/BezierTool.h"
#include "plugin/tools/CircleTool.h"

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
