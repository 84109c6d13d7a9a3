// The cursor tips as a person reads them while moving over a drawing with each tool, the
// Lengths & Areas tool's selection rectangle, and the highlights the host's drawer records.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "plugin/host/InterfaceSuites.h"
#include "plugin/host/PluginSuites.h"
#include "tests/support/SessionFixture.h"

namespace {

using emulator::DisplayItem;
using emulator::DisplayKind;

// In SVG user units (points), y downwards.
const char* const kDrawing = R"(<svg xmlns="http://www.w3.org/2000/svg"
     width="600" height="420" viewBox="0 0 600 420">
  <path id="wave" d="M 50 100 C 100 50 150 150 200 100" fill="none" stroke="black"/>
  <path id="square" d="M 250 50 L 330 50 L 330 130 L 250 130 Z" fill="none" stroke="black"/>
  <path id="line" d="M 400 60 L 544 60" stroke="black"/>
  <path id="open" d="M 50 200 L 150 200 L 150 260" fill="none" stroke="black"/>
  <path id="flat" d="M 400 120 L 450 120 L 500 120" fill="none" stroke="black"/>
  <circle id="big" cx="300" cy="300" r="60" fill="none" stroke="black"/>
  <path id="bow" d="M 400 150 L 500 230 L 500 150 L 400 230 Z" fill="none" stroke="black"/>
  <rect id="r1" x="50" y="320" width="40" height="30" fill="none" stroke="black"/>
  <rect id="r2" x="120" y="320" width="20" height="50" fill="none" stroke="black"/>
  <rect id="r3" x="170" y="300" width="30" height="90" fill="none" stroke="black"/>
</svg>)";

const char* const kSettingsLine = "Clic+ALT pour modifier les réglages.";

class CursorTips : public testing_support::SessionFixture {
  protected:
    CursorTips() { Write("drawing.svg", kDrawing); }

    // The tip lines a session printed, in order.
    std::vector<std::string> Tips(const std::string& script) {
        std::istringstream out(Session("doc drawing.svg\n" + script).out);
        std::vector<std::string> tips;
        for (std::string line; std::getline(out, line);) {
            if (line.rfind("tip: ", 0) == 0) {
                tips.push_back(line.substr(5));
            }
        }
        return tips;
    }

    // A host of the test's own on the drawing, with the tool `tool` selected, to read what
    // the annotator draws.
    emulator::Host& HostWith(const char* tool) {
        host_.emplace();
        std::string error;
        EXPECT_TRUE(host_->LoadPlugin(plugin_.string(), &error)) << error;
        EXPECT_EQ(host_->Startup(), 0);
        EXPECT_EQ(host_->Notify(kAIApplicationStartedNotifier), 0);
        host_->OpenDocument(emulator::ReadSvg(kDrawing, &error));
        EXPECT_EQ(host_->SelectToolByName(tool), 0);
        return *host_;
    }

    std::vector<DisplayItem> MoveTo(double x, double y) {
        EXPECT_EQ(host_->ToolEvent("move", host_->CurrentDocument()->ToArtwork(x, y)), 0);
        return host_->LastAnnotation().items;
    }

    AIPoint View(double x, double y) {
        emulator::Document& document = *host_->CurrentDocument();
        return document.view.ToViewPoint(document.ToArtwork(x, y));
    }

    std::optional<emulator::Host> host_;
};

