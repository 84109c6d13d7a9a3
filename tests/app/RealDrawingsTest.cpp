// Drawings as other programs write them, dimensioned through whole sessions: the click picks
// what the user pointed at, the units of a file without a viewBox, and the current layer.
#include <gtest/gtest.h>

#include "tests/support/SessionFixture.h"

namespace {

using testing_support::Outcome;

class RealDrawings : public testing_support::SessionFixture {
  protected:
    // The measure texts of the dimensions of the document saved as out.svg.
    std::vector<std::string> SavedMeasures() {
        auto document = Saved("out.svg");
        return document ? Measures(Dimensions(*document)) : std::vector<std::string>{};
    }
};

// Clicks used to take the anchor of the topmost art within the tolerance, so that an exact
// click on the corner of a part below another took the upper part's corner 3.5 points away,
// and features smaller than the tolerance could not be measured at any zoom.
TEST_F(RealDrawings, TheClickPicksWhatTheUserPointedAt) {
    Write("parts.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" width="300" height="200"
     viewBox="0 0 300 200">
  <rect id="board" x="50" y="50" width="40" height="20" fill="#ccc"/>
  <rect id="cover" x="53.5" y="50" width="40" height="20" fill="none" stroke="black"/>
  <rect id="pad" x="200" y="50" width="1" height="0.5" fill="black"/>
</svg>)");
    const Outcome run = Session(
        "doc parts.svg\ntool segment\n"
        // The board's corners, the second one lying on the cover's edge.
        "click 50 50\nmove 90 50\ndown 90 50\ndrag 70 30\nup 70 30\n"
        // The pad's top edge, one point long, zoomed in.
        "zoom 10\n"
        "click 200 50\nmove 201 50\ndown 201 50\ndrag 200.5 45\nup 200.5 45\n"
        "save out.svg\n");
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    EXPECT_EQ(SavedMeasures(), (std::vector<std::string>{"40 pt", "1 pt"}));
}

// A file sized in millimetres without a viewBox counts its user units as CSS pixels: a line
// of 349 units is 261.75 points long (it read 989.5 when units were taken as millimetres).
TEST_F(RealDrawings, UserUnitsWithoutAViewBoxArePixels) {
    Write("mm.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" width="100mm" height="50mm">
  <path d="M 10 20 L 359 20" stroke="black"/>
</svg>)");
    Session(
        "doc mm.svg\ntool segment\n"
        "click 10 20\nmove 359 20\ndown 359 20\ndrag 180 10\nup 180 10\nsave out.svg\n");
    EXPECT_EQ(SavedMeasures(), std::vector<std::string>{"261,8 pt"});
}

// A locked title block on top used to block every dimension, because the topmost layer was
// always taken as the current one.
TEST_F(RealDrawings, TheCurrentLayerIsTheOneTheFileNames) {
    Write("plan.svg", R"(<svg xmlns="http://www.w3.org/2000/svg"
     xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
     xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
     width="300" height="200" viewBox="0 0 300 200">
  <sodipodi:namedview id="view" inkscape:current-layer="plan"/>
  <g id="plan" inkscape:groupmode="layer" inkscape:label="Plan">
    <path d="M 20 100 L 120 100" stroke="black"/>
  </g>
  <g id="dims" inkscape:groupmode="layer" inkscape:label="Dimensions"/>
  <g id="block" inkscape:groupmode="layer" inkscape:label="Cartouche"
     sodipodi:insensitive="true">
    <rect x="200" y="150" width="90" height="40" fill="none" stroke="black"/>
  </g>
</svg>)");
    const std::string measure = "click 20 100\nmove 120 100\ndown 120 100\ndrag 70 80\nup 70 80\n";
    Outcome run = Session("doc plan.svg\ntool segment\n" + measure + "save out.svg\n");
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    EXPECT_EQ(SavedMeasures(), std::vector<std::string>{"100 pt"});

    // Chosen by its title, the locked layer refuses both clicks; an unknown title is a bad
    // line.
    run = Session("doc plan.svg\ntool segment\nlayer Cartouche\n" + measure);
    EXPECT_EQ(Count(run.out, "alert: Cotation impossible. Calque verrouill"), 2) << run.out;
    run = Session("doc plan.svg\nlayer Plan\nlayer Pas de calque\n", 2);
    EXPECT_NE(run.err.find("line 3: the document has no layer \"Pas de calque\""),
              std::string::npos)
        << run.err;
}

// A file the host refuses to read ends the run as a failure, with nothing written; a file
// that is not there is a bad line.
TEST_F(RealDrawings, RefusedFilesWriteNothing) {
    std::string bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE svg [\n<!ENTITY a \"aaaaaaaaaa\">\n";
    for (char level = 'b'; level <= 'j'; ++level) {
        // Appended piece by piece: g++ 12 at -O3 sees a false overlap in "&" + s + ";".
        std::string previous = "&";
        previous += static_cast<char>(level - 1);
        previous += ';';
        bomb += "<!ENTITY ";
        bomb += level;
        bomb += " \"";
        for (int i = 0; i < 10; ++i) {
            bomb += previous;
        }
        bomb += "\">\n";
    }
    bomb += "]>\n<svg xmlns=\"http://www.w3.org/2000/svg\"><text>&j;</text></svg>\n";
    Write("bomb.svg", bomb);
    Outcome run = Session("doc bomb.svg\nsave out.svg\n", 1);
    EXPECT_NE(run.err.find("line 1: "), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "out.svg"));
    run = Session("doc absent.svg\n", 2);
}

}  // namespace
