// The three number formatters: rounding of borderline floats, grouping with every
// separator, trimming of zeros, the sign, and values that cannot be written as digits.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "plugin/measure/NumberFormat.h"
#include "plugin/settings/DimensionSettings.h"

namespace {

using measure::FormatMeasureNumber;
using measure::FormatPlainNumber;
using measure::FormatToleranceNumber;

constexpr std::int8_t kComma = settings::kThousandsComma;
constexpr std::int8_t kSpace = settings::kThousandsSpace;
constexpr std::int8_t kApostrophe = settings::kThousandsApostrophe;
constexpr std::int8_t kNone = settings::kThousandsNone;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

struct MeasureCase {
    float value;
    int decimals;
    char decimalSeparator;
    std::int8_t thousandsSeparator;
    const char* expected;
};

// Each row guards a digit that a plainer implementation gets wrong: rounding in double
// instead of float, rounding half to even, no half-unit bias before the digit extraction
// (12.35 held as 12.3499999 would read 12,34), the carry of a rounding into a new
// thousands group, the sign taken after rounding (-0.004 would lose its '-'), grouping
// from the left, and trimming that eats the integer's zeros.
TEST(FormatMeasureNumber, WritesEveryBorderlineValueDigitForDigit) {
    const MeasureCase cases[] = {
        {12.345f, 2, ',', kSpace, "12,35"},
        {12.35f, 2, ',', kSpace, "12,35"},
        {0.05f, 1, ',', kSpace, "0,1"},
        {99.996f, 2, ',', kSpace, "100"},
        {1999.999f, 2, ',', kSpace, "2 000"},
        {1000.0f, 0, ',', kSpace, "1 000"},
        {999.0f, 0, ',', kSpace, "999"},
        {2.5f, 0, ',', kSpace, "3"},
        {-2.5f, 0, ',', kSpace, "-3"},
        {0.004f, 2, ',', kSpace, "0"},
        {-0.004f, 2, ',', kSpace, "-0"},
        {1234567.0f, 2, ',', kSpace, "1 234 567"},
        {1234567.0f, 2, '.', kComma, "1,234,567"},
        {1234567.0f, 2, ',', kApostrophe, "1'234'567"},
        {1234567.0f, 2, ',', kNone, "1234567"},
        {0.1f, 6, ',', kSpace, "0,1"},
        {123.456789f, 6, ',', kSpace, "123,456787"},
        // The rounded count of millionths is held as a float before it is scaled back.
        {187.073944f, 6, ',', kSpace, "187,073959"},
        // The float of 1.15 lies below it: without the half-unit bias it reads 1,14.
        {1.15f, 2, ',', kSpace, "1,15"},
        {12.5f, 1, '.', kSpace, "12.5"},
        {12.0f, 1, ',', kSpace, "12"},
        // Group sizes of 2 and 3 at the left, and zeros inside the integer kept.
        {12345.0f, 0, ',', kSpace, "12 345"},
        {123456.0f, 0, ',', kSpace, "123 456"},
        {100000.0f, 3, ',', kSpace, "100 000"},
        {-1234.5f, 1, '.', kComma, "-1,234.5"},
        // Only trailing zeros go; a zero between decimals stays.
        {10.05f, 3, ',', kSpace, "10,05"},
        {0.0f, 3, ',', kSpace, "0"},
        // A negative zero is not below zero, so it has no sign.
        {-0.0f, 2, ',', kSpace, "0"},
        // An unknown separator code groups nothing.
        {1234567.0f, 0, ',', 7, "1234567"},
        // The digit count comes from a float logarithm, which just below 10^7 counts one
        // digit too many: no leading zero may show.
        {9999999.0f, 0, ',', kSpace, "9 999 999"},
        {9999995.0f, 0, ',', kSpace, "9 999 995"},
        {99999.0f, 0, ',', kSpace, "99 999"},
        {16777215.0f, 0, ',', kSpace, "16 777 215"},
        // Floats beyond 2^24 are even integers, written with every digit as it is.
        {32485384.0f, 0, ',', kSpace, "32 485 384"},
        {100000000.0f, 2, ',', kSpace, "100 000 000"},
    };
    for (const MeasureCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " with " << c.decimals << " decimals");
        EXPECT_EQ(
            FormatMeasureNumber(c.value, c.decimals, c.decimalSeparator, c.thousandsSeparator),
            c.expected);
    }
}

// Would catch decimals outside 0..6 reaching the powers of ten or the digit loop: a
// negative count must not index backwards and a huge one must not write past anything.
TEST(FormatMeasureNumber, ClampsTheDecimalsToZeroThroughSix) {
    EXPECT_EQ(FormatMeasureNumber(2.5f, -3, ',', kSpace), "3");
    EXPECT_EQ(FormatMeasureNumber(1.2345678f, 7, ',', kSpace), "1,234568");
    EXPECT_EQ(FormatMeasureNumber(1.2345678f, 1000, ',', kSpace), "1,234568");
    EXPECT_EQ(FormatPlainNumber(1.0f, 99, ','), "1,000000");
}

