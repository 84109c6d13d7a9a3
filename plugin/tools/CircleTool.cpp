#include "plugin/tools/CircleTool.h"

#include <cmath>
#include <numbers>
#include <optional>

#include "plugin/drawing/CircleDimension.h"
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

const char* const kSecondEndNeeded =
    "Vous devez cliquer sur un second point\r\r(seconde extrémité de l'arc de cercle)."_w1252;
const char* const kNotAnArcEnd = "Ce point n'est pas l'extrémité d'un arc de cercle."_w1252;
const char* const kEndsOnOnePath = "Les deux points doivent appartenir à un même tracé."_w1252;

namespace {

constexpr double kPi = std::numbers::pi;
// The direction a new circle dimension leaves the centre in, and its Shift step.
constexpr double kLeaderStep = kPi / 4;
// The leader length of the first circle dimension, points.
constexpr double kFirstLeaderLength = 32.0;

// True when the anchor has no handle at all.
bool WithoutHandles(const AIPathSegment& s) {
    return geometry::SamePoint(s.in, s.p) && geometry::SamePoint(s.out, s.p);
}

// A refusal of the second click: the group made for it goes, the first end is forgotten.
ClickOutcome Refuse(const char* message) {
    drawing::DisposeArt(drawing::WorkingArt().group);
    drawing::WorkingArt().lines = {};
    SegmentTool().clickCount = 0;
    ShowAlert(message);
    return {};
}

std::optional<AIPathSegment> AnchorOf(AIArtHandle art, std::int16_t index) {
    const PathGeometry path = ReadPath(art);
    if (index < 0 || static_cast<std::size_t>(index) >= path.segments.size()) {
        return std::nullopt;
    }
    return path.segments[static_cast<std::size_t>(index)];
}

ClickOutcome ArcClick() {
    const HoverState& hover = Hover();
    if (!drawing::PrepareDimensionGroup()) {
        return {};
    }
    const geometry::Circle circle = geometry::LastArcFit();
    SegmentTool().measuredPath = hover.hoverArt;
    const AIRealPoint at = SetUpCircle(circle.centre, circle.radius);
    drawing::CreateCircleDimensionArt();
    drawing::BuildCircleDimension(at, false, false);
    const drawing::LineArt& art = drawing::WorkingArt().lines[0];
    drawing::WriteCircleLink(hover.hoverArt, hover.startIndex, hover.endIndex, art.lineHalf1,
                             art.lineHalf2);
    PlayClickSound(ClickSound::Arc);
    return Accepted();
}

ClickOutcome EndClick() {
    const HoverState& hover = Hover();
    SegmentToolState& clicks = SegmentTool();
    if (clicks.clickCount == 0) {
        PlayClickSound(ClickSound::Point);
        clicks.clickCount = 1;
        clicks.measuredPath = hover.hoverArt;
        const std::optional<AIPathSegment> end = AnchorOf(hover.hoverArt, hover.startIndex);
        if (!end || WithoutHandles(*end)) {
            clicks.clickCount = 0;
            ShowAlert(kNotAnArcEnd);
            return {};
        }
        CircleTool().firstEnd = *end;
        return {};
    }
    if (!drawing::PrepareDimensionGroup()) {
        return {};
    }
    PlayClickSound(ClickSound::Point);
    clicks.clickCount += 1;
    if (hover.hoverArt != clicks.measuredPath) {
        return Refuse(kEndsOnOnePath);
    }
    const std::optional<AIPathSegment> second = AnchorOf(hover.hoverArt, hover.startIndex);
    if (!second || WithoutHandles(*second)) {
        return Refuse(kNotAnArcEnd);
    }
    const std::optional<geometry::Circle> circle =
        geometry::CircleFromAnchors(CircleTool().firstEnd, *second);
    if (!circle) {
        return Refuse(kNotAnArcEnd);
    }
    const AIRealPoint at = SetUpCircle(circle->centre, circle->radius);
    drawing::CreateCircleDimensionArt();
    drawing::BuildCircleDimension(at, false, false);
    // Two ends picked by hand are not kept as a link: the dimension is not associative.
    return Accepted();
}

}  // namespace

CircleToolState& CircleTool() {
    static CircleToolState state;
    return state;
}

AIRealPoint SetUpCircle(AIRealPoint centre, double radius) {
    drawing::CircleState& circle = drawing::CircleDimension();
    circle.centre = centre;
    circle.radius = radius;
    circle.leaderAngle = kLeaderStep;
    circle.altDrag = false;
    if (circle.leaderLength <= 0) {
        circle.leaderLength = kFirstLeaderLength;
    }
    return geometry::PointAt(centre, circle.leaderLength, circle.leaderAngle);
}

ClickOutcome CircleToolClick(const AIToolHitData& hit, AIRealPoint cursor, ClickKeys keys) {
    if (const auto kind = DimensionKindOf(hit); kind && *kind != ToolKind::Circle) {
        return HandOver(*kind);
    }
    const HoverState& hover = Hover();
    if (hover.overStraightDimension) {
        ClickOutcome outcome;
        if (keys.alt) {
            outcome.error = RebuildAllOfKind(ToolKind::Circle);
        } else {
            outcome.dimensionStarted = RebuildDimension(hover.hoverArt, ToolKind::Circle, cursor);
            outcome.nameDimension = outcome.dimensionStarted;
        }
        return outcome;
    }
    if (!hover.overAnchor) {
        if (SegmentTool().clickCount == 1) {
            ShowAlert(kSecondEndNeeded);
            return {};
        }
        return hover.overArc ? ArcClick() : ClickOutcome{};
    }
    return EndClick();
}

void LayOutCircleDrag(AIRealPoint cursor, const DragKeys& keys) {
    drawing::CircleState& circle = drawing::CircleDimension();
    if (keys.esc) {
        drawing::BuildCircleDimension(cursor, keys.ctrl, true);
        return;
    }
    double angle = geometry::DirectionAngle(circle.centre, cursor);
    if (keys.shift) {
        angle = sAIRealMath->AIRealMultiple(static_cast<AIReal>(angle),
                                            static_cast<AIReal>(kLeaderStep), true);
    }
    AIRealPoint at = cursor;
    if (keys.alt) {
        // Without a radius line the dimension leaves the centre half a turn further,
        // opposite the cursor. The leader reaches as far from the centre as the cursor is,
        // as it does without Alt: a length kept from before the drag would put the text of
        // a drag that held Alt from its start across the circle.
        if (settings::Settings().radiusLineDrawn == 0) {
            angle += kPi;
        }
        at = geometry::PointAt(circle.centre, geometry::Distance(circle.centre, cursor), angle);
    }
    circle.leaderAngle = angle;
    circle.altDrag = keys.alt;
    drawing::BuildCircleDimension(at, keys.ctrl, false);
}

}  // namespace tools
