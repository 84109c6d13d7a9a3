#include "app/MeasureReading.h"

#include <cmath>
#include <utility>
#include <vector>

namespace app {
namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kPointsPerMm = 72.0 / 25.4;

bool StartsWith(std::string_view text, std::string_view part) {
    return text.substr(0, part.size()) == part;
}
bool EndsWith(std::string_view text, std::string_view part) {
    return text.size() >= part.size() && text.substr(text.size() - part.size()) == part;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A whole number of digits only.
std::optional<double> WholeNumber(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0;
    for (const char c : text) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

// A decimal number with the separators the plug-in writes: thousands grouped by spaces
// (plain or no-break), apostrophes, points or commas, and a decimal point or comma. Gives
// the value and the number of decimals.
std::optional<std::pair<double, int>> DecimalNumber(std::string_view text) {
    bool negative = false;
    if (StartsWith(text, "-")) {
        negative = true;
        text.remove_prefix(1);
    }
    std::string digits;  // the digits, with '.' for the decimal separator
    std::string marks;   // the separators in order
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            digits += c;
        } else if (c == ',' || c == '.') {
            marks += c;
            digits += c;
        } else if (c == ' ' || c == '\'') {
            continue;
        } else if (text.substr(i, 2) == "\xC2\xA0") {
            ++i;
        } else if (text.substr(i, 3) == "\xE2\x80\xAF" || text.substr(i, 3) == "\xE2\x80\x99") {
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    if (digits.empty() || !IsDigit(digits.front()) || !IsDigit(digits.back())) {
        return std::nullopt;
    }
    // The decimal separator is the last mark when it is the only one of its kind; a mark
    // given several times groups thousands.
    char decimal = 0;
    if (!marks.empty()) {
        const char last = marks.back();
        if (marks.find(last) == marks.size() - 1) {
            decimal = last;
        }
    }
    double value = 0;
    int decimals = 0;
    bool after = false;
    for (const char c : digits) {
        if (c == decimal) {
            after = true;
        } else if (IsDigit(c)) {
            value = value * 10 + (c - '0');
            decimals += after ? 1 : 0;
        }
    }
    value /= std::pow(10.0, decimals);
    return std::pair{negative ? -value : value, decimals};
}

// "W N/D", " N/D" or "W": inches with a binary fraction.
std::optional<double> InchFraction(std::string_view text) {
    text = Trimmed(text);
    double whole = 0;
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) {
        return WholeNumber(text);
    }
    const std::size_t space = text.rfind(' ', slash);
    if (space != std::string_view::npos) {
        const auto w = WholeNumber(Trimmed(text.substr(0, space)));
        if (!w) {
            return std::nullopt;
        }
        whole = *w;
    }
    const std::size_t start = space == std::string_view::npos ? 0 : space + 1;
    const auto numerator = WholeNumber(text.substr(start, slash - start));
    const auto denominator = WholeNumber(text.substr(slash + 1));
    if (!numerator || !denominator || *denominator == 0) {
        return std::nullopt;
    }
    return whole + *numerator / *denominator;
}

struct UnitMark {
    std::string_view mark;
    double pointsPerUnit;
};

// The marks after a decimal length, longest first where one ends another.
constexpr UnitMark kMarks[] = {
    {" \xC2\xB5m", kPointsPerMm / 1000},
    {" mm", kPointsPerMm},
    {" cm", kPointsPerMm * 10},
    {" km", kPointsPerMm * 1e6},
    {" m", kPointsPerMm * 1000},
    {" pt", 1},
    {" pc", 12},
    {" \"", kPointsPerInch},
};

}  // namespace

std::optional<ShownMeasure> ReadMeasureLine(std::string_view line) {
    line = Trimmed(line);
    // The radius and diameter symbols, before or after.
    for (std::string_view symbol : {std::string_view("R "), std::string_view("\xC3\x98 ")}) {
        if (StartsWith(line, symbol)) {
            line.remove_prefix(symbol.size());
        }
    }
    for (std::string_view symbol : {std::string_view(" R"), std::string_view(" \xC3\x98")}) {
        if (EndsWith(line, symbol)) {
            line.remove_suffix(symbol.size());
        }
    }
    ShownMeasure shown;
    if (EndsWith(line, "\xC2\xB0")) {
        shown.quantity = ShownMeasure::Quantity::Angle;
        shown.unitFactor = 1;
        line.remove_suffix(2);
    } else {
        for (const UnitMark& unit : kMarks) {
            if (EndsWith(line, unit.mark)) {
                shown.unitFactor = unit.pointsPerUnit;
                line.remove_suffix(unit.mark.size());
                break;
            }
        }
    }
    // Feet and inches: "F ’ I N/D", the feet left out below a foot.
    constexpr std::string_view kFeetMark = "\xE2\x80\x99";
    if (const std::size_t feet = line.find(kFeetMark); feet != std::string_view::npos) {
        const auto f = WholeNumber(Trimmed(line.substr(0, feet)));
        const auto inches = InchFraction(line.substr(feet + kFeetMark.size()));
        if (!f || !inches) {
            return std::nullopt;
        }
        shown.number = *f * 12 + *inches;
        shown.halfStep = 1.0 / 64;
        shown.unitFactor = shown.unitFactor != 0 ? kPointsPerInch : 0;
        return shown;
    }
    if (line.find('/') != std::string_view::npos) {
        const auto inches = InchFraction(line);
        if (!inches) {
            return std::nullopt;
        }
        shown.number = *inches;
        shown.halfStep = 1.0 / 64;
        return shown;
    }
    const auto number = DecimalNumber(line);
    if (!number) {
        return std::nullopt;
    }
    shown.number = number->first;
    shown.halfStep = 0.5 * std::pow(10.0, -number->second);
    return shown;
}

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        lines.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

bool SameLine(std::string_view shown, std::string_view recomputed) {
    if (shown == recomputed) {
        return true;
    }
    const auto a = ReadMeasureLine(shown);
    const auto b = ReadMeasureLine(recomputed);
    if (!a || !b || a->quantity != b->quantity) {
        return false;
    }
    // Written the same way, the two texts round the same: different texts, different
    // measures.
    if (a->unitFactor == b->unitFactor && a->halfStep == b->halfStep) {
        return false;
    }
    // A text without its unit is taken in the unit of the other.
    const double factorA = a->unitFactor != 0 ? a->unitFactor : b->unitFactor;
    const double factorB = b->unitFactor != 0 ? b->unitFactor : a->unitFactor;
    const double scaleA = factorA != 0 ? factorA : 1;
    const double scaleB = factorB != 0 ? factorB : 1;
    const double difference = std::fabs(a->number * scaleA - b->number * scaleB);
    return difference <= a->halfStep * scaleA + b->halfStep * scaleB + 1e-9;
}

}  // namespace

bool ShowsSameMeasure(const std::string& shown, const std::string& recomputed) {
    if (shown == recomputed) {
        return true;
    }
    const std::vector<std::string_view> a = Lines(shown);
    const std::vector<std::string_view> b = Lines(recomputed);
    // A second measure shown on one side only: the first lines tell.
    const std::size_t count = a.size() == b.size() ? a.size() : 1;
    for (std::size_t i = 0; i < count; ++i) {
        if (!SameLine(a[i], b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace app
