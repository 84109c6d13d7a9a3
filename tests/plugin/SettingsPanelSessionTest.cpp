// The settings panel as a person uses it: an Alt-click opens it, clicks at the places its
// pages draw their controls change the settings, the preferences file is written at each
// mouse-up, and the next dimension shows the change.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

#include <unistd.h>

#include "emulator/core/Host.h"
#include "plugin/host/Platform.h"
#include "plugin/host/PluginSuites.h"
#include "tests/support/PngImage.h"
#include "tests/support/SessionFixture.h"

namespace {

using testing_support::Outcome;

const char* const kDrawing = R"(<svg xmlns="http://www.w3.org/2000/svg"
     width="600" height="420" viewBox="0 0 600 420">
  <path id="line" d="M 400 60 L 472 60" stroke="black"/>
</svg>)";

// The panel opens at this point of the page (SVG user units, one point each, zoom 1).
constexpr double kOriginX = 100;
constexpr double kOriginY = 100;

// A click on the panel `dx` pixels right of its origin and `rows` rows of 18 pixels below.
std::string At(double dx, double rows, const char* keys = "") {
    char line[160];
    std::snprintf(line, sizeof line, "keys %s\nclick %g %g\nkeys\n", keys, kOriginX + dx,
                  kOriginY + rows * 18);
    return line;
}

// Opens the panel, then the main page's entry of `row`.
std::string Open(int row) {
    char line[64];
    std::snprintf(line, sizeof line, "move %g %g\n", kOriginX, kOriginY);
    return line + At(0, 0, "alt") + At(100, row + 0.5);
}

// A click beside every control: the panel saves and closes.
const std::string kClose = At(600, 30);

// Measures the 72-point line and writes out.svg.
const std::string kMeasure =
    "click 400 60\nmove 472 60\ndown 472 60\ndrag 436 40\nup 436 40\nsave out.svg\n";

class SettingsPanel : public testing_support::SessionFixture {
  protected:
    SettingsPanel() { Write("drawing.svg", kDrawing); }

    // The preferences file as key → value.
    std::map<std::string, std::string> Preferences() {
        std::istringstream in(Read("Vorn-Cotaline-Prefs.txt"));
        std::map<std::string, std::string> pairs;
        std::string key;
        std::string value;
        while (std::getline(in, key) && std::getline(in, value)) {
            pairs[key] = value;
        }
        return pairs;
    }

    // Writes each value on the value line of its key in the preferences file.
    void SetPreferences(std::initializer_list<std::pair<std::string, std::string>> values) {
        std::string text = Read("Vorn-Cotaline-Prefs.txt");
        for (const auto& [key, value] : values) {
            const std::size_t at = text.find("\n" + key + "\n") + key.size() + 2;
            text.replace(at, text.find('\n', at) - at, value);
        }
        Write("Vorn-Cotaline-Prefs.txt", text);
    }

    // The measure of the dimension of out.svg.
    std::string Measure() {
        auto document = Saved("out.svg");
        const auto groups = document ? Dimensions(*document) : std::vector<emulator::Art*>{};
        return groups.empty() ? std::string() : MeasureOf(*groups.back());
    }
};

// The unit, number format and scale pages, each followed by a dimension that shows it.
TEST_F(SettingsPanel, MeasurePagesChangeTheNextDimension) {
    Session("doc drawing.svg\ntool segment\n" + Open(0) + At(100, 1.5) + kClose + kMeasure);
    EXPECT_EQ(Preferences()["UNITE"], "millimetre");
    EXPECT_EQ(Measure(), "25,4 mm");

    // Precision 2, a decimal point and a comma between thousands; then the scale 1/10.
    Session("doc drawing.svg\ntool segment\n" + Open(2) + At(60, 2.5) + At(60, 9.8) + At(60, 11.9) +
            kClose + Open(3) + At(60, 6.5) + kClose + kMeasure);
    const auto pairs = Preferences();
    EXPECT_EQ(pairs.at("PRECISION"), "2.00");
    EXPECT_EQ(pairs.at("VIRGULEOUPOINT"), "point");
    EXPECT_EQ(pairs.at("ECHELLEDEN"), "10.00");
    EXPECT_EQ(Measure(), "254 mm");
}

