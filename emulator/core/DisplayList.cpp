#include "emulator/core/DisplayList.h"

#include "emulator/core/FontFaces.h"
#include "emulator/core/TextLayout.h"

namespace emulator {

double AnnotationFontSize(ASInt32 preset) {
    switch (preset) {
        case 1:
            return 11;
        case 2:
            return 13;
        default:
            return 9;
    }
}

const std::string& AnnotationFontName() {
    // Looked up once: fontconfig reads its configuration and the font list to answer.
    static const std::string name = DefaultSansSerifFont();
    return name;
}

double AnnotationTextWidth(ASInt32 preset, std::u16string_view text) {
    return LineWidth(AnnotationFontName(), AnnotationFontSize(preset), 0, text);
}

}  // namespace emulator
