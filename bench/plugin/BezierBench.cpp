// The host's Bézier lengths and offset curves on representative curves, through the suite
// as the plug-in calls it: the time per call, and as counters the worst length error
// against a dense polyline reference (in the float the suite answers, and in the double
// precision the host computes in), the worst distance between the offset pieces and the
// true offset, and the pieces per offset.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

#include "emulator/core/BezierMath.h"
#include "emulator/core/Host.h"
#include "emulator/core/SuiteRegistry.h"
#include "plugin/host/GeometrySuites.h"
#include "plugin/host/ResultCodes.h"
#include "tests/support/CurveReference.h"

namespace {

struct Case {
    const char* name;
    AIRealBezier curve;
    float distance;  // of the offset
};

constexpr float kHandle = 55.22847f;

const std::array<Case, 9> kCases = {{
    {"quarter circle, outward", {{100, 0}, {100, kHandle}, {kHandle, 100}, {0, 100}}, -20},
    {"quarter circle, inward", {{100, 0}, {100, kHandle}, {kHandle, 100}, {0, 100}}, 50},
    {"gentle arc", {{0, 0}, {40, 30}, {110, 30}, {150, 0}}, -12},
    {"S curve", {{0, 0}, {200, 0}, {-100, 100}, {100, 100}}, 5},
    {"long wave", {{0, 0}, {300, 400}, {700, -400}, {1000, 0}}, 15},
    {"handle on its anchor", {{0, 0}, {0, 0}, {50, 100}, {100, 100}}, 10},
    {"loop, outside", {{0, 0}, {150, 100}, {-50, 100}, {100, 0}}, -5},
    {"far from the origin",
     {{100000, -50000}, {100080, -50000}, {100100, -49950}, {100100, -49900}},
     12},
    {"straight", {{0, 0}, {10, 5}, {20, 10}, {30, 15}}, 8},
}};

// The Bézier suite of a host that lives as long as the benchmarks.
const AIRealBezierSuite* Suite() {
    static emulator::Host host;
    static const AIRealBezierSuite* suite = [] {
        const void* table = nullptr;
        host.Suites().Acquire(AIRealBezierSuite::kName, AIRealBezierSuite::kVersion, &table);
        return static_cast<const AIRealBezierSuite*>(table);
    }();
    return suite;
}

std::vector<AIRealBezier> Offset(const Case& c) {
    std::vector<AIRealBezier> pieces(64);
    ASInt32 count = 0;
    if (Suite()->Offset(&c.curve, c.distance, pieces.data(), static_cast<ASInt32>(pieces.size()),
                        &count) != kNoErr) {
        return {};
    }
    pieces.resize(static_cast<std::size_t>(count));
    return pieces;
}

// The accuracy figures, measured once: they take far longer than the calls timed.
struct Accuracy {
    double worstLength = 0;        // as the suite answers it, in a float
    double worstLengthDouble = 0;  // as the host computes it
    double worstDeviation = 0;
    double pieces = 0;
};

const Accuracy& Measured() {
    static const Accuracy accuracy = [] {
        Accuracy a;
        for (const Case& c : kCases) {
            const double reference = testing_support::ReferenceLength(c.curve);
            a.worstLength =
                std::max(a.worstLength, std::fabs(Suite()->Length(&c.curve, 1.0f) - reference));
            a.worstLengthDouble = std::max(
                a.worstLengthDouble, std::fabs(emulator::BezierLength(c.curve, 1.0) - reference));
            const std::vector<AIRealBezier> pieces = Offset(c);
            a.worstDeviation = std::max(
                a.worstDeviation,
                pieces.empty() ? HUGE_VAL
                               : testing_support::OffsetDeviation(c.curve, c.distance, pieces));
            a.pieces += static_cast<double>(pieces.size()) / kCases.size();
        }
        return a;
    }();
    return accuracy;
}

void BM_Length(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const Case& c = kCases[i++ % kCases.size()];
        benchmark::DoNotOptimize(Suite()->Length(&c.curve, 1.0f));
    }
    state.counters["worst_error_pt"] = Measured().worstLength;
    state.counters["worst_error_double_pt"] = Measured().worstLengthDouble;
}
BENCHMARK(BM_Length);

void BM_Offset(benchmark::State& state) {
    std::array<AIRealBezier, 64> pieces{};
    ASInt32 count = 0;
    std::size_t i = 0;
    for (auto _ : state) {
        const Case& c = kCases[i++ % kCases.size()];
        benchmark::DoNotOptimize(Suite()->Offset(&c.curve, c.distance, pieces.data(),
                                                 static_cast<ASInt32>(pieces.size()), &count));
    }
    state.counters["worst_deviation_pt"] = Measured().worstDeviation;
    state.counters["pieces_per_offset"] = Measured().pieces;
}
BENCHMARK(BM_Offset)->Unit(benchmark::kMicrosecond);

// Each curve on its own: the offset's time varies with the pieces it needs.
void BM_OffsetOf(benchmark::State& state) {
    const Case& c = kCases[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(c.name);
    std::array<AIRealBezier, 64> pieces{};
    ASInt32 count = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Suite()->Offset(&c.curve, c.distance, pieces.data(),
                                                 static_cast<ASInt32>(pieces.size()), &count));
    }
    state.counters["pieces"] = count;
}
BENCHMARK(BM_OffsetOf)->DenseRange(0, kCases.size() - 1)->Unit(benchmark::kMicrosecond);

}  // namespace