// Arrowheads, line format, colours from each answer of the host's picker, a tolerance,
// the sound and a new layer name typed on the panel's keyboard: the file keeps them and the
// next dimension, silent, goes to the new layer.
TEST_F(SettingsPanel, LookPagesAndTheLayerKeyboard) {
    std::string typing;
    for (int k = 0; k < 10; ++k) {
        typing += At(5, 0.5);  // the delete key, ten times over "Dimensions"
    }
    // C, O, T, E, S on the keyboard's rows.
    typing += At(244, 1.5) + At(220, 0.5) + At(124, 0.5) + At(76, 0.5) + At(292, 0.5);
    const Outcome run =
        Session("doc drawing.svg\ntool segment\n" + Open(4) + At(60, 2.5) + At(60, 17.9) +
                At(100, 18.9, "shift") + kClose + Open(5) + At(60, 13.5) + kClose + Open(8) +
                "picker rgb 1 0 0\n" + At(60, 0.5) + "picker gray 0.25\n" + At(60, 1.5) +
                "picker cancel\n" + At(60, 1.5) + kClose + Open(9) + At(60, 0.6) + At(90, 2.7) +
                kClose + Open(10) + At(50, 1.5) + kClose + Open(6) + At(60, 1.5) + kClose +
                Open(11) + typing + kClose + kMeasure);
    const auto pairs = Preferences();
    EXPECT_EQ(pairs.at("TYPEFLECHE"), "creuse");
    EXPECT_EQ(pairs.at("ZOOM"), "350,00");
    EXPECT_EQ(pairs.at("FLAGPOINTILLE"), "vrai");
    EXPECT_EQ(pairs.at("TYPECOULEURTRAITS"), "rvb");
    EXPECT_EQ(pairs.at("ROUGETRAITS"), "1,00");
    EXPECT_EQ(pairs.at("VERTTRAITS"), "0,00");
    EXPECT_EQ(pairs.at("TYPECOULEURTEXTE"), "gris");
    EXPECT_EQ(pairs.at("GRISTEXTE"), "0,25");
    EXPECT_EQ(pairs.at("AVECSANSTOLERANCEUN"), "vrai");
    EXPECT_EQ(pairs.at("SON"), "faux");
    EXPECT_EQ(pairs.at("NOMCALQUE"), "COTES");
    // The second font of the host's list.
    EXPECT_FALSE(pairs.at("NOMPOLICE").empty());
    EXPECT_NE(pairs.at("NOMPOLICE"), "DejaVuSans");
    EXPECT_EQ(Count(run.out, "sound:"), 0) << run.out;
    auto document = Saved("out.svg");
    ASSERT_NE(document, nullptr);
    // The dimension is on the new layer, its line dashed.
    const emulator::Art* half = nullptr;
    for (const auto& layer : document->layers) {
        if (layer->title == "COTES" && !layer->art.empty()) {
            half = WithTag(*layer->art.back(), "red");
        }
    }
    ASSERT_NE(half, nullptr);
    EXPECT_EQ(half->style.dash.size(), 2u);

    // A spot colour is saved as CMYK with the components the user set, not its own.
    Session("doc drawing.svg\ntool segment\n" + Open(8) + "picker spot Orange\n" + At(60, 0.5) +
            kClose);
    EXPECT_EQ(Preferences().at("TYPECOULEURTRAITS"), "cmjn");
    EXPECT_EQ(Preferences().at("CYANTRAITS"), "1,00");
    EXPECT_EQ(Preferences().at("NOIRTRAITS"), "0,00");
}

