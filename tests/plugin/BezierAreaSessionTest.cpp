// The Bézier tool's marks and the Lengths & Areas tool's totals as a person makes them:
// sessions on a small drawing, checked by the alerts and by the document read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <regex>
#include <string>

#include "tests/support/SessionFixture.h"

namespace {

using emulator::Art;
using testing_support::Outcome;

// In SVG user units (points), y downwards. The line is 10 mm long.
const char* const kDrawing = R"(<svg xmlns="http://www.w3.org/2000/svg"
     width="600" height="420" viewBox="0 0 600 420">
  <path id="wave" d="M 50 100 C 100 50 150 150 200 100" fill="none" stroke="black"/>
  <path id="square" d="M 250 50 L 330 50 L 330 130 L 250 130 Z" fill="none" stroke="black"/>
  <path id="line" d="M 400 60 L 428.346457 60" stroke="black"/>
  <path id="open" d="M 50 200 L 150 200 L 150 260" fill="none" stroke="black"/>
  <circle id="big" cx="300" cy="300" r="60" fill="none" stroke="black"/>
  <circle id="small" cx="480" cy="300" r="15" fill="none" stroke="black"/>
  <rect id="r1" x="50" y="320" width="40" height="30" fill="none" stroke="black"/>
  <rect id="r2" x="120" y="320" width="20" height="50" fill="none" stroke="black"/>
  <path id="bow" d="M 400 150 L 500 230 L 500 150 L 400 230 Z" fill="none" stroke="black"/>
</svg>)";

struct P {
    double x, y;
};

// The wave in artwork coordinates, and its length from t = 0 to t, by dense sampling.
P Wave(double t) {
    const double u = 1 - t;
    const P p[4] = {{50, -100}, {100, -50}, {150, -150}, {200, -100}};
    const double w[4] = {u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t};
    P out{0, 0};
    for (int i = 0; i < 4; ++i) {
        out.x += w[i] * p[i].x;
        out.y += w[i] * p[i].y;
    }
    return out;
}

// The length along the wave to the point of it nearest to `q`.
double WaveLengthTo(P q) {
    constexpr int kSamples = 200000;
    double length = 0;
    double best = 1e9;
    double lengthAtBest = 0;
    P previous = Wave(0);
    for (int i = 0; i <= kSamples; ++i) {
        const P p = Wave(static_cast<double>(i) / kSamples);
        length += std::hypot(p.x - previous.x, p.y - previous.y);
        previous = p;
        const double d = std::hypot(p.x - q.x, p.y - q.y);
        if (d < best) {
            best = d;
            lengthAtBest = length;
        }
    }
    return lengthAtBest;
}

class BezierAreaSession : public testing_support::SessionFixture {
  protected:
    BezierAreaSession() { Write("drawing.svg", kDrawing); }

    void SetPreference(const std::string& key, const std::string& value) {
        std::string preferences = Read("Vorn-Cotaline-Prefs.txt");
        preferences = std::regex_replace(preferences, std::regex("\n" + key + "\n[^\n]*\n"),
                                         "\n" + key + "\n" + value + "\n");
        Write("Vorn-Cotaline-Prefs.txt", preferences);
    }

    // The two-anchor paths of each dimension group of out.svg, bottom group first.
    std::vector<std::vector<Art*>> SavedMarks() {
        saved_ = Saved("out.svg");
        std::vector<std::vector<Art*>> marks;
        for (Art* group : saved_ ? Dimensions(*saved_) : std::vector<Art*>{}) {
            marks.emplace_back();
            emulator::ForEachArt(*group, [&](Art& art) {
                if (art.type == emulator::ArtType::Path && art.segments.size() == 2) {
                    marks.back().push_back(&art);
                }
            });
        }
        return marks;
    }

