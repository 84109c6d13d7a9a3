// The emulated host's colours and styles: path styles, custom colours, the colour picker,
// transformations and duplicates of art.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "emulator/core/Host.h"
#include "emulator/core/SuiteRegistry.h"
#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/InterfaceSuites.h"
#include "plugin/host/PaintSuites.h"
#include "plugin/host/ResultCodes.h"
#include "tests/support/HostFixture.h"

namespace {

using emulator::Host;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

AIPathSegment Corner(float x, float y) {
    return {{x, y}, {x, y}, {x, y}, 1};
}

constexpr auto Gray = [](float gray) { return AIColor{kGrayColor, {gray}, {}, {}, {}}; };
constexpr auto Rgb = [](float r, float g, float b) {
    return AIColor{kThreeColor, {}, {r, g, b}, {}, {}};
};
constexpr auto Cmyk = [](float c, float m, float y, float k) {
    return AIColor{kFourColor, {}, {}, {c, m, y, k}, {}};
};
constexpr auto Custom = [](AICustomColorHandle handle, float tint) {
    return AIColor{kCustomColor, {}, {}, {}, {handle, tint}};
};

// The colour as text: its kind and the components of that kind only.
std::string Describe(const AIColor& c) {
    const std::vector<float> components[] = {
        {c.gray.gray},
        {c.rgb.red, c.rgb.green, c.rgb.blue},
        {c.cmyk.cyan, c.cmyk.magenta, c.cmyk.yellow, c.cmyk.black},
        {c.custom.tint}};
    std::ostringstream out;
    out << "kind " << c.kind;
    for (const float v : c.kind >= 0 && c.kind < 4 ? components[c.kind] : std::vector<float>{}) {
        out << ' ' << v;
    }
    out << (c.kind == kCustomColor ? c.custom.color : nullptr);
    return out.str();
}

// The style as text; the colour of what is not painted is left out.
std::string Describe(const AIPathStyle& s) {
    std::ostringstream out;
    const AIStrokeStyle& k = s.stroke;
    out << "fill " << (s.fillPaint ? Describe(s.fill.color) : "none") << " overprint "
        << int{s.fill.overprint} << "; stroke " << (s.strokePaint ? Describe(k.color) : "none")
        << " overprint " << int{k.overprint} << " width " << k.width << " dash";
    for (ASInt32 i = 0; i < k.dash.length && i < kMaxDashComponents; ++i) {
        out << ' ' << k.dash.array[i];
    }
    out << " offset " << k.dash.offset << " cap " << k.cap << " join " << k.join << " miter "
        << k.miterLimit;
    return out.str();
}

// A dashed, round-capped red stroke over a gray fill.
AIPathStyle SampleStyle() {
    AIPathStyle s{};
    s.fillPaint = 1;
    s.fill.color = Gray(0.25f);
    s.fill.overprint = 1;
    s.strokePaint = 1;
    s.stroke.color = Rgb(1, 0, 0);
    s.stroke.width = 2.5f;
    s.stroke.dash.length = 2;
    s.stroke.dash.offset = 1;
    s.stroke.dash.array[0] = 6;
    s.stroke.dash.array[1] = 3;
    s.stroke.cap = kRoundCap;
    s.stroke.join = kBevelJoin;
    s.stroke.miterLimit = 10;
    return s;
}

std::u16string NameOf(const AICustomColorSuite* suite, AICustomColorHandle color) {
    ASUnicode buffer[64];
    ASInt32 length = 0;
    EXPECT_EQ(suite->GetCustomColorName(color, buffer, 64, &length), 0);
    return std::u16string(buffer, static_cast<std::size_t>(length));
}

class PaintSuites : public testing::Test {
  protected:
    void SetUp() override {
        host_.NewDocument(200, 200);
        ASSERT_TRUE(suites_.Acquire(art_, path_, style_, tag_, transform_, custom_, user_));
    }

