// The plug-in object: what it holds, its start-up, and its answers to the host's
// notifications, menu and tool messages.
#pragma once

#include "plugin/frame/Plugin.h"

// The About menu texts (Windows-1252).
extern const char* const kAboutGroupName;
extern const char* const kAboutItemText;
extern const char* const kAboutAlertText;

// The name of the plug-in's annotator.
constexpr const char* kAnnotatorName = "VornAnno";

class MesraPlugIn : public Plugin {
  public:
    explicit MesraPlugIn(SPPluginRef pluginRef);
    ~MesraPlugIn() override;

    ASErr StartupPlugin(SPInterfaceMessage* message) override;
    ASErr PostStartupPlugin() override;
    ASErr Message(const char* caller, const char* selector, void* message) override;
    ASErr Notify(AINotifierMessage* message) override;
    ASErr GoMenuItem(AIMenuMessage* message) override;
    ASErr UpdateMenuItem(AIMenuMessage* message) override;
    ASErr EditTool(AIToolMessage* message) override;
    ASErr TrackToolCursor(AIToolMessage* message) override;
    ASErr ToolMouseDown(AIToolMessage* message) override;
    ASErr ToolMouseDrag(AIToolMessage* message) override;
    ASErr ToolMouseUp(AIToolMessage* message) override;
    ASErr SelectTool(AIToolMessage* message) override;
    ASErr DeselectTool(AIToolMessage* message) override;

    // Builds the object again over itself, keeping all its data, so that its virtual
    // dispatch points into the code as it is now loaded. Returns the rebuilt object.
    static MesraPlugIn* FixupReload(Plugin* plugin);

    AIAnnotatorHandle Annotator() const { return fields_.annotator; }
    AICursorManagerHandle CursorManager() const { return fields_.cursorManager; }
    AIMenuItemHandle AboutItem() const { return fields_.aboutItem; }

  private:
    struct Fields {
        AIMenuItemHandle aboutItem = nullptr;
        // The area that the annotation invalidation passes to the host; stays empty.
        AIRect annotationRect{};
        AIAnnotatorHandle annotator = nullptr;
        AINotifierHandle shutdownNotifier = nullptr;
        AINotifierHandle selectionChangedNotifier = nullptr;
        AINotifierHandle customColorNotifier = nullptr;
        AINotifierHandle documentOpenedNotifier = nullptr;
        AICursorManagerHandle cursorManager = nullptr;
    };

    MesraPlugIn(Plugin::Fields&& frame, const Fields& fields);

    ASErr AddAnnotator();
    ASErr AddAboutItem(SPInterfaceMessage* message);
    ASErr AddNotifiers();

    Fields fields_;
};
