// Point text through the emulated host's text suites: frames, ranges, feature sets, paints
// and fonts as the plug-in uses them, the layout their bounds come from, and the host's
// watch over the references it hands out.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "emulator/core/Host.h"
#include "emulator/core/SuiteRegistry.h"
#include "emulator/core/TextLayout.h"
#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/PaintSuites.h"
#include "plugin/host/ResultCodes.h"
#include "plugin/host/TextSuites.h"
#include "tests/support/HostFixture.h"

namespace {

using emulator::Host;

constexpr float kSize = 12;
// DejaVu Sans: every digit is 1303 units of a 2048-unit em wide; the face reaches 1901
// units above the baseline and 483 below.
constexpr double kDigitEm = 1303.0 / 2048;
constexpr double kAscentEm = 1901.0 / 2048;
constexpr double kDescentEm = 483.0 / 2048;

std::vector<float> Sides(const AIRealRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

void ExpectNear(const AIRealRect& actual, const AIRealRect& expected, const std::string& what) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(Sides(actual)[i], Sides(expected)[i], 1e-3) << what << ", side " << i;
    }
}

// Suites acquired the way the plug-in acquires them, against a host with one document.
class TextSuites : public testing::Test {
  protected:
    // Gives a new text its features, as the plug-in does, in a character and a paragraph
    // feature set.
    using Setter = std::function<void(ATE::CharFeaturesRef, ATE::ParaFeaturesRef)>;

    TextSuites() : host_(Options()) {}

    static emulator::HostOptions Options() {
        emulator::HostOptions options;
        options.fonts = testing_support::FixedFonts();
        return options;
    }

    void SetUp() override {
        host_.NewDocument(600, 600);
        ASSERT_TRUE(suites_.Acquire(art_, layer_, transform_, hitTest_, custom_, frame_, font_,
                                    atePaint_, range_, chars_, paras_, paint_, ateFont_));
    }

    void TearDown() override {
        EXPECT_EQ(host_.TextRefs().Size(), 0u) << "references the test left";
    }

    AIArtHandle LayerGroup() {
        AILayerHandle layer = nullptr;
        EXPECT_EQ(layer_->GetCurrentLayer(&layer), 0);
        AIArtHandle group = nullptr;
        EXPECT_EQ(layer_->GetFirstArtOfLayer(layer, &group), 0);
        return group;
    }

    // A point text made as the plug-in makes one: a frame on top of the layer's group, its
    // characters inserted into its range, then its features.
    AIArtHandle NewText(const std::u16string& text, AIRealPoint anchor = {100, 100},
                        const Setter& set = {}) {
        AIArtHandle frame = nullptr;
        EXPECT_EQ(frame_->NewPointText(kPlaceInsideOnTop, LayerGroup(), kHorizontalTextOrientation,
                                       anchor, &frame),
                  0);
        ATE::TextRangeRef range = nullptr;
        EXPECT_EQ(frame_->GetATETextRange(frame, &range), 0);
        EXPECT_EQ(range_->InsertAfter(range, text.data(), static_cast<ASInt32>(text.size())), 0);
        ATE::CharFeaturesRef chars = nullptr;
        ATE::ParaFeaturesRef paras = nullptr;
        EXPECT_EQ(chars_->Initialize(&chars), 0);
        EXPECT_EQ(paras_->Initialize(&paras), 0);
        if (set) {
            set(chars, paras);
        }
        EXPECT_EQ(range_->SetLocalCharFeatures(range, chars), 0);
        EXPECT_EQ(range_->SetLocalParaFeatures(range, paras), 0);
        EXPECT_EQ(chars_->Release(chars), 0);
        EXPECT_EQ(paras_->Release(paras), 0);
        EXPECT_EQ(range_->Release(range), 0);
        return frame;
    }

    Setter Size(float size) {
        return [=, this](auto c, auto) { EXPECT_EQ(chars_->SetFontSize(c, size), 0); };
    }
    Setter Tracking(ASInt32 tracking) {
        return [=, this](auto c, auto) { EXPECT_EQ(chars_->SetTracking(c, tracking), 0); };
    }
    Setter Justify(ATE::ParagraphJustification j) {
        return [=, this](auto, auto p) { EXPECT_EQ(paras_->SetJustification(p, j), 0); };
    }
    // The font named `name`, found in the font list.
    Setter Font(const char* name) {
        return [=, this](auto c, auto) {
            AIFontKey key = nullptr;
            ASSERT_EQ(font_->FindFont(name, &key), 0) << name;
            ATE::FontRef font = nullptr;
            ASSERT_EQ(font_->FontFromFontKey(key, &font), 0);
            EXPECT_EQ(chars_->SetFont(c, font), 0);
            EXPECT_EQ(ateFont_->Release(font), 0);
        };
    }

