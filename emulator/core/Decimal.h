// Numbers as the files the host writes show them (SVG, the dump, the view's annotation).
#pragma once

#include <string>

namespace emulator {

// A number in fixed notation with at most `decimals` decimals (clamped to 0 to 17) and no
// trailing zeros; "0" for -0 and for a value that is not finite.
std::string FormatDecimal(double value, int decimals = 6);

}  // namespace emulator