    AIArtHandle NewPath(std::vector<AIPathSegment> segments, AIArtHandle group = nullptr) {
        AIArtHandle handle = nullptr;
        EXPECT_EQ(art_->NewArt(kPathArt, kPlaceInsideOnTop, group, &handle), 0);
        const auto count = static_cast<ASInt16>(segments.size());
        EXPECT_EQ(path_->SetPathSegmentCount(handle, count), 0);
        EXPECT_EQ(path_->SetPathSegments(handle, 0, count, segments.data()), 0);
        return handle;
    }

    AIArtHandle NewGroup() {
        AIArtHandle handle = nullptr;
        EXPECT_EQ(art_->NewArt(kGroupArt, kPlaceAboveAll, nullptr, &handle), 0);
        return handle;
    }

    AIArtHandle Square() {
        return NewPath({Corner(0, 0), Corner(10, 0), Corner(10, 10), Corner(0, 10)});
    }

    AICustomColorHandle NewCustom(const std::u16string& name, const AICustomColor& definition) {
        AICustomColorHandle handle = nullptr;
        EXPECT_EQ(custom_->NewCustomColor(&definition, name.c_str(), &handle), 0);
        return handle;
    }

    AIPathStyle StyleOf(AIArtHandle path) {
        AIPathStyle s{};
        EXPECT_EQ(style_->GetPathStyle(path, &s), 0);
        return s;
    }

    std::vector<AIPathSegment> SegmentsOf(AIArtHandle path) {
        ASInt16 count = 0;
        EXPECT_EQ(path_->GetPathSegmentCount(path, &count), 0);
        std::vector<AIPathSegment> segments(static_cast<std::size_t>(count));
        EXPECT_EQ(path_->GetPathSegments(path, 0, count, segments.data()), 0);
        return segments;
    }

    std::vector<AIArtHandle> ChildrenOf(AIArtHandle group) {
        std::vector<AIArtHandle> children;
        AIArtHandle child = nullptr;
        EXPECT_EQ(art_->GetArtFirstChild(group, &child), 0);
        while (child != nullptr) {
            children.push_back(child);
            EXPECT_EQ(art_->GetArtSibling(child, &child), 0);
        }
        return children;
    }

    emulator::Art& Model(AIArtHandle handle) { return *host_.FindArt(handle); }

