// Undo and redo through session lines: each tool's action taken back leaves the document as
// it was before the action, done again as it was after (their dumps compared), and the
// lines that cannot be carried out say so and change nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "tests/support/SessionFixture.h"

namespace {

namespace fs = std::filesystem;

class UndoSessions : public testing_support::SessionFixture {
  protected:
    UndoSessions() {
        for (const char* name : {"drawing.svg", "drawing-cotes-edited.svg"}) {
            fs::copy_file(fs::path(MESRA_SOURCE_DIR) / "examples" / name, folder_.Path() / name);
        }
    }

    // The dump of the document after `script` (which must end well) and what it printed.
    std::string DumpAfter(const std::string& script, std::string* out = nullptr) {
        Write("session.txt", script);
        app::SessionError error;
        const auto lines = app::ParseSession(script, &error);
        EXPECT_TRUE(lines.has_value()) << error.line << ": " << error.message;
        if (!lines) {
            return {};
        }
        app::CommandLine options;
        options.session = (folder_.Path() / "session.txt").string();
        options.dump = (folder_.Path() / "dump.json").string();
        std::ostringstream printed;
        std::ostringstream err;
        EXPECT_EQ(app::RunSession(*lines, plugin_.string(), options, printed, err), 0) << err.str();
        EXPECT_EQ(err.str(), "");
        if (out != nullptr) {
            *out = printed.str();
        }
        return Read("dump.json");
    }
};

// Every kind of action the tools take: a fault in what the host records (art placed or
// disposed of, geometry, texts, tags, styles, names, the selection, the layer the first
// dimension makes) leaves a trace in one of the dumps.
TEST_F(UndoSessions, EachToolsActionIsTakenBackAndDoneAgain) {
    const struct {
        const char* name;
        const char* before;  // after "doc DRAWING"
        const char* action;
        const char* drawing = "drawing.svg";
    } cases[] = {
        // The first dimension of the drawing: the layer "Dimensions" comes with it.
        {"segment, one click", "tool segment\n", "move 60 80\ndown 60 80\ndrag 60 88\nup 60 88\n"},
        // Two points, the first of them making the layer: one step with the second.
        {"segment, two points", "tool segment\n",
         "click 20 80\nmove 20 30\ndown 20 30\ndrag 12 55\nup 12 55\n"},
        {"angle", "tool angle\n", "move 190 70\ndown 190 70\ndrag 178 68\nup 178 68\n"},
        {"circle", "tool circle\n",
         "move 77.68 147.68\ndown 77.68 147.68\ndrag 95 165\nup 95 165\n"},
        {"bezier", "tool bezier\n", "move 95 208\ndown 95 208\ndrag 95 212\nup 95 212\n"},
        // The totals written: their text comes, the picked paths are let go.
        {"areas, the totals", "tool areas\nclick 60 30\nclick 117.5 50\n",
         "move 125 96\nclick 125 96\n"},
        // A click on a dimension brings it up to date with its path (the plate was made
        // wider), edited in place.
        {"a dimension brought up to date", "tool segment\n", "click 80 88\n",
         "drawing-cotes-edited.svg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = std::string("doc ") + c.drawing + "\n" + c.before;
        const std::string after = before + c.action;
        const std::string dumpBefore = DumpAfter(before);
        const std::string dumpAfter = DumpAfter(after);
        EXPECT_NE(dumpBefore, dumpAfter) << "the action changes the document";
        EXPECT_EQ(DumpAfter(after + "undo\n"), dumpBefore);
        EXPECT_EQ(DumpAfter(after + "undo\nredo\n"), dumpAfter);
        EXPECT_EQ(DumpAfter(after + "undo\nredo\nundo\n"), dumpBefore);
    }
}

// The lines that cannot be carried out do nothing and say why: nothing to take back in a
// document just opened (even after work on the one before), nothing to do again after a new
// action, nothing while the button is down; and the history keeps the last 100 actions.
TEST_F(UndoSessions, RefusedLinesAndTheBound) {
    const std::string opened = DumpAfter("doc drawing.svg\n");
    std::string out;
    EXPECT_EQ(
        DumpAfter("doc drawing.svg\ntool segment\nclick 60 80\ndoc drawing.svg\nundo\n", &out),
        opened);
    EXPECT_NE(out.find("undo: rien à annuler (ligne 5)"), std::string::npos) << out;

    const std::string oneDimension =
        DumpAfter("doc drawing.svg\ntool segment\nclick 60 80\nclick 20 30\n");
    EXPECT_EQ(DumpAfter("doc drawing.svg\ntool segment\nclick 60 80\nclick 150 30\nundo\n"
                        "click 20 30\nredo\n",
                        &out),
              oneDimension);
    EXPECT_NE(out.find("redo: rien à rétablir (ligne 7)"), std::string::npos) << out;

    // Undo while a measure waits for its second point drops that point with the last
    // dimension: the user sees the dimension go, not an undo that does nothing.
    EXPECT_EQ(DumpAfter("doc drawing.svg\ntool segment\nclick 60 80\nclick 20 30\nclick 150 30\n"
                        "undo\n",
                        &out),
              opened);
    EXPECT_EQ(out.find("undo:"), std::string::npos) << out;

    // Undo in the middle of a drag: the drag goes on and its release places the dimension.
    EXPECT_EQ(DumpAfter("doc drawing.svg\ntool segment\nclick 60 80\nmove 20 30\ndown 20 30\n"
                        "undo\nup 20 30\n",
                        &out),
              oneDimension);
    EXPECT_NE(out.find("undo: pas pendant que le bouton de la souris est enfoncé (ligne 6)"),
              std::string::npos);

    // 101 dimensions: 100 come back off, the first stays.
    std::string script = "doc drawing.svg\ntool segment\n";
    for (int i = 0; i < 101; ++i) {
        script += "click 60 80\n";
    }
    const std::string first = DumpAfter("doc drawing.svg\ntool segment\nclick 60 80\n");
    for (int i = 0; i < 101; ++i) {
        script += "undo\n";
    }
    EXPECT_EQ(DumpAfter(script, &out), first);
    EXPECT_EQ(Count(out, "undo: rien à annuler"), 1) << out;
}

}  // namespace
