// Reading back the number a dimension's text shows, in every form the plug-in writes:
// decimal numbers with their separators, inch fractions, feet and inches, the radius and
// diameter symbols, the unit marks, angles in degrees, and a second measure on a line of
// its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace app {

struct ShownMeasure {
    enum class Quantity { Length, Angle };
    Quantity quantity = Quantity::Length;
    // The number as written, and its value in points (lengths) or degrees (angles) when the
    // text names its unit; 0 when it does not (no unit mark shown).
    double number = 0;
    double unitFactor = 0;
    // Half the step of the text's last digit, in the number's own unit: the text stands for
    // every value within it.
    double halfStep = 0;
};

// The measure one line of a dimension's text (UTF-8) shows; nothing for a line that holds
// no measure ("?", an empty line, words).
std::optional<ShownMeasure> ReadMeasureLine(std::string_view line);

// True when the text a dimension shows (`shown`) still tells the measure that the text
// `recomputed` tells, both UTF-8 with their lines: equal texts, or, where the two were
// written in different units or precisions, numbers within the rounding of both. A line
// that cannot be read must be equal.
bool ShowsSameMeasure(const std::string& shown, const std::string& recomputed);

}  // namespace app
