#include "plugin/frame/MesraPlugIn.h"
#include "plugin/hostaccess/Alert.h"

#include <cstring>
#include <new>

#include "plugin/drawing/DimensionRecords.h"
#include "plugin/drawing/DimensionStyles.h"
#include "plugin/frame/AboutPluginsHelper.h"
#include "plugin/frame/ToolEvents.h"
#include "plugin/frame/ToolRegistration.h"
#include "plugin/host/AIError.h"
#include "plugin/hostaccess/WindowsText.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/tools/AreaScanIndex.h"
#include "plugin/tools/AreaTool.h"
#include "plugin/tools/ToolStates.h"
#include "plugin/ui/Annotation.h"

const char* const kAboutGroupName = "À propos des Vorn-Outils…"_w1252;
const char* const kAboutItemText = "Vorn-Cotaline…"_w1252;
const char* const kAboutAlertText =
    "Vorn-Cotaline (CS6) 8.5 (avril 2020).\r\rVorn-Cotaline, des outils pour mesurer facilement.";

MesraPlugIn::MesraPlugIn(SPPluginRef pluginRef) : Plugin(pluginRef) {
    SetName("Mesra");
}

MesraPlugIn::MesraPlugIn(Plugin::Fields&& frame, const Fields& fields)
    : Plugin(std::move(frame)), fields_(fields) {}

MesraPlugIn::~MesraPlugIn() = default;

MesraPlugIn* MesraPlugIn::FixupReload(Plugin* plugin) {
    auto* old = static_cast<MesraPlugIn*>(plugin);
    Plugin::Fields frame = old->TakeFields();
    const Fields fields = old->fields_;
    // The old object's members are empty now, so nothing is lost by not destroying it.
    return new (plugin) MesraPlugIn(std::move(frame), fields);
}

ASErr MesraPlugIn::StartupPlugin(SPInterfaceMessage* message) {
    // Handles and numbers kept by an earlier life in this process mean nothing to this one.
    tools::ForgetMeasures();
    drawing::ForgetLinkNumbers();
    ASErr error = Plugin::StartupPlugin(message);
    if (error == 0) {
        ASInt32 options = 0;
        error = sAIPlugin->GetPluginOptions(message->self, &options);
        if (error == 0) {
            error = sAIPlugin->SetPluginOptions(message->self,
                                                options | kPluginWantsResultsAutoSelectedOption);
        }
    }
    if (error == 0) {
        error = AddTools(message->self);
    }
    if (error == 0) {
        error = AddAnnotator();
    }
    if (error == 0) {
        error = AddAboutItem(message);
    }
    if (error == 0) {
        error = AddNotifiers();
    }
    return error;
}

ASErr MesraPlugIn::AddAnnotator() {
    ASErr error = sAIAnnotator->AddAnnotator(PluginRef(), kAnnotatorName, &fields_.annotator);
    if (error == 0) {
        error = sAIAnnotator->SetAnnotatorActive(fields_.annotator, false);
    }
    return error;
}

ASErr MesraPlugIn::AddAboutItem(SPInterfaceMessage* message) {
    SDKAboutPluginsHelper helper;
    return helper.AddAboutPluginsMenuItem(message, kAboutGroupName, kAboutGroupName, kAboutItemText,
                                          &fields_.aboutItem);
}

ASErr MesraPlugIn::AddNotifiers() {
    const struct {
        const char* type;
        AINotifierHandle* handle;
    } notifiers[] = {
        {kAIApplicationShutdownNotifier, &fields_.shutdownNotifier},
        {kAIDocumentOpenedNotifier, &fields_.documentOpenedNotifier},
        {kAIArtSelectionChangedNotifier, &fields_.selectionChangedNotifier},
        {kAIArtCustomColorChangedNotifier, &fields_.customColorNotifier},
    };
    for (const auto& notifier : notifiers) {
        if (ASErr error =
                sAINotifier->AddNotifier(PluginRef(), Name(), notifier.type, notifier.handle)) {
            return error;
        }
    }
    return 0;
}

ASErr MesraPlugIn::PostStartupPlugin() {
    ASErr error = sAIUser->CreateCursorResourceMgr(PluginRef(), &fields_.cursorManager);
    if (error != 0) {
        return error;
    }
    ActiveTool() = static_cast<ASInt32>(ToolKind::Segment);
    return sAITool->SetSelectedToolByName(kSelectToolName);
}

