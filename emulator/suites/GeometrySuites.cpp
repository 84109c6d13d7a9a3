// The host's numeric suites: real maths and Bézier computations.
#include "emulator/SuiteSupport.h"
#include "host/GeometrySuites.h"

namespace emulator {
namespace {

constexpr AIRealMathSuite kRealMath{};
constexpr AIRealBezierSuite kRealBezier{};

}  // namespace

void OfferGeometrySuites(SuiteRegistry& registry) {
    Offer(registry, kRealMath);
    Offer(registry, kRealBezier);
}

}  // namespace emulator
