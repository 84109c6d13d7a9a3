// Events on large dimensioned drawings, through the emulated host's own API with the
// plug-in loaded as the host loads it: the Alt+click that rebuilds every segment dimension
// (beside the literal rebuild, which lists the whole drawing for each dimension), the
// clicks that make one more dimension, and a cursor move with the annotator's redraw. Each
// reports its 50th and 99th percentiles ("p50_ms", "p99_ms").
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/Percentiles.h"
#include "emulator/ArtTree.h"
#include "emulator/Host.h"
#include "emulator/SuiteRegistry.h"
#include "emulator/SvgImport.h"
#include "host/Platform.h"
#include "host/PluginSuites.h"
#include "hostaccess/Suites.h"
#include "settings/DimensionSettings.h"
#include "tests/GeneratedDrawing.h"
#include "tools/ModifyDimension.h"

namespace {

using testing_support::CursorWalk;
using testing_support::GeneratedDrawing;
using testing_support::GridSide;
using testing_support::kCellSize;

// The top left corner of cell `i` of the generated drawing, in SVG user units.
std::pair<double, double> Cell(int paths, int i) {
    const int side = GridSide(paths);
    return {(i % side) * kCellSize + 5, (i / side) * kCellSize + 5};
}

AIRealPoint Artwork(double x, double y) {
    return {static_cast<AIReal>(x), static_cast<AIReal>(-y)};
}

// The plug-in loaded and started in a host, on the generated drawing of `paths` paths, with
// `dimensions` segment dimensions made by the Segment tool: one on each side of every line,
// as many as are asked for.
class DimensionedDrawing {
  public:
    DimensionedDrawing(int paths, int dimensions) : paths_(paths) {
        emulator::HostOptions options;
        options.fonts = std::vector<std::string>{"DejaVuSans"};
        host_ = std::make_unique<emulator::Host>(std::move(options));
        std::string error;
        if (!host_->LoadPlugin(MESRA_PLUGIN_PATH, &error) || host_->Startup() != 0 ||
            host_->Notify(kAIApplicationStartedNotifier) != 0) {
            return;
        }
        host_->OpenDocument(emulator::ReadSvg(GeneratedDrawing(paths), &error));
        host_->Notify(kAIDocumentOpenedNotifier);
        host_->SelectToolByName("Outil Segment");
        // A line runs 30 × 20 units from its cell's corner; the dimensions lie 8 units
        // beside it, on one side and then on the other.
        const int lines = (paths + 2) / 3;
        for (int made = 0; made < dimensions && made / lines < 2; ++made) {
            const auto [x, y] = Cell(paths, 3 * (made % lines));
            const double side = made < lines ? 8 : -8;
            Click(Artwork(x + 15, y + 10), Artwork(x + 15 - 0.5547 * side, y + 10 + 0.8321 * side));
        }
        ready_ = host_->Violations().empty();
    }
    ~DimensionedDrawing() {
        if (host_ != nullptr && host_->PluginStarted()) {
            host_->Quit();
        }
    }
    DimensionedDrawing(const DimensionedDrawing&) = delete;
    DimensionedDrawing& operator=(const DimensionedDrawing&) = delete;

    bool Ready() const { return ready_; }
    emulator::Host& Host() { return *host_; }
    int Paths() const { return paths_; }

    // A press at `at`, a drag to `to` and the release there.
    void Click(AIRealPoint at, AIRealPoint to) {
        host_->ToolEvent("move", at);
        host_->ToolEvent("down", at);
        host_->ToolEvent("drag", to);
        host_->ToolEvent("up", to);
    }

    // The number of dimensions in the document: the groups of its last layer.
    std::size_t Dimensions() { return host_->CurrentDocument()->layers.back()->art.size(); }

    // A point on the dimension line of a segment dimension.
    AIRealPoint OnADimension() {
        AIRealPoint point{0, 0};
        bool found = false;
        emulator::ForEachArtInDocumentOrder(*host_->CurrentDocument(), [&](emulator::Art& art) {
            if (!found && art.tags.count("surseg") != 0 && art.segments.size() >= 2) {
                const auto& s = art.segments;
                point = {(s[0].p.h + s[1].p.h) / 2, (s[0].p.v + s[1].p.v) / 2};
                found = true;
            }
        });
        return point;
    }

  private:
    int paths_;
    std::unique_ptr<emulator::Host> host_;
    bool ready_ = false;
};

// Alt+click on a dimension (the press and the release, the cursor already there): every
// segment dimension rebuilt, through the host.
void BM_RebuildAll(benchmark::State& state) {
    DimensionedDrawing drawing(10000, static_cast<int>(state.range(0)));
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
    state.counters["dimensions"] = static_cast<double>(state.range(0));
}

// The plug-in's rebuild of all called in the benchmark's own process on the same drawing,
// the fast way and the literal way.
void RebuildInProcess(benchmark::State& state, tools::PathSearch search) {
    DimensionedDrawing drawing(10000, static_cast<int>(state.range(0)));
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
        rebuilds.Time([&] { tools::RebuildAllOfKind(ToolKind::Segment, search); });
    }
    rebuilds.Report(state);
    suites.reset();
    sSPBasic = nullptr;
}
void BM_RebuildAllInProcess(benchmark::State& state) {
    RebuildInProcess(state, tools::PathSearch::Indexed);
}
void BM_RebuildAllLiteral(benchmark::State& state) {
    RebuildInProcess(state, tools::PathSearch::Literal);
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

BENCHMARK(BM_RebuildAll)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RebuildAllInProcess)
    ->Arg(500)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);
BENCHMARK(BM_RebuildAllLiteral)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_MakeDimension)->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_CursorMove)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
