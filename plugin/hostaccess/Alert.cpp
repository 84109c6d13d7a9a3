#include "plugin/hostaccess/Alert.h"

#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"

ASErr ShowAlert(const char* windows1252) {
    if (sAIUser == nullptr) {
        return 0;
    }
    return sAIUser->MessageAlert(text::ToHostUnicode(windows1252).c_str());
}
