// `mesra check` and `mesra update` on a drawing edited after it was dimensioned: which
// dimensions still tell the truth, which are out of date, which lost their path, and the
// forms of measure texts read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/CheckCommand.h"
#include "app/MeasureReading.h"
#include "tests/support/SessionFixture.h"

namespace {

using testing_support::Outcome;

// In SVG user units (points), y downwards: a bar, a triangle, a circle and an arc.
const char* const kDrawing = R"(<svg xmlns="http://www.w3.org/2000/svg"
     width="600" height="420" viewBox="0 0 600 420">
  <path id="bar" d="M 50 100 L 150 100" fill="none" stroke="black"/>
  <path id="triangle" d="M 200 130 L 300 130 L 230 60 Z" fill="none" stroke="black"/>
  <circle id="disc" cx="100" cy="270" r="50" fill="none" stroke="black"/>
  <path id="arc" d="M 420 300 A 60 60 0 0 1 540 300" fill="none" stroke="black"/>
</svg>)";

// A press at `at`, dragged to `to` and released there.
std::string Drag(const char* at, const char* to) {
    return std::string("move ") + at + "\ndown " + at + "\ndrag " + to + "\nup " + to + "\n";
}

// A linear dimension of the bar, the triangle's apex angle, the circle's radius and the
// arc's length (which keeps no link).
const std::string kDimensionAll =
    "doc drawing.svg\ntool segment\nclick 50 100\n" + Drag("150 100", "100 70") + "tool angle\n" +
    Drag("230 60", "240 100") + "tool circle\n" + Drag("135.36 234.64", "200 220") +
    "tool segment\n" + Drag("522.43 257.57", "540 230") + "save out.svg\n";

class DimensionCheck : public testing_support::SessionFixture {
  protected:
    DimensionCheck() { Write("drawing.svg", kDrawing); }

    Outcome Run(app::Command command, const std::string& in, const std::string& out = "") {
        app::CommandLine options;
        options.command = command;
        options.document = (folder_.Path() / in).string();
        options.output = out.empty() ? "" : (folder_.Path() / out).string();
        std::ostringstream printed;
        std::ostringstream errors;
        Outcome run;
        run.status = app::RunDimensionCheck(options, plugin_.string(), printed, errors, false);
        run.out = printed.str();
        run.err = errors.str();
        return run;
    }

    // The file with the bar lengthened, the triangle's apex moved and the circle deleted.
    void Edit(const std::string& from, const std::string& to) {
        std::string svg = Read(from);
        ASSERT_NE(svg.find("L 150 100"), std::string::npos);
        ASSERT_NE(svg.find("L 230 60 Z"), std::string::npos);
        svg.replace(svg.find("L 150 100"), 9, "L 170 100");
        svg.replace(svg.find("L 230 60 Z"), 10, "L 250 60 Z");
        svg = std::regex_replace(svg, std::regex("<circle[^>]*/>"), "");
        Write(to, svg);
    }
};

