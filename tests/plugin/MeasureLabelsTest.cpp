// The measure labels of dimensions and the read-outs of the Lengths & Areas tool and the
// cursor tips: what each builder measures, the second line, the radius symbols and their
// layouts, and the texts left empty for the no-measure unit.
#include <gtest/gtest.h>

#include <cstdint>
#include <numbers>
#include <string>

#include "plugin/measure/MeasureLabels.h"
#include "plugin/settings/DimensionSettings.h"

namespace {

using measure::MeasureText;

constexpr double kPointsPerInch = 72;
constexpr float kHalfPi = static_cast<float>(std::numbers::pi / 2);

// Stands for the geometry kernel: the length between two anchors is read from a table so
// that a test can tell which anchors were asked for.
struct FakePath {
    double lengthFromOneToThree;
};

double FakeLengthBetween(AIArtHandle path, std::int32_t from, std::int32_t to) {
    const auto* fake = reinterpret_cast<const FakePath*>(path);
    return from == 1 && to == 3 ? fake->lengthFromOneToThree : -1000;
}

AIArtHandle Handle(FakePath& path) {
    return reinterpret_cast<AIArtHandle>(&path);
}

class MeasureLabelsTest : public testing::Test {
  protected:
    void SetUp() override {
        saved_ = settings::Settings();
        settings::SetDefaults(settings::Settings(), "Arial");
        S().unitKind = settings::kMillimetre;
        S().precision = 1;
    }
    void TearDown() override { settings::Settings() = saved_; }

    static settings::DimensionSettings& S() { return settings::Settings(); }

  private:
    settings::DimensionSettings saved_{};
};

struct SegmentCase {
    std::int32_t dimensionType;
    bool swapAxis;
    const char* expected;
};

// Would catch the axes of the horizontal and vertical types exchanged, the swap ignored,
// a signed difference (the points run right to left and downwards here), and the distance
// of the oblique and "both" types replaced by one axis.
TEST_F(MeasureLabelsTest, SegmentMeasuresAlongTheDimensionType) {
    const SegmentCase cases[] = {
        {settings::kOblique, false, "28,4 mm"},
        {settings::kOblique, true, "28,4 mm"},
        {settings::kHorizontalAndVertical, false, "28,4 mm"},
        {settings::kHorizontal, false, "25,4 mm"},
        {settings::kHorizontal, true, "12,7 mm"},
        {settings::kVertical, false, "12,7 mm"},
        {settings::kVertical, true, "25,4 mm"},
    };
    for (const SegmentCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "type " << c.dimensionType << (c.swapAxis ? " swapped" : ""));
        S().dimensionType = c.dimensionType;
        measure::BuildSegmentLabel(100, 50, 28, 14, c.swapAxis);
        EXPECT_EQ(MeasureText(), c.expected);
    }
}

// Would catch the second line built with the main unit, precision, separator or show flag,
// a line break other than a carriage return, and the second line kept after double measure
// is turned off (the text must be emptied by each builder).
TEST_F(MeasureLabelsTest, DoubleMeasureAddsASecondLineInItsOwnFormat) {
    S().doubleMeasure = 1;
    S().secondUnitKind = settings::kPica;
    S().secondPrecision = 0;
    measure::BuildSegmentLabel(0, 0, 72, 0, false);
    EXPECT_EQ(MeasureText(), "25,4 mm\r6 pc");

    S().secondUnitKind = settings::kCentimetre;
    S().secondPrecision = 2;
    S().secondDecimalSeparator = '.';
    S().showSecondUnit = 0;
    measure::BuildSegmentLabel(0, 0, 72, 0, false);
    EXPECT_EQ(MeasureText(), "25,4 mm\r2.54");

    // No second unit, no second line.
    S().secondUnitKind = settings::kNoMeasure;
    measure::BuildSegmentLabel(0, 0, 72, 0, false);
    EXPECT_EQ(MeasureText(), "25,4 mm");

    S().doubleMeasure = 0;
    measure::BuildSegmentLabel(0, 0, 72, 0, false);
    EXPECT_EQ(MeasureText(), "25,4 mm");
}

