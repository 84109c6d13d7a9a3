// The host's font list kept between runs, as an illustration program keeps its font cache:
// reading the system's font configuration costs more than everything else a start-up does,
// and the list changes only when fonts or the configuration do.
//
// The cache is a text file (UTF-8, one record a line, fields separated by tabs):
//   mesra-font-list 1
//   env NAME VALUE           the environment the configuration was read under
//   watch PATH STAMP         a file or folder whose change makes the list stale: a font
//                            folder, a configuration file or folder; STAMP is its
//                            modification time in nanoseconds, or "absent"
//   default NAME             the system's default sans-serif face ("" when none)
//   font NAME                the installed fonts, in the host's order
// A cache is trusted only when it reads whole and every watched path is as it was.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace emulator {

struct FontListRecord {
    // The environment variables that choose the configuration, with their values ("" when
    // unset), in a fixed order.
    std::vector<std::pair<std::string, std::string>> environment;
    // Paths with their modification stamps; nothing for a path that did not exist.
    std::vector<std::pair<std::string, std::optional<long long>>> watched;
    std::string defaultSansSerif;
    std::vector<std::string> fonts;
};

// The text of the cache file; "" when a name or a path cannot be written in one field (it
// holds a tab, a line end or another control character), so that no cache is kept.
std::string FontListCacheText(const FontListRecord& record);

// The record a cache file's text holds; nothing when it is not one whole (a line that is
// not understood, a name with a control character, no fonts).
std::optional<FontListRecord> ReadFontListCache(const std::string& text);

// The modification stamp of a path now (nanoseconds), or nothing when it does not exist.
using StampOf = std::function<std::optional<long long>(const std::string& path)>;

// True when `record` still tells the fonts of this system: it was made under the same
// `environment` and every watched path has the stamp it had.
bool FontListStillTrue(const FontListRecord& record,
                       const std::vector<std::pair<std::string, std::string>>& environment,
                       const StampOf& stampOf);

// The modification stamp of `path` in the file system.
std::optional<long long> FileStamp(const std::string& path);

// Where the cache lives: $XDG_CACHE_HOME/mesra/font-list.txt, else
// ~/.cache/mesra/font-list.txt; an empty path when neither is known.
std::filesystem::path FontListCacheFile();

}  // namespace emulator
