// The plug-in frame: the base class of the plug-in object, with the host's 57 operations
// in their slot order and the dispatch of caller/selector pairs to them.
#pragma once

#include <memory>
#include <utility>

#include "plugin/host/Messages.h"
#include "plugin/hostaccess/Suites.h"

class Plugin {
  public:
    explicit Plugin(SPPluginRef pluginRef);

    // Slot 0.
    virtual ~Plugin();
    // Slot 1: reports an error result, unless it is quiet or the same error was reported
    // less than the time-out ago.
    virtual ASErr ReportError(ASErr error, const char* caller, const char* selector, void* message);
    // Slot 2: counts locks; the first keeps the code loaded, the last lets it go.
    virtual ASErr LockPlugin(bool lock);
    // Slot 3: acquires the suites, names the plug-in, subscribes to the application's
    // start and locks the plug-in.
    virtual ASErr StartupPlugin(SPInterfaceMessage* message);
    // Slot 4: runs when the application has started.
    virtual ASErr PostStartupPlugin();
    // Slot 5: releases the suites.
    virtual ASErr ShutdownPlugin(SPInterfaceMessage* message);
    // Slot 6: releases the suites before the host unloads the code.
    virtual ASErr UnloadPlugin(SPInterfaceMessage* message);
    // Slot 7: acquires the suites again after the code came back.
    virtual ASErr ReloadPlugin(SPInterfaceMessage* message);
    // Slots 8-9.
    virtual ASErr AcquireProperty(SPMessageData* message);
    virtual ASErr ReleaseProperty(SPMessageData* message);
    // Slot 10: copies the name into buffer (truncated to length, NUL-terminated when there
    // is room) and returns the full name length.
    virtual int GetPluginName(char* buffer, int length);
    // Slot 11: true when caches were flushed.
    virtual bool Purge();
    // Slot 12: dispatches one message by its caller and selector.
    virtual ASErr Message(const char* caller, const char* selector, void* message);
    // Slots 13-17.
    virtual ASErr SetGlobal(Plugin* plugin);
    virtual ASErr AllocateSuiteTables();
    virtual ASErr FillSuiteTables();
    virtual ASErr EmptySuiteTables();
    virtual ASErr AcquireOptionalSuites();
    // Slots 18-19.
    virtual ASErr Notify(AINotifierMessage* message);
    virtual ASErr GoAction(SPMessageData* message);
    // Slots 20-21.
    virtual ASErr GoMenuItem(AIMenuMessage* message);
    virtual ASErr UpdateMenuItem(AIMenuMessage* message);
    // Slots 22-30.
    virtual ASErr GetFilterParameters(SPMessageData* message);
    virtual ASErr GoFilter(SPMessageData* message);
    virtual ASErr PluginGroupNotify(SPMessageData* message);
    virtual ASErr PluginGroupUpdate(SPMessageData* message);
    virtual ASErr GetFileFormatParameters(SPMessageData* message);
    virtual ASErr GoFileFormat(SPMessageData* message);
    virtual ASErr CheckFileFormat(SPMessageData* message);
    virtual ASErr FileFormatUpdate(SPMessageData* message);
    virtual ASErr FileFormatAction(SPMessageData* message);
    // Slots 31-40.
    virtual ASErr EditTool(AIToolMessage* message);
    virtual ASErr TrackToolCursor(AIToolMessage* message);
    virtual ASErr ToolMouseDown(AIToolMessage* message);
    virtual ASErr ToolMouseDrag(AIToolMessage* message);
    virtual ASErr ToolMouseUp(AIToolMessage* message);
    virtual ASErr SelectTool(AIToolMessage* message);
    virtual ASErr DeselectTool(AIToolMessage* message);
    virtual ASErr ReselectTool(AIToolMessage* message);
    virtual ASErr DecreaseDiameter(AIToolMessage* message);
    virtual ASErr IncreaseDiameter(AIToolMessage* message);
    // Slots 41-48.
    virtual ASErr EditLiveEffectParameters(SPMessageData* message);
    virtual ASErr GoLiveEffect(SPMessageData* message);
    virtual ASErr LiveEffectInterpolate(SPMessageData* message);
    virtual ASErr LiveEffectGetInputType(SPMessageData* message);
    virtual ASErr LiveEffectConvertColorSpace(SPMessageData* message);
    virtual ASErr LiveEffectScaleParameters(SPMessageData* message);
    virtual ASErr LiveEffectAdjustColors(SPMessageData* message);
    virtual ASErr LiveEffectHandleMerge(SPMessageData* message);
    // Slot 49.
    virtual ASErr Timer(SPMessageData* message);
    // Slots 50-53.
    virtual ASErr GoClipboard(SPMessageData* message);
    virtual ASErr CanCopyClipboard(SPMessageData* message);
    virtual ASErr CloneClipboard(SPMessageData* message);
    virtual ASErr DisposeClipboard(SPMessageData* message);
    // Slots 54-56.
    virtual ASErr WorkspaceWrite(SPMessageData* message);
    virtual ASErr WorkspaceRestore(SPMessageData* message);
    virtual ASErr WorkspaceDefault(SPMessageData* message);

    SPPluginRef PluginRef() const { return frame_.pluginRef; }
    const char* Name() const { return frame_.name; }
    // True while the suites are held.
    bool SuitesAcquired() const { return frame_.suites != nullptr; }
    ASInt32 LockCount() const { return frame_.lockCount; }
    ASErr LastError() const { return frame_.lastError; }
    ASInt64 LastErrorTime() const { return frame_.lastErrorTime; }

    // The error time-out of ReportError, in seconds.
    static constexpr ASInt32 kErrorTimeout = 5;

  protected:
    // The data of the frame, in the host's order.
    struct Fields {
        SPPluginRef pluginRef = nullptr;
        char name[256] = {};
        std::unique_ptr<Suites> suites;
        ASInt32 lockCount = 0;
        SPAccessRef accessRef = nullptr;
        ASErr lastError = 0;
        ASInt32 errorTimeout = kErrorTimeout;
        bool suppressDuplicateErrors = true;
        ASInt64 lastErrorTime = 0;
    };

    // Builds the frame again from fields taken out of an earlier object (see
    // MesraPlugIn::FixupReload).
    explicit Plugin(Fields&& fields) : frame_(std::move(fields)) {}
    // Takes the fields out of this object, leaving it without suites.
    Fields TakeFields() { return std::move(frame_); }

    // Sets the name (truncated to the field).
    void SetName(const char* name);

  private:
    // Creates the suites holder. The acquisition count is then 1 whatever happened, so
    // that destroying a holder that failed releases what it did acquire.
    ASErr CreateSuites();
    ASErr HandleNotifier(const char* selector, AINotifierMessage* message);

    Fields frame_;
};

// The plug-in object of the message's globals slot, or null.
Plugin* GlobalPlugin(const SPMessageData* message);
