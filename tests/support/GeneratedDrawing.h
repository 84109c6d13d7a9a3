// Generated artwork for the tests and benchmarks that need many paths: a grid of cells,
// each holding a straight line, a wave (a plain curve) or a circle of four arcs.
#pragma once

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "plugin/host/Records.h"

namespace testing_support {

// The side of a cell of the grid, in SVG user units (one point each).
constexpr double kCellSize = 40.0;

inline int GridSide(int paths) {
    return static_cast<int>(std::ceil(std::sqrt(paths)));
}

// The SVG text of `paths` paths on a page that fits them.
inline std::string GeneratedDrawing(int paths) {
    const int side = GridSide(paths);
    std::ostringstream svg;
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << side * kCellSize
        << "\" height=\"" << side * kCellSize << "\">\n";
    for (int i = 0; i < paths; ++i) {
        const double x = (i % side) * kCellSize + 5;
        const double y = (i / side) * kCellSize + 5;
        switch (i % 3) {
            case 0:
                svg << "<line x1=\"" << x << "\" y1=\"" << y << "\" x2=\"" << x + 30 << "\" y2=\""
                    << y + 20 << "\" stroke=\"black\"/>\n";
                break;
            case 1:
                svg << "<path d=\"M " << x << "," << y + 15 << " c 10,-15 20,15 30,0\" "
                    << "fill=\"none\" stroke=\"black\"/>\n";
                break;
            default:
                svg << "<circle cx=\"" << x + 15 << "\" cy=\"" << y + 15
                    << "\" r=\"12\" fill=\"none\" stroke=\"black\"/>\n";
                break;
        }
    }
    svg << "</svg>\n";
    return svg.str();
}

// Cursor positions spread over the page of `paths` paths, in artwork coordinates: some on
// art, most beside it, as a cursor crossing a drawing would be.
inline std::vector<AIRealPoint> CursorWalk(int paths, int count) {
    const double extent = GridSide(paths) * kCellSize;
    std::vector<AIRealPoint> walk;
    unsigned state = 12345;
    for (int i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        const double x = (state >> 8) % 100000 / 100000.0 * extent;
        state = state * 1103515245u + 12345u;
        const double y = (state >> 8) % 100000 / 100000.0 * extent;
        walk.push_back({static_cast<AIReal>(x), static_cast<AIReal>(-y)});
    }
    // Points on art: the start of a line, a point of a wave, a point of a circle.
    walk.push_back({5, -5});
    walk.push_back({45 + 15, -(5 + 15)});
    walk.push_back({80 + 5 + 27, -(5 + 15)});
    return walk;
}

}  // namespace testing_support
