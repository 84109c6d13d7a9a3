// Suites about the plug-in itself and its life in the host: access, identity, options,
// notifications, application context, file locations.
#pragma once

#include "plugin/host/Records.h"

// Strings that cross this boundary are Windows-1252 unless said otherwise; file paths are
// in the platform's own encoding.

struct SPAccessSuite {
    static constexpr const char* kName = "SP Access Suite";
    static constexpr ASInt32 kVersion = 3;
    // Keeps the plug-in's code loaded until the matching ReleasePlugin; *access receives the
    // reference to give back.
    ASErr (*AcquirePlugin)(SPPluginRef plugin, SPAccessRef* access);
    // Gives back a reference from AcquirePlugin; the reference is dead afterwards.
    ASErr (*ReleasePlugin)(SPAccessRef access);
};

struct SPPluginsSuite {
    static constexpr const char* kName = "SP Plug-ins Suite";
    static constexpr ASInt32 kVersion = 4;
    // Sets the name under which the host lists the plug-in (copied).
    ASErr (*SetPluginName)(SPPluginRef plugin, const char* name);
    // Copies the plug-in's name into buffer (NUL-terminated, truncated to capacity) and sets
    // *length to the full length without the NUL.
    ASErr (*GetPluginName)(SPPluginRef plugin, char* buffer, ASInt32 capacity, ASInt32* length);
    // Copies the full path of the plug-in file into buffer as GetPluginName does. With a
    // capacity below the length + 1 it answers kBufferTooSmallErr and still sets *length,
    // so a caller can ask again with room enough; a null buffer with capacity 0 asks the
    // length only.
    ASErr (*GetPluginFilePath)(SPPluginRef plugin, char* buffer, ASInt32 capacity, ASInt32* length);
};

struct SPBlocksSuite {
    static constexpr const char* kName = "SP Blocks Suite";
    static constexpr ASInt32 kVersion = 2;
};

// Plug-in option flags.
constexpr ASInt32 kPluginWantsResultsAutoSelectedOption = 2;

struct AIPluginSuite {
    static constexpr const char* kName = "AI Plugin Suite";
    static constexpr ASInt32 kVersion = 4;
    // Reads the plug-in's option flags.
    ASErr (*GetPluginOptions)(SPPluginRef plugin, ASInt32* options);
    // Replaces the plug-in's option flags.
    ASErr (*SetPluginOptions)(SPPluginRef plugin, ASInt32 options);
};

struct AIContextSuite {
    static constexpr const char* kName = "AI Context Suite";
    static constexpr ASInt32 kVersion = 6;
    // Makes the plug-in's application context current until PopAppContext with the handle
    // written to *context. Pushes and pops nest and must balance within one message.
    ASErr (*PushAppContext)(SPPluginRef plugin, AIAppContextHandle* context);
    // Ends the context of the latest PushAppContext; the handle is dead afterwards.
    ASErr (*PopAppContext)(AIAppContextHandle context);
};

struct AINotifierSuite {
    static constexpr const char* kName = "AI Notifier Suite";
    static constexpr ASInt32 kVersion = 3;
    // Subscribes the plug-in to notifications of `type` ("AI Art Selection Changed
    // Notifier"...). `name` names the subscription (copied). *notifier receives the handle
    // that later "AI Notifier" messages carry; a null slot is allowed.
    ASErr (*AddNotifier)(SPPluginRef plugin, const char* name, const char* type,
                         AINotifierHandle* notifier);
};

struct AIFilePathSuite {
    static constexpr const char* kName = "AI File Path Suite";
    static constexpr ASInt32 kVersion = 3;
    // Copies the folder part of `path` (without a trailing separator) into buffer, with the
    // buffer rules of SPPluginsSuite::GetPluginFilePath. A path without a folder gives "".
    ASErr (*GetParentPath)(const char* path, char* buffer, ASInt32 capacity, ASInt32* length);
};

// Folders that FindFolder knows.
constexpr ASInt32 kAIPluginsFolderType = 2;

struct AIFoldersSuite {
    static constexpr const char* kName = "AI Folders Suite";
    static constexpr ASInt32 kVersion = 4;
    // Copies the path of one of the host's folders into buffer, with the buffer rules of
    // SPPluginsSuite::GetPluginFilePath. An unknown type answers kBadParameterErr.
    ASErr (*FindFolder)(ASInt32 type, char* buffer, ASInt32 capacity, ASInt32* length);
};

struct AIRuntimeSuite {
    static constexpr const char* kName = "AI Runtime Suite";
    static constexpr ASInt32 kVersion = 11;
};

struct AIMdMemorySuite {
    static constexpr const char* kName = "AI MdMemory Suite";
    static constexpr ASInt32 kVersion = 2;
};

// Notifier types.
constexpr const char* kAIApplicationStartedNotifier = "AI Application Started Notifier";
constexpr const char* kAIApplicationShutdownNotifier = "AI Application Shutdown Notifier";
constexpr const char* kAIDocumentOpenedNotifier = "AI Document Opened Notifier";
constexpr const char* kAIArtSelectionChangedNotifier = "AI Art Selection Changed Notifier";
constexpr const char* kAIArtCustomColorChangedNotifier = "AI Art Custom Color Changed Notifier";
