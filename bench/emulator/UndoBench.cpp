// Undo on a large drawing: the last of 1,000 dimensions over 10,000 paths taken back (the
// host's whole answer: the art out, the plug-in told, the view drawn again), and what the
// history of 100 single dimensions keeps in memory beyond the drawing.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "bench/DimensionedDrawing.h"
#include "bench/Percentiles.h"

namespace {

using bench_support::DimensionedDrawing;

constexpr int kPaths = 10000;

void BM_UndoLastDimension(benchmark::State& state) {
    DimensionedDrawing drawing(kPaths, 1000);
    emulator::Host& host = drawing.Host();
    if (!drawing.Ready() || drawing.Dimensions() != 1000) {
        state.SkipWithError("the drawing was not made");
        return;
    }
    bench_support::Percentiles times;
    for (auto _ : state) {
        times.Time([&host] { benchmark::DoNotOptimize(host.Undo()); });
        state.PauseTiming();
        host.Redo();
        state.ResumeTiming();
    }
    if (drawing.Dimensions() != 1000 || !host.Violations().empty()) {
        state.SkipWithError("undo and redo did not give the drawing back");
    }
    times.Report(state);
}
BENCHMARK(BM_UndoLastDimension)->Unit(benchmark::kMillisecond)->Iterations(100);

// The heap in use (glibc's count of the bytes handed out).
double HeapMegabytes() {
    return static_cast<double>(mallinfo2().uordblks) / 1e6;
}

// What the drawing of 10,000 paths with 100 dimensions takes, made with a history of
// `steps` steps; with `undoAll`, once every step is taken back.
double DrawingMegabytes(std::size_t steps, bool undoAll) {
    const double before = HeapMegabytes();
    DimensionedDrawing drawing(kPaths, 100, ToolKind::Segment, steps);
    while (undoAll && drawing.Host().Undo() == emulator::Host::UndoOutcome::Done) {
    }
    return HeapMegabytes() - before;
}

void BM_UndoMemoryOf100Dimensions(benchmark::State& state) {
    double done = 0;
    double undone = 0;
    double estimate = 0;
    for (auto _ : state) {
        // Without a history first, so that the caches a first run fills are counted in both.
        DrawingMegabytes(0, false);
        const double without = DrawingMegabytes(0, false);
        done = DrawingMegabytes(emulator::kUndoStepLimit, false) - without;
        undone = DrawingMegabytes(emulator::kUndoStepLimit, true) - without;
        DimensionedDrawing drawing(kPaths, 100);
        estimate = static_cast<double>(drawing.Host().History().Bytes()) / 1e6;
    }
    state.counters["history_MB"] = done;
    state.counters["all_undone_MB"] = undone;
    state.counters["estimate_MB"] = estimate;
}
BENCHMARK(BM_UndoMemoryOf100Dimensions)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