// Every hover state of the four drawing tools, with their live measures in points.
TEST_F(CursorTips, EachToolTellsWhatAClickWouldTakeAndMeasure) {
    const std::vector<std::string> expected = {
        // Segment: an anchor, a side of the square with its area, a curve, an arc, the
        // square's centre.
        kSettingsLine,
        "Point d'ancrage 1",  //
        kSettingsLine,
        "L segment=80 pt",
        "Aire=6 400 pt2",  //
        kSettingsLine,
        "L courbe=163,7 pt",  //
        kSettingsLine,
        "Arc de cercle",  //
        kSettingsLine,
        "Point 1 (centre de l'objet)",  //
        // A side of a crossed polygon, then the first point clicked and the live length.
        kSettingsLine,
        "L segment=80 pt",
        "Aire=Polygone croisé",  //
        kSettingsLine,
        "Point d'ancrage 1",  //
        kSettingsLine,
        "Point d'ancrage 2",
        "L segment=0 pt",  //
        kSettingsLine,
        "Point d'ancrage 2",
        "L segment=144 pt",  //
        kSettingsLine,
        "Point 2 (centre de l'objet)",
        "L segment=114 pt",  //
        // Angle: a right corner, a straight anchor (180°, where an arc cosine of a rounded
        // dot product fails), the end of an open path (no angle), a side, an arc, a curve.
        kSettingsLine,
        "Point d'ancrage (sommet)",
        "Angle=90°",  //
        kSettingsLine,
        "Point d'ancrage (sommet)",
        "Angle=180°",  //
        kSettingsLine,
        "Point d'ancrage (sommet)",  //
        kSettingsLine,
        "Premier côté de l'angle",  //
        kSettingsLine,
        "Arc de cercle (angle)",  //
        kSettingsLine,
        "Courbe.",
        "163,7 pt",  //
        // Circle: an end of an arc, the circle's radius and area, a segment.
        kSettingsLine,
        "Point initial de l'arc",  //
        kSettingsLine,
        "Rayon=R 60 pt",
        "Aire=11 309,7 pt2",  //
        kSettingsLine,
        "Segment",  //
        // Bézier: a path's end, an inner anchor, its first and last segments.
        kSettingsLine,
        "Longueur sur courbe = 30 mm",  //
        kSettingsLine,                  //
        kSettingsLine,
        "Longueur sur courbe = 30 mm",
    };
    EXPECT_EQ(Tips("tool segment\n"
                   "move 250 50\nmove 290 50.5\nmove 125 100\nmove 342.43 257.57\n"
                   "move 290 90\nmove 500 190\n"
                   "click 400 60\nmove 544 60\nmove 290 90\n"
                   "tool angle\n"
                   "move 150 200\nmove 450 120\nmove 50 200\nmove 100 200.5\n"
                   "move 342.43 257.57\nmove 125 100\n"
                   "tool circle\nmove 360 300\nmove 342.43 257.57\nmove 100 200.5\n"
                   "tool bezier\nmove 50 100\nmove 150 200.2\nmove 100 200.5\nmove 150 230\n"),
              expected);
}

// The Lengths & Areas tool: a selection rectangle that takes two of three rectangles, the
// totals of a pick, the length along a path between two anchors.
TEST_F(CursorTips, LengthsAndAreasShowTheirTotalsWhilePicking) {
    const std::vector<std::string> expected = {
        kSettingsLine,
        "Tracez un rectangle de sélection",
        "ou cliquez sur un tracé",
        "ou cliquez sur un point.",  //
        // r1 and r2 lie inside the rectangle; r3 crosses its edge.
        kSettingsLine,
        "Clic pour créer le texte.",  //
        kSettingsLine,
        "L (sélection) = 280 pt",
        "A (sélection) = 2 200 pt2",
        "Nombre de tracés = 2",
        "Nombre de points = 8",  //
        // The square picked too; then the open path's anchors.
        kSettingsLine,
        "L (sélection) = 600 pt",
        "A (sélection) = 8 600 pt2",
        "Nombre de tracés = 3",
        "Nombre de points = 12",  //
        kSettingsLine,
        "Premier point.",
        "L totale courbe = 160 pt",  //
        kSettingsLine,
        "Second point.",
        "L totale courbe = 160 pt",
        "L partie courbe = 0 pt",  //
        kSettingsLine,
        "Second point.",
        "L totale courbe = 160 pt",
        "L partie courbe = 160 pt",  //
        kSettingsLine,
        "Premier point.",
        "L totale courbe = 160 pt",  //
        kSettingsLine,
        "Clic pour créer le texte.",
    };
    EXPECT_EQ(Tips("tool areas\nmove 590 410\ndown 590 410\ndrag 300 360\ndrag 30 310\n"
                   "up 30 310\nmove 580 400\nmove 70 320.3\nclick 290 50.5\n"
                   "move 50 200\nclick 50 200\nmove 150 260\nclick 150 260\nmove 590 410\n"),
              expected);
    // Another drawing, with a path where the first had none: the scan reads it, and the
    // paths picked in the first drawing are forgotten.
    Write("other.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" width="600" height="420"
        viewBox="0 0 600 420"><path d="M 560 410 L 600 410" stroke="black"/></svg>)");
    const std::vector<std::string> other =
        Tips("tool areas\nclick 290 50.5\nmove 580 410\ndoc other.svg\nmove 580 410\n");
    ASSERT_GE(other.size(), 5u);
    EXPECT_EQ(
        std::vector<std::string>(other.end() - 5, other.end()),
        (std::vector<std::string>{kSettingsLine, "L (sélection) = 0 pt", "A (sélection) = 0 pt2",
                                  "Nombre de tracés = 0", "Nombre de points = 0"}));
}

