// Angles, radii, arc lengths and curve lengths as a person measures them: sessions of clicks
// and drags on a small drawing, checked by the alerts and sounds and by the document written
// at the end and read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>

#include "tests/support/SessionFixture.h"

namespace {

using emulator::Art;
using testing_support::Outcome;

// In SVG user units (points), y downwards.
const char* const kDrawing = R"(<svg xmlns="http://www.w3.org/2000/svg"
     width="600" height="420" viewBox="0 0 600 420">
  <path id="square" d="M 50 50 L 130 50 L 130 130 L 50 130 Z" fill="none" stroke="black"/>
  <path id="triangle" d="M 200 130 L 300 130 L 230 60 Z" fill="none" stroke="black"/>
  <path id="line1" d="M 350 130 L 450 130" stroke="black"/>
  <path id="line2" d="M 360 100 L 440 40" stroke="black"/>
  <path id="line3" d="M 350 160 L 450 160" stroke="black"/>
  <circle id="disc" cx="100" cy="270" r="50" fill="none" stroke="black"/>
  <path id="ellipse" d="M 250 250 C 250 220 350 220 350 250" fill="none" stroke="black"/>
  <path id="arc" d="M 420 300 A 60 60 0 0 1 540 300" fill="none" stroke="black"/>
  <path id="wave" d="M 200 350 C 250 300 300 400 350 350" fill="none" stroke="black"/>
  <path id="bump" d="M 440 390 C 440 380 450 380 450 390" fill="none" stroke="black"/>
</svg>)";

// A press at `at`, dragged to `to` and released there.
std::string Drag(const char* at, const char* to) {
    return std::string("move ") + at + "\ndown " + at + "\ndrag " + to + "\nup " + to + "\n";
}

class AngleCircleSession : public testing_support::SessionFixture {
  protected:
    AngleCircleSession() { Write("drawing.svg", kDrawing); }

    // The dimension groups of out.svg, read back.
    std::vector<Art*> SavedGroups() {
        saved_ = Saved("out.svg");
        return saved_ ? Dimensions(*saved_) : std::vector<Art*>{};
    }

    static std::vector<std::string> Names(const std::vector<Art*>& groups) {
        std::vector<std::string> names;
        for (Art* group : groups) {
            names.push_back(group->name);
        }
        return names;
    }

    // The paths of `group` that carry `tag`.
    static std::vector<Art*> PathsWith(Art& group, const std::string& tag) {
        std::vector<Art*> paths;
        emulator::ForEachArt(group, [&](Art& art) {
            if (art.type == emulator::ArtType::Path && art.tags.count(tag) != 0) {
                paths.push_back(&art);
            }
        });
        return paths;
    }

    static double DistanceFrom(const Art& path, double x, double y) {
        return std::hypot(path.segments.front().p.h - x, path.segments.front().p.v - y);
    }

    std::unique_ptr<emulator::Document> saved_;
};

