// The totals of the Lengths & Areas tool on a selection of 10,000 paths: what a click that
// picks one more path costs, beside the same totals computed path by path from scratch.
#include <benchmark/benchmark.h>

#include <vector>

#include "plugin/hostaccess/Suites.h"
#include "plugin/tools/AreaTool.h"
#include "tests/support/GeneratedDrawing.h"
#include "tests/support/InProcessPlugin.h"

namespace {

using testing_support::GeneratedDrawing;
using testing_support::InProcessPlugin;

// Every path of the drawing picked; the last one is left out for the clicks to toggle.
std::vector<AIArtHandle> PickAll() {
    ASInt32 count = 0;
    sAIMatchingArt->GetMatchingArt(kPathArt, 0, 0, nullptr, 0, &count);
    std::vector<AIArtHandle> paths(static_cast<std::size_t>(count));
    sAIMatchingArt->GetMatchingArt(kPathArt, 0, 0, paths.data(), count, &count);
    for (std::size_t i = 0; i + 1 < paths.size(); ++i) {
        sAIArtSet->AddArtToArtSet(tools::MeasureSet(), paths[i]);
    }
    return paths;
}

void Totals(benchmark::State& state, bool literal) {
    const int paths = static_cast<int>(state.range(0));
    emulator::HostOptions options;
    options.fonts = std::vector<std::string>{};
    InProcessPlugin plugin(GeneratedDrawing(paths), options);
    if (!plugin.Ready() || sAIArtSet->NewArtSet(&tools::MeasureSet()) != 0) {
        state.SkipWithError("the suites could not be acquired");
        return;
    }
    const std::vector<AIArtHandle> all = PickAll();
    tools::ComputeTotals();
    bool in = false;
    for (auto _ : state) {
        // A click on the last path: in, then out again.
        in = !in;
        if (in) {
            sAIArtSet->AddArtToArtSet(tools::MeasureSet(), all.back());
        } else {
            sAIArtSet->RemoveArtFromArtSet(tools::MeasureSet(), all.back());
        }
        benchmark::DoNotOptimize(literal ? tools::ComputeTotalsLiterally()
                                         : tools::ComputeTotals());
    }
    tools::ForgetMeasureSet();
    sAIArtSet->DisposeArtSet(&tools::MeasureSet());
}

void BM_AreaTotals(benchmark::State& state) {
    Totals(state, false);
}
void BM_AreaTotalsLiteral(benchmark::State& state) {
    Totals(state, true);
}

BENCHMARK(BM_AreaTotals)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AreaTotalsLiteral)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
