// The sound a tool plays after a click it accepts.
#pragma once

#include "plugin/hostaccess/PluginFiles.h"

namespace tools {

// Plays the click sound beside the plug-in file without waiting, when the settings have
// sounds on; a missing file plays nothing.
void PlayClickSound(ClickSound sound);

}  // namespace tools