ASErr MesraPlugIn::Message(const char* caller, const char* selector, void* message) {
    // Only the cursor's tracking and the annotator's drawing leave the document as it was:
    // after any other message the Lengths & Areas scan reads the paths again.
    if (!(std::strcmp(caller, "AI Tool") == 0 && std::strcmp(selector, "AI Track Cursor") == 0) &&
        !(std::strcmp(caller, "AI Annotation") == 0 && std::strcmp(selector, "AI Draw") == 0)) {
        tools::ForgetAreaScanIndex();
    }
    ASErr error = 0;
    try {
        error = Plugin::Message(caller, selector, message);
    } catch (const ai::Error& e) {
        error = e.Code();
    } catch (...) {
        error = kCantHappenErr;
    }
    if (error == 0) {
        return 0;
    }
    if (error != kUnhandledMsgErr) {
        ReportError(error, caller, selector, message);
        return error;
    }
    if (std::strcmp(caller, "AI Annotation") == 0) {
        try {
            if (std::strcmp(selector, "AI Draw") == 0) {
                return DrawAnnotation(static_cast<AIAnnotatorMessage*>(message), CurrentActivity());
            }
            if (std::strcmp(selector, "AI Invalidate") == 0) {
                return InvalidateAnnotation(fields_.annotationRect);
            }
        } catch (const ai::Error& e) {
            return e.Code();
        } catch (...) {
            return kCantHappenErr;
        }
    }
    return kUnhandledMsgErr;
}

ASErr MesraPlugIn::Notify(AINotifierMessage* message) {
    const AINotifierHandle notifier = message->notifier;
    if (notifier == nullptr) {
        return 0;
    }
    if (notifier == fields_.shutdownNotifier) {
        if (fields_.cursorManager != nullptr) {
            const ASErr error = sAIUser->DisposeCursorResourceMgr(fields_.cursorManager);
            fields_.cursorManager = nullptr;
            return error;
        }
        return 0;
    }
    if (notifier == fields_.selectionChangedNotifier) {
        // The user's edits come with selection changes: the link numbers are counted again.
        drawing::ForgetLinkNumbers();
        return ::InvalidateWholeView();
    }
    if (notifier == fields_.documentOpenedNotifier) {
        // A measure in progress and the lines placed belong to the document that was
        // current before (or to the art an undo took away); the picked paths are the
        // selection of the document now shown.
        tools::ForgetMeasures();
        tools::TakeMeasureSetFromSelection();
        drawing::ForgetLinkNumbers();
        ForgetPlacedLines();
    }
    if (notifier == fields_.customColorNotifier || notifier == fields_.documentOpenedNotifier) {
        // The document's custom colour becomes the line or text colour when the settings ask
        // for a custom colour.
        const settings::DimensionSettings& s = settings::Settings();
        if (s.strokeColorModel != settings::kCustomColor &&
            s.textColorModel != settings::kCustomColor) {
            return 0;
        }
        return drawing::ApplyDocumentCustomColor();
    }
    return 0;
}

ASErr MesraPlugIn::GoMenuItem(AIMenuMessage* message) {
    if (message->menuItem != nullptr && message->menuItem == fields_.aboutItem) {
        return ShowAlert(kAboutAlertText);
    }
    return 0;
}

ASErr MesraPlugIn::UpdateMenuItem(AIMenuMessage*) {
    return 0;
}

ASErr MesraPlugIn::EditTool(AIToolMessage*) {
    return 0;
}

ASErr MesraPlugIn::TrackToolCursor(AIToolMessage* message) {
    return ::TrackToolCursor(message, fields_.cursorManager);
}

ASErr MesraPlugIn::ToolMouseDown(AIToolMessage* message) {
    return ::ToolMouseDown(message);
}

ASErr MesraPlugIn::ToolMouseDrag(AIToolMessage* message) {
    return ::ToolMouseDrag(message, fields_.cursorManager);
}

ASErr MesraPlugIn::ToolMouseUp(AIToolMessage* message) {
    return ::ToolMouseUp(message);
}

ASErr MesraPlugIn::SelectTool(AIToolMessage* message) {
    return ::SelectTool(message, fields_.annotator);
}

ASErr MesraPlugIn::DeselectTool(AIToolMessage* message) {
    return ::DeselectTool(message, fields_.annotator);
}
