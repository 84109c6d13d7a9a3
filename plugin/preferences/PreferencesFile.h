// The preferences file beside the plug-in: read once at start-up, written after each use
// of the settings panel, created with the defaults when it is missing. The file is the
// user's: one that cannot be written is never replaced, and one that cannot be read is
// never overwritten with the defaults.
#pragma once

#include <string>

namespace settings {

// Reads the live settings from the file at `path`. Fields the file does not reach keep
// their defaults, and every field is brought back into its valid range. A missing file is
// created with the defaults; a file that is there but cannot be read is left as it is and
// the defaults are used. Either way the user is told once.
void LoadPreferences(const std::string& path);

// Writes the live settings to the file at `path`, through a temporary file of this
// process renamed over it so that a failure never leaves a half-written file; when the
// folder takes no new file, the file is rewritten in place. A write-protected file is left
// as it is. Nothing is written when the file already holds the settings. On failure the
// settings in memory stay as they are and the user is told, once for the same reason until
// a save succeeds. Returns true when the file holds the settings.
bool SavePreferences(const std::string& path);

// What stands at the preferences file's path.
enum class PreferencesFileState {
    Missing,     // nothing
    Writable,    // a file that can be read and rewritten
    ReadOnly,    // a file that can be read but not written (write-protected)
    Unreadable,  // something that cannot be read as a file: a folder, a file without access
};

// What stands at `path`, found without changing it.
PreferencesFileState ProbePreferencesFile(const std::string& path);

// What start-up does with the file in `state`.
struct LoadPlan {
    bool read;           // the settings come from the file
    bool writeDefaults;  // the defaults are written to a new file
    const char* alert;   // shown to the user (null: nothing to say); when the defaults
                         // cannot be written, kUncreatablePreferencesAlert instead
};
LoadPlan PlanLoad(PreferencesFileState state);

// What a save does with the file in `state`.
struct SavePlan {
    bool replaceWhole;  // first, a temporary file renamed over it
    bool writeInPlace;  // then, when that failed, the file itself truncated and rewritten
    const char* alert;  // shown when nothing was tried or everything tried failed
};
SavePlan PlanSave(PreferencesFileState state);

// The alerts about the file (Windows-1252): missing at start-up and created with the
// defaults; missing and not creatable; there but unreadable; write-protected; not written.
extern const char* const kMissingPreferencesAlert;
extern const char* const kUncreatablePreferencesAlert;
extern const char* const kUnreadablePreferencesAlert;
extern const char* const kWriteProtectedPreferencesAlert;
extern const char* const kUnwritablePreferencesAlert;

}  // namespace settings
