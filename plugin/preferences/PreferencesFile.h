// The preferences file beside the plug-in: read once at start-up, written after each use
// of the settings panel, recreated with the defaults when it is missing.
#pragma once

#include <string>

namespace settings {

// Reads the live settings from the file at `path`. Fields the file does not reach keep
// their defaults, and every field is brought back into its valid range. When the file
// cannot be opened, the user is told and the defaults are written in its place.
void LoadPreferences(const std::string& path);

// Writes the live settings to the file at `path`, through a temporary file renamed over
// it so that a failure never leaves a half-written file. On failure the user is told once
// and the settings in memory stay as they are. Returns true when the file was written.
bool SavePreferences(const std::string& path);

// Sets every setting to its default (the font is the host's first font) and writes the
// file at `path`.
void ResetToDefaults(const std::string& path);

// The alert shown when the file is missing at start-up (Windows-1252).
extern const char* const kMissingPreferencesAlert;
// The alert shown when the file cannot be written (Windows-1252).
extern const char* const kUnwritablePreferencesAlert;

}  // namespace settings