    // The texts of each dimension group of out.svg, in the order they were made.
    std::vector<std::vector<std::string>> SavedTexts() {
        saved_ = Saved("out.svg");
        std::vector<std::vector<std::string>> texts;
        for (Art* group : saved_ ? Dimensions(*saved_) : std::vector<Art*>{}) {
            texts.emplace_back();
            emulator::ForEachArt(*group, [&](Art& art) {
                if (art.type == emulator::ArtType::Text) {
                    texts.back().push_back(emulator::Utf8FromUtf16(art.pointText.text));
                }
            });
        }
        return texts;
    }

    static P Middle(const Art& tick) {
        const auto& s = tick.segments;
        return {(s[0].p.h + s[1].p.h) / 2.0, (s[0].p.v + s[1].p.v) / 2.0};
    }
    static double Length(const Art& tick) {
        const auto& s = tick.segments;
        return std::hypot(s[0].p.h - s[1].p.h, s[0].p.v - s[1].p.v);
    }

    std::unique_ptr<emulator::Document> saved_;
};

// Division: a curve in three equal lengths with its end ticks; the drag's one-sided ticks
// without end ticks, reaching the cursor; a square's corner divided by rays.
TEST_F(BezierAreaSession, DivisionMarks) {
    SetPreference("PARTAGER", "vrai");
    Session(
        "doc drawing.svg\ntool bezier\nclick 125 100\n"
        "move 125 100\ndown 125 100\nkeys alt ctrl\ndrag 125 130\nup 125 130\nkeys\n"
        "click 250 50\nsave out.svg\n");
    const auto marks = SavedMarks();
    ASSERT_EQ(marks.size(), 3u);
    // The first click's ticks: ends first, then the two division points.
    ASSERT_EQ(marks[0].size(), 4u);
    const double total = WaveLengthTo(Wave(1));
    EXPECT_NEAR(WaveLengthTo(Middle(*marks[0][0])), 0, 0.01);
    EXPECT_NEAR(WaveLengthTo(Middle(*marks[0][1])), total, 0.01);
    EXPECT_NEAR(WaveLengthTo(Middle(*marks[0][2])), total / 3, 0.01);
    EXPECT_NEAR(WaveLengthTo(Middle(*marks[0][3])), 2 * total / 3, 0.01);
    // The tick length of the settings: 5 mm.
    EXPECT_NEAR(Length(*marks[0][2]), 5 * 2.8346457, 1e-3);
    // Dragged 30 points off the curve with Alt and Ctrl: no end ticks, each tick on one side
    // only, as long as the cursor is far (it once came out 1.42 times longer).
    ASSERT_EQ(marks[1].size(), 2u);
    for (const Art* tick : marks[1]) {
        EXPECT_NEAR(Length(*tick), 30, 1e-3);
        EXPECT_NEAR(WaveLengthTo({tick->segments[0].p.h, tick->segments[0].p.v}),
                    WaveLengthTo(Middle(*tick)), 30.5);
    }
    // The square's corner 0 (its sides to the last anchor and to anchor 1): four rays.
    ASSERT_EQ(marks[2].size(), 4u);
    for (const Art* ray : marks[2]) {
        EXPECT_FLOAT_EQ(ray->segments[0].p.h, 250);
        EXPECT_FLOAT_EQ(ray->segments[0].p.v, -50);
    }
}

