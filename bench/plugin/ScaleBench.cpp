// Events on large dimensioned drawings, through the emulated host's own API with the
// plug-in loaded as the host loads it: the Alt+click that rebuilds every segment dimension
// (beside the literal rebuild, which lists the whole drawing for each dimension), the
// clicks that make one more dimension, and a cursor move with the annotator's redraw. Each
// reports its 50th and 99th percentiles ("p50_ms", "p99_ms").
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

#include "bench/DimensionedDrawing.h"
#include "bench/Percentiles.h"
#include "emulator/core/ArtTree.h"
#include "emulator/core/Host.h"
#include "emulator/core/SuiteRegistry.h"
#include "emulator/svg/SvgImport.h"
#include "plugin/host/Platform.h"
#include "plugin/host/PluginSuites.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/tools/ModifyDimension.h"
#include "tests/support/GeneratedDrawing.h"

namespace {

using bench_support::Artwork;
using bench_support::Cell;
using bench_support::DimensionedDrawing;
using testing_support::CursorWalk;

// Alt+click on a dimension (the press and the release, the cursor already there): every
// dimension of its kind rebuilt, through the host.
void RebuildAll(benchmark::State& state, ToolKind kind) {
    DimensionedDrawing drawing(10000, static_cast<int>(state.range(0)), kind);
    if (!drawing.Ready()) {
        state.SkipWithError("the plug-in could not dimension the drawing");
        return;
    }
    bench_support::Percentiles rebuilds;
    for (auto _ : state) {
        const AIRealPoint on = drawing.OnADimension();
        drawing.Host().SetKeys({static_cast<ASInt32>(platform::Key::Alt)});
        drawing.Host().ToolEvent("move", on);
        rebuilds.Time([&] {
            drawing.Host().ToolEvent("down", on);
            drawing.Host().ToolEvent("up", on);
        });
        drawing.Host().SetKeys({});
    }
    rebuilds.Report(state);
    state.counters["dimensions"] = static_cast<double>(drawing.Dimensions());
}
void BM_RebuildAll(benchmark::State& state) {
    RebuildAll(state, ToolKind::Segment);
}
void BM_RebuildAllCircles(benchmark::State& state) {
    RebuildAll(state, ToolKind::Circle);
}
void BM_RebuildAllAngles(benchmark::State& state) {
    RebuildAll(state, ToolKind::Angle);
}

// The plug-in's rebuild of all called in the benchmark's own process on the same drawing,
// the fast way and the literal way.
void RebuildInProcess(benchmark::State& state, tools::PathSearch search, ToolKind kind) {
    DimensionedDrawing drawing(10000, static_cast<int>(state.range(0)), kind);
    if (!drawing.Ready()) {
        state.SkipWithError("the plug-in could not dimension the drawing");
        return;
    }
    sSPBasic = drawing.Host().Suites().Basic();
    Suites::SetAcquisitionCount(0);
    auto suites = std::make_unique<Suites>();
    settings::SetDefaults(settings::Settings(), "");
    bench_support::Percentiles rebuilds;
    for (auto _ : state) {
        rebuilds.Time([&] { tools::RebuildAllOfKind(kind, search); });
    }
    rebuilds.Report(state);
    suites.reset();
    sSPBasic = nullptr;
}
void BM_RebuildAllInProcess(benchmark::State& state) {
    RebuildInProcess(state, tools::PathSearch::Indexed, ToolKind::Segment);
}
void BM_RebuildAllLiteral(benchmark::State& state) {
    RebuildInProcess(state, tools::PathSearch::Literal, ToolKind::Segment);
}
void BM_RebuildAllCirclesInProcess(benchmark::State& state) {
    RebuildInProcess(state, tools::PathSearch::Indexed, ToolKind::Circle);
}
void BM_RebuildAllCirclesLiteral(benchmark::State& state) {
    RebuildInProcess(state, tools::PathSearch::Literal, ToolKind::Circle);
}
void BM_RebuildAllAnglesInProcess(benchmark::State& state) {
    RebuildInProcess(state, tools::PathSearch::Indexed, ToolKind::Angle);
}
void BM_RebuildAllAnglesLiteral(benchmark::State& state) {
    RebuildInProcess(state, tools::PathSearch::Literal, ToolKind::Angle);
}

// One more dimension between two anchors of a circle no dimension measures yet: two
// clicks, each new link number of the document given.
void BM_MakeDimension(benchmark::State& state) {
    DimensionedDrawing drawing(10000, static_cast<int>(state.range(0)));
    if (!drawing.Ready()) {
        state.SkipWithError("the plug-in could not dimension the drawing");
        return;
    }
    bench_support::Percentiles clicks;
    const std::size_t before = drawing.Dimensions();
    int circle = 2;
    for (auto _ : state) {
        const auto [x, y] = Cell(drawing.Paths(), circle);
        circle = circle + 3 < drawing.Paths() ? circle + 3 : 2;
        const AIRealPoint top = Artwork(x + 15, y + 3), bottom = Artwork(x + 15, y + 27);
        clicks.Time([&] {
            drawing.Click(top, top);
            drawing.Click(bottom, Artwork(x + 25, y + 15));
        });
    }
    clicks.Report(state);
    state.counters["made"] = static_cast<double>(drawing.Dimensions() - before);
}

// A cursor move over the drawing with the Segment tool: the tool's tracking, the hover
// analysis and the annotator's drawing of the tip, as the host runs them.
void BM_CursorMove(benchmark::State& state) {
    DimensionedDrawing drawing(10000, static_cast<int>(state.range(0)));
    if (!drawing.Ready()) {
        state.SkipWithError("the plug-in could not dimension the drawing");
        return;
    }
    const auto walk = CursorWalk(drawing.Paths(), 256);
    bench_support::Percentiles moves;
    std::size_t i = 0;
    drawing.Host().ToolEvent("move", walk[0]);
    const int builds = drawing.Host().Index()->Builds();
    for (auto _ : state) {
        moves.Time([&] { drawing.Host().ToolEvent("move", walk[i++ % walk.size()]); });
    }
    moves.Report(state);
    state.counters["index_builds"] = drawing.Host().Index()->Builds() - builds;
}

// Alt+click through the host on 2,500 and 5,000 dimensions of each kind; the same rebuild
// in process on 500, beside the literal rebuild of those 500.
BENCHMARK(BM_RebuildAll)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RebuildAllCircles)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RebuildAllAngles)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RebuildAllInProcess)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RebuildAllLiteral)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_RebuildAllCirclesInProcess)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RebuildAllCirclesLiteral)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_RebuildAllAnglesInProcess)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RebuildAllAnglesLiteral)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(2);
// One more dimension, and a cursor move, on 10,000 paths and 5,000 dimensions.
BENCHMARK(BM_MakeDimension)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_CursorMove)->Arg(5000)->Unit(benchmark::kMicrosecond);

}  // namespace
