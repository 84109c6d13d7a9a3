// The hover analysis on every cursor movement, on generated drawings of 1,000 and 10,000
// paths: the Segment tool (three hit tests of the host) and the Lengths & Areas scan, each
// beside the literal search that examines every path.
#include <benchmark/benchmark.h>

#include "bench/Percentiles.h"
#include "plugin/tools/HoverAnalysis.h"
#include "tests/support/GeneratedDrawing.h"
#include "tests/support/InProcessPlugin.h"

namespace {

using testing_support::CursorWalk;
using testing_support::GeneratedDrawing;
using testing_support::InProcessPlugin;

void SegmentHover(benchmark::State& state, bool literal) {
    const int paths = static_cast<int>(state.range(0));
    emulator::HostOptions options;
    options.fonts = std::vector<std::string>{};
    options.cullHitTests = !literal;
    InProcessPlugin plugin(GeneratedDrawing(paths), options);
    if (!plugin.Ready()) {
        state.SkipWithError("the suites could not be acquired");
        return;
    }
    const auto walk = CursorWalk(paths, 64);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tools::AnalyseHover(ToolKind::Segment, walk[i++ % walk.size()]));
    }
}

void AreaScan(benchmark::State& state, tools::ScanMode mode) {
    const int paths = static_cast<int>(state.range(0));
    emulator::HostOptions options;
    options.fonts = std::vector<std::string>{};
    InProcessPlugin plugin(GeneratedDrawing(paths), options);
    if (!plugin.Ready()) {
        state.SkipWithError("the suites could not be acquired");
        return;
    }
    const auto walk = CursorWalk(paths, 64);
    bench_support::Percentiles moves;
    std::size_t i = 0;
    for (auto _ : state) {
        moves.Time(
            [&] { benchmark::DoNotOptimize(tools::AreaToolHover(walk[i++ % walk.size()], mode)); });
    }
    moves.Report(state);
}

void BM_SegmentHover(benchmark::State& state) {
    SegmentHover(state, false);
}
void BM_SegmentHoverLiteral(benchmark::State& state) {
    SegmentHover(state, true);
}
void BM_AreaScan(benchmark::State& state) {
    AreaScan(state, tools::ScanMode::Culled);
}
void BM_AreaScanLiteral(benchmark::State& state) {
    AreaScan(state, tools::ScanMode::Literal);
}

BENCHMARK(BM_SegmentHover)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SegmentHoverLiteral)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AreaScan)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AreaScanLiteral)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
