// The Segment tool used as a person uses it: sessions of clicks and drags on small
// drawings, checked by what the user sees (alerts, sounds, cursors) and by the document
// written at the end and read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "emulator/core/TextLayout.h"
#include "tests/support/SessionFixture.h"

namespace {

using emulator::Art;
using testing_support::Outcome;

// In SVG user units (points), y downwards. A bent bar with three anchors, two parallel
// rails, a closed curved shape, and a square in a group.
const char* const kDrawing = R"(<svg xmlns="http://www.w3.org/2000/svg"
     xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
     width="400" height="400" viewBox="0 0 400 400">
  <g inkscape:groupmode="layer" inkscape:label="Calque 1">
    <path id="bar" d="M 50,100 L 150,100 L 150,160" fill="none" stroke="black"/>
    <path id="rail1" d="M 50,200 L 250,200" stroke="black"/>
    <path id="rail2" d="M 50,240 L 250,240" stroke="black"/>
    <path id="blob" d="M 300,50 C 350,50 350,100 300,100 C 250,100 250,50 300,50 Z"/>
    <g id="part"><rect x="300" y="300" width="60" height="40"/></g>
  </g>
</svg>)";

class SegmentToolSession : public testing_support::SessionFixture {
  protected:
    SegmentToolSession() { Write("drawing.svg", kDrawing); }
};

TEST_F(SegmentToolSession, TwoAnchorsInPointsThenInMillimetres) {
    const std::string script =
        "doc drawing.svg\ntool segment\n"
        "click 50 100\n"
        "move 150 100\ndown 150 100\ndrag 100 70\nup 100 70\n"
        "save out.svg\n";
    Outcome run = Session(script);
    EXPECT_EQ(Count(run.out, "sound: BipPoint.wav"), 2) << run.out;
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    auto document = Saved("out.svg");
    auto groups = Dimensions(*document);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0]->name, "Segment oblique");
    EXPECT_EQ(MeasureOf(*groups[0]), "100 pt");
    // The dimension line follows the drag: 30 points above the bar.
    Art* half = WithTag(*groups[0], "red");
    ASSERT_NE(half, nullptr);
    EXPECT_NEAR(half->segments[0].p.v, -70, 1e-3);
    EXPECT_EQ(half->tags.at("num1"), "0");
    EXPECT_EQ(half->tags.at("num2"), "1");

    std::string preferences = Read("Vorn-Cotaline-Prefs.txt");
    preferences =
        std::regex_replace(preferences, std::regex("\nUNITE\n[^\n]*\n"), "\nUNITE\nmillimetre\n");
    Write("Vorn-Cotaline-Prefs.txt", preferences);
    run = Session(script);
    document = Saved("out.svg");
    groups = Dimensions(*document);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(MeasureOf(*groups[0]), "35,3 mm");
}

TEST_F(SegmentToolSession, RefusedClicksLeaveNothingHalfBuilt) {
    const Outcome run = Session(
        "doc drawing.svg\ntool segment\n"
        // The same anchor twice.
        "click 50 100\nclick 50 100\n"
        // A first point, then a click on a segment instead of a point: the first stays.
        "click 50 100\nclick 100 200\nclick 150 160\n"
        // A closed path's curve.
        "click 340 75\n"
        // An arrowhead of the dimension just made (its tip is the anchor 150,160).
        "move 150 160\n"
        "save out.svg\n");
    EXPECT_EQ(
        Count(run.out, "alert: Il faut cliquer sur deux points distincts. Cotation impossible !"),
        1)
        << run.out;
    EXPECT_EQ(Count(run.out,
                    "alert: Vous devez cliquer sur un second point\\r\\r(point "
                    "d'ancrage ou point d'intersection)."),
              1)
        << run.out;
    EXPECT_EQ(Count(run.out, "alert: Le tracé doit être ouvert."), 1) << run.out;
    EXPECT_EQ(Count(run.out, "sound: BipBezier.wav"), 1) << run.out;
    auto document = Saved("out.svg");
    const auto groups = Dimensions(*document);
    ASSERT_EQ(groups.size(), 1u) << "only the dimension from (50,100) to (150,160)";
    EXPECT_EQ(groups[0]->name, "Segment oblique");
    EXPECT_EQ(MeasureOf(*groups[0]), "116,6 pt");
}

