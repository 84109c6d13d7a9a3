// The five measuring tools: their table, their handles, and their registration in the
// host's toolbox.
#pragma once

#include "plugin/host/InterfaceSuites.h"
#include "plugin/host/Records.h"
#include "plugin/settings/ToolKind.h"

struct ToolDefinition {
    ToolKind kind;
    // Title in the toolbox, also the tool's unique name in the host (Windows-1252).
    const char* title;
    const char* tooltip;
    ASInt32 icon;
    ASInt32 darkIcon;
};

// The tools in toolbox order.
extern const ToolDefinition kToolTable[kToolCount];

// The host's tools that the plug-in looks up by name.
constexpr const char* kSelectToolName = "Select Tool";
constexpr const char* kEyedropperToolName = "Eyedropper Tool";

// Tools of the same family, whose group the Segment tool joins: the first that the host
// knows, in this order.
extern const char* const kSiblingToolNames[3];

// The Info panel variables each tool declares, ended by -1.
extern const ASInt32 kToolInfoVariables[5];

// The handle of each tool, by ToolKind minus 1; null until the tool is added.
AIToolHandle& ToolHandle(ToolKind kind);

// The tool whose handle is `tool`, or 0 when it is none of the five.
ASInt32 ToolNumberOfHandle(AIToolHandle tool);

// Set each time one of the five tools is selected: a later start-up in the same process
// then places the tools with the host's Eyedropper tool.
bool& PlaceToolsWithEyedropper();

// Where the Segment tool goes: the group and toolset to join (kNoTool for new ones).
struct ToolPlacement {
    AIToolType group;
    AIToolType toolset;
};

// The Segment tool's placement: with the Eyedropper flag, the Eyedropper's group and
// toolset; otherwise the group of the first sibling tool the host knows, or a new group,
// always in a new toolset.
ToolPlacement SegmentToolPlacement();

// Locates the plug-in's files, loads the preferences, and adds the five tools with their icons,
// placement and Info variables. A tool that cannot be added does not stop the others; a failed Info
// variable declaration does, and is the result.
ASErr AddTools(SPPluginRef plugin);
