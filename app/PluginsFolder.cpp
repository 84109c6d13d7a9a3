#include "app/PluginsFolder.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdlib>
#include <system_error>

#include "emulator/core/Unicode.h"

namespace fs = std::filesystem;

namespace app {
namespace {

constexpr const char* kSoundFiles[] = {"BipPoint.wav", "BipSegment.wav", "BipArc.wav",
                                       "BipBezier.wav"};

}  // namespace

std::optional<fs::path> ProgramFolder(std::string* error) {
#ifdef _WIN32
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            *error = "cannot find the program's own folder: system error " +
                     std::to_string(GetLastError());
            return std::nullopt;
        }
        if (length < name.size()) {
            name.resize(length);
            return fs::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
#else
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec) {
        *error = "cannot find the program's own folder: " + ec.message();
        return std::nullopt;
    }
    return program.parent_path();
#endif
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
        *error = "the plug-in file is missing: " + emulator::Utf8FromPath(plugin);
        return std::nullopt;
    }
    return plugin;
}

fs::path DefaultPluginsFolder() {
#ifdef _WIN32
    const wchar_t* data = _wgetenv(L"APPDATA");
    return fs::path(data != nullptr && *data != L'\0' ? data : L".") / "mesra" / "Plug-ins";
#else
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
        return fs::path(data) / "mesra" / "Plug-ins";
    }
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr && *home != '\0' ? home : ".") / ".local" / "share" / "mesra" /
           "Plug-ins";
#endif
}

std::optional<fs::path> InstallPlugin(const fs::path& folder, const fs::path& shipped,
                                      std::string* error) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        *error = "cannot create the plug-ins folder " + emulator::Utf8FromPath(folder) + ": " +
                 ec.message();
        return std::nullopt;
    }
    const fs::path installed = folder / kPluginFileName;
    const fs::path source = fs::absolute(shipped, ec);
    if (!fs::equivalent(installed, source, ec)) {
        fs::remove(installed, ec);
        ec.clear();
#ifdef _WIN32
        // Windows users copy the plug-in into the folder (a link needs a privilege there).
        fs::copy_file(source, installed, fs::copy_options::overwrite_existing, ec);
#else
        fs::create_symlink(source, installed, ec);
        if (ec) {
            ec.clear();
            fs::copy_file(source, installed, fs::copy_options::overwrite_existing, ec);
        }
#endif
        if (ec) {
            *error = "cannot install the plug-in in " + emulator::Utf8FromPath(folder) + ": " +
                     ec.message();
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
