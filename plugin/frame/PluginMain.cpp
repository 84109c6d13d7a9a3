// The plug-in's one entry point.
#include <cstring>
#include <new>

#include "plugin/frame/ErrorReport.h"
#include "plugin/frame/MesraPlugIn.h"
#include "plugin/host/AIError.h"
#include "plugin/host/Messages.h"
#include "plugin/hostaccess/Suites.h"

#if defined(_WIN32)
#define MESRA_EXPORT __declspec(dllexport)
#else
#define MESRA_EXPORT __attribute__((visibility("default")))
#endif

namespace {

bool Same(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

// Runs one operation of the plug-in object; whatever it throws becomes a result code.
template <typename Operation>
ASErr Guarded(Operation operation) {
    try {
        return operation();
    } catch (const ai::Error& e) {
        return e.Code();
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryErr;
    } catch (...) {
        return kCantHappenErr;
    }
}

ASErr Dispatch(const char* caller, const char* selector, SPMessageData* message) {
    ASErr error = 0;
    auto* plugin = static_cast<Plugin*>(message->globals);

    if (Same(caller, "SP Interface") && Same(selector, "Startup")) {
        plugin = new (std::nothrow) MesraPlugIn(message->self);
        if (plugin == nullptr) {
            error = kOutOfMemoryErr;
        } else {
            message->globals = plugin;
            error = Guarded([&] { return plugin->StartupPlugin(message); });
            if (error != 0) {
                delete plugin;
                plugin = nullptr;
                message->globals = nullptr;
            }
        }
    } else if (Same(caller, "SP Interface") && Same(selector, "Shutdown") && plugin != nullptr) {
        error = Guarded([&] { return plugin->ShutdownPlugin(message); });
        delete plugin;
        plugin = nullptr;
        message->globals = nullptr;
    }

    if (plugin != nullptr) {
        if (Same(caller, "SP Access") && Same(selector, "Reload")) {
            plugin = MesraPlugIn::FixupReload(plugin);
            message->globals = plugin;
            error = Guarded([&] { return plugin->ReloadPlugin(message); });
        } else if (plugin->SuitesAcquired()) {
            error = Guarded([&] { return plugin->Message(caller, selector, message); });
        } else {
            error = 0;
        }
        if (error == kUnhandledMsgErr) {
            error = 0;
        }
    }

    if (error != 0) {
        if (plugin != nullptr) {
            Guarded([&] { return plugin->ReportError(error, caller, selector, message); });
        } else {
            DefaultErrorReport(message->self, error);
        }
    }
    return error;
}

}  // namespace

extern "C" MESRA_EXPORT ASErr PluginMain(const char* caller, const char* selector, void* message) {
    auto* data = static_cast<SPMessageData*>(message);
    if (data == nullptr || caller == nullptr || selector == nullptr) {
        return kBadParameterErr;
    }
    sSPBasic = data->basic;
    if (sSPBasic == nullptr) {
        return kBadParameterErr;
    }
    return Guarded([&] { return Dispatch(caller, selector, data); });
}