TEST_F(DimensionCheck, EditedDrawingIsCheckedAndUpdated) {
    Session(kDimensionAll);
    Outcome run = Run(app::Command::Check, "out.svg");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("4 dimensions: 3 ok, 0 out of date, 0 path missing, 1 free"),
              std::string::npos)
        << run.out;

    Edit("out.svg", "edited.svg");
    run = Run(app::Command::Check, "edited.svg");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.out.find("linear  \"Segment oblique\"  shows \"100 pt\"  should show "
                           "\"120 pt\"  out of date"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(Count(run.out, "angle  \"Angle\""), 1) << run.out;
    EXPECT_NE(run.out.find("radius  \"Cercle Rayon\"  shows \"R 50 pt\"  path missing"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("arc length  \"Segment arc\"  shows \"94,2 pt\"  free"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("4 dimensions: 0 ok, 2 out of date, 1 path missing, 1 free"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(Read("edited.svg").find("120 pt"), std::string::npos) << "check writes nothing";

    // update fixes the two it can and reports the one it cannot; a second check then
    // finds only the missing one.
    run = Run(app::Command::Update, "edited.svg", "updated.svg");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(Count(run.out, "  updated\n"), 2) << run.out;
    EXPECT_EQ(Count(run.out, "  path missing\n"), 1) << run.out;
    EXPECT_EQ(Count(run.out, "  free\n"), 0) << run.out;
    run = Run(app::Command::Check, "updated.svg");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("4 dimensions: 2 ok, 0 out of date, 1 path missing, 1 free"),
              std::string::npos)
        << run.out;
    const auto updated = Saved("updated.svg");
    ASSERT_NE(updated, nullptr);
    EXPECT_EQ(Dimensions(*updated).size(), 4u);

    // A drawing without dimensions is in order; one that cannot be read is a bad argument.
    EXPECT_EQ(Run(app::Command::Check, "drawing.svg").status, 0);
    run = Run(app::Command::Check, "nowhere.svg");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("nowhere.svg"), std::string::npos) << run.err;
}

// Would catch the writer dropping the tags of a path that is one subpath of an element
// (a drawing with holes, an icon): the fresh dimensions would be "path missing" after a
// save, and no rebuild would find their paths. Two paths in one element, a rectangle beside
// them; a dimension from the second subpath's end (60, 50) to the corner (110, 50), 50 pt,
// and one from the first subpath's start (10, 10) to the corner (150, 90): √(140² + 80²) =
// 161,245 pt.
TEST_F(DimensionCheck, LinksOnPathsOfSeveralSubpathsSurviveASave) {
    Write("pair.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" width="300" height="200"
     viewBox="0 0 300 200">
  <path id="pair" d="M10,10 L60,10 M10,50 L60,50" fill="none" stroke="black"/>
  <rect id="box" x="110" y="50" width="40" height="40" fill="none" stroke="black"/>
</svg>)");
    Session("doc pair.svg\ntool segment\nclick 60 50\n" + Drag("110 50", "85 30") +
            "click 10 10\n" + Drag("150 90", "60 80") + "save out.svg\n");
    Outcome run = Run(app::Command::Check, "out.svg");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("shows \"50 pt\"  should show \"50 pt\"  ok"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("shows \"161,2 pt\"  should show \"161,2 pt\"  ok"), std::string::npos)
        << run.out;

    // The second subpath lengthened to (70, 50): 40 pt from the corner, which update writes
    // and a reopened drawing keeps, links and all.
    std::string svg = Read("out.svg");
    ASSERT_NE(svg.find("M10,50 L60,50"), std::string::npos) << svg;
    svg.replace(svg.find("M10,50 L60,50"), 13, "M10,50 L70,50");
    Write("edited.svg", svg);
    run = Run(app::Command::Update, "edited.svg", "updated.svg");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("shows \"50 pt\"  should show \"40 pt\"  updated"), std::string::npos)
        << run.out;
    run = Run(app::Command::Check, "updated.svg");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("2 dimensions: 2 ok, 0 out of date, 0 path missing, 0 free"),
              std::string::npos)
        << run.out;
}