// Would catch the sweep taken with its sign, the reflex arc not measured as the rest of the
// turn, and a full turn other than the float 2π.
TEST_F(MeasureLabelsTest, ArcLengthIsTheRadiusTimesTheSweep) {
    S().unitKind = settings::kPoint;
    measure::BuildArcLengthLabel(36, kHalfPi, false);
    EXPECT_EQ(MeasureText(), "56,5 pt");
    measure::BuildArcLengthLabel(36, -kHalfPi, false);
    EXPECT_EQ(MeasureText(), "56,5 pt");
    measure::BuildArcLengthLabel(36, kHalfPi, true);
    EXPECT_EQ(MeasureText(), "169,6 pt");
    S().precision = 6;
    measure::BuildArcLengthLabel(1, 0, true);
    EXPECT_EQ(MeasureText(), "6,283185 pt");
}

// Would catch the anchors passed to the measuring function in the wrong order, and a call
// through a missing function.
TEST_F(MeasureLabelsTest, CurveLengthComesFromTheGeometryKernel) {
    FakePath path{72};
    measure::BuildCurveLengthLabel(Handle(path), 1, 3, FakeLengthBetween);
    EXPECT_EQ(MeasureText(), "25,4 mm");
    measure::BuildCurveLengthLabel(Handle(path), 1, 3, nullptr);
    EXPECT_EQ(MeasureText(), "");
}

struct RadiusCase {
    std::int32_t showDiameter;
    bool altDrag;
    std::int32_t prefixOn;
    std::int32_t prefixBefore;
    std::int32_t showUnit;
    const char* expected;
};

// Would catch Alt not toggling between radius and diameter (in both directions), the
// diameter not doubled, the Ø written in another code page, the symbol on the wrong side,
// and a unit mark that moves with the symbol or is written when hidden.
TEST_F(MeasureLabelsTest, RadiusCarriesItsSymbolInEachLayout) {
    S().unitKind = settings::kPoint;
    const RadiusCase cases[] = {
        {0, false, 1, 1, 1, "R 10 pt"},    {0, true, 1, 1, 1, "\xD8 20 pt"},
        {1, false, 1, 1, 1, "\xD8 20 pt"}, {1, true, 1, 1, 1, "R 10 pt"},
        {0, false, 1, 0, 1, "10 pt R"},    {0, true, 1, 0, 1, "20 pt \xD8"},
        {0, false, 0, 1, 1, "10 pt"},      {0, true, 0, 0, 1, "20 pt"},
        {0, false, 1, 1, 0, "R 10"},       {1, false, 1, 0, 0, "20 \xD8"},
    };
    for (const RadiusCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "diameter " << c.showDiameter << " alt " << c.altDrag
                                        << " prefix " << c.prefixOn << c.prefixBefore);
        S().showDiameter = c.showDiameter;
        S().radiusPrefixOn = c.prefixOn;
        S().radiusPrefixBefore = c.prefixBefore;
        S().showUnit = c.showUnit;
        measure::BuildRadiusLabel(10, c.altDrag);
        EXPECT_EQ(MeasureText(), c.expected);
    }
}

// Would catch the second line of a radius written without its symbol, with the diameter
// value of one line and the radius of the other, or a lone symbol (or an empty line) for a
// second unit of no measure.
TEST_F(MeasureLabelsTest, RadiusRepeatsItsLayoutOnTheSecondLine) {
    S().doubleMeasure = 1;
    S().secondUnitKind = settings::kPoint;
    S().secondPrecision = 0;
    measure::BuildRadiusLabel(36, true);
    EXPECT_EQ(MeasureText(), "\xD8 25,4 mm\r\xD8 72 pt");
    S().radiusPrefixBefore = 0;
    S().showSecondUnit = 0;
    measure::BuildRadiusLabel(36, false);
    EXPECT_EQ(MeasureText(), "12,7 mm R\r36 R");
    S().secondUnitKind = settings::kNoMeasure;
    measure::BuildRadiusLabel(36, false);
    EXPECT_EQ(MeasureText(), "12,7 mm R");
}

