// Events on large dimensioned drawings, through the emulated host's own API with the
// plug-in loaded as the host loads it: the Alt+click that rebuilds every segment dimension
// (beside the literal rebuild, which lists the whole drawing for each dimension), the
// clicks that make one more dimension, and a cursor move with the annotator's redraw. Each
// reports its 50th and 99th percentiles ("p50_ms", "p99_ms").
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
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

// A drawing of `paths` triangles, one a cell, for the Angle tool's corners.
std::string Triangles(int paths) {
    const int side = GridSide(paths);
    std::ostringstream svg;
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << side * kCellSize
        << "\" height=\"" << side * kCellSize << "\">\n";
    for (int i = 0; i < paths; ++i) {
        const auto [x, y] = Cell(paths, i);
        svg << "<path d=\"M " << x << "," << y << " L " << x + 30 << "," << y << " L " << x + 15
            << "," << y + 25 << " Z\" fill=\"none\" stroke=\"black\"/>\n";
    }
    svg << "</svg>\n";
    return svg.str();
}

AIRealPoint Artwork(double x, double y) {
    return {static_cast<AIReal>(x), static_cast<AIReal>(-y)};
}

// The plug-in loaded and started in a host, on the generated drawing of `paths` paths, with
// `dimensions` dimensions of the tool's kind, as many as are asked for: with the Segment
// tool one on each side of every line, with the Circle tool one on each of two arcs of every
// circle; with the Angle tool, on a drawing of triangles, one on each of two corners.
class DimensionedDrawing {
  public:
    DimensionedDrawing(int paths, int dimensions, ToolKind kind = ToolKind::Segment)
        : paths_(paths), kind_(kind) {
        emulator::HostOptions options;
        options.fonts = std::vector<std::string>{"DejaVuSans"};
        host_ = std::make_unique<emulator::Host>(std::move(options));
        std::string error;
        if (!host_->LoadPlugin(MESRA_PLUGIN_PATH, &error) || host_->Startup() != 0 ||
            host_->Notify(kAIApplicationStartedNotifier) != 0) {
            return;
        }
        host_->OpenDocument(emulator::ReadSvg(
            kind == ToolKind::Angle ? Triangles(paths) : GeneratedDrawing(paths), &error));
        host_->Notify(kAIDocumentOpenedNotifier);
        host_->SelectToolByName(kind == ToolKind::Segment  ? "Outil Segment"
                                : kind == ToolKind::Circle ? "Outil Cercle"
                                                           : "Outil Angle");
        // A line runs 30 × 20 units from its cell's corner; the dimensions lie 8 units
        // beside it, on one side and then on the other. A circle of radius 12 is centred
        // 15 units from its cell's corner; its arcs are clicked at 45° below and above.
        const int count = kind == ToolKind::Angle ? paths : paths / 3;
        for (int made = 0; made < dimensions && made / count < 2; ++made) {
            const double side = made < count ? 1 : -1;
            if (kind == ToolKind::Angle) {
                // The top corners of the triangle, the arc placed inside.
                const auto [x, y] = Cell(paths, made % count);
                const double corner = side > 0 ? x : x + 30;
                Click(Artwork(corner, y), Artwork(corner + 6 * side, y + 4));
            } else if (kind == ToolKind::Segment) {
                const auto [x, y] = Cell(paths, 3 * (made % count));
                Click(Artwork(x + 15, y + 10),
                      Artwork(x + 15 - 0.5547 * 8 * side, y + 10 + 0.8321 * 8 * side));
            } else {
                const auto [x, y] = Cell(paths, 3 * (made % count) + 2);
                const AIRealPoint on = Artwork(x + 15 + 8.485 * side, y + 15 + 8.485 * side);
                Click(on, Artwork(x + 15 + 14 * side, y + 15 + 14 * side));
            }
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

    // A point on the art that carries a dimension's records: the middle of its first curve.
    AIRealPoint OnADimension() {
        const char* key = kind_ == ToolKind::Segment  ? "surseg"
                          : kind_ == ToolKind::Circle ? "cer"
                                                      : "ang";
        const char* kindTag = kind_ == ToolKind::Segment  ? "mods"
                              : kind_ == ToolKind::Circle ? "vorn"
                                                          : "moda";
        AIRealPoint point{0, 0};
        bool found = false;
        emulator::ForEachArtInDocumentOrder(*host_->CurrentDocument(), [&](emulator::Art& art) {
            if (!found && art.tags.count(key) != 0 && art.tags.count(kindTag) != 0 &&
                art.segments.size() >= 2) {
                const AIRealBezier b = emulator::CurveEndingAt(art, 1);
                point = {(b.p0.h + 3 * b.p1.h + 3 * b.p2.h + b.p3.h) / 8,
                         (b.p0.v + 3 * b.p1.v + 3 * b.p2.v + b.p3.v) / 8};
                found = true;
            }
        });
        return point;
    }

  private:
    int paths_;
    ToolKind kind_;
    std::unique_ptr<emulator::Host> host_;
    bool ready_ = false;
};

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
