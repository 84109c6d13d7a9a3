#include "plugin/frame/ToolRegistration.h"

#include "plugin/hostaccess/PluginFiles.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"
#include "plugin/preferences/PreferencesFile.h"
#include "plugin/tools/AreaTool.h"

const ToolDefinition kToolTable[kToolCount] = {
    {ToolKind::Segment, "Outil Segment", "Outil Segment 8.5", 16051, 16052},
    {ToolKind::Angle, "Outil Angle", "Outil Angle 8.5", 16053, 16054},
    {ToolKind::Circle, "Outil Cercle", "Outil Cercle 8.5", 16055, 16056},
    {ToolKind::Bezier, "Outil Bézier"_w1252, "Outil Bézier 8.5"_w1252, 16057, 16058},
    {ToolKind::LengthsAndAreas, "Outil Longueur & Aires", "Longueur & Aires 8.5", 16059, 16060},
};

const char* const kSiblingToolNames[3] = {"Outil Morvane", "Outil Quilbe", "Outil Zandre"};

const ASInt32 kToolInfoVariables[5] = {15, 16, 23, 19, -1};

namespace {

AIToolHandle sToolHandles[kToolCount] = {};
bool sPlaceWithEyedropper = false;

}  // namespace

AIToolHandle& ToolHandle(ToolKind kind) {
    return sToolHandles[static_cast<int>(kind) - 1];
}

ASInt32 ToolNumberOfHandle(AIToolHandle tool) {
    for (int i = 0; i < kToolCount; ++i) {
        if (tool != nullptr && sToolHandles[i] == tool) {
            return i + 1;
        }
    }
    return 0;
}

bool& PlaceToolsWithEyedropper() {
    return sPlaceWithEyedropper;
}

ToolPlacement SegmentToolPlacement() {
    AIToolType number = 0;
    if (sPlaceWithEyedropper && sAITool->GetToolNumberFromName(kEyedropperToolName, &number) == 0) {
        return {number, number};
    }
    for (const char* sibling : kSiblingToolNames) {
        if (sAITool->GetToolNumberFromName(sibling, &number) == 0) {
            return {number, kNoTool};
        }
    }
    return {kNoTool, kNoTool};
}

ASErr AddTools(SPPluginRef plugin) {
    ASErr error = LocatePluginFiles(plugin);
    if (error != 0) {
        return error;
    }
    settings::LoadPreferences(CurrentPluginFiles().preferences);
    for (const ToolDefinition& tool : kToolTable) {
        if (tool.kind == ToolKind::LengthsAndAreas) {
            sAIArtSet->NewArtSet(&tools::MeasureSet());
        }
        AIAddToolData data{tool.title, tool.tooltip, 0, tool.icon, tool.darkIcon, kNoTool, kNoTool};
        if (tool.kind == ToolKind::Segment) {
            const ToolPlacement placement = SegmentToolPlacement();
            data.sameGroupAs = placement.group;
            data.sameToolsAs = placement.toolset;
        } else {
            AIToolType segment = kNoTool;
            sAITool->GetToolNumberFromName(kToolTable[0].title, &segment);
            data.sameGroupAs = segment;
            data.sameToolsAs = segment;
        }
        AIToolHandle& handle = ToolHandle(tool.kind);
        handle = nullptr;
        if (sAITool->AddTool(plugin, tool.title, &data, kToolWantsToTrackCursorOption, &handle) !=
                0 ||
            handle == nullptr) {
            // A tool the host refused has no Info variables to declare; the others go on.
            handle = nullptr;
            continue;
        }
        error = sAITool->SetToolInfoVars(handle, kToolInfoVariables);
        if (error != 0) {
            return error;
        }
    }
    return error;
}
