// Large dimensioned drawings for the benchmarks: the generated drawing (or one of
// triangles) with thousands of dimensions of one kind, made by the plug-in loaded in a
// host as a user makes them.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "emulator/core/ArtTree.h"
#include "emulator/core/Host.h"
#include "emulator/svg/SvgImport.h"
#include "plugin/host/PluginSuites.h"
#include "plugin/settings/ToolKind.h"
#include "tests/support/GeneratedDrawing.h"

namespace bench_support {

using testing_support::GeneratedDrawing;
using testing_support::GridSide;
using testing_support::kCellSize;

// The top left corner of cell `i` of the generated drawing, in SVG user units.
inline std::pair<double, double> Cell(int paths, int i) {
    const int side = GridSide(paths);
    return {(i % side) * kCellSize + 5, (i / side) * kCellSize + 5};
}

// A drawing of `paths` triangles, one a cell, for the Angle tool's corners.
inline std::string Triangles(int paths) {
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

inline AIRealPoint Artwork(double x, double y) {
    return {static_cast<AIReal>(x), static_cast<AIReal>(-y)};
}

// The plug-in loaded and started in a host, on the generated drawing of `paths` paths, with
// `dimensions` dimensions of the tool's kind, as many as are asked for: with the Segment
// tool one on each side of every line, with the Circle tool one on each of two arcs of every
// circle; with the Angle tool, on a drawing of triangles, one on each of two corners. The
// host keeps `undoSteps` of them in its undo history.
class DimensionedDrawing {
  public:
    DimensionedDrawing(int paths, int dimensions, ToolKind kind = ToolKind::Segment,
                       std::size_t undoSteps = emulator::kUndoStepLimit)
        : paths_(paths), kind_(kind) {
        emulator::HostOptions options;
        options.fonts = std::vector<std::string>{"DejaVuSans"};
        options.undoSteps = undoSteps;
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

}  // namespace bench_support