// Distance: a tick 30 mm along from either end, one at exactly the path's length, the
// refusal of a longer one and of a closed path; centre marks of a large and a small circle.
TEST_F(BezierAreaSession, DistanceTicksAndCentreMarks) {
    SetPreference("PARTAGER", "faux");
    Outcome run = Session(
        "doc drawing.svg\ntool bezier\nclick 50 100\nclick 200 100\n"
        "click 342.43 257.57\nclick 490.61 289.39\nclick 400 60\n"
        "click 290 50\nclick 150 200\nsave out.svg\n");
    EXPECT_EQ(Count(run.out, "alert: Impossible de placer le point demandé."), 1) << run.out;
    EXPECT_EQ(Count(run.out, "alert: Le tracé doit être ouvert."), 1) << run.out;
    // Every click on an open path is heard, also the one too long for it and the one on
    // the middle anchor of "open", which places nothing.
    EXPECT_EQ(Count(run.out, "sound: BipPoint.wav"), 4) << run.out;
    auto marks = SavedMarks();
    ASSERT_EQ(marks.size(), 4u);
    const double total = WaveLengthTo(Wave(1));
    EXPECT_NEAR(WaveLengthTo(Middle(*marks[0].at(0))), 30 * 2.8346457, 0.01);
    EXPECT_NEAR(WaveLengthTo(Middle(*marks[1].at(0))), total - 30 * 2.8346457, 0.01);
    // Centre marks: six pieces; the cross of the small circle shrinks to 0.36 of its radius.
    ASSERT_EQ(marks[2].size(), 6u);
    ASSERT_EQ(marks[3].size(), 6u);
    std::vector<double> small;
    for (const Art* piece : marks[3]) {
        small.push_back(Length(*piece));
    }
    std::sort(small.begin(), small.end());
    EXPECT_NEAR(small.front(), 2 * 0.36 * 15, 0.01);
    EXPECT_NEAR(small.back(), 15, 0.01);

    SetPreference("LONGUEURSURCOURGE", "10,00");
    run = Session("doc drawing.svg\ntool bezier\nclick 400 60\nsave out.svg\n");
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    marks = SavedMarks();
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_NEAR(Middle(*marks[0].at(0)).x, 428.346457, 1e-3);
}

// Paths picked and taken out, the totals written line by line, a partial length along an
// open and a closed path, and a crossed polygon whose area cannot be given.
TEST_F(BezierAreaSession, LengthsAndAreas) {
    Outcome run = Session(
        "doc drawing.svg\ntool areas\n"
        // Both rectangles and the big circle, the square picked and taken out again.
        "click 50 335\nclick 130 370\nclick 342.43 257.57\nclick 290 50\nclick 330 90\n"
        // The partial length from the open path's first anchor to its last.
        "click 50 200\nclick 150 260\n"
        "click 580 20\n"
        // Round the square from its last anchor to its second, through the closing side.
        "click 250 130\nclick 330 50\nclick 500 190\nclick 580 20\nsave out.svg\n");
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    const auto texts = SavedTexts();
    ASSERT_EQ(texts.size(), 2u);
    // The circle drawn as four cubics: 377 points round, 11 312.9 square points (0.03 %
    // more than the true circle); the bow picked alone after the first totals.
    EXPECT_EQ(texts[0],
              (std::vector<std::string>{"L (sélection) = 657 pt", "L (partie courbe)= 160 pt",
                                        "A (sélection) = 13 512,9 pt2", "Nombre de tracés = 3",
                                        "Nombre de points = 12"}));
    EXPECT_EQ(texts[1],
              (std::vector<std::string>{"L (sélection) = 416,1 pt", "L (partie courbe)= 160 pt",
                                        "A (sélection) = Polygone croisé", "Nombre de tracés = 1",
                                        "Nombre de points = 4"}));
    // Measuring edits nothing: the square keeps its anchors in their order, and no path keeps
    // the mark of having been taken out.
    const std::string svg = Read("out.svg");
    EXPECT_NE(svg.find("M 250 50 L 330 50 L 330 130 L 250 130 Z"), std::string::npos);
    EXPECT_EQ(svg.find("spa="), std::string::npos);
}

