// The suites about the plug-in and its life in the host, and the platform suite.
#include <filesystem>
#include <optional>
#include <string>

#include "emulator/core/PluginModule.h"
#include "emulator/core/SuiteSupport.h"
#include "plugin/host/PlatformSuite.h"
#include "plugin/host/PluginSuites.h"

namespace emulator {
namespace {

// Copies a path into a caller's buffer as plug-ins read paths on this system (CopyOut's
// rules); a path they cannot read is the host's error.
ASErr CopyOutPath(const std::filesystem::path& path, char* buffer, ASInt32 capacity,
                  ASInt32* length) {
    const std::optional<std::string> text = PluginPathText(path);
    return text ? CopyOut(*text, buffer, capacity, length) : kCantHappenErr;
}

// ---- SP Access Suite ---------------------------------------------------------------------

ASErr AcquirePlugin(SPPluginRef plugin, SPAccessRef* access) {
    Host* host = Enter<SPAccessSuite>();
    if (host == nullptr || access == nullptr || !IsOurPlugin(host, plugin)) {
        return kBadParameterErr;
    }
    *access = host->AcquireAccess();
    return 0;
}

ASErr ReleasePlugin(SPAccessRef access) {
    Host* host = Enter<SPAccessSuite>();
    if (host == nullptr || !host->ReleaseAccess(access)) {
        return kBadParameterErr;
    }
    return 0;
}

constexpr SPAccessSuite kAccess{AcquirePlugin, ReleasePlugin};

// ---- SP Plug-ins Suite -------------------------------------------------------------------

ASErr SetPluginName(SPPluginRef plugin, const char* name) {
    Host* host = Enter<SPPluginsSuite>();
    if (host == nullptr || name == nullptr || !IsOurPlugin(host, plugin)) {
        return kBadParameterErr;
    }
    host->SetPluginName(name);
    return 0;
}

ASErr GetPluginName(SPPluginRef plugin, char* buffer, ASInt32 capacity, ASInt32* length) {
    Host* host = Enter<SPPluginsSuite>();
    if (host == nullptr || !IsOurPlugin(host, plugin)) {
        return kBadParameterErr;
    }
    return CopyOut(host->PluginName(), buffer, capacity, length);
}

ASErr GetPluginFilePath(SPPluginRef plugin, char* buffer, ASInt32 capacity, ASInt32* length) {
    Host* host = Enter<SPPluginsSuite>();
    if (host == nullptr || !IsOurPlugin(host, plugin)) {
        return kBadParameterErr;
    }
    return CopyOutPath(host->Module().File(), buffer, capacity, length);
}

constexpr SPPluginsSuite kPlugins{SetPluginName, GetPluginName, GetPluginFilePath};

constexpr SPBlocksSuite kBlocks{};

// ---- AI Plugin Suite ---------------------------------------------------------------------

ASErr GetPluginOptions(SPPluginRef plugin, ASInt32* options) {
    Host* host = Enter<AIPluginSuite>();
    if (host == nullptr || options == nullptr || !IsOurPlugin(host, plugin)) {
        return kBadParameterErr;
    }
    *options = host->PluginOptions();
    return 0;
}

ASErr SetPluginOptions(SPPluginRef plugin, ASInt32 options) {
    Host* host = Enter<AIPluginSuite>();
    if (host == nullptr || !IsOurPlugin(host, plugin)) {
        return kBadParameterErr;
    }
    host->SetPluginOptions(options);
    return 0;
}

constexpr AIPluginSuite kPluginOptions{GetPluginOptions, SetPluginOptions};

// ---- AI Context Suite --------------------------------------------------------------------

ASErr PushAppContext(SPPluginRef plugin, AIAppContextHandle* context) {
    Host* host = Enter<AIContextSuite>();
    if (host == nullptr || context == nullptr || !IsOurPlugin(host, plugin)) {
        return kBadParameterErr;
    }
    *context = host->Contexts().Add(std::make_unique<AppContext>(AppContext{plugin}));
    return 0;
}

ASErr PopAppContext(AIAppContextHandle context) {
    Host* host = Enter<AIContextSuite>();
    if (host == nullptr) {
        return kBadParameterErr;
    }
    if (!host->Contexts().Remove(context)) {
        host->RecordViolation("application context popped twice or unknown");
        return kBadParameterErr;
    }
    return 0;
}

constexpr AIContextSuite kContext{PushAppContext, PopAppContext};

// ---- AI Notifier Suite -------------------------------------------------------------------

ASErr AddNotifier(SPPluginRef plugin, const char* name, const char* type,
                  AINotifierHandle* notifier) {
    Host* host = Enter<AINotifierSuite>();
    if (host == nullptr || name == nullptr || type == nullptr || !IsOurPlugin(host, plugin)) {
        return kBadParameterErr;
    }
    const AINotifierHandle handle =
        host->MutableNotifiers().Add(std::make_unique<Notifier>(Notifier{name, type}));
    if (notifier != nullptr) {
        *notifier = handle;
    }
    return 0;
}

constexpr AINotifierSuite kNotifier{AddNotifier};

// ---- AI File Path Suite ------------------------------------------------------------------

ASErr GetParentPath(const char* path, char* buffer, ASInt32 capacity, ASInt32* length) {
    if (Enter<AIFilePathSuite>() == nullptr || path == nullptr) {
        return kBadParameterErr;
    }
    return CopyOutPath(PathFromPluginText(path).parent_path(), buffer, capacity, length);
}

constexpr AIFilePathSuite kFilePath{GetParentPath};

// ---- AI Folders Suite --------------------------------------------------------------------

ASErr FindFolder(ASInt32 type, char* buffer, ASInt32 capacity, ASInt32* length) {
    Host* host = Enter<AIFoldersSuite>();
    if (host == nullptr || type != kAIPluginsFolderType || !host->PluginLoaded()) {
        return kBadParameterErr;
    }
    return CopyOutPath(host->Module().File().parent_path(), buffer, capacity, length);
}

constexpr AIFoldersSuite kFolders{FindFolder};

constexpr AIRuntimeSuite kRuntime{};
constexpr AIMdMemorySuite kMdMemory{};

// ---- Mesra Platform Suite ----------------------------------------------------------------

ASInt16 GetAsyncKeyState(ASInt32 virtualKey) {
    Host* host = Enter<MesraPlatformSuite>();
    return host != nullptr && host->KeyHeld(virtualKey) ? ASInt16{-32768} : ASInt16{0};
}

ASErr PlaySoundFile(const char* path) {
    Host* host = Enter<MesraPlatformSuite>();
    if (host == nullptr || path == nullptr) {
        return kBadParameterErr;
    }
    host->PlaySound(path);
    return 0;
}

ASErr GetCurrentSeconds(ASInt64* seconds) {
    Host* host = Enter<MesraPlatformSuite>();
    if (host == nullptr || seconds == nullptr) {
        return kBadParameterErr;
    }
    *seconds = host->Now();
    return 0;
}

constexpr MesraPlatformSuite kPlatform{GetAsyncKeyState, PlaySoundFile, GetCurrentSeconds};

}  // namespace

void OfferPluginSuites(SuiteRegistry& registry) {
    Offer(registry, kAccess);
    Offer(registry, kPlugins);
    Offer(registry, kBlocks);
    Offer(registry, kPluginOptions);
    Offer(registry, kContext);
    Offer(registry, kNotifier);
    Offer(registry, kFilePath);
    Offer(registry, kFolders);
    Offer(registry, kRuntime);
    Offer(registry, kMdMemory);
    Offer(registry, kPlatform);
}

}  // namespace emulator