TEST_F(SegmentToolSession, FreePointsWholeSegmentsAndPerpendiculars) {
    const Outcome run = Session(
        "doc drawing.svg\ntool segment\n"
        // Two free points: a dimension without a second record.
        "click 20 20\nclick 80 20\n"
        // The whole straight segment of the first rail, in one click, placed below it.
        "move 120 200\ndown 120 200\ndrag 120 215\nup 120 215\n"
        // Shift+Alt: the perpendicular distance of the two rails.
        "keys shift alt\nclick 100 200\nkeys\nclick 200 240\n"
        // An arrowhead: nothing happens.
        "click 50 215\n"
        "save out.svg\n");
    EXPECT_EQ(Count(run.out, "sound: BipSegment.wav"), 3) << run.out;
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    auto document = Saved("out.svg");
    const auto groups = Dimensions(*document);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(Measures(groups), (std::vector<std::string>{"60 pt", "200 pt", "40 pt"}));
    Art* free = WithTag(*groups[0], "red");
    ASSERT_NE(free, nullptr);
    EXPECT_EQ(free->tags.count("segpt2"), 0u);
    EXPECT_EQ(WithTag(*groups[1], "red")->tags.count("surseg"), 1u);
    EXPECT_EQ(WithTag(*groups[2], "mods"), nullptr) << "a perpendicular distance is fixed";
}

// A dimension that touches a point other than an anchor (here a rectangle's centre) cannot
// follow its path: it keeps no record that a rebuild could take for a link.
TEST_F(SegmentToolSession, PointsThatAreNotAnchorsUnlink) {
    const Outcome run =
        Session("doc drawing.svg\ntool segment\nclick 300 300\nclick 330 320\nsave out.svg\n");
    EXPECT_EQ(Count(run.out, "sound: BipPoint.wav"), 2) << run.out;
    auto document = Saved("out.svg");
    const auto groups = Dimensions(*document);
    ASSERT_EQ(groups.size(), 1u);
    Art* half = WithTag(*groups[0], "red");
    ASSERT_NE(half, nullptr);
    for (const char* tag : {"mods", "segpt1", "num1", "segpt2", "num2"}) {
        EXPECT_EQ(half->tags.count(tag), 0u) << tag;
    }
}

TEST_F(SegmentToolSession, LockedDimensionLayerRefuses) {
    std::string drawing = kDrawing;
    drawing.replace(drawing.find("</svg>"), 6,
                    "<g inkscape:groupmode=\"layer\" inkscape:label=\"Dimensions\" "
                    "xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" "
                    "sodipodi:insensitive=\"true\"/></svg>");
    Write("locked.svg", drawing);
    const Outcome run = Session("doc locked.svg\ntool segment\nclick 50 100\nsave out.svg\n");
    EXPECT_EQ(Count(run.out, "alert: Cotation impossible. Calque verrouillé."), 1) << run.out;
    EXPECT_EQ(Count(run.out, "sound:"), 0) << run.out;
    auto document = Saved("out.svg");
    EXPECT_TRUE(Dimensions(*document).empty());
}

TEST_F(SegmentToolSession, BothDirectionsMeasureTheBoundsOfAGroup) {
    std::string preferences = Read("Vorn-Cotaline-Prefs.txt");
    preferences = std::regex_replace(preferences, std::regex("\nTYPECOTE\n[^\n]*\n"),
                                     "\nTYPECOTE\nlesdeux\n");
    Write("Vorn-Cotaline-Prefs.txt", preferences);
    const Outcome run = Session(
        "doc drawing.svg\ntool segment\n"
        "move 330 300\ndown 330 300\ndrag 380 280\nup 380 280\n"
        "click 5 395\n"
        "save out.svg\n");
    EXPECT_EQ(
        Count(run.out, "alert: Il faut cliquer sur un objet\\r\\rpour que le clic ait un effet."),
        1)
        << run.out;
    auto document = Saved("out.svg");
    const auto groups = Dimensions(*document);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0]->name, "Segment horiz & verti");
    std::vector<std::string> texts;
    emulator::ForEachArt(*groups[0], [&texts](Art& art) {
        if (art.type == emulator::ArtType::Text) {
            texts.emplace_back(art.pointText.text.begin(), art.pointText.text.end());
        }
    });
    EXPECT_EQ(texts, (std::vector<std::string>{"60 pt", "40 pt"}));
    // These dimensions cannot be modified, and Alt+click never rebuilds them.
    EXPECT_EQ(WithTag(*groups[0], "mods"), nullptr);
    EXPECT_EQ(WithTag(*groups[0], "red"), nullptr);
}

