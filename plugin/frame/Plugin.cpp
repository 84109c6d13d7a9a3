#include "plugin/frame/Plugin.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "plugin/frame/ErrorReport.h"
#include "plugin/host/Platform.h"

namespace {

// Keeps the plug-in's application context current for one scope.
class AppContext {
  public:
    explicit AppContext(SPPluginRef plugin) {
        error_ = sAIContext->PushAppContext(plugin, &context_);
    }
    ~AppContext() {
        if (error_ == 0) {
            sAIContext->PopAppContext(context_);
        }
    }
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;
    ASErr Error() const { return error_; }

  private:
    AIAppContextHandle context_ = nullptr;
    ASErr error_ = 0;
};

template <typename Method>
struct MessageOf;
template <typename Message>
struct MessageOf<ASErr (Plugin::*)(Message*)> {
    using Type = Message;
};

// Calls `method` with the message record its selector brings.
template <auto method>
ASErr Call(Plugin& plugin, void* message) {
    using Message = typename MessageOf<decltype(method)>::Type;
    return (plugin.*method)(static_cast<Message*>(message));
}

struct Route {
    const char* caller;
    const char* selector;
    ASErr (*call)(Plugin&, void*);
};

ASErr Handled(Plugin&, void*) {
    return 0;
}

ASErr PurgeCaches(Plugin& plugin, void*) {
    return plugin.Purge() ? kSPPluginCachesFlushResponse : 0;
}

// Every caller/selector pair the frame knows, but "AI Notifier" (any selector), which
// Plugin::Message handles itself.
constexpr Route kRoutes[] = {
    {"SP Access", "Unload", Call<&Plugin::UnloadPlugin>},
    {"SP Access", "Reload", Call<&Plugin::ReloadPlugin>},
    {"SP Interface", "About", Handled},
    {"SP Interface", "Startup", Handled},
    {"SP Cache", "Plug-in Purge", PurgeCaches},
    {"SP Properties", "Acquire", Call<&Plugin::AcquireProperty>},
    {"SP Properties", "Release", Call<&Plugin::ReleaseProperty>},
    {"Action Manager", "Do Action", Call<&Plugin::GoAction>},
    {"AI Menu", "AI Go", Call<&Plugin::GoMenuItem>},
    {"AI Menu", "AI Update", Call<&Plugin::UpdateMenuItem>},
    {"AI Filter", "AI Get Parameters", Call<&Plugin::GetFilterParameters>},
    {"AI Filter", "AI Go", Call<&Plugin::GoFilter>},
    {"AI Plugin Group", "AI Notify Edits", Call<&Plugin::PluginGroupNotify>},
    {"AI Plugin Group", "AI Update", Call<&Plugin::PluginGroupUpdate>},
    {"AI File Format", "AI Get Parameters", Call<&Plugin::GetFileFormatParameters>},
    {"AI File Format", "AI Go", Call<&Plugin::GoFileFormat>},
    {"AI File Format", "AI Check", Call<&Plugin::CheckFileFormat>},
    {"AI File Format", "AI Update AI140", Call<&Plugin::FileFormatUpdate>},
    {"AI File Format", "Do Action", Call<&Plugin::FileFormatAction>},
    {"AI Tool", "AI Edit Options", Call<&Plugin::EditTool>},
    {"AI Tool", "AI Track Cursor", Call<&Plugin::TrackToolCursor>},
    {"AI Tool", "AI Mouse Down", Call<&Plugin::ToolMouseDown>},
    {"AI Tool", "AI Mouse Drag", Call<&Plugin::ToolMouseDrag>},
    {"AI Tool", "AI Mouse Up", Call<&Plugin::ToolMouseUp>},
    {"AI Tool", "AI Select", Call<&Plugin::SelectTool>},
    {"AI Tool", "AI Deselect", Call<&Plugin::DeselectTool>},
    {"AI Tool", "AI Reselect", Call<&Plugin::ReselectTool>},
    {"AI Tool", "AI Decrease Diameter", Call<&Plugin::DecreaseDiameter>},
    {"AI Tool", "AI Increase Diameter", Call<&Plugin::IncreaseDiameter>},
    {"AI Live Effect", "AI Live Effect Edit Parameters", Call<&Plugin::EditLiveEffectParameters>},
    {"AI Live Effect", "AI Live Effect Go Live", Call<&Plugin::GoLiveEffect>},
    {"AI Live Effect", "AI Live Effect Interpolate Parameters",
     Call<&Plugin::LiveEffectInterpolate>},
    {"AI Live Effect", "AI Live Effect Input Type", Call<&Plugin::LiveEffectGetInputType>},
    {"AI Live Effect", "AI Live Effect Scale Parameters", Call<&Plugin::LiveEffectScaleParameters>},
    {"AI Live Effect", "AI Live Effect Convert Color Space",
     Call<&Plugin::LiveEffectConvertColorSpace>},
    {"AI Live Effect", "AI Live Effect Adjust Colors", Call<&Plugin::LiveEffectAdjustColors>},
    {"AI Live Effect", "AI Live Effect Handle Merge", Call<&Plugin::LiveEffectHandleMerge>},
    {"AI Timer", "AI Go", Call<&Plugin::Timer>},
    {"AI Clipboard", "AI Go", Call<&Plugin::GoClipboard>},
    {"AI Clipboard", "AI Can Copy", Call<&Plugin::CanCopyClipboard>},
    {"AI Clipboard", "AI Clone", Call<&Plugin::CloneClipboard>},
    {"AI Clipboard", "AI Dispose", Call<&Plugin::DisposeClipboard>},
    {"Workspace Manager", "Write Woskspace", Call<&Plugin::WorkspaceWrite>},
    {"Workspace Manager", "Restore Woskspace", Call<&Plugin::WorkspaceRestore>},
    {"Workspace Manager", "Default Woskspace", Call<&Plugin::WorkspaceDefault>},
};

bool Same(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

}  // namespace

Plugin::Plugin(SPPluginRef pluginRef) {
    frame_.pluginRef = pluginRef;
    SetName("Plugin");
}

Plugin::~Plugin() = default;

void Plugin::SetName(const char* name) {
    std::snprintf(frame_.name, sizeof frame_.name, "%s", name);
}

ASErr Plugin::ReportError(ASErr error, const char*, const char*, void*) {
    if (IsQuietError(error)) {
        return 0;
    }
    const ASInt64 now = platform::Current().CurrentSeconds();
    if (error == frame_.lastError && frame_.suppressDuplicateErrors &&
        now < frame_.lastErrorTime + frame_.errorTimeout) {
        return 0;
    }
    frame_.lastError = error;
    frame_.lastErrorTime = now;
    DefaultErrorReport(frame_.pluginRef, error);
    return 0;
}

ASErr Plugin::LockPlugin(bool lock) {
    if (lock) {
        if (++frame_.lockCount == 1) {
            sSPAccess->AcquirePlugin(frame_.pluginRef, &frame_.accessRef);
        }
    } else {
        if (--frame_.lockCount == 0) {
            if (frame_.accessRef != nullptr) {
                sSPAccess->ReleasePlugin(frame_.accessRef);
            }
            frame_.accessRef = nullptr;
        }
        if (frame_.lockCount < 0) {
            frame_.lockCount = 0;
        }
    }
    return 0;
}

ASErr Plugin::CreateSuites() {
    Suites* suites = new (std::nothrow) Suites;
    if (suites == nullptr) {
        return kOutOfMemoryErr;
    }
    frame_.suites.reset(suites);
    const ASErr error = suites->Error();
    Suites::SetAcquisitionCount(1);
    if (error != 0) {
        frame_.suites.reset();
    }
    return error;
}

ASErr Plugin::StartupPlugin(SPInterfaceMessage*) {
    SetGlobal(this);
    ASErr error = CreateSuites();
    if (error == 0) {
        error = sSPPlugins->SetPluginName(frame_.pluginRef, frame_.name);
    }
    if (error == 0) {
        char notifierName[300];
        std::snprintf(notifierName, sizeof notifierName, "%s App Started Notifier", frame_.name);
        error = sAINotifier->AddNotifier(frame_.pluginRef, notifierName,
                                         kAIApplicationStartedNotifier, nullptr);
    }
    if (error == 0) {
        error = AllocateSuiteTables();
    }
    if (error == 0) {
        error = FillSuiteTables();
    }
    if (error == 0) {
        error = LockPlugin(true);
    }
    return error;
}

ASErr Plugin::PostStartupPlugin() {
    return 0;
}

ASErr Plugin::ShutdownPlugin(SPInterfaceMessage*) {
    platform::Current().StopSounds();
    frame_.suites.reset();
    SetGlobal(nullptr);
    return 0;
}

ASErr Plugin::UnloadPlugin(SPInterfaceMessage*) {
    platform::Current().StopSounds();
    EmptySuiteTables();
    SetGlobal(nullptr);
    frame_.suites.reset();
    return 0;
}

ASErr Plugin::ReloadPlugin(SPInterfaceMessage*) {
    SetGlobal(this);
    ASErr error = 0;
    if (frame_.suites == nullptr) {
        error = CreateSuites();
    }
    if (error == 0) {
        error = FillSuiteTables();
    }
    return error;
}

ASErr Plugin::AcquireProperty(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::ReleaseProperty(SPMessageData*) {
    return kUnhandledMsgErr;
}

int Plugin::GetPluginName(char* buffer, int length) {
    const int full = static_cast<int>(std::strlen(frame_.name));
    if (buffer != nullptr && length > 0) {
        std::snprintf(buffer, static_cast<std::size_t>(length), "%s", frame_.name);
    }
    return full;
}

bool Plugin::Purge() {
    return false;
}

ASErr Plugin::HandleNotifier(const char* selector, AINotifierMessage* message) {
    AppContext context(frame_.pluginRef);
    if (context.Error() != 0) {
        return context.Error();
    }
    ASErr result = 0;
    if (message->type != nullptr && Same(message->type, kAIApplicationStartedNotifier)) {
        result = PostStartupPlugin();
    }
    if ((result == 0 || result == kUnhandledMsgErr) && Same(selector, "AI Notify")) {
        result = Notify(message);
    }
    return result;
}

ASErr Plugin::Message(const char* caller, const char* selector, void* message) {
    AcquireOptionalSuites();
    if (Same(caller, "AI Notifier")) {
        return HandleNotifier(selector, static_cast<AINotifierMessage*>(message));
    }
    for (const Route& route : kRoutes) {
        if (Same(caller, route.caller) && Same(selector, route.selector)) {
            return route.call(*this, message);
        }
    }
    return kUnhandledMsgErr;
}

ASErr Plugin::SetGlobal(Plugin*) {
    return 0;
}
ASErr Plugin::AllocateSuiteTables() {
    return 0;
}
ASErr Plugin::FillSuiteTables() {
    return 0;
}
ASErr Plugin::EmptySuiteTables() {
    return 0;
}

ASErr Plugin::AcquireOptionalSuites() {
    if (frame_.suites != nullptr) {
        frame_.suites->AcquireOptionalSuites();
    }
    return 0;
}

ASErr Plugin::Notify(AINotifierMessage*) {
    return 0;
}
ASErr Plugin::GoAction(SPMessageData*) {
    return 0;
}
ASErr Plugin::GoMenuItem(AIMenuMessage*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::UpdateMenuItem(AIMenuMessage*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::GetFilterParameters(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::GoFilter(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::PluginGroupNotify(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::PluginGroupUpdate(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::GetFileFormatParameters(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::GoFileFormat(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::CheckFileFormat(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::FileFormatUpdate(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::FileFormatAction(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::EditTool(AIToolMessage*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::TrackToolCursor(AIToolMessage*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::ToolMouseDown(AIToolMessage*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::ToolMouseDrag(AIToolMessage*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::ToolMouseUp(AIToolMessage*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::SelectTool(AIToolMessage*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::DeselectTool(AIToolMessage*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::ReselectTool(AIToolMessage*) {
    return 0;
}
ASErr Plugin::DecreaseDiameter(AIToolMessage*) {
    return 0;
}
ASErr Plugin::IncreaseDiameter(AIToolMessage*) {
    return 0;
}
ASErr Plugin::EditLiveEffectParameters(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::GoLiveEffect(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::LiveEffectInterpolate(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::LiveEffectGetInputType(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::LiveEffectConvertColorSpace(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::LiveEffectScaleParameters(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::LiveEffectAdjustColors(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::LiveEffectHandleMerge(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::Timer(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::GoClipboard(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::CanCopyClipboard(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::CloneClipboard(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::DisposeClipboard(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::WorkspaceWrite(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::WorkspaceRestore(SPMessageData*) {
    return kUnhandledMsgErr;
}
ASErr Plugin::WorkspaceDefault(SPMessageData*) {
    return kUnhandledMsgErr;
}

Plugin* GlobalPlugin(const SPMessageData* message) {
    return message != nullptr ? static_cast<Plugin*>(message->globals) : nullptr;
}
