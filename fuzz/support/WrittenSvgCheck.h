// What every SVG file the program writes must be: well-formed XML whose numbers are all
// finite, so that any reader opens it.
#pragma once

#include <string>

namespace fuzzing {

// Empty when `text` is well-formed XML (no attribute given twice), holds no character XML forbids,
// and no attribute holds a number that is not finite ("nan", "inf", or digits beyond the range of a
// double); otherwise what is wrong, with the offending element and attribute. Without
// `numbers` the numbers are not looked at (a file written from arbitrary input keeps the
// words of the input that it does not read).
std::string ProblemInWrittenSvg(const std::string& text, bool numbers = true);

}  // namespace fuzzing
