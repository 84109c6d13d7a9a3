// What lies under the cursor, for each tool: the analysis that runs on every cursor
// movement and fills the hover state the cursor shape, the tips and the clicks read.
#pragma once

#include <vector>

#include "plugin/host/Records.h"
#include "plugin/settings/ToolKind.h"
#include "plugin/tools/ToolStates.h"

namespace tools {

// The hit tolerances of the hover analysis, in points.
constexpr AIReal kHoverTolerance = 4.0f;
constexpr AIReal kCrossingTolerance = 1.0f;

// Rebuilds Hover() for `tool` at `cursor`; the Angle and Bézier tools also fill Vertex().
// A host error ends the analysis and is the result. The view is asked to draw its
// annotations again.
ASErr AnalyseHover(ToolKind tool, AIRealPoint cursor);

// How the Lengths & Areas scan reaches the curves: skipping the paths and curves whose
// extent lies farther from the cursor than the tolerance (the tool's way), or sampling every
// curve of every path (the literal scan, kept to check that both find the same).
enum class ScanMode { Culled, Literal };

// The Lengths & Areas tool's analysis: a scan of every visible, unlocked path of a
// visible, unlocked layer for an anchor or a curve within the tolerance (6 points up to a
// zoom of 200 %, 3 above).
ASErr AreaToolHover(AIRealPoint cursor, ScanMode mode = ScanMode::Culled);

// The Angle tool's reading of an anchor as the vertex of an angle: its neighbours (wrapping
// on a closed path) and whether both of its sides are straight. The ends of an open path,
// and a path of fewer than three anchors, are never vertices.
VertexState RecogniseVertex(const std::vector<AIPathSegment>& segments, bool closed, int index);

}  // namespace tools
