#include "plugin/measure/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "plugin/measure/RealMath.h"
#include "plugin/settings/DimensionSettings.h"

namespace measure {

namespace {

// The decimals of a tolerance value.
constexpr int kToleranceDecimals = 4;

// Integer digits are grouped from the right by this many.
constexpr std::size_t kDigitsPerGroup = 3;

// Room for the integer digits of the largest float (39 digits).
constexpr std::size_t kIntegerDigitsRoom = 48;

// base^exponent by repeated squaring in double; a negative exponent gives the reciprocal.
double PowerBySquaring(double base, int exponent) {
    const bool reciprocal = exponent < 0;
    unsigned n = reciprocal ? static_cast<unsigned>(-exponent) : static_cast<unsigned>(exponent);
    double result = 1.0;
    while (n != 0) {
        if ((n & 1u) != 0) {
            result *= base;
        }
        base *= base;
        n >>= 1;
    }
    return reciprocal ? 1.0 / result : result;
}

double PowerOfTen(int exponent) {
    return PowerBySquaring(10.0, exponent);
}
double PowerOfTenth(int exponent) {
    return PowerBySquaring(0.1, exponent);
}

// The character of a digit value, by adding the code of '0' and truncating.
char DigitChar(float digit) {
    return static_cast<char>(static_cast<int>(digit + 48.0));
}

int ClampDecimals(int decimals) {
    return std::clamp(decimals, kMinDecimals, kMaxDecimals);
}

// A non-negative value rounded to a number of decimals, as digit texts.
struct Digits {
    std::string integer;   // at least one digit
    std::string decimals;  // exactly as many digits as decimals were asked for
};

// Rounds `magnitude` (>= 0, finite) half away from zero to `decimals` decimals and extracts
// its digits. Every intermediate is held as a float, as the last digit of borderline values
// depends on it. Returns false when the rounded value overflows a float.
bool SplitDigits(float magnitude, int decimals, Digits& out) {
    const double rounded = RoundHalfAwayFromZero(PowerOfTen(decimals) * magnitude);
    const float value = StoreAsFloat(PowerOfTenth(decimals) * StoreAsFloat(rounded));
    if (!std::isfinite(value)) {
        return false;
    }
    const float integer = std::floor(value);
    // Half a unit of the last decimal keeps the digit extraction below from reading
    // 1.1499999 (the float of 1.15) as 1,14.
    float fraction = StoreAsFloat(5.0 * PowerOfTenth(decimals + 1) + value - integer);

    // The integer part's exact digits (without the sign of a zero rounded from below): a
    // float holds its integer part exactly, while tenths taken as floats lose the last
    // digits from a few million up (32485384 would read 32485385, and a preferences file
    // would drift at each save).
    char buffer[kIntegerDigitsRoom];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(std::fabs(integer)),
                      std::chars_format::fixed, 0);
    if (written.ec != std::errc()) {
        return false;
    }
    out.integer.assign(buffer, written.ptr);

    out.decimals.clear();
    for (int k = 0; k < decimals; ++k) {
        const float digit = StoreAsFloat(std::floor(fraction * 10.0));
        fraction = StoreAsFloat(fraction * 10.0 - digit);
        out.decimals.push_back(DigitChar(digit));
    }
    return true;
}

// The integer digits with a separator between groups of three from the right; codes other
// than comma (0), space (1) and apostrophe (2) leave them ungrouped.
std::string Grouped(const std::string& digits, std::int8_t thousandsSeparator) {
    char separator = 0;
    switch (thousandsSeparator) {
        case settings::kThousandsComma:
            separator = ',';
            break;
        case settings::kThousandsSpace:
            separator = ' ';
            break;
        case settings::kThousandsApostrophe:
            separator = '\'';
            break;
        default:
            return digits;
    }
    if (digits.size() <= kDigitsPerGroup) {
        return digits;
    }
    std::string grouped;
    std::size_t groupSize = digits.size() % kDigitsPerGroup;
    if (groupSize == 0) {
        groupSize = kDigitsPerGroup;
    }
    grouped.append(digits, 0, groupSize);
    for (std::size_t i = groupSize; i < digits.size(); i += kDigitsPerGroup) {
        grouped.push_back(separator);
        grouped.append(digits, i, kDigitsPerGroup);
    }
    return grouped;
}

// The integer text, then the decimals without their trailing zeros; no separator when no
// decimal is left.
std::string TrimmedNumber(const std::string& integer, std::string decimals, char decimalSeparator) {
    while (!decimals.empty() && decimals.back() == '0') {
        decimals.pop_back();
    }
    return decimals.empty() ? integer : integer + decimalSeparator + decimals;
}

}  // namespace

std::string FormatMeasureNumber(float value, int decimals, char decimalSeparator,
                                std::int8_t thousandsSeparator) {
    if (!std::isfinite(value)) {
        return kNotANumberText;
    }
    // The sign is taken before rounding, so a small negative value is written "-0".
    const bool negative = value < 0.0f;
    const float magnitude = negative ? StoreAsFloat(value * -1.0) : value;
    Digits digits;
    if (!SplitDigits(magnitude, ClampDecimals(decimals), digits)) {
        return kNotANumberText;
    }
    const std::string text = TrimmedNumber(Grouped(digits.integer, thousandsSeparator),
                                           digits.decimals, decimalSeparator);
    return negative ? "-" + text : text;
}

std::string FormatToleranceNumber(float value, char decimalSeparator,
                                  std::int8_t thousandsSeparator) {
    if (!std::isfinite(value)) {
        return kNotANumberText;
    }
    Digits digits;
    if (!SplitDigits(std::fabs(value), kToleranceDecimals, digits)) {
        return kNotANumberText;
    }
    return TrimmedNumber(Grouped(digits.integer, thousandsSeparator), digits.decimals,
                         decimalSeparator);
}

std::string FormatPlainNumber(float value, int decimals, char decimalSeparator) {
    if (!std::isfinite(value)) {
        return kNotANumberText;
    }
    const bool negative = value < 0.0f;
    const float magnitude = negative ? StoreAsFloat(value * -1.0) : value;
    Digits digits;
    if (!SplitDigits(magnitude, ClampDecimals(decimals), digits)) {
        return kNotANumberText;
    }
    std::string text = negative ? "-" + digits.integer : digits.integer;
    if (!digits.decimals.empty()) {
        text += decimalSeparator;
        text += digits.decimals;
    }
    return text;
}

std::string FormatMeasureNumber(float value, int decimals, bool secondMeasure) {
    const settings::DimensionSettings& s = settings::Settings();
    return FormatMeasureNumber(value, decimals,
                               secondMeasure ? s.secondDecimalSeparator : s.decimalSeparator,
                               s.thousandsSeparator);
}

std::string FormatToleranceNumber(float value) {
    const settings::DimensionSettings& s = settings::Settings();
    return FormatToleranceNumber(value, s.decimalSeparator, s.thousandsSeparator);
}

std::string ToleranceText(int which) {
    const settings::DimensionSettings& s = settings::Settings();
    return FormatToleranceNumber(
        static_cast<float>(which == 1 ? s.tolerance1Value : s.tolerance2Value));
}

std::string FormatPlainNumber(float value, int decimals) {
    return FormatPlainNumber(value, decimals, settings::Settings().decimalSeparator);
}

}  // namespace measure
