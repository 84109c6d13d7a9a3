// What a plug-in set up in the host, as lines of text for people to read.
#pragma once

#include <string>
#include <vector>

#include "emulator/core/Host.h"

namespace app {

// One line per registration: the plug-in's tools (title, tip, icons, group, toolset), its
// annotators, its menu items and its notifiers, then the selected tool.
std::vector<std::string> DescribeRegistrations(const emulator::Host& host);

}  // namespace app
