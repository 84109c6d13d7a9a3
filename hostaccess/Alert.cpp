#include "frame/Alert.h"

#include "frame/Suites.h"
#include "frame/WindowsText.h"

ASErr ShowAlert(const char* windows1252) {
    if (sAIUser == nullptr) {
        return 0;
    }
    return sAIUser->MessageAlert(text::ToHostUnicode(windows1252).c_str());
}
