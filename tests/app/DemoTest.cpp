// The demonstration and the installation of the plug-in in a plug-ins folder.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "app/Demo.h"
#include "app/PluginsFolder.h"
#include "emulator/svg/SvgImport.h"
#include "tests/support/HostFixture.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TemporaryFolder;

TEST(Demo, StartsThePluginShowsItsRegistrationsAndAbout) {
    TemporaryFolder folder;
    const fs::path plugin = testing_support::InstallIn(folder.Path());
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(app::RunDemo(plugin, folder.Path() / "out", out, err), 0) << err.str();
    const std::string text = out.str();
    for (const char* expected :
         {"tool 1: \"Outil Segment\", tip \"Outil Segment 8.5\", icons 16051/16052",
          "tool 4: \"Outil Bézier\", tip \"Outil Bézier 8.5\", icons 16057/16058",
          "tool 5: \"Outil Longueur & Aires\", tip \"Longueur & Aires 8.5\"",
          "annotator: \"VornAnno\", inactive",
          "menu item: About > À propos des Vorn-Outils… > Vorn-Cotaline…",
          "notifier: \"AI Art Custom Color Changed Notifier\", owner \"Mesra\"",
          "selected tool: \"Select Tool\"",
          "alert: Vorn-Cotaline (CS6) 8.5 (avril 2020).\\r\\rVorn-Cotaline, des outils pour "
          "mesurer facilement.\n",
          "host: session demo.session on drawing.svg\n", "sound: BipSegment.wav\n"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\nin:\n" << text;
    }
    EXPECT_TRUE(err.str().empty()) << err.str();

    // Every tool's tip at its telling moment, printed as the user reads it...
    for (const char* expected :
         {"tip: L segment=116,9 pt\ntip: Aire=27 721,5 pt2\n",
          "tip: Point d'ancrage (sommet)\ntip: Angle=102,5°\n",
          "tip: Rayon=R 70,9 pt\ntip: Aire=15 777,1 pt2\n", "tip: Nombre de tracés = 3\n"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\nin:\n" << text;
    }
    // ...and pictured beside the dimensioned drawing.
    for (const char* picture : {"tip-segment.png", "tip-angle.png", "tip-circle.png",
                                "tip-bezier.png", "tip-areas.png"}) {
        EXPECT_GT(fs::file_size(folder.Path() / "out" / picture), 10000u) << picture;
        EXPECT_NE(text.find(picture), std::string::npos) << picture;
    }

    // The dimensioned drawing: a dimension of each kind on a layer of its own.
    std::ifstream written(folder.Path() / "out" / "drawing-cotes.svg");
    std::ostringstream svg;
    svg << written.rdbuf();
    std::string error;
    const auto document = emulator::ReadSvg(svg.str(), &error);
    ASSERT_NE(document, nullptr) << error;
    ASSERT_EQ(document->layers.back()->title, "Dimensions");
    std::multiset<std::string> names;
    for (const auto& art : document->layers.back()->art) {
        names.insert(art->name);
    }
    EXPECT_EQ(names.count("Segment oblique"), 6u);
    for (const char* kind : {"Segment arc", "Segment courbe", "Angle", "Cercle Rayon",
                             "B\xc3\xa9zier partage", "Longueurs & Aires"}) {
        EXPECT_EQ(names.count(kind), 1u) << kind;
    }
    EXPECT_TRUE(fs::exists(folder.Path() / "out" / "drawing-cotes.json"));
    EXPECT_TRUE(fs::exists(folder.Path() / "out" / "demo.session"));
}

// Installing again replaces the plug-in file but keeps what the user has beside it.
TEST(PluginsFolder, InstallKeepsPreferencesAndSounds) {
    TemporaryFolder folder;
    const fs::path plugins = folder.Path() / "Plug-ins";
    fs::create_directories(plugins);
    { std::ofstream(plugins / app::kPluginFileName) << "an older plug-in"; }
    { std::ofstream(plugins / "Vorn-Cotaline-Prefs.txt") << "MINE\n"; }
    { std::ofstream(plugins / "BipPoint.wav") << "my own sound"; }
    std::string error;
    const auto installed = app::InstallPlugin(plugins, testing_support::BuiltPlugin(), &error);
    ASSERT_TRUE(installed.has_value()) << error;
    EXPECT_TRUE(fs::equivalent(*installed, testing_support::BuiltPlugin()));
    std::ifstream prefs(plugins / "Vorn-Cotaline-Prefs.txt");
    std::string line;
    std::getline(prefs, line);
    EXPECT_EQ(line, "MINE");
    EXPECT_EQ(fs::file_size(plugins / "BipPoint.wav"), std::string("my own sound").size());
    EXPECT_TRUE(fs::exists(plugins / "BipBezier.wav"));
}

TEST(PluginsFolder, DefaultFolderFollowsTheDataHome) {
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string restore = saved != nullptr ? saved : "";
    setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(app::DefaultPluginsFolder(), fs::path("/data/home/mesra/Plug-ins"));
    // A relative data home is ignored, as the base-directory rules require.
    setenv("XDG_DATA_HOME", "relative", 1);
    EXPECT_EQ(app::DefaultPluginsFolder().filename(), "Plug-ins");
    EXPECT_NE(app::DefaultPluginsFolder(), fs::path("relative/mesra/Plug-ins"));
    if (saved != nullptr) {
        setenv("XDG_DATA_HOME", restore.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
}

}  // namespace
