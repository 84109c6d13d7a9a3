#include "plugin/preferences/PreferencesFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "plugin/hostaccess/Alert.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"
#include "plugin/preferences/PreferencesFormat.h"
#include "plugin/settings/DimensionSettings.h"

namespace settings {

const char* const kMissingPreferencesAlert =
    "Le fichier Vorn-Cotaline-Prefs.txt n'a pas été trouvé au même niveau que\r"
    "Vorn-Cotaline (CS6).aip\r\r"
    "Le fichier des préférences par défaut a été créé."_w1252;

const char* const kUnwritablePreferencesAlert =
    "Le fichier Vorn-Cotaline-Prefs.txt n'a pas pu être enregistré au même niveau que\r"
    "Vorn-Cotaline (CS6).aip\r\r"
    "Les réglages en cours sont conservés jusqu'à la fermeture."_w1252;

namespace {

// The host's font list: its length and the name of its first font ("" without fonts).
struct HostFonts {
    std::int32_t count = 0;
    std::string first;
};

HostFonts ReadHostFonts() {
    HostFonts fonts;
    if (sAIFont == nullptr || sAIFont->CountFonts(&fonts.count) != 0 || fonts.count <= 0) {
        fonts.count = 0;
        return fonts;
    }
    AIFontKey font = nullptr;
    if (sAIFont->IndexFontList(0, &font) != 0) {
        return fonts;
    }
    char name[256];
    ASInt32 length = 0;
    if (sAIFont->GetFontName(font, name, sizeof name, &length) == 0) {
        fonts.first = name;
    }
    return fonts;
}

void AfterReadOrWrite(DimensionSettings& s) {
    s.prefsLoaded = 1;
    s.scaleStepMultiplier = 0;
    s.fontSizeStepMultiplier = 0;
}

bool WriteFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    {
        // Text mode: on Windows every line feed becomes the system's line end.
        std::ofstream out(temporary, std::ios::out | std::ios::trunc);
        if (!out) {
            return false;
        }
        out << text;
        out.flush();
        if (!out) {
            out.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool SavePreferences(const std::string& path) {
    DimensionSettings& s = Settings();
    const std::string text = PreferencesText(s);
    if (!WriteFile(path, text)) {
        ShowAlert(kUnwritablePreferencesAlert);
        return false;
    }
    // The step multipliers stay as they are: the click that ticks one ends with a save.
    s.prefsLoaded = 1;
    return true;
}

void ResetToDefaults(const std::string& path) {
    DimensionSettings& s = Settings();
    SetDefaults(s, ReadHostFonts().first);
    AfterReadOrWrite(s);
    SavePreferences(path);
}

void LoadPreferences(const std::string& path) {
    // Opened for reading and writing, as the file must be both.
    std::fstream in(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!in) {
        ShowAlert(kMissingPreferencesAlert);
        ResetToDefaults(path);
        return;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    DimensionSettings& s = Settings();
    const HostFonts fonts = ReadHostFonts();
    SetDefaults(s, fonts.first);
    ReadPreferencesText(text, s);
    Sanitize(s, fonts.count);
    AfterReadOrWrite(s);
}

}  // namespace settings
