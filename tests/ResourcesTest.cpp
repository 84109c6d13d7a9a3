// The plug-in file's resources as a host reads them: the property list, the image map,
// and the images it names; and the sounds beside the file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "emulator/Resources.h"
#include "tests/HostFixture.h"

namespace {

using emulator::PngSize;
using emulator::ReadPngSize;
using emulator::Resources;

const Resources& PluginResources() {
    static const Resources resources = [] {
        std::string error;
        auto loaded = Resources::Load(testing_support::BuiltPlugin(), &error);
        EXPECT_TRUE(loaded.has_value()) << error;
        return loaded.value_or(Resources{});
    }();
    return resources;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PluginResources, PropertyListNamesTheEntryPoint) {
    const auto& properties = PluginResources().Properties();
    ASSERT_TRUE(properties.has_value());
    EXPECT_EQ(properties->kind, "SPEA");
    EXPECT_EQ(properties->interfaceVersion, 2);
    EXPECT_EQ(properties->codeEntry, "PluginMain");
    EXPECT_EQ(properties->pluginName, "Mesra");
}

// The image map of the plug-in file is the one in the sources, in its exact format, and it
// agrees with the images stored: every listed icon and cursor has its image at its size,
// the double-size names are listed only, and nothing is stored unlisted.
TEST(PluginResources, ImageMapAndImagesAgree) {
    const std::string* map = PluginResources().Text("IDTOFILE");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(*map, ReadFile(std::filesystem::path(MESRA_SOURCE_DIR) / "resources/IDToFile.txt"));

    const std::regex line(R"(^(\d+)\.png\t\t([A-Za-z0-9]+\.png)$)");
    std::istringstream in(*map);
    std::string text;
    std::vector<std::vector<std::pair<int, std::string>>> groups(1);
    while (std::getline(in, text)) {
        if (text.empty()) {
            groups.emplace_back();
            continue;
        }
        std::smatch match;
        ASSERT_TRUE(std::regex_match(text, match, line)) << text;
        groups.back().emplace_back(std::stoi(match[1]), match[2]);
    }
    ASSERT_EQ(groups.size(), 3u);
    ASSERT_EQ(groups[0].size(), 10u);
    ASSERT_EQ(groups[1].size(), 10u);
    ASSERT_EQ(groups[2].size(), 11u);
    for (std::size_t i = 0; i < 10; ++i) {
        const auto& [id, name] = groups[0][i];
        EXPECT_EQ(id, 16051 + static_cast<int>(i));
        const auto* png = PluginResources().Png(id);
        ASSERT_NE(png, nullptr) << name;
        const auto size = ReadPngSize(*png);
        ASSERT_TRUE(size) << name;
        EXPECT_EQ(size->width, 24u) << name;
        EXPECT_EQ(size->height, 24u) << name;
        const auto& [bigId, bigName] = groups[1][i];
        EXPECT_EQ(bigId, 16063 + static_cast<int>(i));
        EXPECT_EQ(bigName, name.substr(0, name.size() - 4) + "x2.png");
        EXPECT_EQ(PluginResources().Png(bigId), nullptr) << bigName;
    }
    const char* cursorNames[] = {"CurseurGenerique",    "CurseurPoint",    "CurseurSegment",
                                 "CurseurModifier",     "CurseurBezier",   "CurseurArc",
                                 "CurseurIntersection", "CurseurMain",     "CurseurPointCentral",
                                 "CurseurSuivant",      "CurseurPointille"};
    for (std::size_t i = 0; i < 11; ++i) {
        const auto& [id, name] = groups[2][i];
        EXPECT_EQ(id, 20000 + static_cast<int>(i));
        EXPECT_EQ(name, std::string(cursorNames[i]) + ".png");
        const auto* png = PluginResources().Png(id);
        ASSERT_NE(png, nullptr) << name;
        const auto size = ReadPngSize(*png);
        ASSERT_TRUE(size) << name;
        EXPECT_EQ(size->width, id == 20007 ? 14u : 16u) << name;
        EXPECT_EQ(size->height, 16u) << name;
    }
    EXPECT_EQ(PluginResources().Pngs().size(), 21u);
}

// Each dark-theme icon is its own picture, not a copy of the light one.
TEST(PluginResources, DarkIconsDifferFromLightOnes) {
    for (int id = 16051; id <= 16059; id += 2) {
        const auto* light = PluginResources().Png(id);
        const auto* dark = PluginResources().Png(id + 1);
        ASSERT_TRUE(light != nullptr && dark != nullptr);
        EXPECT_NE(*light, *dark) << id;
    }
}

TEST(PluginResources, ClickSoundsLieBesideThePluginFile) {
    for (const char* name : {"BipPoint.wav", "BipSegment.wav", "BipArc.wav", "BipBezier.wav"}) {
        const std::string wav = ReadFile(testing_support::BuiltPlugin().parent_path() / name);
        ASSERT_GT(wav.size(), 44u) << name;
        EXPECT_EQ(wav.substr(0, 4), "RIFF") << name;
        EXPECT_EQ(wav.substr(8, 4), "WAVE") << name;
    }
}

TEST(PluginResources, DamagedBundlesAreRefused) {
    std::string error;
    const std::vector<std::vector<std::uint8_t>> bundles = {
        {},
        {'M', 'E', 'S', 'R', 'A'},
        // A directory that claims more entries than the bundle holds.
        {'M', 'E', 'S', 'R', 'A', 'R', 'S', 'C', 0xFF, 0xFF, 0xFF, 0x0F},
    };
    for (const auto& bundle : bundles) {
        EXPECT_FALSE(Resources::Parse(bundle, &error).has_value());
        EXPECT_FALSE(error.empty());
    }
    EXPECT_FALSE(ReadPngSize({0x89, 'P', 'N', 'G'}).has_value());
}

}  // namespace