// Would catch update rebuilding dimensions that were in order (the plug-in rebuilds every
// dimension of a kind): one the user moved into the drawing's layer went back to the
// dimensions layer, the stacking order was reversed, the colours the user gave were reset.
// Three bars of 100, 60 and 40 pt; the first dimension moved into layer "Plan", the third
// recoloured green. Nothing changed: the file's dimensions stay byte for byte. The second bar
// lengthened to (130, 200), 80 pt: only its dimension is rebuilt, in its place below the
// third's.
TEST_F(DimensionCheck, UpdateLeavesDimensionsInOrderAsTheyWere) {
    Write("bars.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" width="400" height="300"
     xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape">
  <g inkscape:groupmode="layer" inkscape:label="Plan">
    <path d="M 50 100 L 150 100" fill="none" stroke="black"/>
    <path d="M 50 200 L 110 200" fill="none" stroke="black"/>
    <path d="M 300 100 L 340 100" fill="none" stroke="black"/>
  </g>
</svg>)");
    Session("doc bars.svg\ntool segment\nclick 50 100\n" + Drag("150 100", "100 70") +
            "click 50 200\n" + Drag("110 200", "80 230") + "click 300 100\n" +
            Drag("340 100", "320 70") + "save out.svg\n");
    std::string svg = Read("out.svg");
    std::vector<std::string> groups;
    const std::regex group(R"(<g inkscape:label="Segment oblique">[\s\S]*?</g>)");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), group);
         it != std::sregex_iterator(); ++it) {
        groups.push_back(it->str());
    }
    ASSERT_EQ(groups.size(), 3u) << svg;
    ASSERT_NE(groups[0].find(">100 pt<"), std::string::npos) << groups[0];
    ASSERT_NE(groups[2].find(">40 pt<"), std::string::npos) << groups[2];
    svg.erase(svg.find(groups[0]), groups[0].size());
    svg.insert(svg.find("</g>"), groups[0] + "\n  ");
    groups[2] = std::regex_replace(groups[2], std::regex("#ff0000|#0000ff"), "#00aa00");
    svg.replace(svg.rfind("<g inkscape:label=\"Segment oblique\">"), std::string::npos,
                groups[2] + "\n  </g>\n</svg>\n");
    Write("arranged.svg", svg);
    // Each group, whole, where it should be: the first in "Plan", the others after it.
    const auto placed = [&groups](const std::string& file, bool second) {
        const std::size_t dimensionsLayer = file.find("inkscape:label=\"Dimensions\"");
        const std::size_t first = file.find(groups[0]);
        const std::size_t third = file.find(groups[2]);
        return dimensionsLayer != std::string::npos && first < dimensionsLayer &&
               third != std::string::npos && third > dimensionsLayer &&
               (!second ||
                (file.find(groups[1]) > dimensionsLayer && file.find(groups[1]) < third));
    };
    ASSERT_TRUE(placed(svg, true)) << svg;

    Outcome run = Run(app::Command::Update, "arranged.svg", "same.svg");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("3 dimensions: 3 ok, 0 updated"), std::string::npos) << run.out;
    EXPECT_TRUE(placed(Read("same.svg"), true)) << Read("same.svg");

    ASSERT_NE(svg.find("L 110 200"), std::string::npos);
    svg.replace(svg.find("L 110 200"), 9, "L 130 200");
    Write("longer.svg", svg);
    run = Run(app::Command::Update, "longer.svg", "updated.svg");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("shows \"60 pt\"  should show \"80 pt\"  updated"), std::string::npos)
        << run.out;
    const std::string updated = Read("updated.svg");
    EXPECT_TRUE(placed(updated, false)) << updated;
    const std::size_t rebuilt = updated.find(">80 pt<");
    EXPECT_TRUE(rebuilt > updated.find("inkscape:label=\"Dimensions\"") &&
                rebuilt < updated.find(groups[2]))
        << updated;
    EXPECT_EQ(updated.find(">60 pt<"), std::string::npos) << updated;
}

// Would catch a dimension placed on the side it measures (a plain click on the side) being
// out of reach: its line lies along the side, and the plug-in took a point of it for a
// crossing of the two, so that an Alt+click there opened the settings panel. Fresh, it is in
// order; the side lengthened to (130, 100), update writes 120 pt.
TEST_F(DimensionCheck, DimensionOnTheSideItMeasures) {
    Write("side.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" width="300" height="300">
  <path d="M10,100 L110,100" style="stroke:#000"/>
</svg>)");
    const Outcome made = Session(
        "doc side.svg\ntool segment\nclick 60 100\nsave out.svg\nmove 200 200\nmove 30 100\n");
    EXPECT_EQ(Count(made.out, "cursor: 20003"), 1) << made.out;
    Outcome run = Run(app::Command::Check, "out.svg");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("1 dimension: 1 ok"), std::string::npos) << run.out;
    std::string svg = Read("out.svg");
    ASSERT_NE(svg.find("L110,100"), std::string::npos) << svg;
    svg.replace(svg.find("L110,100"), 8, "L130,100");
    Write("longer.svg", svg);
    run = Run(app::Command::Update, "longer.svg", "updated.svg");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(Read("updated.svg").find(">120 pt<"), std::string::npos) << Read("updated.svg");
}

