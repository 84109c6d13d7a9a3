// The boundaries between the product's parts: the plug-in file needs nothing but the C++
// standard library, exports nothing but its entry point, and its sources never include the
// emulated host or the program; the emulated host's core includes none of its adapters.
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/support/HostFixture.h"

namespace {

struct DynamicInfo {
    std::vector<std::string> needed;
    std::vector<std::string> exported;
};

template <typename T>
T Read(const std::vector<char>& file, std::size_t at) {
    T value{};
    if (at + sizeof(T) <= file.size()) {
        std::memcpy(&value, file.data() + at, sizeof(T));
    }
    return value;
}

// The libraries an ELF module needs and the functions and objects it exports.
DynamicInfo ReadDynamicInfo(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> file((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
    const auto header = Read<Elf64_Ehdr>(file, 0);
    std::vector<Elf64_Shdr> sections;
    for (int i = 0; i < header.e_shnum; ++i) {
        sections.push_back(Read<Elf64_Shdr>(file, header.e_shoff + i * sizeof(Elf64_Shdr)));
    }
    auto text = [&](const Elf64_Shdr& table, std::size_t offset) {
        return std::string(file.data() + table.sh_offset + offset);
    };
    DynamicInfo info;
    for (const Elf64_Shdr& section : sections) {
        if (section.sh_type == SHT_DYNAMIC) {
            const Elf64_Shdr& strings = sections.at(section.sh_link);
            for (std::size_t at = section.sh_offset; at < section.sh_offset + section.sh_size;
                 at += sizeof(Elf64_Dyn)) {
                const auto entry = Read<Elf64_Dyn>(file, at);
                if (entry.d_tag == DT_NEEDED) {
                    info.needed.push_back(text(strings, entry.d_un.d_val));
                }
            }
        }
        if (section.sh_type == SHT_DYNSYM) {
            const Elf64_Shdr& strings = sections.at(section.sh_link);
            for (std::size_t at = section.sh_offset; at < section.sh_offset + section.sh_size;
                 at += sizeof(Elf64_Sym)) {
                const auto symbol = Read<Elf64_Sym>(file, at);
                const int binding = ELF64_ST_BIND(symbol.st_info);
                const int type = ELF64_ST_TYPE(symbol.st_info);
                if (symbol.st_shndx != SHN_UNDEF && binding != STB_LOCAL &&
                    (type == STT_FUNC || type == STT_OBJECT)) {
                    info.exported.push_back(text(strings, symbol.st_name));
                }
            }
        }
    }
    return info;
}

TEST(Boundary, PluginNeedsOnlyTheStandardLibraryAndExportsOnlyItsEntry) {
    const DynamicInfo info = ReadDynamicInfo(testing_support::BuiltPlugin());
    std::set<std::string> allowed = {"libstdc++.so.6", "libm.so.6", "libgcc_s.so.1", "libc.so.6"};
#ifdef MESRA_SANITIZED_BUILD
    allowed.insert({"libasan.so.8", "libubsan.so.1"});
#endif
    EXPECT_FALSE(info.needed.empty());
    for (const std::string& library : info.needed) {
        EXPECT_TRUE(allowed.count(library)) << "the plug-in needs " << library;
    }
#ifndef MESRA_SANITIZED_BUILD
    EXPECT_EQ(info.exported, std::vector<std::string>{"PluginMain"});
#endif
}

// The plug-in's folders, bottom first: a file may include its own folder's headers and those
// of the folders below it, never one above, so that the layers point one way. Nothing else
// (the emulated host, the program) may be included at all.
constexpr const char* kLayers[] = {
    "host", "hostaccess", "settings", "measure", "preferences", "geometry",
    "ate",  "drawing",    "tools",    "ui",      "frame",
};

// The level of a folder in kLayers, or -1 when it is not one of the plug-in's folders.
int LevelOf(const std::string& folder) {
    for (int level = 0; level < static_cast<int>(std::size(kLayers)); ++level) {
        if (folder == kLayers[level]) {
            return level;
        }
    }
    return -1;
}

struct Include {
    std::string header;  // as written between the quotes or the angle brackets
    bool angled = false;
};

// Calls `visit(file, include)` for every include line of the C++ files under `folder` of the
// source tree; returns how many files it read.
template <typename Visit>
int ForEachInclude(const std::filesystem::path& folder, Visit visit) {
    const std::regex include(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const auto extension = entry.path().extension();
        if (extension != ".h" && extension != ".cpp") {
            continue;
        }
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            std::smatch match;
            if (std::regex_search(line, match, include)) {
                visit(entry.path(), Include{match[2], match[1] == "<"});
            }
        }
    }
    return files;
}

// Would catch a plug-in file that reaches into the emulated host, or a lower layer that
// includes a higher one (settings including the tools, say).
TEST(Boundary, PluginIncludesPointDownTheLayers) {
    const std::filesystem::path root = std::filesystem::path(MESRA_SOURCE_DIR) / "plugin";
    int files = 0;
    for (const char* folder : kLayers) {
        const int level = LevelOf(folder);
        files += ForEachInclude(root / folder, [&](const auto& file, const Include& include) {
            if (include.angled) {
                return;  // a standard or system header
            }
            const std::string& header = include.header;
            const std::string prefix = "plugin/";
            const auto slash = header.find('/', prefix.size());
            const int target = header.rfind(prefix, 0) == 0 && slash != std::string::npos
                                   ? LevelOf(header.substr(prefix.size(), slash - prefix.size()))
                                   : -1;
            EXPECT_TRUE(target >= 0 && target <= level) << file << " includes " << header;
        });
    }
    EXPECT_GT(files, 20);
}

// The emulated host's core builds with the standard library alone: it includes its own
// headers, the host's declarations and standard headers (no directory, no extension), never
// one of its adapters (files, fonts, pictures, the platform's loader) nor their libraries.
// The adapters and the core never include the program. Would catch the core reaching for
// the XML library or the SVG writer again.
TEST(Boundary, EmulatorCoreIncludesNoAdapter) {
    const std::filesystem::path root = std::filesystem::path(MESRA_SOURCE_DIR) / "emulator";
    const int files = ForEachInclude(root / "core", [](const auto& file, const Include& include) {
        const std::string& header = include.header;
        if (include.angled) {
            EXPECT_EQ(header.find_first_of("./"), std::string::npos)
                << file << " includes <" << header << ">, which is not a standard header";
        } else {
            EXPECT_TRUE(header.rfind("emulator/core/", 0) == 0 ||
                        header.rfind("plugin/host/", 0) == 0)
                << file << " includes " << header;
        }
    });
    EXPECT_GT(files, 20);
    ForEachInclude(root, [](const auto& file, const Include& include) {
        EXPECT_NE(include.header.rfind("app/", 0), 0u) << file << " includes " << include.header;
    });
}

// The host and the program reach the plug-in through its entry point, never its code: of
// the plug-in's folders they include only the host's declarations.
TEST(Boundary, HostAndProgramIncludeOnlyTheHostDeclarationsOfThePlugin) {
    const std::filesystem::path root = MESRA_SOURCE_DIR;
    for (const char* part : {"emulator", "app"}) {
        ForEachInclude(root / part, [](const auto& file, const Include& include) {
            const std::string& header = include.header;
            EXPECT_TRUE(header.rfind("plugin/", 0) != 0 || header.rfind("plugin/host/", 0) == 0)
                << file << " includes " << header;
        });
    }
}

}  // namespace