// Would catch non-finite values from degenerate geometry, or a rounding that overflows the
// float, being turned into digits (an unbounded digit count, an undefined conversion).
TEST(FormatMeasureNumber, WritesAQuestionMarkForWhatHasNoDigits) {
    for (float value : {kNaN, kInfinity, -kInfinity}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(FormatMeasureNumber(value, 2, ',', kSpace), "?");
        EXPECT_EQ(FormatToleranceNumber(value, ',', kSpace), "?");
        EXPECT_EQ(FormatPlainNumber(value, 2, ','), "?");
    }
    // 10^6 times the largest float no longer fits a float once rounded.
    EXPECT_EQ(FormatMeasureNumber(std::numeric_limits<float>::max(), 6, ',', kSpace), "?");
    // With no decimals it still does: 39 digits, grouped.
    EXPECT_EQ(FormatMeasureNumber(std::numeric_limits<float>::max(), 0, ',', kNone).size(), 39u);
}

struct ToleranceCase {
    float value;
    char decimalSeparator;
    std::int8_t thousandsSeparator;
    const char* expected;
};

// Would catch a tolerance written with the measure's precision instead of four decimals,
// trailing zeros or a dangling separator left in, the grouping skipped, or a minus sign
// written (tolerances carry their own sign character).
TEST(FormatToleranceNumber, WritesFourDecimalsTrimmed) {
    const ToleranceCase cases[] = {
        {0.25f, ',', kSpace, "0,25"},
        {0.1f, ',', kSpace, "0,1"},
        {2.0f, ',', kSpace, "2"},
        {1234.5f, ',', kSpace, "1 234,5"},
        {0.125f, ',', kSpace, "0,125"},
        {0.0001f, ',', kSpace, "0,0001"},
        {0.00006f, ',', kSpace, "0,0001"},
        // The float of 0.00005 lies just below it, so it rounds down.
        {0.00005f, ',', kSpace, "0"},
        {0.12f, '.', kComma, "0.12"},
        {12345.6789f, '.', kApostrophe, "12'345.6787"},
        {-0.25f, ',', kSpace, "0,25"},
    };
    for (const ToleranceCase& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(FormatToleranceNumber(c.value, c.decimalSeparator, c.thousandsSeparator),
                  c.expected);
    }
}

struct PlainCase {
    float value;
    int decimals;
    char decimalSeparator;
    const char* expected;
};

// The preferences file reads these numbers back: a grouping separator, a trimmed decimal or
// a wrong last digit would change what the reader sees, and a lost sign would flip an offset.
TEST(FormatPlainNumber, KeepsEveryDecimalAndNeverGroups) {
    const PlainCase cases[] = {
        {1.0f, 2, ',', "1,00"},
        {-0.5f, 1, ',', "-0,5"},
        {150.0f, 0, ',', "150"},
        {1234567.0f, 0, ',', "1234567"},
        {12.5f, 2, '.', "12.50"},
        {-5.0f, 0, ',', "-5"},
        {-0.004f, 2, ',', "-0,00"},
        {2.345f, 2, ',', "2,35"},
        // A scale of 1:32,485,384 must read back as it was written.
        {32485384.0f, 2, ',', "32485384,00"},
    };
    for (const PlainCase& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(FormatPlainNumber(c.value, c.decimals, c.decimalSeparator), c.expected);
    }
}

class SettingsFormatters : public testing::Test {
  protected:
    void SetUp() override {
        saved_ = settings::Settings();
        settings::SetDefaults(settings::Settings(), "Arial");
    }
    void TearDown() override { settings::Settings() = saved_; }

  private:
    settings::DimensionSettings saved_{};
};

// Would catch the second measure written with the main separator (or the reverse), and
// the tolerance or the file number taking the second measure's separator.
TEST_F(SettingsFormatters, EachTextTakesItsOwnSeparators) {
    settings::DimensionSettings& s = settings::Settings();
    s.decimalSeparator = ',';
    s.secondDecimalSeparator = '.';
    s.thousandsSeparator = kApostrophe;
    EXPECT_EQ(FormatMeasureNumber(12.5f, 1, true), "12.5");
    EXPECT_EQ(FormatMeasureNumber(12.5f, 1, false), "12,5");
    EXPECT_EQ(FormatToleranceNumber(1234.5f), "1'234,5");
    EXPECT_EQ(FormatPlainNumber(1234.5f, 2), "1234,50");

    s.decimalSeparator = '.';
    s.secondDecimalSeparator = ',';
    s.thousandsSeparator = kComma;
    EXPECT_EQ(FormatMeasureNumber(1234.5f, 1, false), "1,234.5");
    EXPECT_EQ(FormatToleranceNumber(0.25f), "0.25");
    EXPECT_EQ(FormatPlainNumber(0.5f, 1), "0.5");
}

}  // namespace