// A square's corner shows the square mark and no number; a triangle's apex its angle, the
// outer one when the drag goes outside; two sides of one path are linked, two lines are
// not, and parallel sides are refused. With several arcs, they stand a gap apart.
TEST_F(AngleCircleSession, AnglesAtVerticesAndBetweenSides) {
    Outcome run =
        Session("doc drawing.svg\ntool angle\nclick 130 50\n" + Drag("230 60", "240 100") +
                Drag("230 60", "230 20") + "click 250 130\n" + Drag("286 116", "260 120") +
                "click 400 130\n" + Drag("400 70", "470 90") + "click 400 130\nclick 400 160\n" +
                "save out.svg\n");
    EXPECT_EQ(Count(run.out, "sound: BipPoint.wav"), 3) << run.out;
    EXPECT_EQ(Count(run.out, "sound: BipSegment.wav"), 6) << run.out;
    EXPECT_EQ(Count(run.out, "alert: Les deux côtés sont parallèles !"), 1) << run.out;
    auto groups = SavedGroups();
    ASSERT_EQ(groups.size(), 5u);
    EXPECT_EQ(Names(groups), std::vector<std::string>(5, "Angle"));
    EXPECT_EQ(Measures(groups), (std::vector<std::string>{"", "68,2°", "291,8°", "45°", "36,9°"}));
    // The square mark: three corners, a side of the arc radius (30 mm), between the sides.
    const Art* mark = PathsWith(*groups[0], "moda").at(0);
    ASSERT_EQ(mark->segments.size(), 3u);
    EXPECT_NEAR(mark->segments[1].p.h, 130 - 85.04, 0.01);
    EXPECT_NEAR(mark->segments[1].p.v, -(50 + 85.04), 0.01);
    // The drag sets the radius: the apex arc passes through the cursor's distance.
    EXPECT_NEAR(DistanceFrom(*PathsWith(*groups[1], "moda").at(0), 230, -60), std::hypot(10, 40),
                0.01);
    // Linked dimensions carry their record; the two lines give none.
    for (int i : {0, 1, 2, 3}) {
        EXPECT_EQ(PathsWith(*groups[i], "ang").size(), 1u) << i;
    }
    EXPECT_TRUE(PathsWith(*groups[4], "ang").empty());
    EXPECT_EQ(WithTag(*groups[3], "num2")->tags.at("num2"), "1");  // the shared corner

    std::string preferences = Read("Vorn-Cotaline-Prefs.txt");
    preferences = std::regex_replace(preferences, std::regex("\nSTYLEARC\n[^\n]*\n"),
                                     "\nSTYLEARC\nmultiple\n");
    Write("Vorn-Cotaline-Prefs.txt", preferences);
    Session("doc drawing.svg\ntool angle\n" + Drag("230 60", "240 100") + "save out.svg\n");
    groups = SavedGroups();
    ASSERT_EQ(groups.size(), 1u);
    std::vector<double> radii;
    for (const Art* arc : PathsWith(*groups[0], "moda")) {
        radii.push_back(DistanceFrom(*arc, 230, -60));
    }
    std::sort(radii.begin(), radii.end());
    ASSERT_EQ(radii.size(), 3u);
    EXPECT_NEAR(radii[1] - radii[0], 6, 0.01);
    EXPECT_NEAR(radii[2] - radii[0], 12, 0.01);
    // No heads with several arcs: only the arcs and the extension lines are paths.
    int paths = 0;
    emulator::ForEachArt(*groups[0],
                         [&](Art& art) { paths += art.type == emulator::ArtType::Path ? 1 : 0; });
    EXPECT_EQ(paths, 4);
}

// A circle drawn with four arcs gives its radius from a click on any arc, the diameter while
// Alt is held; two end anchors give the arc's circle; an elliptical arc is no circle.
TEST_F(AngleCircleSession, RadiiAndDiameters) {
    const Outcome run =
        Session("doc drawing.svg\ntool circle\n" + Drag("135.36 234.64", "200 220") +
                // Alt pressed once the button is down (an Alt-click opens the settings).
                "move 64.64 234.64\ndown 64.64 234.64\nkeys alt\ndrag 20 220\nup 20 220\n"
                "keys\nclick 420 300\nclick 540 300\nclick 300 227.5\n"
                "save out.svg\n");
    EXPECT_EQ(Count(run.out, "sound: BipArc.wav"), 2) << run.out;
    EXPECT_EQ(Count(run.out, "sound: BipPoint.wav"), 2) << run.out;
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    const auto groups = SavedGroups();
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(Names(groups), std::vector<std::string>(3, "Cercle Rayon"));
    EXPECT_EQ(Measures(groups), (std::vector<std::string>{"R 50 pt", "Ø 100 pt", "R 60 pt"}));
    // The leader bends at the cursor and its shoulder points right, then left.
    const Art* leader = WithTag(*groups[0], "red");
    ASSERT_EQ(leader->segments.size(), 3u);
    EXPECT_NEAR(leader->segments[1].p.h, 200, 0.01);
    EXPECT_NEAR(leader->segments[1].p.v, -220, 0.01);
    EXPECT_GT(leader->segments[2].p.h, leader->segments[1].p.h);
    const Art* left = WithTag(*groups[1], "red");
    EXPECT_LT(left->segments[2].p.h, left->segments[1].p.h);
    // The arc clicked is linked; the two ends are not.
    EXPECT_EQ(WithTag(*groups[0], "cer")->tags.at("num1"), "3");
    EXPECT_EQ(WithTag(*groups[2], "cer"), nullptr);
}

