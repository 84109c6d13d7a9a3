// The plug-in's Windows-1252 texts and their conversion to the host's Unicode, checked
// against the emulated host's own, independent conversion.
#include <gtest/gtest.h>

#include "emulator/core/Unicode.h"
#include "plugin/hostaccess/WindowsText.h"

namespace {

TEST(WindowsText, LiteralsAreConvertedAtCompileTime) {
    EXPECT_STREQ("Outil Bézier"_w1252, "Outil B\xE9zier");
    EXPECT_STREQ("À propos des Vorn-Outils…"_w1252, "\xC0 propos des Vorn-Outils\x85");
    EXPECT_STREQ("5’ 3\""_w1252, "5\x92 3\"");
    EXPECT_STREQ("µm ° ²"_w1252, "\xB5m \xB0 \xB2");
    EXPECT_STREQ("€"_w1252, "\x80");
}

TEST(WindowsText, EveryByteSurvivesTheTripThroughTheHost) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    const std::u16string unicode = text::ToHostUnicode(all);
    ASSERT_EQ(unicode.size(), all.size());
    EXPECT_EQ(unicode[0x80 - 1], u'€');
    EXPECT_EQ(unicode[0x92 - 1], u'’');
    EXPECT_EQ(unicode[0xE9 - 1], u'é');
    EXPECT_EQ(emulator::Windows1252FromUtf8(emulator::Utf8FromUtf16(unicode)), all);
    EXPECT_EQ(emulator::Utf8FromWindows1252(all), emulator::Utf8FromUtf16(unicode));
}

}  // namespace
