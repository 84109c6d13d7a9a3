// Finding the resources in a plug-in file, as the host's loader does: on this system the
// plug-in is an ELF module whose section ".mesra_resources" holds the resource bundle
// (emulator/core/Resources.h reads it).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace emulator {

// The bytes of the resource section of the 64-bit ELF module `file`. Reads the file's
// header, its section table and section names and the section itself, nothing else (a
// plug-in with its debug information is some megabytes). On failure returns nothing and
// says why in *error: a file that cannot be read, is not a 64-bit ELF module, has a damaged
// section table or no resource section.
std::optional<std::vector<std::uint8_t>> ReadResourceSection(const std::filesystem::path& file,
                                                             std::string* error);

}  // namespace emulator
