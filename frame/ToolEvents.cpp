#include "frame/ToolEvents.h"

#include "frame/Cursors.h"
#include "frame/Suites.h"
#include "settings/DimensionSettings.h"

namespace {

ASInt32 sActiveTool = static_cast<ASInt32>(ToolKind::Segment);

}  // namespace

ASInt32& ActiveTool() {
    return sActiveTool;
}

ASErr SelectTool(AIToolMessage* message, AIAnnotatorHandle annotator) {
    settings::Settings().prefsVersion = settings::kPreferencesVersion;
    PlaceToolsWithEyedropper() = true;
    ReadSmartGuideColor();
    if (const ASInt32 tool = ToolNumberOfHandle(message->tool); tool != 0) {
        sActiveTool = tool;
    }
    sAIAnnotator->SetAnnotatorActive(annotator, true);
    return 0;
}

ASErr DeselectTool(AIToolMessage*, AIAnnotatorHandle annotator) {
    return sAIAnnotator->SetAnnotatorActive(annotator, false);
}
