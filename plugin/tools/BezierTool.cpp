#include "plugin/tools/BezierTool.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/TickMarks.h"
#include "plugin/geometry/Arcs.h"
#include "plugin/geometry/GeometryKernel.h"
#include "plugin/hostaccess/Alert.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/settings/ToolKind.h"
#include "plugin/tools/AngleTool.h"
#include "plugin/tools/ClickSounds.h"
#include "plugin/tools/HostArt.h"
#include "plugin/tools/ModifyDimension.h"
#include "plugin/tools/SegmentTool.h"
#include "plugin/tools/ToolStates.h"

namespace tools {

const char* const kDistanceTooLong =
    "Impossible de placer le point demandé.\r\rLe paramètre longueur sur courbe est "
    "supérieur à la longueur totale de la courbe !"_w1252;

namespace {

constexpr double kPi = 3.14159265358979323846;

// How a mark is drawn: the ticks' half-length, the side they keep, the end ticks of an
// open path, and an angle's outer division.
struct TickLayout {
    double halfLength = 0;
    // The side of the path every tick keeps (left of the way the path runs +1, right −1);
    // 0 for ticks centred on the path.
    int side = 0;
    bool endTicks = true;
    bool outerAngle = false;
};

// The side of the marked path (or segment) that the cursor is on, left of the way it runs
// +1, right −1: by the path's direction where it passes nearest to the cursor, so that it
// is one side for every tick however the path turns.
int CursorSide(const BezierMark& mark, AIRealPoint cursor) {
    AIRealPoint from = mark.segmentStart;
    AIRealPoint to = mark.segmentEnd;
    if (mark.kind != BezierMark::Kind::Segment) {
        const auto nearest = geometry::NearestPathPoint(mark.curves, cursor);
        if (!nearest) {
            return 1;
        }
        from = nearest->point;
        to = {static_cast<AIReal>(from.h + nearest->tangent.h),
              static_cast<AIReal>(from.v + nearest->tangent.v)};
    }
    return geometry::SideOfLine(from, to, cursor) < 0 ? -1 : 1;
}

void TickAt(const geometry::PathPoint& at, const TickLayout& layout) {
    drawing::DrawTick(at.point, at.tangent, layout.halfLength, layout.side);
}

// The end point of a curve and its direction there.
geometry::PathPoint EndOf(const AIRealBezier& curve, bool atStart) {
    geometry::PathPoint end{};
    sAIRealBezier->PointAndTangentAt(&curve, atStart ? 0.0f : 1.0f, &end.point, &end.tangent);
    return end;
}

void DrawDistanceTick(const BezierMark& mark, const TickLayout& layout) {
    drawing::ClearTicks();
    if (const auto at = geometry::PointAtLength(mark.curves, mark.length)) {
        TickAt(*at, layout);
    }
}

// The path divided into equal lengths: a tick at every division point, at both ends of an
// open path (unless left out) and at the start of a closed one, which is a division point
// too.
void DividePath(const BezierMark& mark, const TickLayout& layout) {
    const std::int32_t parts = settings::Settings().curveDivisions;
    drawing::ClearTicks();
    if (mark.curves.empty()) {
        return;
    }
    if (mark.closed || layout.endTicks) {
        TickAt(EndOf(mark.curves.front(), true), layout);
    }
    if (!mark.closed && layout.endTicks) {
        TickAt(EndOf(mark.curves.back(), false), layout);
    }
    const double step = geometry::CurvesLength(mark.curves) / parts;
    for (std::int32_t i = 1; i < parts; ++i) {
        if (const auto at = geometry::PointAtLength(mark.curves, i * step)) {
            TickAt(*at, layout);
        }
    }
}

void DivideSegment(const BezierMark& mark, const TickLayout& layout) {
    const std::int32_t parts = settings::Settings().curveDivisions;
    drawing::ClearTicks();
    const AIRealPoint a = mark.segmentStart;
    const AIRealPoint b = mark.segmentEnd;
    const AIRealPoint along{b.h - a.h, b.v - a.v};
    for (std::int32_t i = 1; i < parts; ++i) {
        const double f = static_cast<double>(i) / parts;
        const AIRealPoint point{static_cast<AIReal>(a.h + f * along.h),
                                static_cast<AIReal>(a.v + f * along.v)};
        drawing::DrawTick(point, along, layout.halfLength, layout.side);
    }
}

// Rays from the vertex along both sides and between them, dividing the angle (or the outer
// angle) into equal angles.
void DivideAngle(const BezierMark& mark, const TickLayout& layout) {
    const std::int32_t parts = settings::Settings().curveDivisions;
    drawing::ClearTicks();
    const double sweep = layout.outerAngle
                             ? -(mark.sweep >= 0 ? 1.0 : -1.0) * (2 * kPi - std::fabs(mark.sweep))
                             : mark.sweep;
    for (std::int32_t i = 0; i <= parts; ++i) {
        const double angle = mark.firstSideAngle + i * sweep / parts;
        drawing::DrawMarkPiece(mark.reference,
                               geometry::PointAt(mark.reference, layout.halfLength, angle));
    }
}

void Draw(const BezierMark& mark, const TickLayout& layout) {
    switch (mark.kind) {
        case BezierMark::Kind::Distance:
            DrawDistanceTick(mark, layout);
            break;
        case BezierMark::Kind::Path:
            DividePath(mark, layout);
            break;
        case BezierMark::Kind::Segment:
            DivideSegment(mark, layout);
            break;
        case BezierMark::Kind::Angle:
            DivideAngle(mark, layout);
            break;
        case BezierMark::Kind::CentreMark:
        case BezierMark::Kind::None:
            break;
    }
}

// The ticks of a click: the length of the settings, centred.
TickLayout ClickLayout() {
    TickLayout layout;
    layout.halfLength = settings::Settings().curvePointLength * settings::kPointsPerMillimetre / 2;
    return layout;
}

ClickOutcome StartMark() {
    Draw(BezierToolMark(), ClickLayout());
    drawing::WorkingArt().laidOut = true;
    return Accepted();
}

ClickOutcome CentreMarkClick() {
    if (!drawing::PrepareDimensionGroup()) {
        return {};
    }
    const geometry::Circle circle = geometry::LastArcFit();
    BezierMark& mark = BezierToolMark();
    mark = {};
    mark.kind = BezierMark::Kind::CentreMark;
    PlayClickSound(ClickSound::Arc);
    drawing::DrawCentreMark(circle.centre, circle.radius);
    drawing::WorkingArt().laidOut = true;
    return Accepted();
}

// A tick at the settings' length along the path from the end clicked: its first or last
// anchor, or its first or last segment (the nearer end on a path of one segment).
ClickOutcome DistanceClick() {
    const HoverState& hover = Hover();
    const PathGeometry path = ReadPath(hover.hoverArt);
    const auto n = static_cast<std::int16_t>(path.segments.size());
    if (n < 2) {
        return {};
    }
    if (path.closed) {
        ShowAlert(kPathMustBeOpen);
        return {};
    }
    // The click on an open path is heard, whether or not it is at an end where a tick goes.
    PlayClickSound(hover.overAnchor            ? ClickSound::Point
                   : hover.overStraightSegment ? ClickSound::Segment
                                               : ClickSound::Bezier);
    std::optional<bool> fromStart;
    if (hover.overAnchor) {
        if (hover.startIndex == 0 || hover.startIndex == n - 1) {
            fromStart = hover.startIndex == 0;
        }
    } else if (hover.startIndex == 0 && hover.endIndex == n - 1) {
        const AIRealPoint at = hover.overStraightSegment ? hover.hoverPoint : hover.curveHitPoint;
        fromStart = geometry::Distance(at, path.segments.front().p) <=
                    geometry::Distance(at, path.segments.back().p);
    } else if (hover.startIndex == 0 || hover.endIndex == n - 1) {
        fromStart = hover.startIndex == 0;
    }
    if (!fromStart) {
        return {};
    }
    BezierMark mark;
    mark.kind = BezierMark::Kind::Distance;
    mark.curves = geometry::PathCurves(path.segments, false);
    const double total = geometry::CurvesLength(mark.curves);
    const double distance =
        settings::Settings().curveLengthOnCurve * settings::kPointsPerMillimetre;
    // A distance equal to the path's length (to a float's rounding) reaches its far end.
    constexpr double kRounding = 1e-6;
    mark.length = std::max(*fromStart ? distance : total - distance, 0.0);
    if (distance > total * (1 + kRounding)) {
        ShowAlert(kDistanceTooLong);
        return {};
    }
    mark.reference = hover.overCurve || hover.overArc ? hover.curveHitPoint : hover.hoverPoint;
    if (!drawing::PrepareDimensionGroup()) {
        return {};
    }
    BezierToolMark() = mark;
    return StartMark();
}

ClickOutcome DivisionClick() {
    const HoverState& hover = Hover();
    BezierMark mark;
    ClickSound sound = ClickSound::Bezier;
    if (hover.overStraightSegment) {
        mark.kind = BezierMark::Kind::Segment;
        mark.segmentStart = hover.hoverPoint;
        mark.segmentEnd = hover.segmentEnd;
        sound = ClickSound::Segment;
    } else if (hover.overAnchor) {
        const VertexState& vertex = Vertex();
        const auto sweep = vertex.notAVertex
                               ? std::nullopt
                               : geometry::SweptAngle(vertex.vertexPoint, vertex.firstSideEnd,
                                                      vertex.secondSideEnd);
        if (!sweep) {
            ShowAlert(kNotAVertex);
            return {};
        }
        mark.kind = BezierMark::Kind::Angle;
        mark.reference = vertex.vertexPoint;
        mark.firstSideAngle = geometry::DirectionAngle(vertex.vertexPoint, vertex.firstSideEnd);
        mark.sweep = *sweep;
        sound = ClickSound::Point;
    } else if (hover.overCurve || hover.overArc) {
        const PathGeometry path = ReadPath(hover.hoverArt);
        mark.kind = BezierMark::Kind::Path;
        mark.curves = geometry::PathCurves(path.segments, path.closed);
        mark.closed = path.closed;
        mark.reference = hover.curveHitPoint;
        sound = hover.overArc ? ClickSound::Arc : ClickSound::Bezier;
    } else {
        return {};
    }
    if (!drawing::PrepareDimensionGroup()) {
        return {};
    }
    BezierToolMark() = mark;
    PlayClickSound(sound);
    return StartMark();
}

}  // namespace

BezierMark& BezierToolMark() {
    static BezierMark mark;
    return mark;
}

ClickOutcome BezierToolClick(const AIToolHitData& hit, AIRealPoint, ClickKeys) {
    if (const auto kind = DimensionKindOf(hit)) {
        return HandOver(*kind);
    }
    const HoverState& hover = Hover();
    if (settings::Settings().curveShare != 0) {
        return DivisionClick();
    }
    if (hover.overArc) {
        return CentreMarkClick();
    }
    if (hover.overAnchor || hover.overStraightSegment || hover.overCurve) {
        return DistanceClick();
    }
    return {};
}

void LayOutBezierDrag(AIRealPoint cursor, const DragKeys& keys) {
    const BezierMark& mark = BezierToolMark();
    TickLayout layout;
    layout.endTicks = !keys.ctrl;
    double reach = geometry::Distance(mark.reference, cursor);
    if (mark.kind == BezierMark::Kind::Segment) {
        // From the segment's line, across it.
        reach = geometry::Distance(
            geometry::ProjectPointOnLine(cursor, mark.segmentStart, mark.segmentEnd), cursor);
    }
    const bool rays = mark.kind == BezierMark::Kind::Angle;
    if (rays) {
        layout.outerAngle = !geometry::WithinSweep(geometry::DirectionAngle(mark.reference, cursor),
                                                   mark.firstSideAngle, mark.sweep);
    } else if (keys.alt) {
        layout.side = CursorSide(mark, cursor);
    }
    // What is drawn reaches the cursor: a ray from the vertex, a one-sided tick from the
    // path, or each half of a centred tick, which is then twice as long.
    const bool halves = !rays && layout.side == 0;
    double length = halves ? 2 * reach : reach;
    const double step = settings::Settings().curvePointLength * settings::kPointsPerMillimetre;
    if (keys.shift && step > 0) {
        // Whole tick lengths of the settings, for the tick (or ray) as drawn.
        length = sAIRealMath->AIRealMultiple(static_cast<AIReal>(length), static_cast<AIReal>(step),
                                             true);
    }
    layout.halfLength = halves ? length / 2 : length;
    Draw(mark, layout);
}

}  // namespace tools
