#include "emulator/core/Decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace emulator {

std::string FormatDecimal(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "0";
    }
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::fixed, std::clamp(decimals, 0, 17));
    if (ec != std::errc()) {
        return "0";
    }
    std::string text(buffer, end);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') {
            text.pop_back();
        }
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text == "-0" ? "0" : text;
}

}  // namespace emulator
