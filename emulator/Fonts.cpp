#include "emulator/Fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>

namespace emulator {

std::vector<std::string> InstalledFonts() {
    std::vector<std::string> names;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_POSTSCRIPT_NAME, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
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
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

}  // namespace emulator
