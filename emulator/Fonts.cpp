#include "emulator/Fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>

namespace emulator {

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
    FcConfigDestroy(config);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

}  // namespace emulator