// Measure, save, edit the path in the file as any SVG editor would, reopen, click: the
// dimension measures the new geometry. Then Alt+click rebuilds every linked dimension.
TEST_F(SegmentToolSession, DimensionsFollowTheirPathsAfterAReopen) {
    Session(
        "doc drawing.svg\ntool segment\n"
        "click 50 100\nmove 150 100\ndown 150 100\ndrag 100 70\nup 100 70\n"
        "move 200 200\ndown 200 200\ndrag 200 180\nup 200 180\n"
        "click 20 20\nmove 80 20\ndown 80 20\ndrag 50 10\nup 50 10\n"
        "save measured.svg\n");
    std::string text = Read("measured.svg");
    text = std::regex_replace(text, std::regex("M 50,100 L 150,100 L 150,160"),
                              "M 50,100 L 170,100 L 150,160");
    text = std::regex_replace(text, std::regex("M 50,200 L 250,200"), "M 50,200 L 290,200");
    Write("edited.svg", text);
    ASSERT_NE(text.find("L 170,100"), std::string::npos) << "the path's data kept its text";

    // One click on the first dimension's line.
    Outcome run = Session("doc edited.svg\ntool segment\nclick 65 70\nsave one.svg\n");
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    auto document = Saved("one.svg");
    auto groups = Dimensions(*document);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(Measures(groups), (std::vector<std::string>{"200 pt", "60 pt", "120 pt"}));

    // Alt+click: the rail's dimension too; the free one stays as it was.
    run = Session("doc edited.svg\ntool segment\nkeys alt\nclick 65 70\nkeys\nsave all.svg\n");
    document = Saved("all.svg");
    groups = Dimensions(*document);
    std::vector<std::string> measures = Measures(groups);
    std::sort(measures.begin(), measures.end());
    EXPECT_EQ(measures, (std::vector<std::string>{"120 pt", "240 pt", "60 pt"}));
    // Each dimension rebuilt where it stood: the rail's line is still 20 points above it.
    for (Art* group : groups) {
        if (MeasureOf(*group) == "240 pt") {
            EXPECT_FLOAT_EQ(WithTag(*group, "red")->segments[0].p.v, -180);
        }
    }

    // The measured path deleted: the message, and the dimension unchanged.
    text = std::regex_replace(Read("measured.svg"), std::regex("<path id=\"bar\"[^>]*>"), "");
    Write("deleted.svg", text);
    run = Session("doc deleted.svg\ntool segment\nclick 65 70\nsave gone.svg\n");
    EXPECT_EQ(Count(run.out, "alert: Le tracé correspondant à cette cote n'a pas été trouvé !"), 1)
        << run.out;
    document = Saved("gone.svg");
    groups = Dimensions(*document);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(MeasureOf(*groups[0]), "100 pt");
}

// The corner where a dimension's extension line starts is still an anchor to measure from.
TEST_F(SegmentToolSession, ChainedDimensionsShareACorner) {
    const Outcome run = Session(
        "doc drawing.svg\ntool segment\n"
        "click 50 100\nmove 150 100\ndown 150 100\ndrag 100 70\nup 100 70\n"
        "click 150 100\nmove 150 160\ndown 150 160\ndrag 190 130\nup 190 130\n"
        "save out.svg\n");
    EXPECT_EQ(Count(run.out, "sound: BipPoint.wav"), 4) << run.out;
    auto document = Saved("out.svg");
    const auto groups = Dimensions(*document);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(MeasureOf(*groups[1]), "60 pt");
    EXPECT_EQ(WithTag(*groups[1], "red")->tags.at("num1"), "1");
}