// The tips read the live settings: millimetres and a scale of 1:10 chosen on the panel,
// nothing while the panel is open, and the two modify lines over a dimension.
TEST_F(CursorTips, TipsFollowTheSettingsAndTheDimensions) {
    const std::string openPanel = "keys alt\nclick 450 300\nkeys\n";
    const std::string closePanel = "click 1050 840\n";
    const std::vector<std::string> expected = {
        kSettingsLine,                                         // before the panel opens
        kSettingsLine,                                         // after it closed
        kSettingsLine, "L segment=28,2 mm", "Aire=796,5 mm2",  //
        kSettingsLine,                                         //
        kSettingsLine, "Échelle=1 /10",                        //
        kSettingsLine, "Échelle=1 /10",     "L segment=282,2 mm", "Aire=79 649,4 mm2",
    };
    EXPECT_EQ(Tips("tool segment\nmove 450 300\n" + openPanel + "click 550 309\nclick 550 327\n" +
                   closePanel + "move 290 50.5\n" + openPanel + "click 550 363\nclick 510 417\n" +
                   closePanel + "move 290 50.5\n"),
              expected);
    // A dimension of the long line, then the cursor on its line near an arrowhead.
    const std::vector<std::string> tips = Tips(
        "tool segment\nclick 400 60\nmove 544 60\ndown 544 60\ndrag 470 40\nup 470 40\n"
        "move 420 40\n");
    ASSERT_GE(tips.size(), 3u);
    EXPECT_EQ(std::vector(tips.end() - 3, tips.end()),
              (std::vector<std::string>{"Clic pour modifier une cote.",
                                        "Clic+ALT pour tout modifier.", "Échelle=1 /10"}));
}

// The highlights of an anchor and of a segment in the current layer's colour, the signs of
// a pick and a take-out, and the colour indicators the settings can ask for.
TEST_F(CursorTips, HighlightsAreDrawnInTheLayerColour) {
    std::string preferences = Read("Vorn-Cotaline-Prefs.txt");
    const std::string key = "\nAFFICHERCOULEURANNOTATIONS\n";
    preferences.replace(preferences.find(key) + key.size(), 4, "vrai");
    Write("Vorn-Cotaline-Prefs.txt", preferences);
    emulator::Host& host = HostWith("Outil Segment");
    const emulator::Document& document = *host.CurrentDocument();
    const emulator::Layer& layer = *document.layers.front();
    const auto layerColor = [&](const DisplayItem& item) {
        return std::abs(item.style.color.red / 65535.0 - layer.color.red) < 1e-4 &&
               std::abs(item.style.color.green / 65535.0 - layer.color.green) < 1e-4 &&
               std::abs(item.style.color.blue / 65535.0 - layer.color.blue) < 1e-4;
    };

    std::vector<DisplayItem> items = MoveTo(250, 50);
    const AIPoint corner = View(250, 50);
    int markers = 0;
    int swatches = 0;
    std::vector<std::string> labels;
    for (const DisplayItem& item : items) {
        if (item.kind == DisplayKind::Ellipse) {
            ++markers;
            EXPECT_TRUE(layerColor(item));
            EXPECT_EQ(item.style.lineWidth, 2);
            EXPECT_FALSE(item.fill);
            EXPECT_EQ(item.points[0].x, corner.h - 5);
            EXPECT_EQ(item.points[1].y, corner.v + 5);
        }
        if (item.kind == DisplayKind::Rect && item.fill) {
            ++swatches;
            EXPECT_EQ(item.points[1].x - item.points[0].x, 16);
            EXPECT_EQ(item.points[1].y - item.points[0].y, 5);
        }
        if (item.kind == DisplayKind::Text && item.style.fontPreset == kAnnotatorFontSmall) {
            labels.push_back(item.text);
        }
    }
    EXPECT_EQ(markers, 1);
    EXPECT_EQ(swatches, 2);  // the line colour and the text colour
    EXPECT_EQ(labels, (std::vector<std::string>{"RVB", "RVB"}));

    items = MoveTo(290, 50.5);
    const DisplayItem* side = nullptr;
    for (const DisplayItem& item : items) {
        if (item.kind == DisplayKind::Line && layerColor(item)) {
            side = &item;
        }
    }
    ASSERT_NE(side, nullptr);
    EXPECT_EQ(side->style.lineWidth, 2);
    EXPECT_EQ(side->points[0].x, View(250, 50).h);
    EXPECT_EQ(side->points[1].x, View(330, 50).h);

    // The Lengths & Areas tool: a plus beside the cursor over a path not picked, a minus
    // and a thicker outline once it is.
    ASSERT_EQ(host.SelectToolByName("Outil Longueur & Aires"), 0);
    const auto sign = [&]() {
        int strokes = 0;
        double outline = 0;
        for (const DisplayItem& item : host.LastAnnotation().items) {
            strokes += item.kind == DisplayKind::Line && item.style.lineWidth == 6;
            if (item.kind == DisplayKind::BezierOutline) {
                outline = item.style.lineWidth;
            }
        }
        return std::pair{strokes, outline};
    };
    MoveTo(290, 50.5);
    EXPECT_EQ(sign(), (std::pair{2, 2.0}));
    ASSERT_EQ(host.ToolEvent("down", document.ToArtwork(290, 50.5)), 0);
    ASSERT_EQ(host.ToolEvent("up", document.ToArtwork(290, 50.5)), 0);
    MoveTo(290, 50.6);
    EXPECT_EQ(sign(), (std::pair{1, 4.0}));
}

}  // namespace
