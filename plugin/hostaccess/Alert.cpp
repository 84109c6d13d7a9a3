#include "hostaccess/Alert.h"

#include "hostaccess/Suites.h"
#include "hostaccess/WindowsText.h"

ASErr ShowAlert(const char* windows1252) {
    if (sAIUser == nullptr) {
        return 0;
    }
    return sAIUser->MessageAlert(text::ToHostUnicode(windows1252).c_str());
}
