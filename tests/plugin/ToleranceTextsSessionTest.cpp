// Dimensions with both tolerance texts, placed as a person places them, read back from the
// saved drawing: every text's box (as the host sets it, from font metrics) stands clear of
// the other texts and of the circle's shoulder, and each tolerance starts where the measure
// it belongs to ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "emulator/core/TextLayout.h"
#include "tests/support/SessionFixture.h"

namespace {

using emulator::Art;

// In SVG user units (points), y downwards: a vertical bar, a slanted bar and a circle.
const char* const kDrawing = R"(<svg xmlns="http://www.w3.org/2000/svg"
     width="600" height="420" viewBox="0 0 600 420">
  <path id="upright" d="M 100 50 L 100 200" stroke="black"/>
  <path id="slant" d="M 200 50 L 260 200" stroke="black"/>
  <circle id="disc" cx="400" cy="300" r="50" fill="none" stroke="black"/>
</svg>)";

// Positive overlap: boxes that only touch are clear of each other.
bool Overlap(const AIRealRect& a, const AIRealRect& b) {
    constexpr double kTouch = 0.01;
    return std::min(a.right, b.right) - std::max(a.left, b.left) > kTouch &&
           std::min(a.top, b.top) - std::max(a.bottom, b.bottom) > kTouch;
}

// How far apart two boxes are (0 when they touch or overlap).
double Apart(const AIRealRect& a, const AIRealRect& b) {
    const double dx = std::max({0.0f, a.left - b.right, b.left - a.right});
    const double dy = std::max({0.0f, a.bottom - b.top, b.bottom - a.top});
    return std::max(dx, dy);
}

// A text's box turned back by its own rotation (x along its reading direction, y upwards):
// the texts of one dimension share their rotation, so these boxes compare as the texts lie.
AIRealRect ReadingBox(const emulator::PointText& text) {
    const emulator::PointTextLayout layout = emulator::LayOutPointText(text);
    double left = 1e9;
    double right = -1e9;
    double top = -1e9;
    double bottom = 1e9;
    for (const emulator::TextLine& line : layout.lines) {
        left = std::min(left, line.x);
        right = std::max(right, line.x + line.width);
        top = std::max(top, line.baseline + layout.extent.ascent);
        bottom = std::min(bottom, line.baseline - layout.extent.descent);
    }
    const auto& m = text.matrix;
    const double angle = std::atan2(m[1], m[0]);
    AIRealRect box{1e9f, -1e9f, -1e9f, 1e9f};
    for (const double x : {left, right}) {
        for (const double y : {bottom, top}) {
            const double h = m[0] * x + m[2] * y + m[4];
            const double v = m[1] * x + m[3] * y + m[5];
            const auto u = static_cast<float>(std::cos(angle) * h + std::sin(angle) * v);
            const auto w = static_cast<float>(-std::sin(angle) * h + std::cos(angle) * v);
            box = {std::min(box.left, u), std::max(box.top, w), std::max(box.right, u),
                   std::min(box.bottom, w)};
        }
    }
    return box;
}

class ToleranceTexts : public testing_support::SessionFixture {
  protected:
    ToleranceTexts() {
        Write("drawing.svg", kDrawing);
        Set("AVECSANSTOLERANCEUN", "vrai");
        Set("AVECSANSTOLERANCEDEUX", "vrai");
    }

    void Set(const std::string& key, const std::string& value) {
        Write("Vorn-Cotaline-Prefs.txt", std::regex_replace(Read("Vorn-Cotaline-Prefs.txt"),
                                                            std::regex("\n" + key + "\n[^\n]*\n"),
                                                            "\n" + key + "\n" + value + "\n"));
    }

    // Runs `script` on the drawing and checks the texts of every dimension it saved;
    // returns how many dimensions there were.
    std::size_t Check(const std::string& script) {
        Session("doc drawing.svg\n" + script + "save out.svg\n");
        auto document = Saved("out.svg");
        if (document == nullptr) {
            return 0;
        }
        const auto groups = Dimensions(*document);
        for (Art* group : groups) {
            SCOPED_TRACE(group->name);
            std::vector<AIRealRect> measures;
            std::vector<AIRealRect> tolerances;
            emulator::ForEachArt(*group, [&](Art& art) {
                if (art.type == emulator::ArtType::Text) {
                    const char16_t first = art.pointText.text.empty() ? 0 : art.pointText.text[0];
                    const bool tolerance = first == u'+' || first == u'-' || first == u'\u00B1';
                    (tolerance ? tolerances : measures).push_back(ReadingBox(art.pointText));
                }
            });
            EXPECT_EQ(tolerances.size(), 2 * measures.size());
            std::vector<AIRealRect> texts = measures;
            texts.insert(texts.end(), tolerances.begin(), tolerances.end());
            for (std::size_t i = 0; i < texts.size(); ++i) {
                for (std::size_t j = i + 1; j < texts.size(); ++j) {
                    EXPECT_FALSE(Overlap(texts[i], texts[j])) << "texts " << i << " and " << j;
                }
            }
            // Each tolerance begins right at the end of a measure, not some way off.
            for (const AIRealRect& tolerance : tolerances) {
                double nearest = 1e9;
                for (const AIRealRect& measure : measures) {
                    nearest = std::min(nearest, Apart(tolerance, measure));
                }
                EXPECT_LT(nearest, 0.5);
            }
            // The shoulder: the leader's last piece, as wide as its stroke (the circle's texts
            // are not turned, so their boxes lie as the page's).
            if (const Art* leader = WithTag(*group, "red");
                leader && group->name == "Cercle Rayon") {
                const AIRealPoint a = leader->segments[leader->segments.size() - 2].p;
                const AIRealPoint b = leader->segments.back().p;
                const float half = static_cast<float>(leader->style.strokeWidth / 2);
                const AIRealRect shoulder{std::min(a.h, b.h), std::max(a.v, b.v) + half,
                                          std::max(a.h, b.h), std::min(a.v, b.v) - half};
                for (const AIRealRect& text : texts) {
                    EXPECT_FALSE(Overlap(text, shoulder)) << "a text over the shoulder";
                }
            }
        }
        return groups.size();
    }
};

// The vertical layout of the vertical type, of right Shift and of "both" (whose text reads
// upwards), the oblique layout, and the circle's shoulder to the left and to the right.
TEST_F(ToleranceTexts, StandClearOfTheMeasureAndTheShoulder) {
    Set("TYPECOTE", "vertical");
    EXPECT_EQ(Check("tool segment\nclick 100 50\nmove 100 200\ndown 100 200\ndrag 60 120\n"
                    "up 60 120\n"),
              1u);
    Set("TYPECOTE", "oblique");
    EXPECT_EQ(Check("tool segment\nclick 200 50\nmove 260 200\ndown 260 200\nkeys rshift\n"
                    "drag 300 120\nup 300 120\nkeys\n"
                    "click 200 50\nmove 260 200\ndown 260 200\ndrag 250 100\nup 250 100\n"
                    "tool circle\nmove 364.64 264.64\ndown 364.64 264.64\ndrag 300 240\n"
                    "up 300 240\nmove 435.36 264.64\ndown 435.36 264.64\ndrag 500 240\n"
                    "up 500 240\n"),
              4u);
    Set("TYPECOTE", "les deux");
    EXPECT_EQ(Check("tool segment\nclick 200 50\nmove 260 200\ndown 260 200\ndrag 300 30\n"
                    "up 300 30\n"),
              1u);
}

}  // namespace