// Would catch a measure written for the no-measure unit by any builder, a second line
// written under an empty first one, and an old text left in place.
TEST_F(MeasureLabelsTest, NoMeasureUnitLeavesEveryLabelEmpty) {
    FakePath path{72};
    S().doubleMeasure = 1;
    measure::BuildSegmentLabel(0, 0, 72, 0, false);
    ASSERT_FALSE(MeasureText().empty());
    S().unitKind = settings::kNoMeasure;

    measure::BuildSegmentLabel(0, 0, 72, 0, false);
    EXPECT_EQ(MeasureText(), "");
    measure::BuildArcLengthLabel(36, kHalfPi, false);
    EXPECT_EQ(MeasureText(), "");
    measure::BuildCurveLengthLabel(Handle(path), 1, 3, FakeLengthBetween);
    EXPECT_EQ(MeasureText(), "");
    measure::BuildRadiusLabel(10, true);
    EXPECT_EQ(MeasureText(), "");
    measure::BuildTipLengthLabel(Handle(path), 1, 3, FakeLengthBetween);
    EXPECT_EQ(measure::TipLengthText(), "");
    EXPECT_EQ(measure::SelectionLengthText(72), "");
}

// Would catch an open path measured when a closed one is required, and an area text left
// over from an earlier call (a refusal or the no-measure unit must not show it again).
TEST_F(MeasureLabelsTest, AreaLabelNeedsAClosedPathWhenAsked) {
    S().unitKind = settings::kDecimalInch;
    S().showUnit = 0;
    EXPECT_TRUE(measure::BuildAreaLabel(true, 5184, true));
    EXPECT_EQ(measure::AreaText(), "1 po2");
    EXPECT_FALSE(measure::BuildAreaLabel(false, 2 * 5184, true));
    EXPECT_EQ(measure::AreaText(), "");
    EXPECT_TRUE(measure::BuildAreaLabel(false, 2 * 5184, false));
    EXPECT_EQ(measure::AreaText(), "2 po2");
    S().unitKind = settings::kNoMeasure;
    EXPECT_TRUE(measure::BuildAreaLabel(true, 5184, true));
    EXPECT_EQ(measure::AreaText(), "");
}

struct ReadOutCase {
    std::int32_t unit;
    double points;
    const char* selection;
    const char* tip;
};

// Would catch the read-outs dropping their mark when the unit is hidden, the tip using the
// dimension's inch and feet marks instead of the French " po" and " pi ", and the fraction
// rules skipped in either read-out.
TEST_F(MeasureLabelsTest, ReadOutsAlwaysCarryTheirMarks) {
    S().showUnit = 0;
    const ReadOutCase cases[] = {
        {settings::kMillimetre, 72, "25,4 mm", "25,4 mm"},
        {settings::kDecimalInch, 108, "1,5 \"", "1,5 po"},
        {settings::kFractionalInch, 3 * kPointsPerInch, "3  \"", "3  po"},
        {settings::kFeetAndInches, 14.15625 * kPointsPerInch, "1 \x92 2 5/32 \"", "1 pi 2 5/32 po"},
    };
    for (const ReadOutCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.points << " pt in unit " << c.unit);
        S().unitKind = c.unit;
        FakePath path{c.points};
        EXPECT_EQ(measure::SelectionLengthText(c.points), c.selection);
        measure::BuildTipLengthLabel(Handle(path), 1, 3, FakeLengthBetween);
        EXPECT_EQ(measure::TipLengthText(), c.tip);
    }
    // The tip is a length of the drawing: the scale applies.
    S().unitKind = settings::kMillimetre;
    settings::SetScale(S(), 1, 10);
    FakePath path{72};
    measure::BuildTipLengthLabel(Handle(path), 1, 3, FakeLengthBetween);
    EXPECT_EQ(measure::TipLengthText(), "254 mm");
}

}  // namespace
