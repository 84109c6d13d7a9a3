// Lengths, angles and areas in the user's units: the scale, the conversions, the inch
// fractions and feet, and the unit marks in Windows-1252.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <numbers>
#include <string>

#include "plugin/measure/RealMath.h"
#include "plugin/measure/Units.h"
#include "plugin/settings/DimensionSettings.h"

namespace {

using measure::FormatAngle;
using measure::FormatArea;
using measure::FormatLength;

constexpr double kPointsPerInch = 72;
constexpr float kHalfPi = static_cast<float>(std::numbers::pi / 2);

class UnitsTest : public testing::Test {
  protected:
    void SetUp() override {
        saved_ = settings::Settings();
        settings::SetDefaults(settings::Settings(), "Arial");
    }
    void TearDown() override { settings::Settings() = saved_; }

    static settings::DimensionSettings& S() { return settings::Settings(); }

  private:
    settings::DimensionSettings saved_{};
};

struct LengthCase {
    double points;
    std::int32_t unit;
    int decimals;
    double scaleNumerator;
    double scaleDenominator;
    const char* expected;
};

// Would catch a conversion factor or mark of any unit, the scale applied the wrong way
// round (1:10 must make lengths larger), the micro sign in another code page, and the
// conversion rounded after formatting instead of held as a float first.
TEST_F(UnitsTest, ConvertsEveryDecimalUnitWithTheScale) {
    const LengthCase cases[] = {
        {72, settings::kMillimetre, 2, 1, 1, "25,4 mm"},
        {72, settings::kMillimetre, 2, 1, 10, "254 mm"},
        {72, settings::kMillimetre, 2, 10, 1, "2,54 mm"},
        {72, settings::kMicrometre, 0, 1, 1, "25 400 \xB5m"},
        {72, settings::kCentimetre, 2, 1, 1, "2,54 cm"},
        {72, settings::kDecimalInch, 3, 1, 1, "1 \""},
        {108, settings::kDecimalInch, 3, 1, 1, "1,5 \""},
        {72, settings::kPoint, 1, 1, 1, "72 pt"},
        {72, settings::kPica, 1, 1, 1, "6 pc"},
        {72, settings::kMetre, 4, 1, 1, "0,0254 m"},
        {72, settings::kKilometre, 6, 1, 1, "0,000025 km"},
        {72, settings::kKilometre, 4, 1, 1, "0 km"},
        {72000, settings::kPoint, 0, 2, 1, "36 000 pt"},
    };
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.points << " pt in unit " << c.unit);
        settings::SetScale(S(), c.scaleNumerator, c.scaleDenominator);
        EXPECT_EQ(FormatLength(c.points, c.unit, c.decimals, false, true), c.expected);
    }
}

// Would catch a wrong reduction of the 32nds, a fraction of 0/32 or 32/32 written out
// instead of rounding the whole inches, the trailing space dropped, feet not split at
// 12 inches, 0 inches dropped after the feet, and a zero written before the fraction.
TEST_F(UnitsTest, WritesInchFractionsAndFeet) {
    const LengthCase cases[] = {
        {1.15625 * kPointsPerInch, settings::kFractionalInch, 3, 1, 1, "1 5/32"},
        {2.5 * kPointsPerInch, settings::kFractionalInch, 3, 1, 1, "2 1/2"},
        {2.75 * kPointsPerInch, settings::kFractionalInch, 3, 1, 1, "2 3/4"},
        {0.0625 * kPointsPerInch, settings::kFractionalInch, 3, 1, 1, "0 1/16"},
        {3 * kPointsPerInch, settings::kFractionalInch, 3, 1, 1, "3 "},
        {0, settings::kFractionalInch, 3, 1, 1, "0 "},
        {0.99 * kPointsPerInch, settings::kFractionalInch, 3, 1, 1, "1 "},
        {2.01 * kPointsPerInch, settings::kFractionalInch, 3, 1, 1, "2 "},
        {1000 * kPointsPerInch, settings::kFractionalInch, 3, 1, 1, "1 000 "},
        // 1 inch drawn at 1:4 reads 4 inches.
        {kPointsPerInch, settings::kFractionalInch, 3, 1, 4, "4 "},
        {14.15625 * kPointsPerInch, settings::kFeetAndInches, 3, 1, 1, "1 \x92 2 5/32"},
        {2.15625 * kPointsPerInch, settings::kFeetAndInches, 3, 1, 1, "2 5/32"},
        {0.15625 * kPointsPerInch, settings::kFeetAndInches, 3, 1, 1, " 5/32"},
        {12 * kPointsPerInch, settings::kFeetAndInches, 3, 1, 1, "1 \x92 0 "},
        {0, settings::kFeetAndInches, 3, 1, 1, " "},
        // Rounding up to whole inches carries into the feet.
        {11.99 * kPointsPerInch, settings::kFeetAndInches, 3, 1, 1, "1 \x92 0 "},
        {25.5 * kPointsPerInch, settings::kFeetAndInches, 3, 1, 1, "2 \x92 1 1/2"},
    };
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.points << " pt in unit " << c.unit);
        settings::SetScale(S(), c.scaleNumerator, c.scaleDenominator);
        EXPECT_EQ(FormatLength(c.points, c.unit, c.decimals, false, false), c.expected);
        EXPECT_EQ(FormatLength(c.points, c.unit, c.decimals, false, true),
                  std::string(c.expected) + " \"");
    }
}

