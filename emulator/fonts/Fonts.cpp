#include "emulator/fonts/Fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>

namespace emulator {
namespace {

// The PostScript name of the face fontconfig picks for "sans-serif" (the system's plain
// text face), or "" when it picks none.
std::string DefaultSansSerif(FcConfig* config) {
    std::string name;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    if (pattern == nullptr) {
        return name;
    }
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
        FcChar8* value = nullptr;
        if (FcPatternGetString(match, FC_POSTSCRIPT_NAME, 0, &value) == FcResultMatch &&
            value != nullptr) {
            name = reinterpret_cast<const char*>(value);
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return name;
}

}  // namespace

std::vector<std::string> InstalledFonts() {
    std::vector<std::string> names;
    // A configuration of our own, destroyed after use: the library's shared one would stay
    // allocated until the process ends.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) {
        return names;
    }
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_POSTSCRIPT_NAME, nullptr);
    FcFontSet* fonts = FcFontList(config, pattern, objects);
    if (fonts != nullptr) {
        for (int i = 0; i < fonts->nfont; ++i) {
            FcChar8* name = nullptr;
            if (FcPatternGetString(fonts->fonts[i], FC_POSTSCRIPT_NAME, 0, &name) ==
                    FcResultMatch &&
                name != nullptr && *name != '\0') {
                names.emplace_back(reinterpret_cast<const char*>(name));
            }
        }
        FcFontSetDestroy(fonts);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    const std::string first = DefaultSansSerif(config);
    FcConfigDestroy(config);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    // The plain sans-serif face first: the first font is the measure text's default.
    if (const auto it = std::find(names.begin(), names.end(), first); it != names.end()) {
        std::rotate(names.begin(), it, it + 1);
    }
    return names;
}

std::string DefaultSansSerifFont() {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) {
        return {};
    }
    std::string name = DefaultSansSerif(config);
    FcConfigDestroy(config);
    return name;
}

}  // namespace emulator