    AIRealRect Bounds(AIArtHandle art) {
        AIRealRect r{};
        EXPECT_EQ(art_->GetArtBounds(art, &r), 0);
        return r;
    }

    emulator::PointText& Model(AIArtHandle handle) { return host_.FindArt(handle)->pointText; }

    AIToolHitData HitAt(AIRealPoint point, float tolerance, ASInt32 request) {
        AIHitRef hit = nullptr;
        EXPECT_EQ(hitTest_->HitTest(nullptr, &point, tolerance, request, &hit), 0);
        AIToolHitData data{};
        EXPECT_EQ(hitTest_->GetHitData(hit, &data), 0);
        EXPECT_EQ(hitTest_->ReleaseHitRef(hit), 0);
        return data;
    }

    Host host_;
    testing_support::HeldSuites suites_{host_};
    const AIArtSuite* art_ = nullptr;
    const AILayerSuite* layer_ = nullptr;
    const AITransformArtSuite* transform_ = nullptr;
    const AIHitTestSuite* hitTest_ = nullptr;
    const AICustomColorSuite* custom_ = nullptr;
    const AITextFrameSuite* frame_ = nullptr;
    const AIFontSuite* font_ = nullptr;
    const AIATEPaintSuite* atePaint_ = nullptr;
    const ATETextRangeSuite* range_ = nullptr;
    const ATECharFeaturesSuite* chars_ = nullptr;
    const ATEParaFeaturesSuite* paras_ = nullptr;
    const ATEApplicationPaintSuite* paint_ = nullptr;
    const ATEFontSuite* ateFont_ = nullptr;
};

// ---- Frames and layout -------------------------------------------------------------------

// Real metrics: the digits of DejaVu Sans and its ascent and descent, with tracking between
// characters (a surrogate pair is one).
TEST_F(TextSuites, BoundsComeFromTheFontsMetrics) {
    const double pair = emulator::LineWidth("DejaVuSans", kSize, 0, u"1\U0001D7CF");
    const struct {
        const char* what;
        std::u16string text;
        Setter set;
        double size, width;
    } cases[] = {
        {"four digits", u"1234", {}, kSize, 4 * kDigitEm * kSize},
        {"at 30 points", u"1234", Size(30), 30, 4 * kDigitEm * 30},
        {"three gaps of 250", u"1234", Tracking(250), kSize, (4 * kDigitEm + 0.75) * kSize},
        {"one gap of 1000", u"1\U0001D7CF", Tracking(1000), kSize, pair + kSize},
    };
    for (const auto& c : cases) {
        const AIRealRect r = Bounds(NewText(c.text, {100, 100}, c.set));
        const AIRealRect expected{100, static_cast<AIReal>(100 + kAscentEm * c.size),
                                  static_cast<AIReal>(100 + c.width),
                                  static_cast<AIReal>(100 - kDescentEm * c.size)};
        ExpectNear(r, expected, c.what);
    }
}

// The layout the SVG writer places its lines with: one line per paragraph, baselines a
// leading apart, x by the justification, all raised by the baseline shift.
TEST(TextLayout, OneLinePerParagraphAtItsBaseline) {
    emulator::PointText text;
    text.text = u"12\r\r1234";
    text.features.font = "DejaVuSans";
    text.features.size = 10;
    text.features.baselineShift = 2;
    text.features.spaceAfter = 1;
    text.features.justification = emulator::Justification::Center;
    const emulator::PointTextLayout layout = emulator::LayOutPointText(text);
    ASSERT_EQ(layout.lines.size(), 3u);
    const double digit = kDigitEm * 10;
    const struct {
        std::u16string text;
        double width, x, baseline;
    } expected[] = {
        {u"12", 2 * digit, -digit, 2}, {u"", 0, 0, -11}, {u"1234", 4 * digit, -2 * digit, -24}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(layout.lines[i].text, expected[i].text) << i;
        EXPECT_NEAR(layout.lines[i].width, expected[i].width, 1e-9) << i;
        EXPECT_NEAR(layout.lines[i].x, expected[i].x, 1e-9) << i;
        EXPECT_NEAR(layout.lines[i].baseline, expected[i].baseline, 1e-9) << i;
    }
    EXPECT_NEAR(layout.extent.ascent, kAscentEm * 10, 1e-9);
    EXPECT_NEAR(layout.extent.descent, kDescentEm * 10, 1e-9);
}

