// The suites of numbers, colours and text that the host offers.
#include "emulator/SuiteSupport.h"
#include "host/GeometrySuites.h"
#include "host/PaintSuites.h"
#include "host/TextSuites.h"

namespace emulator {
namespace {

constexpr AIRealMathSuite kRealMath{};
constexpr AIRealBezierSuite kRealBezier{};
constexpr AICustomColorSuite kCustomColor{};
constexpr AISwatchListSuite kSwatchList{};
constexpr AISwatchGroupSuite kSwatchGroup{};
constexpr AIPaintStyleSuite kPaintStyle{};
constexpr AIATEPaintSuite kATEPaint{};
constexpr AITextFrameSuite kTextFrame{};
constexpr AIFontSuite kFont{};

#define MESRA_TEXT_ENGINE_TABLE(cls, version) constexpr ATE##cls##Suite kATE##cls{};
MESRA_TEXT_ENGINE_SUITES(MESRA_TEXT_ENGINE_TABLE)
#undef MESRA_TEXT_ENGINE_TABLE

}  // namespace

void OfferOtherSuites(SuiteRegistry& registry) {
    Offer(registry, kRealMath);
    Offer(registry, kRealBezier);
    Offer(registry, kCustomColor);
    Offer(registry, kSwatchList);
    Offer(registry, kSwatchGroup);
    Offer(registry, kPaintStyle);
    Offer(registry, kATEPaint);
    Offer(registry, kTextFrame);
    Offer(registry, kFont);
#define MESRA_OFFER_TEXT_ENGINE_SUITE(cls, version) Offer(registry, kATE##cls);
    MESRA_TEXT_ENGINE_SUITES(MESRA_OFFER_TEXT_ENGINE_SUITE)
#undef MESRA_OFFER_TEXT_ENGINE_SUITE
}

}  // namespace emulator
