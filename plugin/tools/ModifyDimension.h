// Bringing dimensions up to date: a click on a dimension rebuilds it from the current
// anchors of the path(s) it measures and the current settings; Alt+click rebuilds every
// linked dimension of the tool's kind.
#pragma once

#include <optional>

#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/Records.h"
#include "plugin/settings/ToolKind.h"

namespace tools {

// Rebuilds the dimension `clicked` belongs to, by its records, with `cursor` as the
// position of its new dimension line; the old dimension goes only once the new one can be
// drawn. True when a dimension was rebuilt: the drag that follows places it.
bool RebuildDimension(AIArtHandle clicked, ToolKind tool, AIRealPoint cursor);

// The kind of dimension the hit art belongs to, by its kind tag; nothing for other art.
std::optional<ToolKind> DimensionKindOf(const AIToolHitData& hit);

// How a rebuild of all finds the paths that its dimensions measure: from the records read
// once for the whole rebuild, or by listing the document for each dimension (the literal
// way, kept to check that both rebuild the same).
enum class PathSearch { Indexed, Literal };

// Rebuilds every linked dimension of the tool's kind, each where it stood; none is left in
// progress.
ASErr RebuildAllOfKind(ToolKind tool, PathSearch search = PathSearch::Indexed);

}  // namespace tools