// Fonts are found by their PostScript names; a name no font has is set in a substitute
// rather than in nothing.
TEST(TextLayout, FontsAreFoundByPostScriptName) {
    const double regular = emulator::LineWidth("DejaVuSans", 12, 0, u"Cote 12");
    EXPECT_GT(emulator::LineWidth("DejaVuSans-Bold", 12, 0, u"Cote 12"), regular + 0.5);
    EXPECT_GT(emulator::LineWidth("DejaVuSansMono", 12, 0, u"iiii"),
              emulator::LineWidth("DejaVuSans", 12, 0, u"iiii") + 2);
    EXPECT_GT(emulator::LineWidth("NoSuchFont-Regular", 12, 0, u"Cote 12"), 10);
    EXPECT_GT(emulator::FontExtentOf("NoSuchFont-Regular", 12).ascent, 5);
}

// The frame's matrix takes transformations: bounds follow them, the size does not change.
TEST_F(TextSuites, TransformedFramesHaveTransformedBounds) {
    const AIArtHandle text = NewText(u"Cote 12", {100, 100});
    const AIRealRect b = Bounds(text);
    const struct {
        const char* what;
        AIRealMatrix matrix;
        AIRealRect expected;
    } cases[] = {
        {"translation", {1, 0, 0, 1, 15, -5}, {b.left + 15, b.top - 5, b.right + 15, b.bottom - 5}},
        // A quarter turn about the anchor: the baseline goes up, the ascent to the left.
        {"quarter turn", {0, 1, -1, 0, 200, 0}, {200 - b.top, b.right, 200 - b.bottom, b.left}},
        {"scale", {2, 0, 0, 2, 0, 0}, {2 * b.left, 2 * b.top, 2 * b.right, 2 * b.bottom}},
    };
    for (const auto& c : cases) {
        AIArtHandle copy = nullptr;
        ASSERT_EQ(art_->DuplicateArt(text, kPlaceAboveAll, nullptr, &copy), 0);
        ASSERT_EQ(transform_->TransformArt(copy, &c.matrix, 1, kTransformObjects), 0) << c.what;
        ExpectNear(Bounds(copy), c.expected, c.what);
        EXPECT_EQ(Model(copy).features.size, kSize) << c.what;
    }
    // Transformations compose in order: a translation, then a quarter turn.
    const AIRealMatrix shift{1, 0, 0, 1, 10, 0}, turn{0, 1, -1, 0, 0, 0};
    ASSERT_EQ(transform_->TransformArt(text, &shift, 1, kTransformObjects), 0);
    ASSERT_EQ(transform_->TransformArt(text, &turn, 1, kTransformObjects), 0);
    const double* m = Model(text).matrix;
    EXPECT_EQ(std::vector<double>(m, m + 6), std::vector<double>({0, 1, -1, 0, -100, 110}));
}

// ---- Ranges and features -----------------------------------------------------------------

// Only the features that were set reach the frame; the others keep what it had. A set
// keeps the font and paint themselves: their references may go before it is applied.
TEST_F(TextSuites, OnlyTheFeaturesSetReachTheFrame) {
    const AIArtHandle text = NewText(u"12", {0, 0}, [&](auto c, auto p) {
        Font("DejaVuSerif")(c, p);
        Size(9)(c, p);
        Justify(ATE::kCenterJustify)(c, p);
    });
    AICustomColor orange{kFourColor, {}, {0, 0.5f, 1, 0}};
    AICustomColorHandle spot = nullptr;
    ASSERT_EQ(custom_->NewCustomColor(&orange, u"Orange", &spot), 0);
    AIColor tinted{};
    tinted.kind = kCustomColor;
    tinted.custom = {spot, 0.5f};
    ATE::ApplicationPaintRef paint = nullptr;
    ASSERT_EQ(atePaint_->CreateATEApplicationPaint(&tinted, &paint), 0);

    ATE::TextRangeRef range = nullptr;
    ATE::CharFeaturesRef chars = nullptr;
    ASSERT_EQ(frame_->GetATETextRange(text, &range), 0);
    ASSERT_EQ(chars_->Initialize(&chars), 0);
    EXPECT_EQ(chars_->SetBaselineShift(chars, -2), 0);
    EXPECT_EQ(chars_->SetFillColor(chars, paint), 0);
    EXPECT_EQ(paint_->Release(paint), 0);
    // Values the features cannot take, and dead references, are refused.
    EXPECT_EQ(chars_->SetFontSize(chars, 0), kBadParameterErr);
    EXPECT_EQ(chars_->SetFontSize(chars, std::nanf("")), kBadParameterErr);
    EXPECT_EQ(chars_->SetFillColor(chars, paint), kBadParameterErr);
    EXPECT_EQ(range_->SetLocalParaFeatures(range, reinterpret_cast<ATE::ParaFeaturesRef>(chars)),
              kBadParameterErr);
    EXPECT_EQ(host_.TakeViolations().size(), 2u);
    EXPECT_EQ(range_->SetLocalCharFeatures(range, chars), 0);
    EXPECT_EQ(chars_->Release(chars), 0);
    EXPECT_EQ(range_->Release(range), 0);

    const emulator::TextFeatures& f = Model(text).features;
    EXPECT_EQ(f.font, "DejaVuSerif");
    EXPECT_EQ(f.size, 9);
    EXPECT_EQ(f.baselineShift, -2);
    EXPECT_EQ(f.justification, emulator::Justification::Center);
    EXPECT_EQ(f.tracking, 0);
    // The colour is converted as for paths (where its kinds are tested), here a tinted
    // custom colour taken by its handle.
    EXPECT_EQ(f.fill.kind, emulator::Paint::Kind::Custom);
    EXPECT_EQ(f.fill.customName, "Orange");
    EXPECT_NEAR(f.fill.tint, 0.5, 1e-6);
}

