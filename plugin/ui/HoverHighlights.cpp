#include "plugin/ui/HoverHighlights.h"

#include <algorithm>
#include <vector>

#include "plugin/geometry/GeometryKernel.h"
#include "plugin/hostaccess/PathGeometry.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/tools/AreaTool.h"
#include "plugin/tools/SegmentTool.h"
#include "plugin/tools/ToolStates.h"

namespace ui {
namespace {

using tools::HoverState;

// Shapes, view pixels.
constexpr double kLargeMarker = 10;
constexpr double kLargeMarkerWidth = 2;
constexpr double kSmallMarker = 8;
constexpr double kSmallMarkerWidth = 3;
constexpr double kSegmentWidth = 2;
constexpr double kPathWidth = 2;
constexpr double kPickedPathWidth = 4;
constexpr double kSignLength = 20;
constexpr double kSignWidth = 6;
constexpr double kSignOffsetX = -17;
constexpr double kSignOffsetY = 20;

enum class Marker { Large, Small };

void DrawMarker(PanelDrawer& drawer, const ViewMapping& view, AIRealPoint point, Marker kind) {
    const AIRealPoint at = view.ToView(point);
    const double half = (kind == Marker::Large ? kLargeMarker : kSmallMarker) / 2;
    drawer.LineWidth(kind == Marker::Large ? kLargeMarkerWidth : kSmallMarkerWidth);
    drawer.Ellipse(at.h - half, at.v - half, at.h + half, at.v + half, false);
}

void DrawSegment(PanelDrawer& drawer, const ViewMapping& view, AIRealPoint a, AIRealPoint b) {
    const AIRealPoint from = view.ToView(a);
    const AIRealPoint to = view.ToView(b);
    drawer.LineWidth(kSegmentWidth);
    drawer.Line(from.h, from.v, to.h, to.v);
}

void DrawCurves(PanelDrawer& drawer, const ViewMapping& view,
                const std::vector<AIRealBezier>& curves, bool closed, double width) {
    if (curves.empty() || curves.size() > kMaxHighlightedPieces) {
        return;
    }
    std::vector<AIRealPoint> points;
    points.reserve(1 + 3 * curves.size());
    points.push_back(view.ToView(curves.front().p0));
    for (const AIRealBezier& curve : curves) {
        points.push_back(view.ToView(curve.p1));
        points.push_back(view.ToView(curve.p2));
        points.push_back(view.ToView(curve.p3));
    }
    drawer.LineWidth(width);
    drawer.BezierOutline(points, closed);
}

void DrawPath(PanelDrawer& drawer, const ViewMapping& view, AIArtHandle art, double width) {
    const hostaccess::PathGeometry path = hostaccess::ReadPath(art);
    DrawCurves(drawer, view, geometry::PathCurves(path.segments, path.closed), path.closed, width);
}

// The part of `art` from anchor `from` forwards to anchor `to` (round through the closing
// curve of a closed path), as the Lengths & Areas tool measures it.
void DrawPathPart(PanelDrawer& drawer, const ViewMapping& view, AIArtHandle art, int from, int to) {
    const hostaccess::PathGeometry path = hostaccess::ReadPath(art);
    const std::vector<AIRealBezier> curves = geometry::PathCurves(path.segments, path.closed);
    const int n = static_cast<int>(path.segments.size());
    if (curves.empty() || from < 0 || to < 0 || from >= n || to >= n) {
        return;
    }
    std::vector<AIRealBezier> part;
    if (!path.closed) {
        for (int k = std::min(from, to); k < std::max(from, to); ++k) {
            part.push_back(curves[static_cast<std::size_t>(k)]);
        }
    } else {
        int k = from;
        do {
            part.push_back(curves[static_cast<std::size_t>(k)]);
            k = (k + 1) % n;
        } while (k != to);
    }
    DrawCurves(drawer, view, part, false, kPickedPathWidth);
}

// The point of the segment under the cursor nearest the cursor.
AIRealPoint Projection(const HoverState& hover) {
    const double dx = hover.segmentEnd.h - hover.hoverPoint.h;
    const double dy = hover.segmentEnd.v - hover.hoverPoint.v;
    const double squared = dx * dx + dy * dy;
    if (squared == 0) {
        return hover.hoverPoint;
    }
    const double t = std::clamp(((hover.cursorPoint.h - hover.hoverPoint.h) * dx +
                                 (hover.cursorPoint.v - hover.hoverPoint.v) * dy) /
                                    squared,
                                0.0, 1.0);
    return {static_cast<AIReal>(hover.hoverPoint.h + t * dx),
            static_cast<AIReal>(hover.hoverPoint.v + t * dy)};
}

// The minus sign of a take-out, or the plus sign of a pick, beside the cursor.
void DrawSign(PanelDrawer& drawer, const ViewMapping& view, AIRealPoint cursor, bool plus) {
    const AIRealPoint at = view.ToView(cursor);
    const double x = at.h + kSignOffsetX;
    const double y = at.v + kSignOffsetY;
    const double half = kSignLength / 2;
    drawer.LineWidth(kSignWidth);
    drawer.Line(x - half, y, x + half, y);
    if (plus) {
        drawer.Line(x, y - half, x, y + half);
    }
}

bool Selected(AIArtHandle art) {
    ASInt32 attributes = 0;
    return sAIArt->GetArtUserAttr(art, kArtSelected, &attributes) == 0 &&
           (attributes & kArtSelected) != 0;
}

void SegmentToolHighlight(PanelDrawer& drawer, const ViewMapping& view, const HoverState& hover,
                          const ToolActivity& activity) {
    if (activity.dragging && tools::SegmentTool().curveMode) {
        DrawMarker(drawer, view, tools::CurveDragReference(), Marker::Small);
    } else if (hover.overIntersection || hover.overAnchor || hover.overOtherPoint) {
        DrawMarker(drawer, view, hover.hoverPoint, Marker::Large);
    } else if (hover.overStraightSegment) {
        DrawSegment(drawer, view, hover.hoverPoint, hover.segmentEnd);
    } else if (hover.overArc || hover.overCurve) {
        DrawPath(drawer, view, hover.hoverArt, kPathWidth);
        DrawMarker(drawer, view, hover.curveHitPoint, Marker::Small);
    }
}

void AngleToolHighlight(PanelDrawer& drawer, const ViewMapping& view, const HoverState& hover) {
    if (hover.overAnchor) {
        DrawMarker(drawer, view, hover.hoverPoint, Marker::Large);
    } else if (hover.overStraightSegment) {
        DrawSegment(drawer, view, hover.hoverPoint, hover.segmentEnd);
    } else if (hover.overArc) {
        DrawPath(drawer, view, hover.hoverArt, kPathWidth);
        DrawMarker(drawer, view, hover.curveHitPoint, Marker::Small);
    }
}

void CircleToolHighlight(PanelDrawer& drawer, const ViewMapping& view, const HoverState& hover) {
    if (hover.overAnchor) {
        DrawMarker(drawer, view, hover.hoverPoint, Marker::Large);
    } else if (hover.overArc) {
        DrawPath(drawer, view, hover.hoverArt, kPathWidth);
    }
}

void BezierToolHighlight(PanelDrawer& drawer, const ViewMapping& view, const HoverState& hover) {
    if (hover.overAnchor) {
        DrawMarker(drawer, view, hover.hoverPoint, Marker::Large);
    } else if (hover.overStraightSegment) {
        DrawMarker(drawer, view, Projection(hover), Marker::Small);
    } else if (hover.overArc || hover.overCurve) {
        DrawMarker(drawer, view, hover.curveHitPoint, Marker::Small);
    }
}

void AreaToolHighlight(PanelDrawer& drawer, const ViewMapping& view, const HoverState& hover,
                       const ToolActivity& activity) {
    if (activity.dragging) {
        return;
    }
    const tools::SegmentToolState& clicks = tools::SegmentTool();
    if (hover.overAnchor) {
        if (clicks.clickCount >= 1 && hover.hoverArt == clicks.measuredPath) {
            DrawPathPart(drawer, view, hover.hoverArt, tools::AreaTool().partialStart,
                         hover.startIndex);
        }
        DrawMarker(drawer, view, hover.hoverPoint, Marker::Large);
    } else if (hover.overStraightSegment || hover.overCurve || hover.overArc) {
        // A click takes a picked path out of the totals, or picks another.
        const bool picked = Selected(hover.hoverArt);
        DrawPath(drawer, view, hover.hoverArt, picked ? kPickedPathWidth : kPathWidth);
        DrawSign(drawer, view, activity.eventPoint, !picked);
    }
}

}  // namespace

void DrawHoverHighlight(PanelDrawer& drawer, const ViewMapping& view, const ToolActivity& activity,
                        const AIRGBColor& color) {
    if (!activity.cursorTracked) {
        return;
    }
    drawer.Color(color);
    const HoverState& hover = tools::Hover();
    switch (activity.tool) {
        case ToolKind::Segment:
            SegmentToolHighlight(drawer, view, hover, activity);
            break;
        case ToolKind::Angle:
            AngleToolHighlight(drawer, view, hover);
            break;
        case ToolKind::Circle:
            CircleToolHighlight(drawer, view, hover);
            break;
        case ToolKind::Bezier:
            BezierToolHighlight(drawer, view, hover);
            break;
        case ToolKind::LengthsAndAreas:
            AreaToolHighlight(drawer, view, hover, activity);
            break;
    }
}

void DrawSelectionRectangle(PanelDrawer& drawer, const ViewMapping& view, const AIRGBColor& color) {
    const auto& marquee = tools::AreaTool().marquee;
    if (!marquee) {
        return;
    }
    const AIRealPoint a = view.ToView(marquee->first);
    const AIRealPoint b = view.ToView(marquee->second);
    drawer.Color(color);
    drawer.LineWidth(1);
    drawer.Rect(std::min(a.h, b.h), std::min(a.v, b.v), std::max(a.h, b.h), std::max(a.v, b.v),
                false);
}

}  // namespace ui
