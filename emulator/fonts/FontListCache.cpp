#include "emulator/fonts/FontListCache.h"

#include <sys/stat.h>

#include <charconv>
#include <cstdlib>
#include <sstream>
#include <string_view>

namespace emulator {
namespace {

constexpr std::string_view kHeader = "mesra-font-list 1";
constexpr std::string_view kAbsent = "absent";

// True when `text` can stand in one field: no tab, no line end, no other control.
bool FieldSafe(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return true;
}

// The fields of a line split at tabs.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(tab + 1);
    }
}

}  // namespace

std::string FontListCacheText(const FontListRecord& record) {
    bool safe = FieldSafe(record.defaultSansSerif);
    for (const auto& [name, value] : record.environment) {
        safe = safe && FieldSafe(name) && FieldSafe(value);
    }
    for (const auto& [path, stamp] : record.watched) {
        safe = safe && !path.empty() && FieldSafe(path);
    }
    for (const std::string& font : record.fonts) {
        safe = safe && !font.empty() && FieldSafe(font);
    }
    if (!safe) {
        return {};
    }
    std::string text(kHeader);
    text += '\n';
    for (const auto& [name, value] : record.environment) {
        text += "env\t" + name + '\t' + value + '\n';
    }
    for (const auto& [path, stamp] : record.watched) {
        text += "watch\t" + path + '\t' + (stamp ? std::to_string(*stamp) : std::string(kAbsent)) +
                '\n';
    }
    text += "default\t" + record.defaultSansSerif + '\n';
    for (const std::string& font : record.fonts) {
        text += "font\t" + font + '\n';
    }
    return text;
}

std::optional<FontListRecord> ReadFontListCache(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kHeader) {
        return std::nullopt;
    }
    FontListRecord record;
    bool sawDefault = false;
    while (std::getline(in, line)) {
        const std::vector<std::string_view> fields = Fields(line);
        const std::string_view kind = fields[0];
        if (kind == "env" && fields.size() == 3) {
            record.environment.emplace_back(fields[1], fields[2]);
        } else if (kind == "watch" && fields.size() == 3 && !fields[1].empty()) {
            std::optional<long long> stamp;
            if (fields[2] != kAbsent) {
                long long value = 0;
                const auto [end, ec] =
                    std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), value);
                if (ec != std::errc() || end != fields[2].data() + fields[2].size()) {
                    return std::nullopt;
                }
                stamp = value;
            }
            record.watched.emplace_back(fields[1], stamp);
        } else if (kind == "default" && fields.size() == 2 && !sawDefault) {
            record.defaultSansSerif = fields[1];
            sawDefault = true;
        } else if (kind == "font" && fields.size() == 2 && !fields[1].empty()) {
            record.fonts.emplace_back(fields[1]);
        } else {
            return std::nullopt;
        }
        for (const std::string_view field : fields) {
            if (!FieldSafe(field)) {
                return std::nullopt;
            }
        }
    }
    if (!sawDefault || record.fonts.empty() || record.watched.empty()) {
        return std::nullopt;
    }
    return record;
}

bool FontListStillTrue(const FontListRecord& record,
                       const std::vector<std::pair<std::string, std::string>>& environment,
                       const StampOf& stampOf) {
    if (record.environment != environment) {
        return false;
    }
    for (const auto& [path, stamp] : record.watched) {
        if (stampOf(path) != stamp) {
            return false;
        }
    }
    return true;
}

std::optional<long long> FileStamp(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return static_cast<long long>(status.st_mtim.tv_sec) * 1'000'000'000LL + status.st_mtim.tv_nsec;
}

std::filesystem::path FontListCacheFile() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && *cache == '/') {
        return std::filesystem::path(cache) / "mesra" / "font-list.txt";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home == '/') {
        return std::filesystem::path(home) / ".cache" / "mesra" / "font-list.txt";
    }
    return {};
}

}  // namespace emulator
