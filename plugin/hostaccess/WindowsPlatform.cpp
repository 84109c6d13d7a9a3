// The platform services on Windows: the system's asynchronous key states, its wave
// player and its clock.
// windows.h first: mmsystem.h needs its types.
#include <windows.h>

#include <mmsystem.h>

#include <ctime>

#include "plugin/host/Platform.h"

namespace platform {
namespace {

class WindowsServices final : public Services {
  public:
    // The high bit says the key is down now; the low bit only that it was pressed at some
    // time since the last call, which would count a key already released as held.
    bool KeyHeld(Key key) override {
        return (static_cast<unsigned short>(GetAsyncKeyState(static_cast<int>(key))) & 0x8000u) !=
               0;
    }

    void PlaySoundFile(const std::string& path) override {
        PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
    }

    // Waits for the player's thread to stop, so that no sound plays on while the plug-in
    // and the sound library it brought in are unloaded.
    void StopSounds() override { PlaySoundA(nullptr, nullptr, 0); }

    std::int64_t CurrentSeconds() override { return static_cast<std::int64_t>(std::time(nullptr)); }
};

}  // namespace

Services& NativeServices() {
    static WindowsServices services;
    return services;
}

}  // namespace platform
