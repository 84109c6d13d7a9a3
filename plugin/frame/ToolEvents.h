// The routing of tool events to the active tool: which tool is active, which keys are
// held, which cursor shows, where a click goes, and the drag that places a dimension.
#pragma once

#include <optional>
#include <utility>

#include "plugin/frame/PlacedLines.h"
#include "plugin/frame/ToolRegistration.h"
#include "plugin/host/Messages.h"
#include "plugin/tools/ToolStates.h"
#include "plugin/ui/ToolActivity.h"

struct RoutingState {
    // The active tool, 1 to 5.
    ASInt32 activeTool = static_cast<ASInt32>(ToolKind::Segment);
    // The cursor of the last tool event, in artwork coordinates.
    AIRealPoint eventPoint{0, 0};
    // The cursor has moved over the document since the active tool was selected.
    bool cursorTracked = false;
    // Set by a click handler that started a dimension the drag places.
    bool dimensionInProgress = false;
    // The modifiers of the last drag, passed on to the layouts.
    bool altDrag = false;
    bool ctrlDrag = false;
    bool escDrag = false;
    // The active tool was selected by a click on a dimension of its kind that another tool
    // handed over: its selection must not reset the measure that click started.
    bool handedOver = false;
    // The ends of the dimension line laid out last, remembered on mouse-up.
    std::optional<std::pair<AIRealPoint, AIRealPoint>> lastLaidOutLine;
    PlacedLines placedLines;
};

RoutingState& Routing();

// Forgets the dimension lines placed in the document that was current: when another opens.
void ForgetPlacedLines();

// What the active tool is doing, for the annotator.
ui::ToolActivity CurrentActivity();

// The active tool: 1 to 5.
ASInt32& ActiveTool();

// The tool that follows `tool` in the Shift-click cycle 1 → 2 → 3 → 4 → 5 → 1.
ASInt32 NextTool(ASInt32 tool);

// The modifier keys of one event.
struct Modifiers {
    bool shift = false;
    bool alt = false;
};

// The cursor a tool shows for the hover state, by the first rule of its table that holds.
ASInt32 ChooseCursor(ToolKind tool, const tools::HoverState& hover,
                     const tools::SegmentToolState& segment, bool panelOpen, Modifiers keys);

// "AI Select": resets the per-use state, reads the smart-guide colour, makes the selected
// tool the active one and switches the annotator on.
ASErr SelectTool(AIToolMessage* message, AIAnnotatorHandle annotator);

// "AI Deselect": switches the annotator off.
ASErr DeselectTool(AIToolMessage* message, AIAnnotatorHandle annotator);

// "AI Track Cursor": the Shift and Alt cursors, or the active tool's hover analysis and
// the cursor it calls for.
ASErr TrackToolCursor(AIToolMessage* message, AICursorManagerHandle cursors);

// "AI Mouse Down": Shift-click to the next tool, clicks for the settings panel, or the hit
// test and the active tool's click.
ASErr ToolMouseDown(AIToolMessage* message);

// "AI Mouse Drag": lays the dimension in progress out again for the cursor.
ASErr ToolMouseDrag(AIToolMessage* message, AICursorManagerHandle cursors);

// "AI Mouse Up": saves and closes the settings panel after its use, ends the click of the
// active tool and remembers the dimension line placed.
ASErr ToolMouseUp(AIToolMessage* message);
