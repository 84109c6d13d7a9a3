// Conversions between the encodings that meet at the host's boundary.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace emulator {

// UTF-8 text of the host's UTF-16 text (unpaired surrogates become U+FFFD).
std::string Utf8FromUtf16(std::u16string_view text);

// UTF-16 text of UTF-8 text (invalid bytes become U+FFFD).
std::u16string Utf16FromUtf8(std::string_view text);

// UTF-8 text of Windows-1252 text.
std::string Utf8FromWindows1252(std::string_view text);

// Windows-1252 text of UTF-8 text; characters the code page lacks become '?'.
std::string Windows1252FromUtf8(std::string_view text);

// The text as an event line shows it: each carriage return written as the two characters
// "\r".
std::string EscapeCarriageReturns(std::string_view text);

// The path that UTF-8 text names, and the UTF-8 text of a path, alike on every system:
// POSIX paths are bytes, taken as they are; Windows paths are UTF-16 (invalid bytes become
// U+FFFD), where a path's narrow string would be in the ANSI code page instead.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace emulator
