// The three number formatters behind every number the user reads and every number of the
// preferences file. They build the digits one by one, with 32-bit float intermediates, so
// that the rounding, the separators and the trimming of zeros are always the same and
// decide the last digit the same way in borderline cases.
//
// All texts are single-byte Windows-1252 (here plain ASCII).
#pragma once

#include <cstdint>
#include <string>

namespace measure {

// The number of decimals the formatters accept; a wider request is clamped to this range.
constexpr int kMinDecimals = 0;
constexpr int kMaxDecimals = 6;

// The text of a value that cannot be written as digits (NaN, an infinity, or a value whose
// rounding overflows a float). Degenerate geometry produces such values.
constexpr const char* kNotANumberText = "?";

// A measure number: the value rounded half away from zero to `decimals` decimals (clamped to
// 0..6), its integer digits grouped by three with `thousandsSeparator` (0 comma, 1 space,
// 2 apostrophe, 3 or any other value none), `decimalSeparator` before the decimals, trailing
// zeros of the decimals removed and a separator left at the end removed. A negative value
// gets a leading '-' even when it rounds to zero ("-0"). Examples: 12.345 at 2 decimals gives
// "12,35"; 1999.999 at 2 gives "2 000"; 12.0 at 1 gives "12".
//
// The integer digits are exactly those of the rounded float, however large: 32485384 gives
// "32 485 384".
std::string FormatMeasureNumber(float value, int decimals, char decimalSeparator,
                                std::int8_t thousandsSeparator);

// A tolerance value: four decimals, grouped and trimmed as FormatMeasureNumber, never
// signed. A negative value, which the settings never hold, is written as its magnitude.
// 0.25 gives "0,25", 2 gives "2", 1234.5 gives "1 234,5".
std::string FormatToleranceNumber(float value, char decimalSeparator,
                                  std::int8_t thousandsSeparator);

// A number of the preferences file: signed, rounded to `decimals` decimals (clamped to 0..6),
// no grouping and every decimal kept. 1 at 2 decimals gives "1,00", -0.5 at 1 gives "-0,5".
std::string FormatPlainNumber(float value, int decimals, char decimalSeparator);

// The same formatters with the separators of the live settings. The measure number uses
// `secondDecimalSeparator` when `secondMeasure` is set, else `decimalSeparator`; the
// tolerance and plain numbers always use `decimalSeparator`.
std::string FormatMeasureNumber(float value, int decimals, bool secondMeasure);
std::string FormatToleranceNumber(float value);
std::string FormatPlainNumber(float value, int decimals);

// The text of tolerance `which` (1, else 2) of the live settings: its value by
// FormatToleranceNumber with the live separators. Dimensions, the panel and its main page
// all show this text, whether the value came from the file, the panel or the defaults.
std::string ToleranceText(int which);

}  // namespace measure
