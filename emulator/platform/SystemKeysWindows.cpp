// The keys held on Windows: the host presses and releases them as a keyboard would
// (SendInput), and the system's asynchronous key state, which the plug-in reads, follows.
#include <windows.h>

#include <vector>

#include "emulator/core/SystemKeys.h"
#include "plugin/host/Platform.h"

namespace emulator {
namespace {

// A key of the keyboard: its virtual-key code, its scan code and whether the keyboard marks
// it extended (the right Shift key is, and Wine tells the two Shift keys apart by it).
struct KeyboardKey {
    platform::Key key;
    WORD scanCode;
    bool extended;
};

constexpr KeyboardKey kKeys[] = {
    {platform::Key::Ctrl, 0x1D, false},      {platform::Key::Alt, 0x38, false},
    {platform::Key::Esc, 0x01, false},       {platform::Key::Space, 0x39, false},
    {platform::Key::LeftShift, 0x2A, false}, {platform::Key::RightShift, 0x36, true},
};

}  // namespace

void PublishHeldKeys(const std::set<ASInt32>& virtualKeys) {
    std::vector<INPUT> inputs;
    for (const KeyboardKey& key : kKeys) {
        const auto code = static_cast<ASInt32>(key.key);
        const bool wanted = virtualKeys.count(code) != 0;
        const bool held = (GetAsyncKeyState(code) & 0x8000) != 0;
        if (wanted == held) {
            continue;
        }
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(code);
        input.ki.wScan = key.scanCode;
        input.ki.dwFlags =
            (wanted ? 0 : KEYEVENTF_KEYUP) | (key.extended ? KEYEVENTF_EXTENDEDKEY : 0);
        inputs.push_back(input);
    }
    if (!inputs.empty()) {
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }
}

}  // namespace emulator