// An open arc gets an arc-length dimension concentric with it; a curve a copy of itself
// offset by the drag; an offset the curve cannot take is refused and leaves nothing.
TEST_F(AngleCircleSession, ArcAndCurveLengths) {
    const Outcome run =
        Session("doc drawing.svg\ntool segment\n" + Drag("522.43 257.57", "540 230") +
                Drag("275 350", "280 330") + Drag("445 382.5", "445 440") + "save out.svg\n");
    EXPECT_EQ(Count(run.out, "alert: Décalage trop grand"), 1) << run.out;
    const auto groups = SavedGroups();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(Names(groups), (std::vector<std::string>{"Segment arc", "Segment courbe"}));
    EXPECT_EQ(Measures(groups), (std::vector<std::string>{"94,2 pt", "163,7 pt"}));
    // The dimension arc lies on the circle through the cursor.
    std::vector<double> radii;
    emulator::ForEachArt(*groups[0], [&](Art& art) {
        if (art.type == emulator::ArtType::Path && art.segments.size() == 2 &&
            art.segments[0].out.h != art.segments[0].p.h) {
            radii.push_back(DistanceFrom(art, 480, -300));
        }
    });
    ASSERT_EQ(radii.size(), 1u);
    EXPECT_NEAR(radii[0], std::hypot(60, 70), 0.05);
}

// Linked dimensions follow their paths after the file was edited and reopened: a click on
// an angle's arc with the Angle tool, a click on a circle's leader with the Segment tool
// (which hands it over to the Circle tool), and Alt+click for all of a kind.
TEST_F(AngleCircleSession, DimensionsFollowTheirPathsAfterAReopen) {
    Session("doc drawing.svg\ntool angle\n" + Drag("230 60", "240 100") + "tool circle\n" +
            Drag("135.36 234.64", "200 220") + "save out.svg\n");
    std::string svg = Read("out.svg");
    ASSERT_NE(svg.find("L 230 60 Z"), std::string::npos);
    ASSERT_NE(svg.find("r=\"50\""), std::string::npos);
    svg.replace(svg.find("L 230 60 Z"), 10, "L 250 60 Z");
    svg.replace(svg.find("r=\"50\""), 6, "r=\"40\"");
    Write("edited.svg", svg);

    Outcome run = Session(
        "doc edited.svg\ntool angle\nclick 240 100\ntool segment\nclick 172.4 233.8\n"
        "save out.svg\n");
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    auto groups = SavedGroups();
    ASSERT_EQ(groups.size(), 2u);
    std::vector<std::string> measures = Measures(groups);
    std::sort(measures.begin(), measures.end());
    EXPECT_EQ(measures, (std::vector<std::string>{"71,1°", "R 40 pt"}));

    // Edited again, every dimension of each kind is rebuilt at once by Alt+click on one.
    svg = Read("out.svg");
    ASSERT_NE(svg.find("L 250 60 Z"), std::string::npos);
    svg.replace(svg.find("L 250 60 Z"), 10, "L 270 60 Z");
    svg.replace(svg.find("r=\"40\""), 6, "r=\"30\"");
    Write("edited.svg", svg);
    run = Session(
        "doc edited.svg\nkeys alt\ntool angle\nclick 250 145\ntool circle\nclick 154.1 243\n"
        "save out.svg\n");
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    groups = SavedGroups();
    ASSERT_EQ(groups.size(), 2u);
    measures = Measures(groups);
    std::sort(measures.begin(), measures.end());
    EXPECT_EQ(measures, (std::vector<std::string>{"68,2°", "R 30 pt"}));
}

