// The plug-in file's resources as a host reads them: the property list, the image map,
// and the images it names; and the sounds beside the file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "emulator/core/Resources.h"
#include "emulator/platform/ResourceSection.h"
#include "tests/support/HostFixture.h"

namespace {

using emulator::PngSize;
using emulator::ReadPngSize;
using emulator::Resources;

const Resources& PluginResources() {
    static const Resources resources = [] {
        std::string error;
        const auto bundle = emulator::ReadResourceSection(testing_support::BuiltPlugin(), &error);
        auto loaded = bundle ? Resources::Parse(*bundle, &error) : std::nullopt;
        EXPECT_TRUE(loaded.has_value()) << error;
        return loaded.value_or(Resources{});
    }();
    return resources;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Would catch a property list that loads but gives the wrong name or interface version
// (every load of the plug-in reads its kind and its entry point).
TEST(PluginResources, PropertyListNamesTheEntryPoint) {
    const auto& properties = PluginResources().Properties();
    ASSERT_TRUE(properties.has_value());
    EXPECT_EQ(properties->interfaceVersion, 2);
    EXPECT_EQ(properties->pluginName, "Mesra");
}

// The image map of the plug-in file is the one in the sources, in its exact format, and it
// agrees with the images stored: every listed icon and cursor has its image at its size,
// the double-size names are listed only, and nothing is stored unlisted.
TEST(PluginResources, ImageMapAndImagesAgree) {
    const std::string* map = PluginResources().Text("IDTOFILE");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(*map,
              ReadFile(std::filesystem::path(MESRA_SOURCE_DIR) / "plugin/resources/IDToFile.txt"));

    // Icons are 24 pixels square, cursors 16 high; the double-size icons are listed only.
    const std::regex line(R"(^(\d+)\.png\t\t([A-Za-z0-9]+\.png)$|^$)");
    std::istringstream in(*map);
    std::size_t stored = 0;
    for (std::string text; std::getline(in, text);) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(text, match, line)) << text;
        if (text.empty()) {
            continue;
        }
        const int id = std::stoi(match[1]);
        const std::string name = match[2];
        const auto* png = PluginResources().Png(id);
        if (name.ends_with("x2.png")) {
            EXPECT_EQ(png, nullptr) << name;
            continue;
        }
        ++stored;
        ASSERT_NE(png, nullptr) << name;
        const auto size = ReadPngSize(*png);
        ASSERT_TRUE(size) << name;
        EXPECT_EQ(size->width, id < 20000 ? 24u : id == 20007 ? 14u : 16u) << name;
        EXPECT_EQ(size->height, id < 20000 ? 24u : 16u) << name;
    }
    EXPECT_EQ(stored, 21u);
    EXPECT_EQ(PluginResources().Pngs().size(), stored);
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