TEST_F(TextSuites, FindFontTakesOnlyExactNamesOfTheList) {
    const struct {
        const char* name;
        ASErr result;
    } cases[] = {{"DejaVuSans", 0},
                 {"DejaVuSans-Bold", 0},
                 {"dejavusans", kNameNotFoundErr},
                 {"DejaVu Sans", kNameNotFoundErr},
                 {"DejaVu", kNameNotFoundErr},
                 {"", kNameNotFoundErr},
                 // Installed on the machine, but not in the host's list.
                 {"DejaVuSerif-Bold", kNameNotFoundErr}};
    for (const auto& c : cases) {
        AIFontKey key = nullptr;
        ASSERT_EQ(font_->FindFont(c.name, &key), c.result) << c.name;
        char name[64];
        ASInt32 length = 0;
        if (c.result == 0) {
            EXPECT_EQ(font_->GetFontName(key, name, 64, &length), 0);
            EXPECT_STREQ(name, c.name);
        }
    }
}

// ---- References --------------------------------------------------------------------------

// A reference is released once, by its own suite; anything else is refused and recorded.
TEST_F(TextSuites, EachReferenceIsReleasedOnceByItsOwnSuite) {
    AIFontKey key = nullptr;
    ATE::FontRef font = nullptr;
    ATE::CharFeaturesRef chars = nullptr, other = nullptr;
    ASSERT_EQ(font_->FindFont("DejaVuSans", &key), 0);
    ASSERT_EQ(font_->FontFromFontKey(key, &font), 0);
    ASSERT_EQ(chars_->Initialize(&chars), 0);
    ASSERT_EQ(chars_->Initialize(&other), 0);
    EXPECT_NE(chars, other);
    EXPECT_EQ(paint_->Release(reinterpret_cast<ATE::ApplicationPaintRef>(font)), kBadParameterErr);
    EXPECT_EQ(paras_->Release(reinterpret_cast<ATE::ParaFeaturesRef>(chars)), kBadParameterErr);
    EXPECT_EQ(ateFont_->Release(font), 0);
    EXPECT_EQ(chars_->Release(chars), 0);
    EXPECT_EQ(chars_->Release(chars), kBadParameterErr);
    EXPECT_EQ(host_.TakeViolations().size(), 3u);
    // Closing the document drops those still held.
    host_.NewDocument(100, 100);
    EXPECT_EQ(chars_->Release(other), kBadParameterErr);
    EXPECT_EQ(host_.TakeViolations().size(), 1u);
}

// A range whose frame was disposed of answers errors, and the misuse is recorded.
TEST_F(TextSuites, RangesOfDisposedFramesAnswerErrors) {
    const AIArtHandle text = NewText(u"12");
    ATE::TextRangeRef range = nullptr;
    ASSERT_EQ(frame_->GetATETextRange(text, &range), 0);
    ASSERT_EQ(art_->DisposeArt(text), 0);
    ASInt32 size = 0;
    ASUnicode buffer[8];
    EXPECT_EQ(range_->GetSize(range, &size), kBadParameterErr);
    EXPECT_EQ(range_->GetContents(range, buffer, 8, &size), kBadParameterErr);
    EXPECT_EQ(range_->InsertAfter(range, u"3", 1), kBadParameterErr);
    EXPECT_EQ(range_->Remove(range), kBadParameterErr);
    EXPECT_EQ(host_.TakeViolations().size(), 4u);
    EXPECT_EQ(range_->Release(range), 0);
}

