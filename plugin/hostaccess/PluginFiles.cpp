#include "plugin/hostaccess/PluginFiles.h"

#include <vector>

#include "plugin/host/ResultCodes.h"
#include "plugin/hostaccess/Suites.h"

namespace {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

constexpr std::size_t kPluginSuffixLength = 10;

std::string Join(std::string_view folder, std::string_view file, char separator) {
    std::string path(folder);
    if (!path.empty() && path.back() != separator) {
        path += separator;
    }
    path += file;
    return path;
}

// Reads a string that the host copies into a caller's buffer, asking again with room
// enough when the first buffer was too small.
template <typename Read>
ASErr ReadHostString(Read read, std::string* out) {
    std::vector<char> buffer(260);
    for (int attempt = 0; attempt < 2; ++attempt) {
        ASInt32 length = 0;
        ASErr error = read(buffer.data(), static_cast<ASInt32>(buffer.size()), &length);
        if (error == 0) {
            out->assign(buffer.data(), static_cast<std::size_t>(length));
            return 0;
        }
        if (error != kBufferTooSmallErr || length < 0) {
            return error;
        }
        buffer.resize(static_cast<std::size_t>(length) + 1);
    }
    return kBufferTooSmallErr;
}

}  // namespace

std::string PreferencesPath(std::string_view pluginPath, std::string_view folder, char separator) {
    if (pluginPath.size() < kPluginSuffixLength) {
        return Join(folder, kPreferencesFileName, separator);
    }
    std::string path(pluginPath.substr(0, pluginPath.size() - kPluginSuffixLength));
    path += "-Prefs.txt";
    return path;
}

PluginFiles MakePluginFiles(std::string_view pluginPath, std::string_view folder, char separator) {
    return {
        PreferencesPath(pluginPath, folder, separator),
        Join(folder, ClickSoundFileName(ClickSound::Point), separator),
        Join(folder, ClickSoundFileName(ClickSound::Segment), separator),
        Join(folder, ClickSoundFileName(ClickSound::Arc), separator),
        Join(folder, ClickSoundFileName(ClickSound::Bezier), separator),
    };
}

const char* ClickSoundFileName(ClickSound sound) {
    switch (sound) {
        case ClickSound::Point:
            return "BipPoint.wav";
        case ClickSound::Segment:
            return "BipSegment.wav";
        case ClickSound::Arc:
            return "BipArc.wav";
        default:
            return "BipBezier.wav";
    }
}

PluginFiles& CurrentPluginFiles() {
    static PluginFiles files;
    return files;
}

ASErr LocatePluginFiles(SPPluginRef plugin) {
    std::string pluginPath;
    ASErr error = ReadHostString(
        [plugin](char* buffer, ASInt32 capacity, ASInt32* length) {
            return sSPPlugins->GetPluginFilePath(plugin, buffer, capacity, length);
        },
        &pluginPath);
    std::string folder;
    if (error == 0) {
        error = ReadHostString(
            [&pluginPath](char* buffer, ASInt32 capacity, ASInt32* length) {
                return sAIFilePath->GetParentPath(pluginPath.c_str(), buffer, capacity, length);
            },
            &folder);
    }
    if (error == 0) {
        CurrentPluginFiles() = MakePluginFiles(pluginPath, folder, kPathSeparator);
    }
    return error;
}
