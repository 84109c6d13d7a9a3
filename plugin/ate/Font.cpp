#include "plugin/ate/Font.h"

#include "plugin/ate/Exception.h"
#include "plugin/hostaccess/Suites.h"

namespace ATE {

ATEErr ReleaseFont(FontRef font) {
    return sATEFont->Release(font);
}

Font Font::Named(const std::string& name) {
    AIFontKey key = nullptr;
    Check(sAIFont->FindFont(name.c_str(), &key));
    FontRef font = nullptr;
    Check(sAIFont->FontFromFontKey(key, &font));
    return Font(font);
}

}  // namespace ATE
