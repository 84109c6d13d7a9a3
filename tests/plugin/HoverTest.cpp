// What each tool sees under the cursor, through the host: the cursor it shows over every
// kind of artwork, the Shift and Alt cursors, and the clicks the routing handles itself.
#include <gtest/gtest.h>

#include <cmath>

#include "emulator/core/Unicode.h"
#include "emulator/svg/SvgImport.h"
#include "plugin/host/Platform.h"
#include "tests/support/HostFixture.h"

namespace {

using emulator::Host;
using testing_support::HostTest;

// One point of each kind, in SVG user units (y downwards), on a page of 1 point a unit:
// a square (anchors at its corners, centre at 50,50), two crossing lines, a wave (a plain
// curve), a half circle drawn as two quarter arcs (an anchor at its top), a dimension's own
// line and its arrowhead.
const char* const kArtwork = R"(<svg xmlns="http://www.w3.org/2000/svg"
     xmlns:mesra="urn:x-mesra:tags" width="400" height="400">
  <rect x="0" y="0" width="100" height="100" fill="none" stroke="black"/>
  <line x1="200" y1="0" x2="300" y2="100" stroke="black"/>
  <line x1="200" y1="100" x2="300" y2="0" stroke="black"/>
  <path d="M 0,200 C 30,170 70,230 100,200" fill="none" stroke="black"/>
  <path d="M 200,250 A 50,50 0 0 1 300,250" fill="none" stroke="black"/>
  <path d="M 0,350 L 100,350" mesra:mods="1" stroke="red"/>
  <path d="M 0,380 L 10,385 L 10,375 Z" mesra:vorn="1" fill="red"/>
</svg>)";

struct Spot {
    const char* name;
    float x, y;
};

const Spot kSpots[] = {
    {"empty space", 150, 150}, {"anchor", 100, 100},        {"straight segment", 50, 1},
    {"curve", 50, 200},        {"arc", 214.64f, 214.64f},   {"crossing", 250, 50},
    {"centre point", 50, 50},  {"dimension line", 50, 350}, {"arrowhead", 8, 380},
};

class HoverTest : public HostTest {
  protected:
    Host& Open() {
        Host& h = StartApplication();
        std::string error;
        auto document = emulator::ReadSvg(kArtwork, &error);
        EXPECT_NE(document, nullptr) << error;
        h.OpenDocument(std::move(document));
        return h;
    }

    ASInt32 CursorAt(Host& h, float x, float y) {
        EXPECT_EQ(h.ToolEvent("move", h.CurrentDocument()->ToArtwork(x, y)), 0);
        return h.CurrentCursor().value_or(-1);
    }

    static std::string Tool(const char* utf8) { return emulator::Windows1252FromUtf8(utf8); }
};

TEST_F(HoverTest, EveryToolShowsTheCursorOfWhatIsUnderIt) {
    const struct {
        const char* tool;
        ASInt32 cursors[9];  // in the order of kSpots
    } tools[] = {
        {"Outil Segment", {20000, 20001, 20002, 20004, 20005, 20006, 20008, 20003, 20000}},
        {"Outil Angle", {20000, 20001, 20002, 20004, 20005, 20006, 20001, 20003, 20000}},
        {"Outil Cercle", {20000, 20001, 20002, 20004, 20005, 20006, 20001, 20003, 20000}},
        // The Bézier tool looks for no crossing and modifies no dimension.
        {"Outil Bézier", {20000, 20001, 20002, 20004, 20005, 20002, 20001, 20000, 20000}},
        // The Lengths & Areas tool scans the paths itself: no centre points, no crossings.
        {"Outil Longueur & Aires", {20000, 20001, 20002, 20004, 20005, 20002, 20000, 20003, 20000}},
    };
    Host& h = Open();
    for (const auto& tool : tools) {
        ASSERT_EQ(h.SelectToolByName(Tool(tool.tool)), 0);
        for (std::size_t i = 0; i < std::size(kSpots); ++i) {
            EXPECT_EQ(CursorAt(h, kSpots[i].x, kSpots[i].y), tool.cursors[i])
                << tool.tool << " over the " << kSpots[i].name;
        }
    }
}