// A new dimension line dragged near the end of one placed before snaps onto it.
TEST_F(SegmentToolSession, PlacedLinesSnap) {
    const Outcome run = Session(
        "doc drawing.svg\ntool segment\n"
        "click 50 100\nmove 150 100\ndown 150 100\ndrag 100 70\nup 100 70\n"
        // The first rail, dragged near the left end of the first dimension line.
        "move 120 200\ndown 120 200\ndrag 51 72\nup 51 72\n"
        "save out.svg\n");
    EXPECT_NE(run.out.find("cursor: 20001"), std::string::npos) << run.out;
    auto document = Saved("out.svg");
    const auto groups = Dimensions(*document);
    ASSERT_EQ(groups.size(), 2u);
    Art* half = WithTag(*groups[1], "red");
    ASSERT_NE(half, nullptr);
    EXPECT_FLOAT_EQ(half->segments[0].p.v, -70) << "the line went through the snapped point";
}

// A line, a curve drawn straight (150 points long) and a quarter circle of radius 50.
const char* const kOneClickDrawing = R"(<svg xmlns="http://www.w3.org/2000/svg"
     width="700" height="500" viewBox="0 0 700 500">
  <path d="M 50 50 L 200 50" stroke="black"/>
  <path d="M 50 250 C 100 250 150 250 200 250" fill="none" stroke="black"/>
  <path d="M 300 200 C 300 172.385763 322.385763 150 350 150" fill="none" stroke="black"/>
</svg>)";

// A free point waits for its second click; a measure made in one click (a whole segment, a
// curve, an arc) ends it. The click in an empty place that follows once re-laid the
// finished dimension from its first anchor to the click ("651,9 pt").
TEST_F(SegmentToolSession, OneClickMeasuresEndAWaitingFreePoint) {
    Write("line.svg", kOneClickDrawing);
    const Outcome run = Session(
        "doc line.svg\ntool segment\n"
        "click 500 300\nmove 120 50\ndown 120 50\ndrag 120 30\nup 120 30\nclick 600 400\n"
        "move 120 250\ndown 120 250\ndrag 120 230\nup 120 230\nclick 600 420\n"
        "move 314.644661 164.644661\ndown 314.644661 164.644661\ndrag 300 140\nup 300 140\n"
        "click 650 420\nsave out.svg\n");
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    auto document = Saved("out.svg");
    const auto groups = Dimensions(*document);
    ASSERT_EQ(groups.size(), 3u) << "the free points still wait for their second click";
    EXPECT_EQ(Measures(groups), (std::vector<std::string>{"150 pt", "150 pt", "78,5 pt"}));
    EXPECT_EQ(groups[0]->name, "Segment oblique");
    EXPECT_EQ(groups[1]->name, "Segment courbe");
    EXPECT_EQ(groups[2]->name, "Segment arc");
    // The whole segment's line stays where its drag put it, 20 points above the line.
    Art* half = WithTag(*groups[0], "red");
    ASSERT_NE(half, nullptr);
    EXPECT_FLOAT_EQ(half->segments[0].p.v, -30);
}

// A whole segment's dimension clicked with another tool is handed over to the Segment tool
// and rebuilt; the drag of that click places it, as it places every other kind.
TEST_F(SegmentToolSession, AWholeSegmentRebuiltByAnotherToolFollowsTheDrag) {
    Write("line.svg", kOneClickDrawing);
    const Outcome run = Session(
        "doc line.svg\ntool segment\nmove 120 50\ndown 120 50\ndrag 120 30\nup 120 30\n"
        "tool angle\nmove 70 30\ndown 70 30\ndrag 70 90\nup 70 90\nsave out.svg\n");
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    auto document = Saved("out.svg");
    const auto groups = Dimensions(*document);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(MeasureOf(*groups[0]), "150 pt");
    Art* half = WithTag(*groups[0], "red");
    ASSERT_NE(half, nullptr);
    EXPECT_FLOAT_EQ(half->segments[0].p.v, -90) << "40 points below the line, at the cursor";
}

}  // namespace

namespace {

// Two lines crossing at (200, 200); a curve crossed by a vertical line; a segment shorter
// than its measure text.
const char* const kCrossingsDrawing = R"(<svg xmlns="http://www.w3.org/2000/svg"
     width="600" height="700" viewBox="0 0 600 700">
  <path d="M 100 200 L 300 200" stroke="black" fill="none"/>
  <path d="M 150 100 L 250 300" stroke="black" fill="none"/>
  <path d="M 100 400 C 150 300 250 500 300 400" stroke="black" fill="none"/>
  <path d="M 180 300 L 180 500" stroke="black" fill="none"/>
  <path d="M 100 600 L 120 600" stroke="black" fill="none"/>
  <path d="M 400 600 L 420 600" stroke="black" fill="none"/>
</svg>)";