// The tool pages, a reset by Alt-click on the main page, the group cells, and the refusal of
// the Lengths & Areas page to show nothing.
TEST_F(SettingsPanel, ToolPagesGroupsAndResets) {
    std::string preferences = Read("Vorn-Cotaline-Prefs.txt");
    const auto at = preferences.find("\nLIGNEATTACHE\n");
    ASSERT_NE(at, std::string::npos);
    preferences.replace(preferences.find('\n', at + 14) + 1 - 6, 5, "0,50");
    Write("Vorn-Cotaline-Prefs.txt", preferences);
    ASSERT_EQ(Preferences().at("LIGNEATTACHE"), "0,50");

    Outcome run = Session("doc drawing.svg\ntool segment\n" + Open(12) + At(60, 1.5) + kClose +
                          Open(14) + At(50, 13) + kClose + Open(16) + At(100, -0.5) + At(100, 0.5) +
                          At(100, 1.5) + At(100, 2.5) + At(100, 3.5) + kClose);
    auto pairs = Preferences();
    EXPECT_EQ(pairs.at("TYPECOTE"), "horizontal");
    // A minus on 0.5 once gave 1: the shoulder's length stops at 0.
    EXPECT_EQ(pairs.at("LIGNEATTACHE"), "0,00");
    EXPECT_EQ(pairs.at("LALONGUEURTOTALE"), "faux");
    EXPECT_EQ(pairs.at("LANOMBREDEPOINTS"), "faux");
    EXPECT_EQ(Count(run.out, "alert: Cochez au moins une case"), 1) << run.out;

    // Alt on "Outil Cercle." brings its defaults back; the unit goes into group 2, which the
    // main page's cell then applies.
    Session("doc drawing.svg\ntool segment\nmove 100 100\n" + At(0, 0, "alt") +
            At(100, 14.5, "alt") + Open(0) + At(60, 1.5) + At(12, 1.5) + kClose + Open(0) +
            At(60, 6.5) + kClose + "move 100 100\n" + At(0, 0, "alt") + At(26, 1.5) + At(600, 30));
    pairs = Preferences();
    EXPECT_EQ(pairs.at("LIGNEATTACHE"), "12,00");
    EXPECT_EQ(pairs.at("SETDEUXUNITE"), "1");  // millimetres
    EXPECT_EQ(pairs.at("SETNUMERO"), "1");
    EXPECT_EQ(pairs.at("UNITE"), "millimetre");
}

// Values a user keeps in the file are read as they are and shown as they are: a map scale
// of 1:2,500,000, the host's large type, a thick line, a far tolerance, and a second unit of
// "sans", which shows no second line and stays "sans" when the panel saves. The tolerance
// texts are the values formatted alike before and after the tolerance page was drawn.
TEST_F(SettingsPanel, FileValuesAreKeptAndShownAlike) {
    SetPreferences({{"UNITE", "kilometre"},
                    {"ECHELLEDEN", "2500000,00"},
                    {"CORPS", "1200,00"},
                    {"EPAISSEUR", "150,00"},
                    {"DOUBLEMESURE", "vrai"},
                    {"SECONDEUNITE", "sans"},
                    {"AVECSANSTOLERANCEUN", "vrai"},
                    {"VALEURTOLERANCEUN", "0,10"},
                    {"DECALAGETOLERANCEUN", "1500,00"},
                    {"AVECSANSTOLERANCEDEUX", "vrai"},
                    {"VALEURTOLERANCEDEUX", "0,1abc"}});
    const std::string measureAgain =
        "click 400 60\nmove 472 60\ndown 472 60\ndrag 436 40\nup 436 40\nsave again.svg\n";
    const Outcome run =
        Session("doc drawing.svg\ntool segment\n" + kMeasure + Open(9) + kClose + measureAgain);
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    for (const char* name : {"out.svg", "again.svg"}) {
        auto document = Saved(name);
        ASSERT_NE(document, nullptr);
        const auto groups = Dimensions(*document);
        ASSERT_FALSE(groups.empty());
        std::vector<std::string> texts;
        std::vector<double> sizes;
        double widest = 0;
        emulator::ForEachArt(*groups.back(), [&](emulator::Art& art) {
            if (art.type == emulator::ArtType::Text) {
                texts.push_back(emulator::Utf8FromUtf16(art.pointText.text));
                sizes.push_back(art.pointText.features.size);
            } else if (art.type == emulator::ArtType::Path) {
                widest = std::max(widest, art.style.strokeWidth);
            }
        });
        // 72 pt is 25.4 mm, 2,500,000 times over: 63.5 km, on one line. "0,1abc" reads
        // leniently as 0.1 + 49/100 + 50/1000 + 51/10000 = 0.6451.
        EXPECT_EQ(texts, (std::vector<std::string>{"63,5 km", "-0,1", "+0,6451"})) << name;
        EXPECT_EQ(sizes, (std::vector<double>{1200, 840, 840})) << name;
        EXPECT_EQ(widest, 150) << name;
    }
    const auto pairs = Preferences();
    EXPECT_EQ(pairs.at("SECONDEUNITE"), "sans");
    EXPECT_EQ(pairs.at("ECHELLEDEN"), "2500000,00");
    EXPECT_EQ(pairs.at("CORPS"), "1200,00");
    EXPECT_EQ(pairs.at("EPAISSEUR"), "150,00");
    EXPECT_EQ(pairs.at("DECALAGETOLERANCEUN"), "1500,00");
}