// Would catch the second measure ignoring its own separator, in decimal units and in the
// thousands of the inch fractions alike.
TEST_F(UnitsTest, SecondMeasureUsesItsOwnSeparator) {
    S().decimalSeparator = ',';
    S().secondDecimalSeparator = '.';
    S().thousandsSeparator = settings::kThousandsApostrophe;
    EXPECT_EQ(FormatLength(72, settings::kMillimetre, 1, true, true), "25.4 mm");
    EXPECT_EQ(FormatLength(1000.5 * kPointsPerInch, settings::kFractionalInch, 0, true, false),
              "1'000 1/2");
}

// Would catch the no-measure unit (or a corrupt code) producing a number, and a zero scale
// producing digits of an infinity.
TEST_F(UnitsTest, WritesNothingWithoutAUnitAndAQuestionMarkWithoutAScale) {
    EXPECT_EQ(measure::ConvertLength(72, settings::kNoMeasure), 0.0f);
    EXPECT_EQ(FormatLength(72, settings::kNoMeasure, 2, false, true), "");
    EXPECT_EQ(FormatLength(72, 11, 2, false, true), "");
    EXPECT_EQ(FormatLength(72, -1, 2, false, true), "");
    S().scaleFactor = 0;
    EXPECT_EQ(FormatLength(72, settings::kMillimetre, 2, false, true), "? mm");
    EXPECT_EQ(FormatLength(72, settings::kFeetAndInches, 2, false, false), "?");
}

struct AngleCase {
    float radians;
    bool reflex;
    std::int32_t precision;
    std::int32_t showUnit;
    const char* expected;
};

// Would catch the reflex angle taken from the signed angle (giving 450 for −π/2), the sign
// kept in the degrees, the degree sign written when the unit is hidden, or the precision
// not applied.
TEST_F(UnitsTest, WritesAnglesInDegrees) {
    const AngleCase cases[] = {
        {kHalfPi, false, 1, 1, "90\xB0"},   {kHalfPi, true, 1, 1, "270\xB0"},
        {-kHalfPi, false, 1, 1, "90\xB0"},  {-kHalfPi, true, 1, 1, "270\xB0"},
        {kHalfPi, false, 1, 0, "90"},       {1.0f, false, 2, 1, "57,3\xB0"},
        {1.0f, false, 4, 1, "57,2958\xB0"}, {0.0f, true, 0, 1, "360\xB0"},
    };
    for (const AngleCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.radians << (c.reflex ? " reflex" : ""));
        S().precision = c.precision;
        S().showUnit = c.showUnit;
        EXPECT_EQ(FormatAngle(c.radians, c.reflex), c.expected);
    }
}

struct AreaCase {
    double squarePoints;
    std::int32_t unit;
    std::int32_t precision;
    double scaleNumerator;
    double scaleDenominator;
    const char* expected;
};

// Would catch an area divided by the scale instead of its square, a wrong factor or mark
// of any unit, the fractional inch units giving fractions, and the mark dropped when the
// unit is hidden.
TEST_F(UnitsTest, WritesAreasInSquareUnits) {
    S().showUnit = 0;
    const AreaCase cases[] = {
        {5184, settings::kDecimalInch, 1, 1, 1, "1 po2"},
        {5184, settings::kFractionalInch, 1, 1, 1, "1 po2"},
        {5184, settings::kFeetAndInches, 1, 1, 1, "1 po2"},
        {7776, settings::kFractionalInch, 2, 1, 1, "1,5 po2"},
        {5184, settings::kCentimetre, 4, 1, 1, "6,4516 cm2"},
        {5184, settings::kMillimetre, 2, 1, 1, "645,16 mm2"},
        {5184, settings::kMicrometre, 0, 1, 1, "645 160 000 \xB5m2"},
        {5184, settings::kPoint, 1, 1, 1, "5 184 pt2"},
        {5184, settings::kPoint, 1, 1, 10, "518 400 pt2"},
        {5184, settings::kPoint, 1, 2, 1, "1 296 pt2"},
        {5184, settings::kPica, 1, 1, 1, "36 pc2"},
        {5184, settings::kMetre, 4, 1, 1, "0,0006 m2"},
        {5184e12, settings::kKilometre, 3, 1, 1, "645,16 km2"},
        {5184, settings::kKilometre, 6, 1, 1, "0 km2"},
    };
    for (const AreaCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.squarePoints << " pt2 in unit " << c.unit);
        S().unitKind = c.unit;
        S().precision = c.precision;
        settings::SetScale(S(), c.scaleNumerator, c.scaleDenominator);
        EXPECT_EQ(FormatArea(c.squarePoints), c.expected);
    }
    S().unitKind = settings::kNoMeasure;
    EXPECT_EQ(FormatArea(5184), "");
}

// Would catch a distance or conversion computed in float (the last digits of measures
// follow from the double computation), and a double too large for a float converted
// without care.
TEST(RealMath, ComputesInDoubleAndStoresAsFloat) {
    EXPECT_EQ(measure::PointDistance({1e20f, 0}, {-1e20f, 0}), 2e20f);
    EXPECT_EQ(measure::PointDistance({3e38f, 0}, {-3e38f, 0}),
              std::numeric_limits<float>::infinity());
    EXPECT_EQ(measure::RadiansToDegrees(kHalfPi), 90.0f);
    EXPECT_EQ(measure::StoreAsFloat(-1e300), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(measure::StoreAsFloat(std::numeric_limits<float>::max() * 1.00000001),
              std::numeric_limits<float>::max());
    EXPECT_EQ(measure::RoundHalfAwayFromZero(-2.5), -3.0);
    EXPECT_EQ(measure::RoundHalfAwayFromZero(2.5), 3.0);
}

}  // namespace
