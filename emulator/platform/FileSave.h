// Saving a file so that a crash, a killed process or a power cut leaves either the old file
// or the whole new one, never a mixture and never an empty file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace emulator {

// Writes `bytes` to `file` through a temporary file in the same folder (".NAME.tmp-PID-N"),
// flushed to disk, then renamed over `file`, and the folder flushed so that the rename
// itself survives a power cut. An existing file keeps its permissions (and its owner, when
// the process may give it); a file that cannot be written (write-protected) is refused, not
// replaced; a save through a symbolic link writes the file the link leads to and keeps the
// link. (On Windows the move that replaces the file is written through to the disk, and the
// new file takes the folder's default permissions.) Temporary files of the same name left by
// a process of ours that has died are removed first. Returns false with the reason in
// English (naming the file) in *error (when not null) on failure, with the old file untouched
// and no temporary file left.
bool WriteFileWhole(const std::filesystem::path& file, std::string_view bytes, std::string* error);

// The prefix of the temporary files that saves of `file` use: ".NAME.tmp-" (UTF-8).
std::string TemporaryPrefix(const std::filesystem::path& file);

}  // namespace emulator
