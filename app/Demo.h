// The bundled demonstration.
#pragma once

#include <filesystem>
#include <ostream>

namespace app {

// Starts the host, loads the plug-in from `plugin`, starts it, prints what it registered,
// shows its About alert and shuts it down. Returns the exit status.
int RunDemo(const std::filesystem::path& plugin, const std::filesystem::path& outputFolder,
            std::ostream& out, std::ostream& err);

}  // namespace app