// Dimensions stacked on a corner never hide it: each angle dimension's extension lines pass
// through the vertex, and the search beneath them once gave up after four. The apex of the
// triangle: the sides toward (200, 130) and (300, 130) make 180° − 66.8° − 45° = 68.2°.
TEST_F(AngleCircleSession, ACornerUnderManyDimensionsIsStillPicked) {
    std::string script = "doc drawing.svg\ntool angle\n";
    for (int i = 0; i < 7; ++i) {
        script += "click 230 60\n";
    }
    const Outcome run = Session(script + "save out.svg\n");
    EXPECT_EQ(Count(run.out, "sound: BipPoint.wav"), 7) << run.out;
    const auto groups = SavedGroups();
    EXPECT_EQ(Measures(groups), std::vector<std::string>(7, "68,2°"));
}

// A first side waits for the second; a vertex measured in one click ends it, so that the
// next side clicked is a first side again instead of closing an angle with the old one.
TEST_F(AngleCircleSession, AVertexEndsAWaitingFirstSide) {
    const Outcome run = Session(
        "doc drawing.svg\ntool angle\nclick 400 130\nclick 230 60\nclick 400 70\nsave out.svg\n");
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    EXPECT_EQ(Measures(SavedGroups()), std::vector<std::string>{"68,2°"});
}

// With Alt and no radius line, the dimension leaves the centre half a turn from the cursor:
// the leader bends on the far side of the circle and its shoulder points away.
TEST_F(AngleCircleSession, AltWithoutRadiusLineTurnsTheLeaderHalfATurn) {
    const std::string script =
        "doc drawing.svg\ntool circle\n"
        "move 135.36 234.64\ndown 135.36 234.64\nkeys alt\ndrag 200 220\nup 200 220\n"
        "save out.svg\n";
    // Alt held from the start, with the radius line: the leader bends at the cursor.
    Session(script);
    auto groups = SavedGroups();
    ASSERT_EQ(groups.size(), 1u);
    const Art* bent = WithTag(*groups[0], "red");
    ASSERT_NE(bent, nullptr);
    ASSERT_EQ(bent->segments.size(), 3u);
    EXPECT_NEAR(bent->segments[1].p.h, 200, 1e-3);
    EXPECT_NEAR(bent->segments[1].p.v, -220, 1e-3);

    std::string preferences = Read("Vorn-Cotaline-Prefs.txt");
    preferences = std::regex_replace(preferences, std::regex("\nAVECRAYONTRACE\n[^\n]*\n"),
                                     "\nAVECRAYONTRACE\nfaux\n");
    Write("Vorn-Cotaline-Prefs.txt", preferences);
    const Outcome run = Session(script);
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    groups = SavedGroups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(MeasureOf(*groups[0]), "Ø 100 pt");
    const Art* leader = WithTag(*groups[0], "red");
    ASSERT_NE(leader, nullptr);
    ASSERT_EQ(leader->segments.size(), 3u);
    // The cursor lies along (100, 50) from the centre (100, −270); the bend along (−100, −50).
    const double dx = leader->segments[1].p.h - 100;
    const double dy = leader->segments[1].p.v + 270;
    const double length = std::hypot(dx, dy);
    EXPECT_NEAR(dx / length, -100 / std::hypot(100, 50), 1e-4);
    EXPECT_NEAR(dy / length, -50 / std::hypot(100, 50), 1e-4);
    EXPECT_NEAR(length, std::hypot(100, 50), 1e-3) << "as far from the centre as the cursor";
    EXPECT_LT(leader->segments[2].p.h, leader->segments[1].p.h);
}

}  // namespace
