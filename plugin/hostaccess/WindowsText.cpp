#include "plugin/hostaccess/WindowsText.h"

namespace text {

std::u16string ToHostUnicode(std::string_view windows1252) {
    std::u16string unicode;
    unicode.reserve(windows1252.size());
    for (char c : windows1252) {
        unicode.push_back(
            static_cast<char16_t>(CodePointFromWindows1252(static_cast<unsigned char>(c))));
    }
    return unicode;
}

}  // namespace text
