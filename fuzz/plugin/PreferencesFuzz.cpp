// Feeds arbitrary bytes to the preferences reader, as a damaged or hand-edited preferences
// file: the settings read and brought into range must write a file that reads back to the
// very same settings (what the plug-in saves, it loads unchanged). A small negative number
// is written "-0,00" and reads back as zero, written "0,00": the same value.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "plugin/preferences/PreferencesFormat.h"
#include "plugin/settings/DimensionSettings.h"

namespace {

constexpr std::int32_t kFontCount = 4;

// The file's text of the settings that `text` gives, as the plug-in loads it.
std::string Loaded(std::string_view text) {
    settings::DimensionSettings s;
    settings::SetDefaults(s, "DejaVuSans");
    settings::ReadPreferencesText(text, s);
    settings::Sanitize(s, kFontCount);
    return settings::PreferencesText(s);
}

// The text with the sign of every number line that is zero dropped.
std::string WithoutSignedZeros(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        std::string_view line(text.data() + start, end - start);
        if (line.size() > 1 && line[0] == '-' &&
            line.find_first_not_of("0,.\n", 1) == std::string_view::npos) {
            line.remove_prefix(1);
        }
        out += line;
        start = end;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string written = Loaded({reinterpret_cast<const char*>(data), size});
    if (WithoutSignedZeros(Loaded(written)) != WithoutSignedZeros(written)) {
        __builtin_trap();
    }
    return 0;
}
