// Session scripts: what a line may say, and a session replayed through the host.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

#include "app/Session.h"
#include "plugin/host/PluginSuites.h"
#include "tests/support/SessionFixture.h"

namespace {

namespace fs = std::filesystem;
using app::ParseSession;
using app::SessionError;

TEST(SessionScript, AcceptedLines) {
    SessionError error;
    const auto lines = ParseSession(
        "# a comment\n"
        "new 595 842\n"
        "\n"
        "tool segment   # the first tool\n"
        "keys shift alt\n"
        "keys\n"
        "move 10.5 -3\n"
        "click 1e2 20\n"
        "zoom 2\n"
        "picker rgb 1 0.5 0\n"
        "picker spot Rouge\n"
        "picker cancel\n"
        "notify selection\n",
        &error);
    ASSERT_TRUE(lines.has_value()) << error.line << ": " << error.message;
    ASSERT_EQ(lines->size(), 11u);
    EXPECT_EQ((*lines)[0].number, 2);
    EXPECT_EQ((*lines)[1].command, "tool");
    EXPECT_EQ((*lines)[1].arguments, std::vector<std::string>{"segment"});
    EXPECT_TRUE((*lines)[3].arguments.empty());
    EXPECT_EQ((*lines)[5].number, 8);
}

// A bad line is refused before anything runs, with its number.
TEST(SessionScript, RefusedLines) {
    const struct {
        const char* script;
        int line;
    } cases[] = {
        {"new 10 10\ndraw 1 2\n", 2},
        {"move 1\n", 1},
        {"move 1 2 3\n", 1},
        {"move a 2\n", 1},
        {"move 1 nan\n", 1},
        {"\n\ntool pencil\n", 3},
        {"keys shift meta\n", 1},
        {"zoom 0\n", 1},
        {"zoom 1e-40\n", 1},
        {"zoom 700\n", 1},
        {"new 0 10\n", 1},
        {"picker rgb 1 2\n", 1},
        {"picker rgb 1 0 2\n", 1},
        {"picker hsl 1 0 0\n", 1},
        {"notify closed\n", 1},
    };
    for (const auto& c : cases) {
        SessionError error;
        EXPECT_FALSE(ParseSession(c.script, &error).has_value()) << c.script;
        EXPECT_EQ(error.line, c.line) << c.script;
        EXPECT_FALSE(error.message.empty());
    }
}

class SessionRun : public testing_support::SessionFixture {};

// A first session in an empty plug-ins folder leaves the defaults file beside the plug-in,
// and says so.
TEST_F(SessionRun, FirstRunCreatesThePreferencesFile) {
    const fs::path preferences = folder_.Path() / "Vorn-Cotaline-Prefs.txt";
    fs::remove(preferences);
    const testing_support::Outcome run = Session(
        "new 200 100\ntool segment\nmove 10 10\nkeys shift\nclick 20 20\nkeys\n"
        "tool angle\nzoom 2\nnotify selection\ntool select\n");
    EXPECT_EQ(Count(run.out, "alert: Le fichier Vorn-Cotaline-Prefs.txt n'a pas été trouvé"), 1)
        << run.out;
    EXPECT_TRUE(fs::exists(preferences));
}

TEST_F(SessionRun, EventsNeedADocument) {
    const testing_support::Outcome run = Session("tool segment\nmove 10 10\n", 2);
    EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;
}

// A point beyond the host's single precision is a bad line, and nothing is drawn for it;
// the plug-in itself takes no such point from the host.
TEST_F(SessionRun, PointsBeyondTheHostsRangeAreRefused) {
    const testing_support::Outcome run =
        Session("new 595 842\ntool segment\ndown 0 1e308\nclick 100 100\n", 2);
    EXPECT_NE(run.err.find("line 3"), std::string::npos) << run.err;

    emulator::Host host;
    std::string error;
    ASSERT_TRUE(host.LoadPlugin(plugin_, &error)) << error;
    ASSERT_EQ(host.Startup(), 0);
    ASSERT_EQ(host.Notify(kAIApplicationStartedNotifier), 0);
    host.NewDocument(595, 842);
    ASSERT_EQ(host.SelectToolByName("Outil Segment"), 0);
    const AIRealPoint beyond{0, std::numeric_limits<AIReal>::infinity()};
    for (const char* event : {"down", "up", "move", "down", "drag", "up"}) {
        EXPECT_EQ(
            host.ToolEvent(event, std::string(event) == "drag" ? AIRealPoint{100, 100} : beyond),
            0);
    }
    EXPECT_EQ(host.CurrentDocument()->layers.size(), 1u) << "no dimension layer, no art";
    EXPECT_EQ(host.Quit(), 0);
    EXPECT_TRUE(host.Violations().empty());
}

// The host moves the cursor to a press but not again after a click: a press at the same
// place after a click that rebuilt the dimension there, or a press elsewhere, looks at what
// lies there now, never at the replaced dimension (which the host has disposed of).
TEST_F(SessionRun, PressesAfterARebuildLookAtTheArtOfNow) {
    fs::copy_file(fs::path(MESRA_SOURCE_DIR) / "examples/drawing-cotes.svg",
                  folder_.Path() / "drawing-cotes.svg");
    Session(
        "doc drawing-cotes.svg\ntool circle\nclick 178.331 71.338\n"
        "down 178.331 71.338\nup 178.331 71.338\ndown 14.893 189.143\n"
        "up 14.893 189.143\nsave out.svg\n");
    EXPECT_EQ(Count(Read("out.svg"), "<text"), Count(Read("drawing-cotes.svg"), "<text"));
}

// The example session that the README shows: the cursor over each part of the bundled
// drawing, with the tools and keys a user would use.
TEST_F(SessionRun, ExampleHoverSessionShowsEachCursor) {
    const fs::path examples = fs::path(MESRA_SOURCE_DIR) / "examples";
    fs::copy_file(examples / "drawing.svg", folder_.Path() / "drawing.svg");
    std::ifstream in(examples / "hover.session");
    const testing_support::Outcome run = Session(
        std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    std::vector<std::string> cursors;
    std::istringstream events(run.out);
    for (std::string line; std::getline(events, line);) {
        if (line.rfind("cursor: ", 0) == 0) {
            cursors.push_back(line.substr(8));
        }
    }
    EXPECT_EQ(cursors,
              (std::vector<std::string>{"20000", "20001", "20002", "20004", "20005", "20006",
                                        "20008", "20001", "20002", "20009", "20010"}));
}

}  // namespace