// ---- Duplicates and hit tests ------------------------------------------------------------

// A text is hit as a fill within the tolerance of its bounds, by the indexed search and by
// the literal one alike, and only when fills are asked for.
TEST_F(TextSuites, TextsAreHitWithinTheirBoundsAsFills) {
    const AIArtHandle text = NewText(u"Cote 12", {100, 100});
    NewText(u"", {300, 300});  // nothing to hit
    const AIRealRect r = Bounds(text);
    const float middle = (r.bottom + r.top) / 2;
    const struct {
        const char* what;
        AIRealPoint point;
        float tolerance;
        ASInt32 request;
        bool hit;
    } cases[] = {
        {"inside, fills", {r.left + 1, middle}, 0, kHitFills, true},
        {"inside, everything", {r.right - 1, r.top - 1}, 0, 0, true},
        {"inside, no fills", {r.left + 1, middle}, 2, kHitPointsHandlesSegments, false},
        {"beside, within tolerance", {r.right + 1.5f, middle}, 2, kHitFills, true},
        {"beside, outside the tolerance", {r.right + 2.5f, middle}, 2, kHitFills, false},
        {"off a corner, within tolerance", {r.right + 1.2f, r.bottom - 1.2f}, 2, 0, true},
        // 1.5 points off both sides is 2.1 points off the corner.
        {"off a corner, outside the tolerance", {r.right + 1.5f, r.bottom - 1.5f}, 2, 0, false},
        {"an empty text", {300, 300}, 5, 0, false},
    };
    for (const bool cull : {true, false}) {
        host_.SetCullHitTests(cull);
        for (const auto& c : cases) {
            const std::string what = std::string(c.what) + (cull ? " (indexed)" : " (literal)");
            const AIToolHitData hit = HitAt(c.point, c.tolerance, c.request);
            ASSERT_EQ(hit.hit != 0, c.hit) << what;
            if (c.hit) {
                EXPECT_EQ(hit.art, text) << what;
                EXPECT_EQ(std::vector<float>({float(hit.type), float(hit.segment), hit.t,
                                              hit.point.h, hit.point.v}),
                          std::vector<float>({kFillHit, 0, 0, c.point.h, c.point.v}))
                    << what;
            }
        }
    }
    // The index follows the text when it moves.
    host_.SetCullHitTests(true);
    const AIRealMatrix away{1, 0, 0, 1, 200, 0};
    ASSERT_EQ(transform_->TransformArt(text, &away, 1, kTransformObjects), 0);
    EXPECT_FALSE(HitAt({r.left + 1, middle}, 0, 0).hit);
    EXPECT_TRUE(HitAt({r.left + 201, middle}, 0, 0).hit);
}

// ---- References left at the end of a message ---------------------------------------------

class TextReferencesAfterMessages : public testing_support::HostTest {};

// What the plug-in still holds when a message ends is reported once and dropped.
TEST_F(TextReferencesAfterMessages, LeakedReferencesAreReportedAndDropped) {
    Host& h = StartApplication();
    h.NewDocument(100, 100);
    const void* table = nullptr;
    ASSERT_EQ(
        h.Suites().Acquire(ATECharFeaturesSuite::kName, ATECharFeaturesSuite::kVersion, &table), 0);
    const auto* chars = static_cast<const ATECharFeaturesSuite*>(table);
    ATE::CharFeaturesRef leaked = nullptr, released = nullptr;
    ASSERT_EQ(chars->Initialize(&leaked), 0);
    ASSERT_EQ(chars->Initialize(&released), 0);
    EXPECT_EQ(chars->Release(released), 0);

    h.Purge();
    ASSERT_EQ(h.Violations().size(), 1u);
    EXPECT_EQ(h.Violations()[0].rfind("text-engine reference not released", 0), 0u)
        << h.Violations()[0];
    h.Purge();
    EXPECT_EQ(h.Violations().size(), 1u) << "reported once";
    EXPECT_EQ(chars->Release(leaked), kBadParameterErr);
    h.Suites().Release(ATECharFeaturesSuite::kName, ATECharFeaturesSuite::kVersion);
    EXPECT_EQ(h.TakeViolations().size(), 2u);
}

}  // namespace
