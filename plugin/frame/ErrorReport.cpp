#include "plugin/frame/ErrorReport.h"

#include <array>

#include "plugin/host/ResultCodes.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"

namespace {

constexpr ASErr kQuietErrors[] = {
    FourCharCode("FMT?"), FourCharCode("RFSE"), FourCharCode("AFTR"),
    FourCharCode("VALD"), FourCharCode("MOOT"), FourCharCode("TRSH"),
    FourCharCode("CHEK"), FourCharCode("CHIT"), FourCharCode("TLTK"),
    FourCharCode("pFls"), FourCharCode("S!Fd"), FourCharCode("!Acq"),
    FourCharCode("dsRP"), FourCharCode("skpE"), FourCharCode("DONE"),
    FourCharCode("STOP"), kQuietNumberErr,      0,
};

// The plug-in's error texts, by code. There are none: every error the user must see is
// shown, in French, by the handler that meets it.
struct ErrorText {
    ASErr code;
    const char* text;
};
constexpr std::array<ErrorText, 0> kErrorTexts{};

const char* FindErrorText(ASErr error) {
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.code == error) {
            return entry.text;
        }
    }
    return nullptr;
}

}  // namespace

bool IsQuietError(ASErr error) {
    for (ASErr quiet : kQuietErrors) {
        if (quiet == 0) {
            break;
        }
        if (quiet == error) {
            return true;
        }
    }
    return false;
}

void DefaultErrorReport(SPPluginRef /*pluginRef*/, ASErr error) {
    if (IsQuietError(error)) {
        return;
    }
    const AIUserSuite* user = sAIUser;
    bool acquired = false;
    if (user == nullptr) {
        if (sSPBasic == nullptr) {
            return;
        }
        const void* suite = nullptr;
        if (sSPBasic->AcquireSuite(AIUserSuite::kName, AIUserSuite::kVersion, &suite) != 0 ||
            suite == nullptr) {
            return;
        }
        user = static_cast<const AIUserSuite*>(suite);
        acquired = true;
    }
    if (const char* text = FindErrorText(error)) {
        user->MessageAlert(text::ToHostUnicode(text).c_str());
    }
    if (acquired) {
        sSPBasic->ReleaseSuite(AIUserSuite::kName, AIUserSuite::kVersion);
    }
}
