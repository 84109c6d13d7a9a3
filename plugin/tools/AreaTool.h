// The Lengths & Areas tool: paths picked into a set whose totals (length, area, paths,
// anchors) are written as text lines where the user clicks in an empty place, and the
// length of a path between two of its anchors.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/Records.h"
#include "plugin/tools/ToolClick.h"

namespace tools {

// The host art set of the picked paths, made when the tools are registered.
AIArtSet& MeasureSet();

// The totals of the picked paths.
struct AreaTotals {
    // Points: open paths end to end, closed ones round.
    double length = 0;
    // Square points, of the closed paths.
    double area = 0;
    // A picked closed straight-sided path crosses itself: its area cannot be given.
    bool crossed = false;
    std::int32_t paths = 0;
    std::int32_t points = 0;
};

// What the tool keeps between clicks.
struct AreaToolState {
    // The length between two anchors of one path, once both are clicked (points).
    std::optional<double> partialLength;
    std::int16_t partialStart = 0;
    // Where the last pick was made.
    AIRealPoint lastClick{0, 0};
    // The totals of the picked paths as the last pick left them, for the cursor tip.
    AreaTotals totals;
    // The selection rectangle dragged from an empty place: where the drag started and
    // where the cursor is.
    std::optional<std::pair<AIRealPoint, AIRealPoint>> marquee;
    // The paths a second click took out of the set. Taken into the set again by a
    // selection rectangle, such a path is a hole: its area is subtracted from the totals.
    // Held here only, never written on the path.
    std::unordered_set<AIArtHandle> takenOut;
};

AreaToolState& AreaTool();

// The totals of the picked paths. A picked art that is a dimension's leaves the set and the
// selection. The areas of the paths that were taken out and came back into the set are
// subtracted, but for the path that stands for the outline: the first member not taken
// out, or the first member when every one was. Each path's share is computed once and kept while
// its anchors stay the same, so that picking one more path among thousands costs little.
AreaTotals ComputeTotals();

// The same totals computed from scratch, path by path.
AreaTotals ComputeTotalsLiterally();

// The Lengths & Areas tool's click at `cursor`, reading the hover analysis of the last
// cursor movement; `hit` is the host's hit test of the click.
ClickOutcome AreaToolClick(const AIToolHitData& hit, AIRealPoint cursor, ClickKeys keys);

// Drags the selection rectangle to `cursor`: the picked paths become the paths that lie
// wholly inside it (neither locked, hidden, guides nor dimension art, on layers neither
// hidden nor locked). Nothing happens when no rectangle is being dragged.
ASErr DragAreaMarquee(AIRealPoint cursor);

// The text lines of the totals that the settings show, in their order (Windows-1252).
std::vector<std::string> TotalsLines(const AreaTotals& totals);

// Makes the host selection the picked paths again (when the tool is selected).
ASErr SelectMeasureSet();

// Empties the set and deselects its paths, which are no holes any more: after the totals
// were written.
void ForgetMeasureSet();

// Makes the picked paths the selected paths the tool could pick, as the tool keeps the
// host's selection to them, without changing the document: when a document opens (its
// paths selected, if any) and when the host undoes or does again an action, which brings
// back the selection of its time.
void TakeMeasureSetFromSelection();

}  // namespace tools