// The wave lies below and above its chord: with Alt every tick keeps to the side of the path
// the cursor is on (12 points below its middle), the end ticks too, which once went above.
// With Shift a centred tick as long as twice the cursor's distance (40 points) comes to the
// next whole number of tick lengths (5 mm), not to twice that.
TEST_F(BezierAreaSession, DraggedTicksKeepOneSideAndWholeLengths) {
    SetPreference("PARTAGER", "vrai");
    Session(
        "doc drawing.svg\ntool bezier\n"
        "move 125 100\ndown 125 100\nkeys alt\ndrag 125 112\nup 125 112\nkeys\n"
        "move 125 100\ndown 125 100\nkeys shift\ndrag 125 120\nup 125 120\nkeys\n"
        "save out.svg\n");
    const auto marks = SavedMarks();
    ASSERT_EQ(marks.size(), 2u);
    ASSERT_EQ(marks[0].size(), 4u);
    // The wave's x runs evenly with t (its control points are 50 apart): below it is where
    // y (artwork, upwards) is under the wave's at the same x.
    for (const Art* tick : marks[0]) {
        for (const auto& end : tick->segments) {
            const P on = Wave(std::clamp((end.p.h - 50) / 150.0, 0.0, 1.0));
            EXPECT_LE(end.p.v, on.y + 1e-3) << "tick at x " << end.p.h;
        }
        EXPECT_NEAR(Length(*tick), 12, 1e-3);
    }
    const double step = 5 * 2.8346457;
    ASSERT_EQ(marks[1].size(), 4u);
    for (const Art* tick : marks[1]) {
        EXPECT_NEAR(Length(*tick), std::ceil(40 / step) * step, 1e-3);
    }
}

// The lines of the totals all switched off: the click in an empty place only deselects and
// leaves no empty group behind. A path picked and taken out again keeps no mark in the file.
TEST_F(BezierAreaSession, TotalsWithoutLinesAndPathsTakenOut) {
    for (const char* key : {"LALONGUEURTOTALE", "LALONGUEURPARTIELLE", "LAAIRE", "LANOMBREDETRACES",
                            "LANOMBREDEPOINTS"}) {
        SetPreference(key, "faux");
    }
    const Outcome run = Session(
        "doc drawing.svg\ntool areas\nclick 50 335\nclick 290 50\nclick 290 50\n"
        "save picked.svg\nclick 580 20\nsave out.svg\n");
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    EXPECT_EQ(Read("picked.svg").find("spa="), std::string::npos);
    // Not even the layer of the dimensions that would have held the group.
    EXPECT_EQ(Read("out.svg").find("Dimensions"), std::string::npos);
}

// Closed paths of fewer than three anchors: a lens of two curves, a half-disc of one curve
// closed by its diameter and a loop that comes back to its anchor. A square on a locked
// layer is neither picked by a click nor by the selection rectangle.
const char* const kShapes = R"(<svg xmlns="http://www.w3.org/2000/svg"
     xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
     xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
     width="600" height="500" viewBox="0 0 600 500">
  <g inkscape:groupmode="layer" inkscape:label="Formes">
    <path d="M 50 100 C 80 70 120 70 150 100 C 120 130 80 130 50 100 Z" fill="none" stroke="black"/>
    <path d="M 200 100 C 200 33.333333 300 33.333333 300 100 Z" fill="none" stroke="black"/>
    <path d="M 400 100 C 500 0 300 0 400 100 Z" fill="none" stroke="black"/>
    <path d="M 50 300 L 90 300 L 90 330 L 50 330 Z" fill="none" stroke="black"/>
    <path d="M 460 340 L 540 340 L 540 420 L 460 420 Z" fill="none" stroke="black"/>
    <path d="M 420 300 L 580 300 L 580 460 L 420 460 Z" fill="none" stroke="black"/>
  </g>
  <g inkscape:groupmode="layer" inkscape:label="Fond" sodipodi:insensitive="true">
    <path d="M 200 300 L 300 300 L 300 400 L 200 400 Z" fill="none" stroke="black"/>
  </g>
</svg>)";

