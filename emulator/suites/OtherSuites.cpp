// The suites of text and fonts that the host offers.
#include <cstdint>

#include "emulator/SuiteSupport.h"
#include "emulator/Unicode.h"
#include "host/PaintSuites.h"
#include "host/TextSuites.h"

namespace emulator {
namespace {

constexpr AIATEPaintSuite kATEPaint{};
constexpr AITextFrameSuite kTextFrame{};
// ---- AI Font Suite -----------------------------------------------------------------------

// A font's key is its index in the list + 1, in disguise.
AIFontKey KeyOf(std::size_t index) {
    return reinterpret_cast<AIFontKey>((index + 1) * 16);
}

ASErr CountFonts(ASInt32* count) {
    Host* host = Enter<AIFontSuite>();
    if (host == nullptr || count == nullptr) {
        return kBadParameterErr;
    }
    *count = static_cast<ASInt32>(host->Fonts().size());
    return 0;
}

ASErr IndexFontList(ASInt32 index, AIFontKey* font) {
    Host* host = Enter<AIFontSuite>();
    if (host == nullptr || font == nullptr || index < 0 ||
        static_cast<std::size_t>(index) >= host->Fonts().size()) {
        return kBadParameterErr;
    }
    *font = KeyOf(static_cast<std::size_t>(index));
    return 0;
}

ASErr GetFontName(AIFontKey font, char* buffer, ASInt32 capacity, ASInt32* length) {
    Host* host = Enter<AIFontSuite>();
    if (host == nullptr) {
        return kBadParameterErr;
    }
    const auto value = reinterpret_cast<std::uintptr_t>(font);
    const std::size_t index = value / 16;
    if (value % 16 != 0 || index == 0 || index > host->Fonts().size()) {
        host->RecordViolation("unknown font");
        return kBadParameterErr;
    }
    return CopyOut(Windows1252FromUtf8(host->Fonts()[index - 1]), buffer, capacity, length);
}

constexpr AIFontSuite kFont{CountFonts, IndexFontList, GetFontName, nullptr, nullptr};

#define MESRA_TEXT_ENGINE_TABLE(cls, version) constexpr ATE##cls##Suite kATE##cls{};
MESRA_TEXT_ENGINE_SUITES(MESRA_TEXT_ENGINE_TABLE, MESRA_TEXT_ENGINE_TABLE)
#undef MESRA_TEXT_ENGINE_TABLE

}  // namespace

void OfferOtherSuites(SuiteRegistry& registry) {
    Offer(registry, kATEPaint);
    Offer(registry, kTextFrame);
    Offer(registry, kFont);
#define MESRA_OFFER_TEXT_ENGINE_SUITE(cls, version) Offer(registry, kATE##cls);
    MESRA_TEXT_ENGINE_SUITES(MESRA_OFFER_TEXT_ENGINE_SUITE, MESRA_OFFER_TEXT_ENGINE_SUITE)
#undef MESRA_OFFER_TEXT_ENGINE_SUITE
}

}  // namespace emulator
