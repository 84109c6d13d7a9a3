// Services of the operating system that the plug-in uses: the state of the modifier keys,
// asynchronous sounds, and the clock. On Windows they come from the system itself
// (WindowsPlatform.cpp); inside the emulated host they come from the host's platform
// suite (HostedPlatform.cpp). Exactly one of the two is built into the plug-in.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Virtual-key codes of the keys the tools read.
enum class Key : std::int32_t {
    Shift = 0x10,
    Ctrl = 0x11,
    Alt = 0x12,
    Esc = 0x1B,
    Space = 0x20,
    LeftShift = 0xA0,
    RightShift = 0xA1,
};

class Services {
  public:
    virtual ~Services() = default;
    // True while `key` is held down, sampled now.
    virtual bool KeyHeld(Key key) = 0;
    // Starts playing the wave file at `path` and returns at once; a missing or unreadable
    // file plays nothing and says nothing.
    virtual void PlaySoundFile(const std::string& path) = 0;
    // Stops a sound still playing, before the plug-in is shut down: the system's player
    // belongs to a library that goes with the plug-in.
    virtual void StopSounds() {}
    // The current time in whole seconds.
    virtual std::int64_t CurrentSeconds() = 0;
};

// The services in use: those of the build's platform unless replaced by Override.
Services& Current();

// Replaces the services (for tests); null restores the platform's own.
void Override(Services* services);

}  // namespace platform