    Host host_;
    testing_support::HeldSuites suites_{host_};
    const AIArtSuite* art_ = nullptr;
    const AIPathSuite* path_ = nullptr;
    const AIPathStyleSuite* style_ = nullptr;
    const AITagSuite* tag_ = nullptr;
    const AITransformArtSuite* transform_ = nullptr;
    const AICustomColorSuite* custom_ = nullptr;
    const AIUserSuite* user_ = nullptr;
};

// ---- Path styles -------------------------------------------------------------------------

// Each colour kind, as fill and as stroke, reads back as written, and the document model
// (what the SVG writer and the hit tests see) holds the right paint: a fault in the gray
// inversion or in the custom colour's appearance shows here.
TEST_F(PaintSuites, StylesRoundTripForEveryColourKind) {
    const AICustomColorHandle spot = NewCustom(u"Orange", {kFourColor, {}, {0, 0.5f, 1, 0}});
    using Kind = emulator::Paint::Kind;
    const struct {
        const char* what;
        AIColor color;
        Kind model;
        // The model's gray, or its red, green and blue.
        std::vector<double> components;
    } cases[] = {
        {"gray", Gray(0.25f), Kind::Gray, {0.75}},
        {"white", Gray(0), Kind::Gray, {1}},
        {"rgb", Rgb(0.2f, 0.4f, 0.6f), Kind::RGB, {0.2, 0.4, 0.6}},
        {"cmyk", Cmyk(0.1f, 0.2f, 0.3f, 0.4f), Kind::CMYK, {}},
        {"custom full", Custom(spot, 0), Kind::Custom, {1, 0.5, 0}},
        {"custom tinted", Custom(spot, 0.5f), Kind::Custom, {1, 0.75, 0.5}},
    };
    const AIArtHandle path = Square();
    for (const auto& c : cases) {
        for (const bool stroke : {false, true}) {
            const std::string what = std::string(c.what) + (stroke ? " stroke" : " fill");
            AIPathStyle s = SampleStyle();
            (stroke ? s.stroke.color : s.fill.color) = c.color;
            ASSERT_EQ(style_->SetPathStyle(path, &s), 0) << what;
            EXPECT_EQ(Describe(StyleOf(path)), Describe(s)) << what;

            const emulator::Paint& paint =
                stroke ? Model(path).style.stroke : Model(path).style.fill;
            ASSERT_EQ(paint.kind, c.model) << what;
            if (c.components.size() == 1) {
                EXPECT_NEAR(paint.gray, c.components[0], 1e-6) << what;
            } else if (c.components.size() == 3) {
                EXPECT_NEAR(paint.red, c.components[0], 1e-6) << what;
                EXPECT_NEAR(paint.green, c.components[1], 1e-6) << what;
                EXPECT_NEAR(paint.blue, c.components[2], 1e-6) << what;
            }
            if (c.model == Kind::Custom) {
                EXPECT_EQ(paint.customName, "Orange") << what;
            }
        }
    }
}

// Not painting, whether by the flag or by the colour kind none, reads back as not painted;
// the stroke's width and dashes are kept for when it is painted again.
TEST_F(PaintSuites, UnpaintedFillAndStrokeReadBackAsNone) {
    const AIArtHandle path = Square();
    AIPathStyle s = SampleStyle();
    s.fillPaint = 0;
    s.stroke.color = AIColor{kNoneColor, {}, {}, {}, {}};
    ASSERT_EQ(style_->SetPathStyle(path, &s), 0);
    const AIPathStyle read = StyleOf(path);
    EXPECT_EQ(read.fillPaint, 0);
    EXPECT_EQ(read.fill.color.kind, kNoneColor);
    EXPECT_EQ(read.strokePaint, 0);
    EXPECT_FLOAT_EQ(read.stroke.width, 2.5f);
    EXPECT_EQ(read.stroke.dash.length, 2);
}

// A style with one value out of range is refused whole: the path keeps its style.
TEST_F(PaintSuites, SetPathStyleRefusesValuesOutOfRange) {
    const AIArtHandle path = Square();
    const AIPathStyle good = SampleStyle();
    ASSERT_EQ(style_->SetPathStyle(path, &good), 0);
    const AICustomColorHandle spot = NewCustom(u"Vert", {kThreeColor, {0, 1, 0}, {}});
    const struct {
        const char* what;
        std::function<void(AIPathStyle&)> spoil;
    } cases[] = {
        {"dash length 7", [](AIPathStyle& s) { s.stroke.dash.length = 7; }},
        {"dash length -1", [](AIPathStyle& s) { s.stroke.dash.length = -1; }},
        {"negative dash", [](AIPathStyle& s) { s.stroke.dash.array[1] = -1; }},
        {"dash offset NaN", [](AIPathStyle& s) { s.stroke.dash.offset = kNaN; }},
        {"negative width", [](AIPathStyle& s) { s.stroke.width = -0.5f; }},
        {"width NaN", [](AIPathStyle& s) { s.stroke.width = kNaN; }},
        {"width infinite", [](AIPathStyle& s) { s.stroke.width = kInfinity; }},
        {"cap 3", [](AIPathStyle& s) { s.stroke.cap = 3; }},
        {"join -1", [](AIPathStyle& s) { s.stroke.join = -1; }},
        {"miter limit below 1", [](AIPathStyle& s) { s.stroke.miterLimit = 0.5f; }},
        {"gray above 1", [](AIPathStyle& s) { s.fill.color = Gray(1.5f); }},
        {"red below 0", [](AIPathStyle& s) { s.stroke.color = Rgb(-0.1f, 0, 0); }},
        {"cyan NaN", [](AIPathStyle& s) { s.fill.color = Cmyk(kNaN, 0, 0, 0); }},
        {"unknown kind", [](AIPathStyle& s) { s.stroke.color.kind = 9; }},
        {"tint above 1", [spot](AIPathStyle& s) { s.stroke.color = Custom(spot, 2); }},
        {"custom colour unknown",
         [](AIPathStyle& s) {
             s.fill.color = Custom(reinterpret_cast<AICustomColorHandle>(64), 0);
         }},
    };
    for (const auto& c : cases) {
        AIPathStyle bad = SampleStyle();
        c.spoil(bad);
        EXPECT_EQ(style_->SetPathStyle(path, &bad), kBadParameterErr) << c.what;
        EXPECT_EQ(Describe(StyleOf(path)), Describe(good)) << c.what;
    }
}

// ---- Custom colours ----------------------------------------------------------------------

TEST_F(PaintSuites, CustomColorsAreListedNamedAndTheLastCreatedIsCurrent) {
    ASInt32 count = -1;
    AICustomColorHandle current = nullptr;
    EXPECT_EQ(custom_->CountCustomColors(&count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(custom_->GetCurrentCustomColor(&current), kNameNotFoundErr);

    const AICustomColorHandle red = NewCustom(u"Rouge vif", {kThreeColor, {1, 0, 0}, {}});
    const AICustomColorHandle blue = NewCustom(u"Bleu été", {kFourColor, {}, {1, 0.5f, 0, 0.1f}});
    ASSERT_NE(red, blue);
    EXPECT_EQ(custom_->CountCustomColors(&count), 0);
    EXPECT_EQ(count, 2);
    AICustomColorHandle nth = nullptr;
    EXPECT_EQ(custom_->GetNthCustomColor(0, &nth), 0);
    EXPECT_EQ(nth, red);
    EXPECT_EQ(custom_->GetNthCustomColor(1, &nth), 0);
    EXPECT_EQ(nth, blue);
    EXPECT_EQ(custom_->GetNthCustomColor(2, &nth), kBadParameterErr);
    EXPECT_EQ(custom_->GetCurrentCustomColor(&current), 0);
    EXPECT_EQ(current, blue);

    EXPECT_EQ(NameOf(custom_, blue), u"Bleu été");

    // The host's buffer rules: a short buffer holds what fits and tells the full length.
    ASUnicode shortBuffer[4];
    ASInt32 length = 0;
    EXPECT_EQ(custom_->GetCustomColorName(red, shortBuffer, 4, &length), kBufferTooSmallErr);
    EXPECT_EQ(length, 9);
    EXPECT_EQ(std::u16string(shortBuffer), u"Rou");
}

// ---- The colour picker -------------------------------------------------------------------

TEST_F(PaintSuites, PickerAnswersWhatTheSessionToldIt) {
    const AIColor initial = Rgb(0.1f, 0.2f, 0.3f);
    const struct {
        std::vector<std::string> answer;
        bool cancelled;
        AIColor chosen;
    } cases[] = {
        {{"gray", "0.3"}, false, Gray(0.3f)},
        {{"rgb", "1", "0", "0.5"}, false, Rgb(1, 0, 0.5f)},
        {{"cmyk", "0", "0.5", "1", "0.25"}, false, Cmyk(0, 0.5f, 1, 0.25f)},
        {{"cancel"}, true, initial},
        {{}, true, initial},
        // An answer the picker could not give leaves the colour as it was.
        {{"rgb", "2", "0", "0"}, true, initial},
    };
    for (const auto& c : cases) {
        const std::string what = c.answer.empty() ? "no answer" : c.answer[0];
        host_.SetPickerAnswer(c.answer);
        AIColor chosen{};
        AIBoolean cancelled = 2;
        ASSERT_EQ(user_->GetColorFromPicker(&initial, &chosen, &cancelled), 0) << what;
        EXPECT_EQ(cancelled != 0, c.cancelled) << what;
        EXPECT_EQ(Describe(chosen), Describe(c.chosen)) << what;
        // Each answer is given once: asking again is cancelled.
        ASSERT_EQ(user_->GetColorFromPicker(&initial, &chosen, &cancelled), 0) << what;
        EXPECT_NE(cancelled, 0) << what;
    }
}

// A spot answer names the document's custom colour, created grey when it is new; either
// way it becomes the current custom colour, which the plug-in's notification reads.
TEST_F(PaintSuites, PickerSpotAnswerChoosesOrCreatesTheCurrentCustomColor) {
    const AICustomColorHandle orange = NewCustom(u"Orange", {kThreeColor, {1, 0.5f, 0}, {}});
    const AIColor initial = Gray(1);
    AIColor chosen{};
    AIBoolean cancelled = 1;

    host_.SetPickerAnswer({"spot", "Gris moyen"});
    ASSERT_EQ(user_->GetColorFromPicker(&initial, &chosen, &cancelled), 0);
    EXPECT_EQ(cancelled, 0);
    ASSERT_EQ(chosen.kind, kCustomColor);
    EXPECT_FLOAT_EQ(chosen.custom.tint, 0);
    const AICustomColorHandle grey = chosen.custom.color;
    EXPECT_NE(grey, orange);
    EXPECT_EQ(NameOf(custom_, grey), u"Gris moyen");
    AICustomColor definition{};
    EXPECT_EQ(custom_->GetCustomColor(grey, &definition), 0);
    EXPECT_EQ(definition.kind, kThreeColor);
    EXPECT_FLOAT_EQ(definition.rgb.red, definition.rgb.blue);
    AICustomColorHandle current = nullptr;
    EXPECT_EQ(custom_->GetCurrentCustomColor(&current), 0);
    EXPECT_EQ(current, grey);

    host_.SetPickerAnswer({"spot", "Orange"});
    ASSERT_EQ(user_->GetColorFromPicker(&initial, &chosen, &cancelled), 0);
    EXPECT_EQ(Describe(chosen), Describe(Custom(orange, 0)));
    EXPECT_EQ(custom_->GetCurrentCustomColor(&current), 0);
    EXPECT_EQ(current, orange);
    ASInt32 count = 0;
    EXPECT_EQ(custom_->CountCustomColors(&count), 0);
    EXPECT_EQ(count, 2);
}

// ---- Transformations ---------------------------------------------------------------------

TEST_F(PaintSuites, TransformMovesAnchorsAndHandlesAndScalesStrokesOnRequest) {
    // Scale by 2 about the origin, then move by (5, -3).
    const AIRealMatrix matrix{2, 0, 0, 2, 5, -3};
    const struct {
        const char* what;
        ASInt32 flags;
        bool moved;
        float width;
        float dash;
    } cases[] = {
        {"objects", kTransformObjects, true, 2.5f, 6},
        {"objects and strokes", kTransformObjects | kTransformScaleStrokes, true, 5, 12},
        {"strokes only", kTransformScaleStrokes, false, 5, 12},
    };
    for (const auto& c : cases) {
        const AIArtHandle path = NewPath({{{1, 2}, {0, 2}, {3, 4}, 0}, Corner(10, 0)});
        const AIPathStyle s = SampleStyle();
        ASSERT_EQ(style_->SetPathStyle(path, &s), 0);
        ASSERT_EQ(transform_->TransformArt(path, &matrix, 2, c.flags), 0) << c.what;
        const AIPathSegment first = SegmentsOf(path)[0];
        const AIPathSegment expected = c.moved ? AIPathSegment{{7, 1}, {5, 1}, {11, 5}, 0}
                                               : AIPathSegment{{1, 2}, {0, 2}, {3, 4}, 0};
        EXPECT_FLOAT_EQ(first.p.h, expected.p.h) << c.what;
        EXPECT_FLOAT_EQ(first.p.v, expected.p.v) << c.what;
        EXPECT_FLOAT_EQ(first.in.h, expected.in.h) << c.what;
        EXPECT_FLOAT_EQ(first.out.v, expected.out.v) << c.what;
        const AIPathStyle read = StyleOf(path);
        EXPECT_FLOAT_EQ(read.stroke.width, c.width) << c.what;
        EXPECT_FLOAT_EQ(read.stroke.dash.array[0], c.dash) << c.what;
    }
}

// A group has no anchors of its own: transforming it must reach the paths inside it, nested
// groups included.
TEST_F(PaintSuites, TransformOfAGroupMovesWhatItHolds) {
    const AIArtHandle outer = NewGroup();
    AIArtHandle inner = nullptr;
    ASSERT_EQ(art_->NewArt(kGroupArt, kPlaceInsideOnTop, outer, &inner), 0);
    const AIArtHandle a = NewPath({Corner(0, 0), Corner(1, 0)}, outer);
    const AIArtHandle b = NewPath({Corner(0, 5), Corner(1, 5)}, inner);
    // A rotation by 90° counter-clockwise: (x, y) -> (-y, x).
    const AIRealMatrix rotate{0, 1, -1, 0, 0, 0};
    ASSERT_EQ(transform_->TransformArt(outer, &rotate, 1, kTransformObjects), 0);
    EXPECT_FLOAT_EQ(SegmentsOf(a)[1].p.h, 0);
    EXPECT_FLOAT_EQ(SegmentsOf(a)[1].p.v, 1);
    EXPECT_FLOAT_EQ(SegmentsOf(b)[0].p.h, -5);
    EXPECT_FLOAT_EQ(SegmentsOf(b)[0].p.v, 0);
}

// ---- Duplicates --------------------------------------------------------------------------

// The copy holds everything the original holds, and changing one leaves the other alone: a
// shallow copy (shared children or segments) fails here.
TEST_F(PaintSuites, DuplicateArtIsADeepIndependentCopy) {
    const AIArtHandle group = NewGroup();
    const AIArtHandle line = NewPath({Corner(0, 0), Corner(20, 0)}, group);
    const AIArtHandle box = NewPath({Corner(0, 0), Corner(5, 0), Corner(5, 5)}, group);
    ASSERT_EQ(path_->SetPathClosed(box, 1), 0);
    const AIPathStyle s = SampleStyle();
    ASSERT_EQ(style_->SetPathStyle(line, &s), 0);
    ASSERT_EQ(art_->SetArtName(group, u"Cote"), 0);
    ASSERT_EQ(tag_->SetTag(line, "role", kTagString, "dimension line"), 0);

    AIArtHandle copy = nullptr;
    ASSERT_EQ(art_->DuplicateArt(group, kPlaceAbove, group, &copy), 0);
    ASSERT_NE(copy, group);
    AIArtHandle sibling = nullptr;
    EXPECT_EQ(art_->GetArtSibling(copy, &sibling), 0);
    EXPECT_EQ(sibling, group);

    const std::vector<AIArtHandle> children = ChildrenOf(copy);
    ASSERT_EQ(children.size(), 2u);
    const AIArtHandle lineCopy = children[1];
    const AIArtHandle boxCopy = children[0];
    AIArtHandle parent = nullptr;
    EXPECT_EQ(art_->GetArtParent(lineCopy, &parent), 0);
    EXPECT_EQ(parent, copy);
    EXPECT_EQ(Model(copy).name, "Cote");
    EXPECT_EQ(Model(lineCopy).tags.at("role"), "dimension line");
    EXPECT_EQ(Describe(StyleOf(lineCopy)), Describe(s));
    EXPECT_TRUE(Model(boxCopy).closed);
    EXPECT_FLOAT_EQ(SegmentsOf(lineCopy)[1].p.h, 20);

    // Changing the copy leaves the original alone, and the copy outlives the original.
    const AIRealMatrix shift{1, 0, 0, 1, 100, 0};
    ASSERT_EQ(transform_->TransformArt(copy, &shift, 1, kTransformObjects), 0);
    EXPECT_FLOAT_EQ(SegmentsOf(line)[1].p.h, 20);
    ASSERT_EQ(art_->DisposeArt(group), 0);
    EXPECT_TRUE(art_->ValidArt(lineCopy));
    EXPECT_FLOAT_EQ(SegmentsOf(lineCopy)[1].p.h, 120);
}

}  // namespace
