#include "plugin/tools/AngleTool.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "plugin/drawing/AngleDimension.h"
#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/DimensionRecords.h"
#include "plugin/geometry/Arcs.h"
#include "plugin/geometry/GeometryKernel.h"
#include "plugin/hostaccess/Alert.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/tools/ClickSounds.h"
#include "plugin/tools/HostArt.h"
#include "plugin/tools/ModifyDimension.h"
#include "plugin/tools/ToolStates.h"

namespace tools {

const char* const kNotAVertex = "Ce point n'est pas le sommet d'un angle.";
const char* const kParallelSides = "Les deux côtés sont parallèles !"_w1252;
const char* const kSecondSideNeeded = "Vous devez cliquer sur le second côté de l'angle."_w1252;

namespace {

// The least distance a dimension arc keeps from the arc of circle it measures, points.
constexpr double kLeastArcOffset = 1.0;

// Disposes of the dimension group made for a click that is then refused, and tells why.
ClickOutcome Refuse(const char* message) {
    drawing::DisposeArt(drawing::WorkingArt().group);
    drawing::WorkingArt().lines = {};
    ShowAlert(message);
    return {};
}

// The first laying out of a new angle dimension, at the click.
ClickOutcome LayOutNew(AIRealPoint cursor) {
    drawing::BuildAngleDimension(cursor, {});
    return Accepted();
}

ClickOutcome VertexClick(AIRealPoint cursor) {
    const HoverState& hover = Hover();
    const VertexState& vertex = Vertex();
    if (!drawing::PrepareDimensionGroup()) {
        return {};
    }
    PlayClickSound(ClickSound::Point);
    if (vertex.notAVertex ||
        !SetUpAngle(vertex.vertexPoint, vertex.firstSideEnd, vertex.secondSideEnd)) {
        return Refuse(kNotAVertex);
    }
    SegmentTool().EndWaitingMeasure();
    AngleTool().arcAngleMode = false;
    drawing::CreateAngleDimensionArt();
    drawing::WriteAngleLink(hover.hoverArt, vertex.firstSideIndex, vertex.vertexIndex,
                            vertex.secondSideIndex, drawing::WorkingArt().lines[0].lineHalf1);
    return LayOutNew(cursor);
}

// The anchor two sides of one path share, in the order the sides' ends are compared.
struct SharedAnchor {
    std::int16_t vertex;
    std::int16_t firstFar;
    std::int16_t secondFar;
};
std::optional<SharedAnchor> Shared(std::int16_t s1, std::int16_t e1, std::int16_t s2,
                                   std::int16_t e2) {
    if (s2 == s1) {
        return SharedAnchor{s1, e1, e2};
    }
    if (e2 == s1) {
        return SharedAnchor{s1, e1, s2};
    }
    if (s2 == e1) {
        return SharedAnchor{e1, s1, e2};
    }
    if (e2 == e1) {
        return SharedAnchor{e1, s1, s2};
    }
    return std::nullopt;
}

ClickOutcome SideClick(AIRealPoint cursor) {
    const HoverState& hover = Hover();
    SegmentToolState& clicks = SegmentTool();
    AngleToolState& state = AngleTool();
    if (clicks.clickCount == 0) {
        PlayClickSound(ClickSound::Segment);
        clicks.clickCount = 1;
        clicks.measuredPath = hover.hoverArt;
        state.firstSidePath = hover.hoverArt;
        state.firstSideStartIndex = hover.startIndex;
        state.firstSideEndIndex = hover.endIndex;
        state.firstSideStart = hover.hoverPoint;
        state.firstSideEnd = hover.segmentEnd;
        return {};
    }
    if (!drawing::PrepareDimensionGroup()) {
        return {};
    }
    PlayClickSound(ClickSound::Segment);
    clicks.clickCount = 2;
    const AIRealPoint a = state.firstSideStart;
    const AIRealPoint b = state.firstSideEnd;
    const AIRealPoint c = hover.hoverPoint;
    const AIRealPoint d = hover.segmentEnd;
    if (geometry::Cross(a, b, c, d) == 0) {
        return Refuse(kParallelSides);
    }
    state.arcAngleMode = false;
    const std::optional<SharedAnchor> shared =
        hover.hoverArt == state.firstSidePath
            ? Shared(state.firstSideStartIndex, state.firstSideEndIndex, hover.startIndex,
                     hover.endIndex)
            : std::nullopt;
    if (shared) {
        const PathGeometry path = ReadPath(hover.hoverArt);
        const auto at = [&](std::int16_t i) {
            return path.segments[static_cast<std::size_t>(i)].p;
        };
        if (!SetUpAngle(at(shared->vertex), at(shared->firstFar), at(shared->secondFar))) {
            return Refuse(kNotAVertex);
        }
        drawing::CreateAngleDimensionArt();
        drawing::WriteAngleLink(hover.hoverArt, shared->firstFar, shared->vertex, shared->secondFar,
                                drawing::WorkingArt().lines[0].lineHalf1);
        return LayOutNew(cursor);
    }
    // Sides that do not meet: the vertex is where their lines cross, and each side's far
    // end is the one farther from it. Such a dimension keeps no link.
    const std::optional<AIRealPoint> vertex = geometry::LineIntersection(a, b, c, d);
    if (!vertex) {
        return Refuse(kParallelSides);
    }
    const AIRealPoint firstFar =
        geometry::Distance(*vertex, a) >= geometry::Distance(*vertex, b) ? a : b;
    const AIRealPoint secondFar =
        geometry::Distance(*vertex, c) >= geometry::Distance(*vertex, d) ? c : d;
    if (!SetUpAngle(*vertex, firstFar, secondFar)) {
        return Refuse(kNotAVertex);
    }
    drawing::CreateAngleDimensionArt();
    return LayOutNew(cursor);
}

ClickOutcome ArcClick(AIRealPoint cursor) {
    const HoverState& hover = Hover();
    const PathGeometry path = ReadPath(hover.hoverArt);
    const auto n = static_cast<std::int16_t>(path.segments.size());
    if (hover.startIndex < 0 || hover.startIndex >= n || hover.endIndex < 0 ||
        hover.endIndex >= n) {
        return {};
    }
    const AIPathSegment& from = path.segments[static_cast<std::size_t>(hover.startIndex)];
    const AIPathSegment& to = path.segments[static_cast<std::size_t>(hover.endIndex)];
    const geometry::Circle circle = geometry::LastArcFit();
    const auto sweep = geometry::ArcSweep(circle.centre, {from.p, from.out, to.in, to.p});
    if (!sweep || !drawing::PrepareDimensionGroup()) {
        return {};
    }
    AngleTool().arcAngleMode = true;
    AngleTool().sweptAngle = *sweep;
    PlayClickSound(ClickSound::Arc);
    drawing::CreateAngleDimensionArt();
    // The dimension's arc lies outside the measured one by the offset of the last
    // dimension, whichever side that was on.
    const double offset =
        std::max(std::fabs(settings::Settings().extensionLength), kLeastArcOffset);
    drawing::AngleState& angle = drawing::Angle();
    angle = {};
    angle.vertex = circle.centre;
    angle.radius = geometry::Distance(circle.centre, from.p) + offset;
    angle.firstSideAngle = geometry::DirectionAngle(circle.centre, from.p);
    angle.sweep = *sweep;
    return LayOutNew(cursor);
}

}  // namespace

AngleToolState& AngleTool() {
    static AngleToolState state;
    return state;
}

double SettingArcRadius() {
    return settings::Settings().arcRadius * settings::kPointsPerMillimetre;
}

bool SetUpAngle(AIRealPoint vertex, AIRealPoint firstSideEnd, AIRealPoint secondSideEnd) {
    const std::optional<double> sweep = geometry::SweptAngle(vertex, firstSideEnd, secondSideEnd);
    if (!sweep) {
        return false;
    }
    AngleTool().sweptAngle = *sweep;
    drawing::AngleState& angle = drawing::Angle();
    angle = {};
    angle.vertex = vertex;
    angle.radius = SettingArcRadius();
    angle.firstSideAngle = geometry::DirectionAngle(vertex, firstSideEnd);
    angle.sweep = *sweep;
    return true;
}

ClickOutcome AngleToolClick(const AIToolHitData& hit, AIRealPoint cursor, ClickKeys keys) {
    if (const auto kind = DimensionKindOf(hit); kind && *kind != ToolKind::Angle) {
        return HandOver(*kind);
    }
    const HoverState& hover = Hover();
    // An angle dimension's arc, or the square mark of a right angle.
    if (hover.OverDimension() && HasTag(hover.hoverArt, kAngleDimensionTag)) {
        ClickOutcome outcome;
        if (keys.alt) {
            outcome.error = RebuildAllOfKind(ToolKind::Angle);
        } else {
            outcome.dimensionStarted = RebuildDimension(hover.hoverArt, ToolKind::Angle, cursor);
            outcome.nameDimension = outcome.dimensionStarted;
        }
        return outcome;
    }
    if (hover.overAnchor) {
        return VertexClick(cursor);
    }
    if (hover.overStraightSegment) {
        return SideClick(cursor);
    }
    if (SegmentTool().clickCount == 1) {
        ShowAlert(kSecondSideNeeded);
        return {};
    }
    if (hover.overArc) {
        return ArcClick(cursor);
    }
    return {};
}

void LayOutAngleDrag(AIRealPoint cursor, const DragKeys& keys) {
    drawing::AngleState& angle = drawing::Angle();
    drawing::AngleTextFlags flags;
    flags.otherSide = keys.ctrl;
    flags.onCursor = keys.esc;
    if (!keys.esc) {
        double radius = geometry::Distance(angle.vertex, cursor);
        const double step = SettingArcRadius();
        if (keys.shift && step > 0) {
            radius = sAIRealMath->AIRealMultiple(static_cast<AIReal>(radius),
                                                 static_cast<AIReal>(step), true);
        }
        angle.radius = radius;
        angle.reflex = !geometry::WithinSweep(geometry::DirectionAngle(angle.vertex, cursor),
                                              angle.firstSideAngle, angle.sweep);
        angle.arrowsOutside = keys.alt;
    }
    drawing::BuildAngleDimension(cursor, flags);
}

}  // namespace tools
