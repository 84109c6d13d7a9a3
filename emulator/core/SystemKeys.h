// The keys held on the system the host runs on. The plug-in reads the modifier keys from
// the operating system. On Windows the host makes the system's key state say what the user
// holds, by sending the presses and releases as a keyboard would, so that the plug-in's own
// reading finds them; on POSIX systems the plug-in asks the host's platform suite instead,
// and nothing is sent.
//
// The platform adapter defines it (emulator/platform).
#pragma once

#include <set>

#include "plugin/host/Records.h"

namespace emulator {

// Makes the system's state of the keys the tools read (Ctrl, Alt, Esc, Space, left and
// right Shift, by virtual-key code) agree with `virtualKeys`: a key in it is pressed unless
// the system already holds it, any other released unless the system already has it up.
// Shift follows the two Shift keys, as on a keyboard.
void PublishHeldKeys(const std::set<ASInt32>& virtualKeys);

}  // namespace emulator
