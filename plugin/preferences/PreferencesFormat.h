// The text of the preferences file: 115 pairs of lines, a key in capitals and its value,
// in a fixed order that is the format (the reader goes by position, never by key).
#pragma once

#include <string>
#include <string_view>

#include "plugin/settings/DimensionSettings.h"

namespace settings {

constexpr int kPreferencePairs = 115;

// The file's text for `s` (Windows-1252, every line ended by a line feed). Numbers are
// written with s.decimalSeparator.
std::string PreferencesText(const DimensionSettings& s);

// Reads a file's text into `s`, pair by pair, by the letter rules of each value; a field
// whose pair the text does not reach keeps its value. Lines end at a line feed (a carriage
// return before it is dropped, as a text-mode read drops it), at a NUL byte, and after 98
// characters. Returns the number of pairs read.
int ReadPreferencesText(std::string_view text, DimensionSettings& s);

enum class NumberMode { Real, Integer };

// Parses a number line the lenient way of the file: an optional leading '-', then every
// character up to `decimalSeparator` adds (code − 48) to ten times the value, and, in real
// mode, every character after it adds (code − 48) × 0.1^k. Integer mode returns the integer
// part, truncated and without its sign.
double ParsePrefsNumber(NumberMode mode, std::string_view line, char decimalSeparator);

}  // namespace settings
