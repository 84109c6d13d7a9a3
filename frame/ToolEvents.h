// The routing of tool events to the active tool.
#pragma once

#include "frame/ToolRegistration.h"
#include "host/Messages.h"

// The tool whose events the plug-in handles: 1 to 5, set when a tool is selected.
ASInt32& ActiveTool();

// "AI Select": resets the per-use state, reads the smart-guide colour, makes the selected
// tool the active one and switches the annotator on.
ASErr SelectTool(AIToolMessage* message, AIAnnotatorHandle annotator);

// "AI Deselect": switches the annotator off.
ASErr DeselectTool(AIToolMessage* message, AIAnnotatorHandle annotator);
