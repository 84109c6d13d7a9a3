// The platform services as an emulated host offers them, in place of the operating
// system's own: the key states of the session being replayed, sounds that are recorded
// rather than heard, and the host's clock. Only the hosted build of the plug-in uses it.
#pragma once

#include "plugin/host/Records.h"

struct MesraPlatformSuite {
    static constexpr const char* kName = "Mesra Platform Suite";
    static constexpr ASInt32 kVersion = 1;
    // Non-zero while the key with virtual-key code `virtualKey` is held.
    ASInt16 (*GetAsyncKeyState)(ASInt32 virtualKey);
    // Plays the wave file at `path` (copied) without waiting.
    ASErr (*PlaySoundFile)(const char* path);
    // The host's clock in whole seconds.
    ASErr (*GetCurrentSeconds)(ASInt64* seconds);
};
