#include "plugin/drawing/TickMarks.h"

#include <cmath>

#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/DimensionStyles.h"
#include "plugin/hostaccess/Suites.h"

namespace drawing {
namespace {

// The radius below which the centre mark shrinks with the circle, and its sizes.
constexpr double kSmallCircle = 25.0;
constexpr double kCentreMarkSize = 9.0;
constexpr double kSmallCentreMarkShare = 0.36;

AIRealPoint Offset(AIRealPoint p, double dx, double dy) {
    return {static_cast<AIReal>(p.h + dx), static_cast<AIReal>(p.v + dy)};
}

}  // namespace

void ClearTicks() {
    for (AIArtHandle& tick : WorkingArt().ticks) {
        DisposeArt(tick);
    }
    WorkingArt().ticks.clear();
}

void DrawMarkPiece(AIRealPoint a, AIRealPoint b) {
    DimensionArt& working = WorkingArt();
    AIArtHandle piece = NewDimensionPath(nullptr);
    if (piece == nullptr) {
        return;
    }
    working.ticks.push_back(piece);
    SetTwoPointPath(a, b, piece, LineStyle());
    working.errors += sAIArt->SetArtUserAttr(piece, kArtSelected, kArtSelected);
}

void DrawTick(AIRealPoint point, AIRealPoint along, double halfLength, int side) {
    const double length = std::hypot(static_cast<double>(along.h), static_cast<double>(along.v));
    if (!(length > 0) || !std::isfinite(length)) {
        return;
    }
    // The left normal of the direction.
    const double nx = -along.v / length;
    const double ny = along.h / length;
    const double left = side < 0 ? 0.0 : halfLength;
    const double right = side > 0 ? 0.0 : halfLength;
    DrawMarkPiece(Offset(point, nx * left, ny * left), Offset(point, -nx * right, -ny * right));
}

double CentreMarkSize(double radius) {
    return radius < kSmallCircle ? kSmallCentreMarkShare * radius : kCentreMarkSize;
}

void DrawCentreMark(AIRealPoint centre, double radius) {
    const double s = CentreMarkSize(radius);
    for (const double sign : {1.0, -1.0}) {
        // Horizontal then vertical: the cross's half, then the axis beyond it.
        DrawMarkPiece(Offset(centre, 2 * s * sign, 0), Offset(centre, (2 * s + radius) * sign, 0));
        DrawMarkPiece(Offset(centre, 0, 2 * s * sign), Offset(centre, 0, (2 * s + radius) * sign));
    }
    DrawMarkPiece(Offset(centre, -s, 0), Offset(centre, s, 0));
    DrawMarkPiece(Offset(centre, 0, -s), Offset(centre, 0, s));
}

}  // namespace drawing
