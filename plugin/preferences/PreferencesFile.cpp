#include "plugin/preferences/PreferencesFile.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
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

const char* const kUncreatablePreferencesAlert =
    "Le fichier Vorn-Cotaline-Prefs.txt n'a pas été trouvé au même niveau que\r"
    "Vorn-Cotaline (CS6).aip\r\r"
    "Il n'a pas pu y être créé : les réglages par défaut sont utilisés jusqu'à la "
    "fermeture."_w1252;

const char* const kUnreadablePreferencesAlert =
    "Le fichier Vorn-Cotaline-Prefs.txt n'a pas pu être lu au même niveau que\r"
    "Vorn-Cotaline (CS6).aip\r\r"
    "Il est laissé tel quel : les réglages par défaut sont utilisés jusqu'à la "
    "fermeture."_w1252;

const char* const kWriteProtectedPreferencesAlert =
    "Le fichier Vorn-Cotaline-Prefs.txt est protégé en écriture au même niveau que\r"
    "Vorn-Cotaline (CS6).aip\r\r"
    "Il est laissé tel quel : les réglages en cours sont conservés jusqu'à la "
    "fermeture."_w1252;

const char* const kUnwritablePreferencesAlert =
    "Le fichier Vorn-Cotaline-Prefs.txt n'a pas pu être enregistré au même niveau que\r"
    "Vorn-Cotaline (CS6).aip\r\r"
    "Les réglages en cours sont conservés jusqu'à la fermeture."_w1252;

namespace {

namespace fs = std::filesystem;

// A temporary file older than this belongs to a save that never finished (its process was
// stopped): a save takes a moment.
constexpr std::chrono::hours kStaleTemporaryAge{1};

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

// The alert of the last save that failed, shown once until a save succeeds.
const char*& ToldFailure() {
    static const char* told = nullptr;
    return told;
}

// Sixteen hex digits of this process's own, so that two hosts sharing a plug-ins folder
// never write through the same temporary file. The clocks make it differ even where the
// random device is deterministic.
const std::string& ProcessTag() {
    static const std::string tag = [] {
        auto bits =
            static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        bits ^=
            static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count())
            << 17;
        try {
            std::random_device device;
            bits ^= (std::uint64_t{device()} << 32) | device();
        } catch (...) {
            // No random device: the clocks alone.
        }
        char text[17];
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
        return std::string(text);
    }();
    return tag;
}

std::string TemporaryPrefix(const fs::path& file) {
    return file.filename().string() + ".tmp-";
}

// Removes the temporary files of saves that never finished, never this process's own. It is
// housekeeping: a name the system cannot convert ends it, and the save goes on.
void RemoveStaleTemporaries(const fs::path& file) {
    const std::string prefix = TemporaryPrefix(file);
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    const auto now = fs::file_time_type::clock::now();
    std::error_code error;
    try {
        fs::directory_iterator entries(folder, error);
        for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
            const std::string name = entries->path().filename().string();
            if (name.size() != prefix.size() + 16 || name.compare(0, prefix.size(), prefix) != 0 ||
                name.compare(prefix.size(), 16, ProcessTag()) == 0 ||
                name.find_first_not_of("0123456789abcdef", prefix.size()) != std::string::npos) {
                continue;
            }
            std::error_code ignored;
            const auto written = fs::last_write_time(entries->path(), ignored);
            if (!ignored && now - written > kStaleTemporaryAge) {
                fs::remove(entries->path(), ignored);
            }
        }
    } catch (const std::exception&) {
        return;
    }
}

bool WriteText(std::ofstream& out, const std::string& text) {
    out << text;
    out.flush();
    return static_cast<bool>(out);
}

// The file that `path` names: the target of a link, so that a save replaces the file the
// user linked and keeps the link.
std::string LinkTarget(const std::string& path) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(path, error))) {
        const fs::path target = fs::canonical(path, error);
        if (!error) {
            return target.string();
        }
    }
    return path;
}

