// The font list kept between runs: a cache is trusted only whole and only while nothing it
// watches has changed, so that a font installed or a configuration edited is seen at once.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "emulator/fonts/FontListCache.h"

namespace {

using emulator::FontListRecord;

FontListRecord Sample() {
    FontListRecord record;
    record.environment = {{"FONTCONFIG_FILE", ""}, {"HOME", "/home/anne"}};
    record.watched = {{"/usr/share/fonts", 1700000000123456789LL},
                      {"/home/anne/.fonts", std::nullopt}};
    record.defaultSansSerif = "DejaVuSans";
    record.fonts = {"DejaVuSans", "DejaVuSans-Bold", "DejaVuSerif"};
    return record;
}

// Would catch a cache that does not read back what was written, or that trusts a list after
// a font folder changed, a watched folder appeared, or the configuration's environment moved.
TEST(FontListCache, ReadsBackAndIsTrustedOnlyWhileNothingChanged) {
    const FontListRecord record = Sample();
    const std::string text = emulator::FontListCacheText(record);
    const auto read = emulator::ReadFontListCache(text);
    ASSERT_TRUE(read.has_value()) << text;
    EXPECT_EQ(read->fonts, record.fonts);
    EXPECT_EQ(read->defaultSansSerif, "DejaVuSans");
    EXPECT_EQ(read->watched, record.watched);

    std::map<std::string, std::optional<long long>> now = {
        {"/usr/share/fonts", 1700000000123456789LL}, {"/home/anne/.fonts", std::nullopt}};
    const auto stamps = [&now](const std::string& path) { return now.at(path); };
    EXPECT_TRUE(emulator::FontListStillTrue(*read, record.environment, stamps));

    now["/usr/share/fonts"] = 1700000000123456790LL;  // a font added
    EXPECT_FALSE(emulator::FontListStillTrue(*read, record.environment, stamps));
    now["/usr/share/fonts"] = 1700000000123456789LL;
    now["/home/anne/.fonts"] = 5;  // the user's font folder made
    EXPECT_FALSE(emulator::FontListStillTrue(*read, record.environment, stamps));
    now["/home/anne/.fonts"] = std::nullopt;
    EXPECT_FALSE(emulator::FontListStillTrue(
        *read, {{"FONTCONFIG_FILE", "/etc/other.conf"}, {"HOME", "/home/anne"}}, stamps));
}

// Would catch a damaged or foreign cache file taken for a font list.
TEST(FontListCache, RefusesWhatIsNotAWholeCache) {
    const std::string whole = emulator::FontListCacheText(Sample());
    const std::string cases[] = {
        "",
        "mesra-font-list 2\n" + whole.substr(whole.find('\n') + 1),
        whole.substr(0, whole.find("default")),           // cut before the fonts
        whole + "fonts\tOther\n",                         // a line not understood
        whole + "watch\t/x\t12abc\n",                     // a stamp not a number
        whole + "font\tBad\x01Name\n",                    // a control character
        "mesra-font-list 1\nwatch\t/f\t1\ndefault\tA\n",  // no fonts
        "mesra-font-list 1\ndefault\tA\nfont\tA\n",       // nothing watched
    };
    for (const std::string& text : cases) {
        EXPECT_FALSE(emulator::ReadFontListCache(text).has_value()) << text;
    }
    FontListRecord unsafe = Sample();
    unsafe.fonts.push_back("Tab\tName");
    EXPECT_EQ(emulator::FontListCacheText(unsafe), "");
}

}  // namespace
