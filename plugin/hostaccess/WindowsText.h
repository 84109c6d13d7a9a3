// Text as the plug-in holds it: single-byte Windows-1252. Literals are written in UTF-8 in
// the sources and converted at compile time with the _w1252 suffix; text handed to the
// host is converted to its Unicode strings with ToHostUnicode.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// Windows-1252 byte of a Unicode code point, or 0 when the code page has none.
constexpr unsigned char Windows1252FromCodePoint(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<unsigned char>(c);
    }
    constexpr char32_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    for (unsigned i = 0; i < 32; ++i) {
        if (kHigh[i] != 0 && kHigh[i] == c) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return 0;
}

// Unicode code point of a Windows-1252 byte (the five unassigned bytes map to themselves,
// as the system's own conversion does).
constexpr char32_t CodePointFromWindows1252(unsigned char byte) {
    constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
}

template <std::size_t N>
struct Utf8Literal {
    char bytes[N]{};
    consteval Utf8Literal(const char (&utf8)[N]) {
        for (std::size_t i = 0; i < N; ++i) {
            bytes[i] = utf8[i];
        }
    }
};

// Converts a UTF-8 literal whose characters all exist in Windows-1252; anything else does
// not compile.
template <std::size_t N>
consteval std::array<char, N> ToWindows1252(const Utf8Literal<N>& literal) {
    std::array<char, N> out{};
    std::size_t o = 0;
    for (std::size_t i = 0; i + 1 < N;) {
        auto b = static_cast<unsigned char>(literal.bytes[i]);
        char32_t c = 0;
        int extra = 0;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F;
            extra = 2;
        } else {
            throw "characters outside Windows-1252";
        }
        for (int k = 1; k <= extra; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(literal.bytes[i + k]) & 0x3F);
        }
        i += 1 + extra;
        unsigned char w = Windows1252FromCodePoint(c);
        if (w == 0 && c != 0) {
            throw "character without a Windows-1252 byte";
        }
        out[o++] = static_cast<char>(w);
    }
    return out;
}

template <Utf8Literal L>
inline constexpr auto kWindows1252 = ToWindows1252(L);

// The host's Unicode text of a Windows-1252 string.
std::u16string ToHostUnicode(std::string_view windows1252);

}  // namespace text

// "Outil Bézier"_w1252 is the Windows-1252 text of the literal, NUL-terminated.
template <text::Utf8Literal L>
consteval const char* operator""_w1252() {
    return text::kWindows1252<L>.data();
}