// Writes `text` to a temporary file beside the file `named` and renames it over that file.
bool ReplaceWhole(const std::string& named, const std::string& text) {
    const std::string path = LinkTarget(named);
    RemoveStaleTemporaries(path);
    const std::string temporary =
        (fs::path(path).parent_path() / (TemporaryPrefix(path) + ProcessTag())).string();
    std::error_code ignored;
    {
        // Text mode: on Windows every line feed becomes the system's line end.
        std::ofstream out(temporary, std::ios::out | std::ios::trunc);
        if (!out) {
            return false;
        }
        if (!WriteText(out, text)) {
            out.close();
            fs::remove(temporary, ignored);
            return false;
        }
    }
    // The new file keeps the permissions of the one it replaces.
    if (const fs::file_status old = fs::status(path, ignored); fs::is_regular_file(old)) {
        fs::permissions(temporary, old.permissions(), ignored);
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) {
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

// Truncates the file at `path` and writes `text` into it.
bool WriteInPlace(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::out | std::ios::trunc);
    return out && WriteText(out, text);
}

bool ReadWhole(const std::string& path, std::string* text, std::ios::openmode extra) {
    std::ifstream in(path, std::ios::in | extra);
    if (!in) {
        return false;
    }
    text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// True when the file at `path` already holds `text`, read as a text-mode write left it.
bool Holds(const std::string& path, const std::string& text) {
    std::string held;
    return ReadWhole(path, &held, {}) && held == text;
}

// Writes `text` to the file at `path` as its state allows. Returns null when the file holds
// the text, else the alert that says why it does not.
const char* Write(const std::string& path, const std::string& text) {
    const PreferencesFileState state = ProbePreferencesFile(path);
    if ((state == PreferencesFileState::Writable || state == PreferencesFileState::ReadOnly) &&
        Holds(path, text)) {
        return nullptr;
    }
    const SavePlan plan = PlanSave(state);
    if ((plan.replaceWhole && ReplaceWhole(path, text)) ||
        (plan.writeInPlace && WriteInPlace(path, text))) {
        return nullptr;
    }
    return plan.alert;
}

void AfterLoad(DimensionSettings& s) {
    s.prefsLoaded = 1;
    s.scaleStepMultiplier = 0;
    s.fontSizeStepMultiplier = 0;
}

}  // namespace

PreferencesFileState ProbePreferencesFile(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return PreferencesFileState::Missing;
    }
    // A folder, a pipe or a path that cannot be looked at is not opened: a pipe would block.
    if (error || status.type() != fs::file_type::regular) {
        return PreferencesFileState::Unreadable;
    }
    // Opened for update, which neither creates nor truncates.
    if (std::fstream(path, std::ios::in | std::ios::out | std::ios::binary)) {
        return PreferencesFileState::Writable;
    }
    if (std::ifstream(path, std::ios::in | std::ios::binary)) {
        return PreferencesFileState::ReadOnly;
    }
    return PreferencesFileState::Unreadable;
}

LoadPlan PlanLoad(PreferencesFileState state) {
    switch (state) {
        case PreferencesFileState::Missing:
            return {false, true, kMissingPreferencesAlert};
        case PreferencesFileState::Writable:
        case PreferencesFileState::ReadOnly:
            return {true, false, nullptr};
        case PreferencesFileState::Unreadable:
            break;
    }
    return {false, false, kUnreadablePreferencesAlert};
}

SavePlan PlanSave(PreferencesFileState state) {
    switch (state) {
        case PreferencesFileState::Missing:
        case PreferencesFileState::Writable:
            return {true, true, kUnwritablePreferencesAlert};
        case PreferencesFileState::ReadOnly:
            return {false, false, kWriteProtectedPreferencesAlert};
        case PreferencesFileState::Unreadable:
            break;
    }
    return {false, false, kUnwritablePreferencesAlert};
}

bool SavePreferences(const std::string& path) {
    DimensionSettings& s = Settings();
    const char* alert = Write(path, PreferencesText(s));
    if (alert == nullptr) {
        ToldFailure() = nullptr;
        s.prefsLoaded = 1;
        return true;
    }
    if (ToldFailure() != alert) {
        ShowAlert(alert);
        ToldFailure() = alert;
    }
    return false;
}

void LoadPreferences(const std::string& path) {
    ToldFailure() = nullptr;
    LoadPlan plan = PlanLoad(ProbePreferencesFile(path));
    std::string text;
    if (plan.read && !ReadWhole(path, &text, std::ios::binary)) {
        plan = PlanLoad(PreferencesFileState::Unreadable);
    }
    DimensionSettings& s = Settings();
    const HostFonts fonts = ReadHostFonts();
    SetDefaults(s, fonts.first);
    if (plan.read) {
        ReadPreferencesText(text, s);
        Sanitize(s, fonts.count);
    }
    AfterLoad(s);
    const char* alert = plan.alert;
    if (plan.writeDefaults && Write(path, PreferencesText(s)) != nullptr) {
        alert = kUncreatablePreferencesAlert;
    }
    if (alert != nullptr) {
        ShowAlert(alert);
    }
}

}  // namespace settings
