#include "tools/ToolStates.h"

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

}  // namespace tools
