// The preferences file beside the plug-in, through the plug-in's start-up in the host.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "emulator/core/Unicode.h"
#include "tests/support/HostFixture.h"

namespace {

namespace fs = std::filesystem;
using emulator::Host;
using testing_support::HostTest;

const std::string kMissingAlert =
    "Le fichier Vorn-Cotaline-Prefs.txt n'a pas été trouvé au même niveau que\\r"
    "Vorn-Cotaline (CS6).aip\\r\\rLe fichier des préférences par défaut a été créé.";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReplaceValue(std::string text, const std::string& key, const std::string& value) {
    const std::size_t at = text.find(key + "\n") + key.size() + 1;
    return text.replace(at, text.find('\n', at) - at, value);
}

TEST_F(HostTest, MissingFileIsRecreatedWithTheDefaultsAndAnAlert) {
    const fs::path prefs = pluginsFolder() / "Vorn-Cotaline-Prefs.txt";
    fs::remove(prefs);
    Host& h = StartApplication();
    EXPECT_EQ(h.Alerts(), std::vector<std::string>{kMissingAlert});
    const std::string written = ReadFile(prefs);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 230);
    EXPECT_EQ(written.substr(0, 38), "VERSION\n8,5\nVIRGULEOUPOINT\nvirgule\nNOM");
    EXPECT_NE(written.find("NOMPOLICE\nDejaVuSans\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(prefs.string() + ".tmp"));
    EndHost();

    // The next start-up finds it and says nothing.
    Host& again = StartApplication();
    EXPECT_TRUE(again.Alerts().empty());
    EXPECT_EQ(ReadFile(prefs), written);
}

// Something that cannot be read stands in the file's place (here a folder): it is there,
// so it is not "not found"; it is left as it is, the plug-in starts with the defaults, and
// the user is told once.
TEST_F(HostTest, UnreadableFileIsLeftAsItIs) {
    const fs::path prefs = pluginsFolder() / "Vorn-Cotaline-Prefs.txt";
    fs::remove(prefs);
    fs::create_directories(prefs / "inside");
    Host& h = StartApplication();
    EXPECT_EQ(h.Alerts(), std::vector<std::string>{
                              "Le fichier Vorn-Cotaline-Prefs.txt n'a pas pu être lu au même "
                              "niveau que\\rVorn-Cotaline (CS6).aip\\r\\rIl est laissé tel quel : "
                              "les réglages par défaut sont utilisés jusqu'à la fermeture."});
    EXPECT_TRUE(h.PluginStarted());
    EXPECT_TRUE(fs::is_directory(prefs / "inside"));
}

// A file the user edited loads quietly and is not rewritten by loading.
TEST_F(HostTest, LoadingLeavesTheFileAsTheUserLeftIt) {
    const fs::path prefs = pluginsFolder() / "Vorn-Cotaline-Prefs.txt";
    std::string text = ReadFile(prefs);
    text = ReplaceValue(text, "VIRGULEOUPOINT", "point");
    text = ReplaceValue(text, "UNITE", "millimetre");
    text = ReplaceValue(text, "CORPS", "9.50");
    text = ReplaceValue(text, "NOMCALQUE", "Cotes");
    { std::ofstream(prefs, std::ios::binary) << text; }
    Host& h = StartApplication();
    EXPECT_TRUE(h.Alerts().empty());
    // Loading does not write: the file is as the user left it.
    EXPECT_EQ(ReadFile(prefs), text);
}

}  // namespace
