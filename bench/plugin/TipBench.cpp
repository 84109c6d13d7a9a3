// A cursor move as the user feels it, on a drawing of 10,000 paths: the hover analysis, then
// the view's redraw with the cursor tip, the highlight and the colour indicators; beside the
// same move whose redraw draws nothing. Each reports the 50th and 99th percentiles of its
// moves ("p50_ms", "p99_ms"); the latter decides whether the tip keeps up with the hand.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/Percentiles.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/tools/HoverAnalysis.h"
#include "plugin/ui/Annotation.h"
#include "tests/support/GeneratedDrawing.h"
#include "tests/support/InProcessPlugin.h"

namespace {

using testing_support::CursorWalk;
using testing_support::GeneratedDrawing;
using testing_support::InProcessPlugin;

constexpr int kPaths = 10000;

// Cursor positions over the drawing: the walk across it, and as many on its curves and
// circles, where the tip measures a length or an area.
std::vector<AIRealPoint> Positions() {
    std::vector<AIRealPoint> walk = CursorWalk(kPaths, 256);
    const int side = testing_support::GridSide(kPaths);
    for (int i = 0; i < 256; ++i) {
        const int cell = (i * 37) % kPaths;
        const double x = (cell % side) * testing_support::kCellSize + 5;
        const double y = (cell / side) * testing_support::kCellSize + 5;
        // The middle of the wave, or the top of the circle, of that cell.
        const AIRealPoint on =
            cell % 3 == 1 ? AIRealPoint{static_cast<AIReal>(x + 15), static_cast<AIReal>(-(y + 15))}
                          : AIRealPoint{static_cast<AIReal>(x + 15), static_cast<AIReal>(-(y + 3))};
        walk.push_back(on);
    }
    return walk;
}

void Move(benchmark::State& state, ToolKind tool, bool withTip) {
    emulator::HostOptions options;
    options.fonts = std::vector<std::string>{};
    InProcessPlugin plugin(GeneratedDrawing(kPaths), options);
    if (!plugin.Ready()) {
        state.SkipWithError("the suites could not be acquired");
        return;
    }
    settings::SetDefaults(settings::Settings(), "");
    settings::Settings().showAnnotationColors = 1;
    ui::ToolActivity activity;
    activity.tool = tool;
    activity.cursorTracked = true;
    if (withTip) {
        // The plug-in's annotator, drawn as the host draws its annotators at each redraw.
        plugin.Host().AddHostAnnotator([&activity](AIAnnotatorDrawer* drawer) {
            AIAnnotatorMessage message{};
            message.drawer = drawer;
            DrawAnnotation(&message, activity);
        });
    }
    const std::vector<AIRealPoint> positions = Positions();
    bench_support::Percentiles moves;
    std::size_t i = 0;
    for (auto _ : state) {
        moves.Time([&] {
            activity.eventPoint = positions[i++ % positions.size()];
            benchmark::DoNotOptimize(tools::AnalyseHover(tool, activity.eventPoint));
            plugin.Host().Redraw();
        });
    }
    moves.Report(state);
}

void BM_MoveWithTip_Segment(benchmark::State& state) {
    Move(state, ToolKind::Segment, true);
}
void BM_MoveWithoutTip_Segment(benchmark::State& state) {
    Move(state, ToolKind::Segment, false);
}
void BM_MoveWithTip_Circle(benchmark::State& state) {
    Move(state, ToolKind::Circle, true);
}
void BM_MoveWithoutTip_Circle(benchmark::State& state) {
    Move(state, ToolKind::Circle, false);
}
void BM_MoveWithTip_LengthsAndAreas(benchmark::State& state) {
    Move(state, ToolKind::LengthsAndAreas, true);
}
void BM_MoveWithoutTip_LengthsAndAreas(benchmark::State& state) {
    Move(state, ToolKind::LengthsAndAreas, false);
}

BENCHMARK(BM_MoveWithTip_Segment)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveWithoutTip_Segment)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveWithTip_Circle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveWithoutTip_Circle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveWithTip_LengthsAndAreas)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveWithoutTip_LengthsAndAreas)->Unit(benchmark::kMicrosecond);

}  // namespace