// The area enclosed by closed cubics, by the shoelace sum over dense samples of them.
double SampledArea(const std::vector<std::array<P, 4>>& curves) {
    constexpr int kSamples = 20000;
    double twice = 0;
    for (const auto& c : curves) {
        for (int i = 0; i < kSamples; ++i) {
            const auto at = [&c](double t) {
                const double u = 1 - t;
                const double w[4] = {u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t};
                P p{0, 0};
                for (int k = 0; k < 4; ++k) {
                    p.x += w[k] * c[k].x;
                    p.y += w[k] * c[k].y;
                }
                return p;
            };
            const P a = at(static_cast<double>(i) / kSamples);
            const P b = at(static_cast<double>(i + 1) / kSamples);
            twice += a.x * b.y - a.y * b.x;
        }
    }
    return std::fabs(twice) / 2;
}

// "A (sélection) = 12 345,6 pt2" read back as a number.
double AreaOf(const std::string& line) {
    std::string digits;
    const std::size_t from = line.find('=') + 1;
    for (char c : line.substr(from, line.rfind(" pt") - from)) {
        if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
            digits += c;
        } else if (c == ',') {
            digits += '.';
        }
    }
    return std::stod(digits);
}

TEST_F(BezierAreaSession, AreasOfFewAnchorsAndLockedLayers) {
    Write("shapes.svg", kShapes);
    const Outcome run = Session(
        "doc shapes.svg\ntool areas\n"
        "click 100 77.5\nclick 450 200\nclick 250 50\nclick 450 260\nclick 400 25\n"
        "click 450 320\n"
        // The square on the locked layer with the unlocked one, by a click and in a rectangle.
        "click 250 300\nclick 90 315\nclick 450 380\n"
        "move 20 280\ndown 20 280\ndrag 320 420\nup 320 420\nclick 450 440\n"
        // A hole: the inner square (above the outer one in the file) picked, taken out,
        // then taken again with its outline in a rectangle.
        "click 500 340\nclick 500 340\nsave hole.svg\n"
        "move 410 290\ndown 410 290\ndrag 590 470\nup 590 470\nclick 300 480\n"
        "save out.svg\n");
    EXPECT_EQ(Count(run.out, "alert:"), 0) << run.out;
    auto document = Saved("out.svg");
    const auto groups = Dimensions(*document);
    ASSERT_EQ(groups.size(), 6u);
    std::vector<std::vector<std::string>> texts;
    for (Art* group : groups) {
        texts.emplace_back();
        emulator::ForEachArt(*group, [&](Art& art) {
            if (art.type == emulator::ArtType::Text) {
                texts.back().push_back(emulator::Utf8FromUtf16(art.pointText.text));
            }
        });
        ASSERT_EQ(texts.back().size(), 4u);
    }
    const double lens = SampledArea({{P{50, 100}, P{80, 70}, P{120, 70}, P{150, 100}},
                                     {P{150, 100}, P{120, 130}, P{80, 130}, P{50, 100}}});
    const double halfDisc =
        SampledArea({{P{200, 100}, P{200, 33.333333}, P{300, 33.333333}, P{300, 100}},
                     {P{300, 100}, P{300, 100}, P{200, 100}, P{200, 100}}});
    const double loop = SampledArea({{P{400, 100}, P{500, 0}, P{300, 0}, P{400, 100}}});
    EXPECT_NEAR(AreaOf(texts[0][1]), lens, 0.051);
    EXPECT_NEAR(AreaOf(texts[1][1]), halfDisc, 0.051);
    EXPECT_NEAR(AreaOf(texts[2][1]), loop, 0.051);
    for (int i : {3, 4}) {
        EXPECT_EQ(texts[i][1], "A (sélection) = 1 200 pt2") << i;
        EXPECT_EQ(texts[i][2], "Nombre de tracés = 1") << i;
    }
    // 160 × 160 less 80 × 80; the pick is kept by the tool, not written on the path.
    EXPECT_EQ(texts[5][1], "A (sélection) = 19 200 pt2");
    EXPECT_EQ(texts[5][2], "Nombre de tracés = 2");
    EXPECT_EQ(Read("hole.svg").find("spa="), std::string::npos);
}

}  // namespace