// User art zigzagging along the first `pieces` curves of a path, its anchors 2 pt either
// side of them every 2 pt or so: the plug-in finds those anchors before the path itself.
std::string Hatch(const emulator::Art& path, std::size_t pieces) {
    std::string d;
    for (std::size_t end = 1; end <= pieces && end < path.segments.size(); ++end) {
        const AIPathSegment& a = path.segments[end - 1];
        const AIPathSegment& b = path.segments[end];
        const double chord = std::hypot(b.p.h - a.p.h, b.p.v - a.p.v);
        const double nx = -(b.p.v - a.p.v) / chord, ny = (b.p.h - a.p.h) / chord;
        const int steps = static_cast<int>(std::ceil(chord / 2));
        for (int i = 0; i <= steps; ++i) {
            const double t = static_cast<double>(i) / steps, u = 1 - t;
            const auto at = [&](double p0, double p1, double p2, double p3) {
                return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
            };
            const double side = i % 2 == 0 ? 2 : -2;
            const double x = at(a.p.h, a.out.h, b.in.h, b.p.h) + side * nx;
            const double y = at(a.p.v, a.out.v, b.in.v, b.p.v) + side * ny;
            // Artwork y is upwards, the file's downwards.
            d += (d.empty() ? "M " : " L ") + std::to_string(x) + " " + std::to_string(-y);
        }
    }
    return "<path d=\"" + d + "\" fill=\"none\" stroke=\"gray\"/>\n";
}

// Would catch check and update clicking where other art lies nearer than the dimension's
// own: there an Alt+click opens the settings panel, and the clicks after it land in the
// panel and change settings (a correct "16,8 pt" was rewritten "167,5 pt"). The angle's arc
// is hatched all along, the radius's leader along its first piece: the angle cannot be
// reached, the radius is reached on its other lines, the user's preferences stay as they
// were and every text stays what the geometry gives: the bar's 100 pt, the apex angle
// acos((−30·70 + 70·70) / (√5800·√9800)) = 68,2°, the radius 50 pt and a quarter of the
// arc of radius 60, 94,2 pt.
TEST_F(DimensionCheck, ClicksOnlyWhereTheDimensionIsWhatIsHit) {
    Session(kDimensionAll);
    const std::string preferences = Read("Vorn-Cotaline-Prefs.txt");
    const auto made = Saved("out.svg");
    ASSERT_NE(made, nullptr);
    std::string hatches;
    for (emulator::Art* group : Dimensions(*made)) {
        if (group->name == "Angle") {
            hatches += Hatch(*WithTag(*group, "moda"), 3);
        } else if (group->name == "Cercle Rayon") {
            hatches += Hatch(*WithTag(*group, "red"), 1);
        }
    }
    std::string svg = Read("out.svg");
    svg.insert(svg.rfind("</svg>"), hatches);
    Write("hatched.svg", svg);

    Outcome run = Run(app::Command::Check, "hatched.svg");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.out.find("angle  \"Angle\"  shows \"68,2°\"  not reached"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("shows \"R 50 pt\"  should show \"R 50 pt\"  ok"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("4 dimensions: 2 ok, 0 out of date, 0 path missing, 1 not reached, "
                           "1 free"),
              std::string::npos)
        << run.out;
    run = Run(app::Command::Update, "hatched.svg", "updated.svg");
    EXPECT_EQ(run.status, 1) << run.err;
    const auto updated = Saved("updated.svg");
    ASSERT_NE(updated, nullptr);
    std::vector<std::string> texts = Measures(Dimensions(*updated));
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"100 pt", "68,2°", "94,2 pt", "R 50 pt"}));
    EXPECT_EQ(Read("Vorn-Cotaline-Prefs.txt"), preferences);
}

