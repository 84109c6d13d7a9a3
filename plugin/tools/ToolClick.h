// What every tool's click and drag share: the keys they read and what a click did.
#pragma once

#include <optional>

#include "plugin/host/Records.h"
#include "plugin/settings/ToolKind.h"

namespace tools {

// The keys of a click that the tools read.
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
    // The click belongs to another tool (a click on another kind of dimension): the tool to
    // select, which then takes the same click.
    std::optional<ASInt32> handOverTo;
};

// A click that made a dimension: the drag places it and its group is named.
inline ClickOutcome Accepted() {
    ClickOutcome outcome;
    outcome.dimensionStarted = true;
    outcome.nameDimension = true;
    return outcome;
}

// A click handed over to the tool `tool`.
inline ClickOutcome HandOver(ToolKind tool) {
    ClickOutcome outcome;
    outcome.handOverTo = static_cast<ASInt32>(tool);
    return outcome;
}

// The keys held during a drag that the layouts read.
struct DragKeys {
    bool shift = false;      // round the measure the drag sets (tools other than Segment)
    bool alt = false;        // arrowheads outside; for radii, the diameter in place of the radius
    bool ctrl = false;       // the linear offset snaps; the angle's text goes to the other side
    bool esc = false;        // only the text moves, onto the cursor
    bool space = false;      // the measure text follows the cursor along the line
    bool leftShift = false;  // another orientation for this event
    bool rightShift = false;
};

}  // namespace tools
