// Where the plug-in lives: the file this build ships, and the host's plug-ins folder in
// which it is installed beside its preferences and sounds.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace app {

constexpr const char* kPluginFileName = "Vorn-Cotaline (CS6).aip";

// The plug-in file shipped with this program: in the folder "plugin" beside the program.
std::optional<std::filesystem::path> ShippedPluginFile(std::string* error);

// The plug-ins folder used without --plugins: $XDG_DATA_HOME/mesra/Plug-ins, or
// ~/.local/share/mesra/Plug-ins (on Windows %APPDATA%\mesra\Plug-ins).
std::filesystem::path DefaultPluginsFolder();

// Installs the shipped plug-in in `folder`, as a user drops it into a host's plug-ins
// folder: creates the folder, links the plug-in file there (replacing an older link or
// copy; on Windows it is copied), and copies the click sounds that are not there yet. The
// preferences file is left as it is. Returns the plug-in's path in the folder.
std::optional<std::filesystem::path> InstallPlugin(const std::filesystem::path& folder,
                                                   const std::filesystem::path& shipped,
                                                   std::string* error);

// The folder of the running program, where the plug-in folder and the program's helpers
// ("mesra-serve", "mesra-picture.so") are. Nothing, with the reason, when it is unknown.
std::optional<std::filesystem::path> ProgramFolder(std::string* error);

// The plug-in installed in the plug-ins folder `folder` (empty: DefaultPluginsFolder()), as
// every command starts: ShippedPluginFile, then InstallPlugin.
std::optional<std::filesystem::path> PreparePlugin(const std::filesystem::path& folder,
                                                   std::string* error);

}  // namespace app