// Dimensions made in millimetres at a scale of 1:50 are read in their own unit: the drawing
// as made is in order, and the edited bar should show its new length at that scale.
TEST_F(DimensionCheck, MillimetresAtAScale) {
    std::string preferences = Read("Vorn-Cotaline-Prefs.txt");
    preferences =
        std::regex_replace(preferences, std::regex("\nUNITE\n[^\n]*\n"), "\nUNITE\nmillimetre\n");
    preferences = std::regex_replace(preferences, std::regex("\nECHELLEDEN\n[^\n]*\n"),
                                     "\nECHELLEDEN\n50,00\n");
    Write("Vorn-Cotaline-Prefs.txt", preferences);
    Session(kDimensionAll);
    Outcome run = Run(app::Command::Check, "out.svg");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("shows \"1 763,9 mm\""), std::string::npos) << run.out;
    Edit("out.svg", "edited.svg");
    run = Run(app::Command::Check, "edited.svg");
    EXPECT_NE(run.out.find("shows \"1 763,9 mm\"  should show \"2 116,7 mm\"  out of date"),
              std::string::npos)
        << run.out;
}

TEST(MeasureReading, FormsThePlugInWrites) {
    const struct {
        const char* text;
        double number;
        double points;  // per unit, 0 without a mark
        double halfStep;
    } cases[] = {
        {"1 763,9 mm", 1763.9, 72 / 25.4, 0.05},
        {"R 70,9 pt", 70.9, 1, 0.05},
        {"12.345,67 pt", 12345.67, 1, 0.005},
        {"1'234.5 cm", 1234.5, 720 / 25.4, 0.05},
        {"\xC3\x98 100 pt", 100, 1, 0.5},
        {"102,5\xC2\xB0", 102.5, 1, 0.05},
        {"1 3/8 \"", 1.375, 72, 1.0 / 64},
        {" 5/32", 5.0 / 32, 0, 1.0 / 64},
        {"2 \xE2\x80\x99 3 1/2 \"", 27.5, 72, 1.0 / 64},
        {"35,28", 35.28, 0, 0.005},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto shown = app::ReadMeasureLine(c.text);
        ASSERT_TRUE(shown.has_value());
        EXPECT_NEAR(shown->number, c.number, 1e-9);
        EXPECT_NEAR(shown->unitFactor, c.points, 1e-9);
        EXPECT_NEAR(shown->halfStep, c.halfStep, 1e-12);
    }
    for (const char* text : {"?", "", "L (sélection) = 3 pt", "1/0 \""}) {
        EXPECT_FALSE(app::ReadMeasureLine(text).has_value()) << text;
    }
    const struct {
        const char* shown;
        const char* recomputed;
        bool same;
    } pairs[] = {
        {"100 pt", "100 pt", true},
        {"100 pt", "101 pt", false},
        {"35,3 mm", "100 pt", true},
        {"35,3 mm", "102 pt", false},
        {"1 3/8 \"", "99 pt", true},
        {"102,5\xC2\xB0", "102,53\xC2\xB0", true},
        {"102,5\xC2\xB0", "102,6\xC2\xB0", false},
        {"100 pt\n35,3 mm", "100 pt\n35,4 mm", false},
        {"100 pt\n35,3 mm", "100 pt", true},
        {"?", "?", true},
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(app::ShowsSameMeasure(p.shown, p.recomputed), p.same)
            << p.shown << " / " << p.recomputed;
    }
}

}  // namespace
