#include "ate/Font.h"

#include "ate/Exception.h"
#include "hostaccess/Suites.h"

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