// The step multipliers stay ticked from the click that ticks them until the file is loaded
// again: ×10 then plus adds 10, both then Shift-plus adds 10,000; the scale steppers reach
// 1:100,000,000 and the font size stepper the host's largest type, 1,296 pt.
TEST_F(SettingsPanel, StepMultipliersHoldUntilTheNextStart) {
    SetPreferences({{"ECHELLEDEN", "99995000,00"}, {"CORPS", "1290,00"}});
    const std::string numeratorPlus = At(175, 24.1);
    Session("doc drawing.svg\ntool segment\n" + Open(3) + At(220, 24.1) + numeratorPlus +
            At(220, 25.2) + At(175, 24.1, "shift") + At(175, 25.2, "shift") + kClose + Open(7) +
            At(150, 15.5) + At(100, 15.5) + At(100, 15.5, "shift") + kClose);
    auto pairs = Preferences();
    EXPECT_EQ(pairs.at("ECHELLENUM"), "10011,00");      // 1 + 10 + 10,000
    EXPECT_EQ(pairs.at("ECHELLEDEN"), "100000000,00");  // 99,995,000 + 10,000, at most 10^8
    EXPECT_EQ(pairs.at("CORPS"), "1296,00");            // 1,290 + 1 + 10, at most 1,296

    // Loading the file switched them off: plus adds 1.
    Session("doc drawing.svg\ntool segment\n" + Open(3) + numeratorPlus + kClose);
    EXPECT_EQ(Preferences().at("ECHELLENUM"), "10012,00");
}

// A write-protected file keeps what the user put in it, with one alert, while the change
// holds until the host closes; in a folder that takes no new file, a writable file is
// rewritten in place, quietly. Root writes through both protections: users only.
TEST_F(SettingsPanel, ProtectedFileOrFolderKeepsTheFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes through every protection";
    }
    namespace fs = std::filesystem;
    const fs::path folder = folder_.Path();
    const fs::path prefs = folder / "Vorn-Cotaline-Prefs.txt";
    const std::string before = Read("Vorn-Cotaline-Prefs.txt");
    fs::permissions(prefs, fs::perms::owner_write, fs::perm_options::remove);
    // The unit becomes millimetres: a second click on the page, a second save, no new alert.
    Outcome run = Session("doc drawing.svg\ntool segment\n" + Open(0) + At(100, 1.5) +
                          At(100, 1.5) + kClose + kMeasure);
    EXPECT_EQ(Count(run.out, "alert:"), 1) << run.out;
    EXPECT_NE(run.out.find("est protégé en écriture"), std::string::npos) << run.out;
    EXPECT_EQ(Read("Vorn-Cotaline-Prefs.txt"), before);
    EXPECT_EQ(Measure(), "25,4 mm");

    fs::permissions(prefs, fs::perms::owner_write, fs::perm_options::add);
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
    run = Session("doc drawing.svg\ntool segment\n" + Open(0) + At(100, 1.5) + kClose);
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    EXPECT_EQ(Preferences().at("UNITE"), "millimetre");
}