// Shift and Alt over nothing show the next-tool and settings cursors in the example session;
// here, where they do not.
TEST_F(HoverTest, ShiftAndAltCursors) {
    Host& h = Open();
    ASSERT_EQ(h.SelectToolByName("Outil Segment"), 0);
    h.SetKeys({static_cast<ASInt32>(platform::Key::Alt)});
    // Over a dimension, Alt means "modify them all", not the settings.
    EXPECT_EQ(CursorAt(h, 50, 350), 20003);
    // Shift and Alt together are the Segment tool's own.
    h.SetKeys(
        {static_cast<ASInt32>(platform::Key::Shift), static_cast<ASInt32>(platform::Key::Alt)});
    EXPECT_EQ(CursorAt(h, 100, 100), 20001);
    // The Lengths & Areas tool has no Shift cursor.
    h.SetKeys({static_cast<ASInt32>(platform::Key::Shift)});
    ASSERT_EQ(h.SelectToolByName(Tool("Outil Longueur & Aires")), 0);
    EXPECT_EQ(CursorAt(h, 50, 1), 20002);
}

TEST_F(HoverTest, ShiftClickCyclesTheToolsAndShiftAltDoesNot) {
    Host& h = Open();
    auto selected = [&h] { return h.Tools().Find(h.Tools().Selected())->name; };
    auto click = [&h](float x, float y) {
        const AIRealPoint p = h.CurrentDocument()->ToArtwork(x, y);
        EXPECT_EQ(h.ToolEvent("move", p), 0);
        EXPECT_EQ(h.ToolEvent("down", p), 0);
        EXPECT_EQ(h.ToolEvent("up", p), 0);
    };
    ASSERT_EQ(h.SelectToolByName(Tool("Outil Longueur & Aires")), 0);
    h.SetKeys({static_cast<ASInt32>(platform::Key::Shift)});
    click(150, 150);
    EXPECT_EQ(selected(), "Outil Segment");
    click(150, 150);
    EXPECT_EQ(selected(), "Outil Angle");
    h.SetKeys(
        {static_cast<ASInt32>(platform::Key::Shift), static_cast<ASInt32>(platform::Key::Alt)});
    click(150, 150);
    EXPECT_EQ(selected(), "Outil Angle");
    // Over a dimension a Shift-click is no cycle (which would choose the Circle tool): it
    // goes to the tool's click, which hands a segment dimension over to the Segment tool.
    h.SetKeys({static_cast<ASInt32>(platform::Key::Shift)});
    click(50, 350);
    EXPECT_EQ(selected(), "Outil Segment");
}

// The refusals of a click on nothing go by the hit flag: a click on an anchor (hit type 0)
// is not "nothing".
TEST_F(HoverTest, ClicksOnNothingAreRefusedByTheToolsThatNeedSomething) {
    Host& h = Open();
    const struct {
        const char* tool;
        const char* start;  // the start of the alert
    } cases[] = {
        {"Outil Angle", "Il faut cliquer sur le sommet d'un angle"},
        {"Outil Cercle", "Il faut cliquer sur un cercle"},
        {"Outil Bézier", "En mode Partager"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(h.SelectToolByName(Tool(c.tool)), 0);
        h.ClearEvents();
        const AIRealPoint nothing = h.CurrentDocument()->ToArtwork(150, 150);
        EXPECT_EQ(h.ToolEvent("down", nothing), 0);
        ASSERT_EQ(h.Alerts().size(), 1u) << c.tool;
        EXPECT_EQ(h.Alerts()[0].rfind(c.start, 0), 0u) << h.Alerts()[0];
        h.ClearEvents();
        // On an anchor the tool looks at it (the Circle tool then finds no arc end there).
        EXPECT_EQ(h.ToolEvent("down", h.CurrentDocument()->ToArtwork(100, 100)), 0);
        EXPECT_TRUE(h.Alerts().empty() || h.Alerts()[0].rfind(c.start, 0) != 0)
            << c.tool << ": " << h.Alerts()[0];
    }
}

// Moves far off the page, and to places that are no numbers, find nothing and break nothing.
TEST_F(HoverTest, DegenerateCursorPositions) {
    Host& h = Open();
    ASSERT_EQ(h.SelectToolByName("Outil Segment"), 0);
    for (const AIRealPoint p :
         {AIRealPoint{1e30f, -1e30f}, AIRealPoint{NAN, 0}, AIRealPoint{INFINITY, -INFINITY}}) {
        EXPECT_EQ(h.ToolEvent("move", p), 0);
        EXPECT_EQ(h.ToolEvent("drag", p), 0);
    }
    EXPECT_EQ(CursorAt(h, 100, 100), 20001);
}

}  // namespace
