// The text-engine suites that the plug-in acquires but never calls: offered with no
// operations. Those it calls live with the other text suites.
#include "emulator/core/SuiteSupport.h"
#include "plugin/host/TextSuites.h"

namespace emulator {
namespace {

#define MESRA_TEXT_ENGINE_TABLE(cls, version) constexpr ATE##cls##Suite kATE##cls{};
#define MESRA_IMPLEMENTED_ELSEWHERE(cls, version)
MESRA_TEXT_ENGINE_SUITES(MESRA_TEXT_ENGINE_TABLE, MESRA_IMPLEMENTED_ELSEWHERE)
#undef MESRA_TEXT_ENGINE_TABLE

}  // namespace

void OfferOtherSuites(SuiteRegistry& registry) {
#define MESRA_OFFER_TEXT_ENGINE_SUITE(cls, version) Offer(registry, kATE##cls);
    MESRA_TEXT_ENGINE_SUITES(MESRA_OFFER_TEXT_ENGINE_SUITE, MESRA_IMPLEMENTED_ELSEWHERE)
#undef MESRA_OFFER_TEXT_ENGINE_SUITE
#undef MESRA_IMPLEMENTED_ELSEWHERE
}

}  // namespace emulator