// The main page as the host's drawer records it: its 17 entries with their summaries, on a
// white panel outlined in the smart-guide colour where the view picture shows it.
TEST_F(SettingsPanel, MainPageDrawsItsEntriesAndSummaries) {
    Session("doc drawing.svg\ntool segment\nmove 100 100\n" + At(0, 0, "alt") +
            "move 700 500\nview panel.png\n");
    // The same redraw in a host of the test's own, to read its display list.
    emulator::Host host;
    std::string error;
    ASSERT_TRUE(host.LoadPlugin(plugin_.string(), &error)) << error;
    ASSERT_EQ(host.Startup(), 0);
    ASSERT_EQ(host.Notify(kAIApplicationStartedNotifier), 0);
    host.NewDocument(600, 420);
    ASSERT_EQ(host.SelectToolByName("Outil Segment"), 0);
    host.SetKeys({static_cast<ASInt32>(platform::Key::Alt)});
    const AIRealPoint origin = host.CurrentDocument()->ToArtwork(kOriginX, kOriginY);
    for (const char* event : {"move", "down", "up"}) {
        ASSERT_EQ(host.ToolEvent(event, origin), 0);
    }
    std::vector<std::string> texts;
    const emulator::DisplayItem* outline = nullptr;
    for (const emulator::DisplayItem& item : host.LastAnnotation().items) {
        if (item.kind == emulator::DisplayKind::Text) {
            texts.push_back(item.text);
        } else if (item.kind == emulator::DisplayKind::Rect && !item.fill && outline == nullptr) {
            outline = &item;
        }
    }
    host.Quit();
    const char* const entries[] = {"Unité.",
                                   "Double mesure.",
                                   "Format de nombre.",
                                   "Échelle.",
                                   "Pointes.",
                                   "Format de ligne.",
                                   "Police.",
                                   "Corps.",
                                   "Couleurs.",
                                   "Tolérances.",
                                   "Son.",
                                   "Nom du calque.",
                                   "Outil Segment.",
                                   "Outil Angle.",
                                   "Outil Cercle.",
                                   "Outil Bézier.",
                                   "Outil Longueurs & Aires."};
    for (const char* entry : entries) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), entry), texts.end()) << entry;
    }
    for (const char* summary : {"points", "Sans", "34 562 803,1", "1 /1", "150 %", "Dimensions"}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), summary), texts.end()) << summary;
    }
    ASSERT_NE(outline, nullptr);
    // The picture shows the panel where the list puts it: its outline in the smart-guide
    // colour, white inside, the artwork beyond.
    const testing_support::Image view = testing_support::ReadPng(Read("panel.png"));
    ASSERT_EQ(view.width, 1024);
    ASSERT_EQ(view.height, 768);
    const int left = static_cast<int>(outline->points[0].x);
    const int top = static_cast<int>(outline->points[0].y);
    const AIRGBColor c = outline->style.color;
    const std::uint32_t guide = (static_cast<std::uint32_t>(c.red >> 8) << 16) |
                                (static_cast<std::uint32_t>(c.green >> 8) << 8) |
                                static_cast<std::uint32_t>(c.blue >> 8);
    EXPECT_EQ(view.At(left + 30, top), guide);
    EXPECT_EQ(view.At(left + 300, top + 200), 0xFFFFFFu);
}

}  // namespace
