// The files that live beside the plug-in file: the preferences file and the click sounds.
#pragma once

#include <string>
#include <string_view>

#include "plugin/host/Records.h"

// The sounds a tool plays after a click it accepts.
enum class ClickSound : ASInt32 {
    Point = 9000,
    Segment = 9001,
    Arc = 9002,
    Bezier = 9003,
};

constexpr const char* kPreferencesFileName = "Vorn-Cotaline-Prefs.txt";

struct PluginFiles {
    std::string preferences;
    std::string pointSound;
    std::string segmentSound;
    std::string arcSound;
    std::string bezierSound;
};

// The path of the preferences file of the plug-in file `pluginPath`: its last 10
// characters (" (CS6).aip") replaced by "-Prefs.txt". A path of fewer than 10 characters
// cannot end with that suffix; the file is then `folder` joined with
// "Vorn-Cotaline-Prefs.txt" by `separator`.
std::string PreferencesPath(std::string_view pluginPath, std::string_view folder, char separator);

// The paths of all files beside the plug-in file, from its path and its folder.
PluginFiles MakePluginFiles(std::string_view pluginPath, std::string_view folder, char separator);

// The file name of a click sound: "BipPoint.wav", "BipSegment.wav", "BipArc.wav", and
// "BipBezier.wav" for any other id.
const char* ClickSoundFileName(ClickSound sound);

// The paths of the current plug-in's files, set by LocatePluginFiles.
PluginFiles& CurrentPluginFiles();

// Asks the host where the plug-in file of `plugin` is and sets the current files from it.
// Paths of any length are taken whole.
ASErr LocatePluginFiles(SPPluginRef plugin);