// Where the curve above reaches x = 180 (SVG y), found by bisection of its x(t), which
// grows along the curve.
double CurveYAt180() {
    const auto at = [](double t, double a, double b, double c, double d) {
        const double u = 1 - t;
        return u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d;
    };
    double low = 0;
    double high = 1;
    for (int i = 0; i < 100; ++i) {
        const double t = (low + high) / 2;
        (at(t, 100, 150, 250, 300) < 180 ? low : high) = t;
    }
    return at(low, 400, 300, 500, 400);
}

}  // namespace

// A point taken near a crossing is the crossing itself, for lines and for curves; a short
// dimension keeps its line off its text, heads inside or outside.
TEST_F(SegmentToolSession, CrossingsAndShortDimensions) {
    Write("crossings.svg", kCrossingsDrawing);
    std::string preferences = Read("Vorn-Cotaline-Prefs.txt");
    preferences =
        std::regex_replace(preferences, std::regex("\nPRECISION\n[^\n]*\n"), "\nPRECISION\n2\n");
    Write("Vorn-Cotaline-Prefs.txt", preferences);
    const double y = CurveYAt180();
    const std::string nearCurveCrossing = "180.6 " + std::to_string(y + 0.5) + "\n";
    const Outcome run = Session(
        "doc crossings.svg\ntool segment\n"
        "move 200.6 200.3\nclick 200.6 200.3\nmove 300 200\nclick 300 200\n"
        "move " +
        nearCurveCrossing + "click " + nearCurveCrossing +
        "move 180 500\nclick 180 500\n"
        "move 110 600\ndown 110 600\ndrag 110 570\nup 110 570\n"
        "move 410 600\ndown 410 600\nkeys alt\ndrag 410 570\nup 410 570\nkeys\n"
        "save out.svg\n");
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    auto document = Saved("out.svg");
    const auto groups = Dimensions(*document);
    ASSERT_EQ(groups.size(), 4u);
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.2f pt", 500 - y);
    std::string curveMeasure = expected;
    std::replace(curveMeasure.begin(), curveMeasure.end(), '.', ',');
    EXPECT_EQ(Measures(groups),
              (std::vector<std::string>{"100 pt", curveMeasure, "20 pt", "20 pt"}));
    // The short ones: each half lies beyond its extension line and beyond the text.
    for (int i : {2, 3}) {
        SCOPED_TRACE(i);
        const double left = i == 2 ? 100 : 400;
        const Art* text = nullptr;
        std::vector<const Art*> halves;
        emulator::ForEachArt(*groups[static_cast<std::size_t>(i)], [&](Art& art) {
            if (art.type == emulator::ArtType::Text) {
                text = &art;
            } else if (art.type == emulator::ArtType::Path && art.segments.size() == 2 &&
                       art.segments[0].p.v == art.segments[1].p.v) {
                halves.push_back(&art);
            }
        });
        ASSERT_NE(text, nullptr);
        ASSERT_EQ(halves.size(), 2u);
        const AIRealRect box = emulator::PointTextBounds(text->pointText);
        for (const Art* half : halves) {
            const double a = half->segments[0].p.h;
            const double b = half->segments[1].p.h;
            const bool onLeft = a < left + 10;
            for (double x : {a, b}) {
                EXPECT_TRUE(onLeft ? x <= std::min<double>(left, box.left)
                                   : x >= std::max<double>(left + 20, box.right))
                    << x;
            }
        }
    }
}

// A measure whose second point never came leaves nothing in the file: no link on the
// path, no empty layer made for it, whether the session ends or another tool is taken.
TEST_F(SegmentToolSession, UnfinishedMeasuresWriteNothing) {
    Write("lines.svg", kCrossingsDrawing);
    for (const char* script :
         {"click 100 200\nsave out.svg\n",
          "click 100 200\nclick 500 650\ntool circle\nclick 300 400\nsave out.svg\n"}) {
        SCOPED_TRACE(script);
        Session(std::string("doc lines.svg\ntool segment\n") + script);
        const std::string saved = Read("out.svg");
        EXPECT_EQ(saved.find("segpt1"), std::string::npos) << saved;
        EXPECT_EQ(saved.find("Dimensions"), std::string::npos) << saved;
    }
}
