#include "app/PluginsFolder.h"

#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

namespace app {
namespace {

constexpr const char* kSoundFiles[] = {"BipPoint.wav", "BipSegment.wav", "BipArc.wav",
                                       "BipBezier.wav"};

}  // namespace

std::optional<fs::path> ProgramFolder(std::string* error) {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec) {
        *error = "cannot find the program's own folder: " + ec.message();
        return std::nullopt;
    }
    return program.parent_path();
}

std::optional<fs::path> PreparePlugin(const fs::path& folder, std::string* error) {
    const auto shipped = ShippedPluginFile(error);
    if (!shipped) {
        return std::nullopt;
    }
    return InstallPlugin(folder.empty() ? DefaultPluginsFolder() : folder, *shipped, error);
}

std::optional<fs::path> ShippedPluginFile(std::string* error) {
    const auto program = ProgramFolder(error);
    if (!program) {
        return std::nullopt;
    }
    std::error_code ec;
    const fs::path plugin = *program / "plugin" / kPluginFileName;
    if (!fs::is_regular_file(plugin, ec)) {
        *error = "the plug-in file is missing: " + plugin.string();
        return std::nullopt;
    }
    return plugin;
}

fs::path DefaultPluginsFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
        return fs::path(data) / "mesra" / "Plug-ins";
    }
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr && *home != '\0' ? home : ".") / ".local" / "share" / "mesra" /
           "Plug-ins";
}

std::optional<fs::path> InstallPlugin(const fs::path& folder, const fs::path& shipped,
                                      std::string* error) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        *error = "cannot create the plug-ins folder " + folder.string() + ": " + ec.message();
        return std::nullopt;
    }
    const fs::path installed = folder / kPluginFileName;
    const fs::path source = fs::absolute(shipped, ec);
    if (!fs::equivalent(installed, source, ec)) {
        fs::remove(installed, ec);
        ec.clear();
        fs::create_symlink(source, installed, ec);
        if (ec) {
            ec.clear();
            fs::copy_file(source, installed, fs::copy_options::overwrite_existing, ec);
        }
        if (ec) {
            *error = "cannot install the plug-in in " + folder.string() + ": " + ec.message();
            return std::nullopt;
        }
    }
    for (const char* sound : kSoundFiles) {
        const fs::path target = folder / sound;
        if (!fs::exists(target, ec)) {
            fs::copy_file(source.parent_path() / sound, target, ec);
            ec.clear();
        }
    }
    return installed;
}

}  // namespace app
