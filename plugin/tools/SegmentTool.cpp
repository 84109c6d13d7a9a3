#include "plugin/tools/SegmentTool.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "plugin/drawing/ArcLengthDimension.h"
#include "plugin/drawing/CurveDimension.h"
#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/DimensionRecords.h"
#include "plugin/drawing/LinearDimension.h"
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

using namespace geometry;

const char* const kSecondPointNeeded =
    "Vous devez cliquer sur un second point\r\r(point d'ancrage ou point d'intersection).";
const char* const kPathMustBeOpen = "Le tracé doit être ouvert."_w1252;
const char* const kClickOnAnObject =
    "Il faut cliquer sur un objet\r\rpour que le clic ait un effet.";
const char* const kSecondSegmentNeeded =
    "Distance perpendiculaire : cliquez maintenant\r\rsur un second segment droit."_w1252;
const char* const kSegmentsPerpendicular =
    "Les deux segments sont perpendiculaires :\r\rdistance perpendiculaire impossible."_w1252;

namespace {

bool BothDirections() {
    return settings::Settings().dimensionType == settings::kHorizontalAndVertical;
}

// Prepares the dimension group and creates the art of a new segment dimension (both sets
// for the type that draws a horizontal and a vertical dimension together). False when the
// layer refuses.
bool StartSegmentDimension() {
    if (!drawing::PrepareDimensionGroup()) {
        return false;
    }
    drawing::CreateSegmentDimensionArt(0);
    if (BothDirections()) {
        drawing::CreateSegmentDimensionArt(1);
    }
    return true;
}

double AngleOf(AIRealPoint from, AIRealPoint to) {
    return std::atan2(static_cast<double>(to.v) - from.v, static_cast<double>(to.h) - from.h);
}

// Removes "mods" from both line halves: the dimension cannot be brought up to date.
void MakeNotModifiable() {
    const drawing::SegmentRecordArt halves = drawing::LineHalves(0);
    for (AIArtHandle half : {halves.lineHalf1, halves.lineHalf2}) {
        if (half != nullptr) {
            sAITag->RemoveTag(half, drawing::kSegmentKindKey);
        }
    }
}

// Lays the new dimension out once both points are known (not for the type that draws a
// horizontal and a vertical dimension: its drag lays it out from the measured art).
bool LayOutPoints(AIRealPoint cursor) {
    const SegmentToolState& state = SegmentTool();
    if (BothDirections()) {
        return true;
    }
    return LayOutMeasure(state.firstPoint, state.secondPoint, cursor,
                         drawing::LayoutOfType(settings::Settings().dimensionType, 0));
}

ClickOutcome PerpendicularClick(AIRealPoint cursor) {
    SegmentToolState& state = SegmentTool();
    const HoverState& hover = Hover();
    if (!state.perpendicularPending) {
        if (!hover.overStraightSegment) {
            return {};
        }
        if (!StartSegmentDimension()) {
            return {};
        }
        state.clickCount = 1;
        PlayClickSound(ClickSound::Segment);
        MakeNotModifiable();
        state.firstPoint = hover.hoverPoint;
        state.secondPoint = hover.segmentEnd;
        state.perpendicularPending = true;
        return {};
    }
    if (!hover.overStraightSegment) {
        ShowAlert(kSecondSegmentNeeded);
        return {};
    }
    const AIRealPoint foot = ProjectPointOnLine(cursor, state.firstPoint, state.secondPoint);
    const auto across = LineIntersection(foot, cursor, hover.hoverPoint, hover.segmentEnd);
    if (!across) {
        ShowAlert(kSegmentsPerpendicular);
        return {};
    }
    state.perpendicularPending = false;
    state.clickCount += 1;
    PlayClickSound(ClickSound::Segment);
    state.firstPoint = foot;
    state.secondPoint = *across;
    if (!LayOutPoints(cursor)) {
        return {};
    }
    return Accepted();
}

ClickOutcome PointClick(AIRealPoint cursor) {
    SegmentToolState& state = SegmentTool();
    const HoverState& hover = Hover();
    if (state.clickCount == 0) {
        if (!StartSegmentDimension()) {
            return {};
        }
        state.firstPoint = hover.hoverPoint;
        state.firstAnchorPath = hover.overAnchor ? hover.hoverArt : nullptr;
        state.firstAnchorIndex = hover.startIndex;
        // The type that measures the art's bounds makes its dimension from this one click.
        if (hover.overAnchor && BothDirections()) {
            drawing::WritePointLink(hover.hoverArt, hover.startIndex, drawing::Point::First,
                                    drawing::LineHalves(0));
        }
        state.measuredPath = hover.hoverArt;
        state.firstPointForeign = hover.overOtherPoint;
        PlayClickSound(ClickSound::Point);
        state.clickCount = 1;
        ClickOutcome outcome = Accepted();
        // The drag places nothing before the second point, except for the type that
        // measures the art's bounds.
        outcome.dimensionStarted = BothDirections();
        return outcome;
    }
    state.clickCount += 1;
    state.secondPoint = hover.hoverPoint;
    PlayClickSound(ClickSound::Point);
    state.measuredPath = hover.hoverArt;
    const AIArtHandle firstPath = std::exchange(state.firstAnchorPath, nullptr);
    if (!LayOutPoints(cursor)) {
        return {};
    }
    // The links, once the two points made a dimension.
    if (!state.firstPointForeign && hover.overOtherPoint) {
        // A dimension that touches a point other than an anchor cannot follow its path.
        drawing::UnlinkFirstPoint(drawing::LineHalves(0));
    } else if (drawing::IsLive(firstPath)) {
        drawing::WritePointLink(firstPath, state.firstAnchorIndex, drawing::Point::First,
                                drawing::LineHalves(0));
    }
    if (hover.overAnchor && !state.firstPointForeign) {
        drawing::WritePointLink(hover.hoverArt, hover.startIndex, drawing::Point::Second,
                                drawing::LineHalves(0));
    }
    return Accepted();
}

ClickOutcome SegmentClick(AIRealPoint cursor) {
    SegmentToolState& state = SegmentTool();
    const HoverState& hover = Hover();
    if (!StartSegmentDimension()) {
        return {};
    }
    state.EndWaitingMeasure();
    PlayClickSound(ClickSound::Segment);
    state.firstPoint = hover.hoverPoint;
    state.secondPoint = hover.segmentEnd;
    state.measuredPath = hover.hoverArt;
    state.segmentMode = true;
    if (!BothDirections()) {
        drawing::WriteSegmentLink(hover.hoverArt, hover.startIndex, hover.endIndex,
                                  drawing::LineHalves(0));
    }
    if (!LayOutPoints(cursor)) {
        return {};
    }
    return Accepted();
}

// The least distance a dimension arc keeps from the arc of circle it measures, points.
constexpr double kLeastArcOffset = 1.0;
// The Shift steps of the offsets of arc-length and curve-length dimensions, points.
constexpr double kArcOffsetStep = 10.0;
constexpr double kCurveOffsetStep = 12.0;

// Where the drag of a curve-length dimension measures its offset from: the point of the
// curve that was clicked and the curve's direction there.
struct CurveDrag {
    AIRealPoint reference{0, 0};
    AIRealPoint direction{0, 0};
};

CurveDrag& CurveDragState() {
    static CurveDrag drag;
    return drag;
}

// `value` moved away from zero to a whole multiple of `step`, with the host's rounding.
double RoundedAway(double value, double step) {
    const double magnitude = sAIRealMath->AIRealMultiple(static_cast<AIReal>(std::fabs(value)),
                                                         static_cast<AIReal>(step), true);
    return value < 0 ? -magnitude : magnitude;
}

void LayOutArcLengthDrag(AIRealPoint cursor, const DragKeys& keys) {
    drawing::ArcLengthState& arc = drawing::ArcLength();
    double offset = geometry::Distance(cursor, arc.centre) - arc.radius;
    if (keys.shift) {
        offset = RoundedAway(offset, kArcOffsetStep);
    }
    arc.offset = offset;
    settings::Settings().extensionLength = offset;
    drawing::BuildArcLengthDimension(cursor, keys.alt);
}

void LayOutCurveDrag(AIRealPoint cursor, const DragKeys& keys) {
    const CurveDrag& drag = CurveDragState();
    const double dx = static_cast<double>(cursor.h) - drag.reference.h;
    const double dy = static_cast<double>(cursor.v) - drag.reference.v;
    // Left of the way the curve runs is the positive side.
    const double side =
        static_cast<double>(drag.direction.h) * dy - static_cast<double>(drag.direction.v) * dx;
    double offset = std::hypot(dx, dy) * (side < 0 ? -1.0 : 1.0);
    if (keys.shift) {
        offset = RoundedAway(offset, kCurveOffsetStep);
    }
    drawing::Curve().offset = offset;
    settings::Settings().extensionLength = offset;
    drawing::BuildCurveDimension(keys.alt);
}

// The measured curve of the hovered segment: from its start anchor to its end anchor.
std::optional<AIRealBezier> HoveredCurve(const PathGeometry& path) {
    const HoverState& hover = Hover();
    const auto n = static_cast<std::int16_t>(path.segments.size());
    if (hover.startIndex < 0 || hover.startIndex >= n || hover.endIndex < 0 ||
        hover.endIndex >= n) {
        return std::nullopt;
    }
    const AIPathSegment& a = path.segments[static_cast<std::size_t>(hover.startIndex)];
    const AIPathSegment& b = path.segments[static_cast<std::size_t>(hover.endIndex)];
    return AIRealBezier{a.p, a.out, b.in, b.p};
}

ClickOutcome ArcLengthClick(const AIRealBezier& curve, AIRealPoint cursor) {
    const geometry::Circle circle = LastArcFit();
    const auto sweep = geometry::ArcSweep(circle.centre, curve);
    if (!sweep) {
        drawing::DisposeArt(drawing::WorkingArt().group);
        return {};
    }
    drawing::ArcLengthState& arc = drawing::ArcLength();
    arc.centre = circle.centre;
    arc.radius = geometry::Distance(curve.p0, circle.centre);
    arc.startAngle = geometry::DirectionAngle(circle.centre, curve.p0);
    arc.sweep = *sweep;
    // Outside the arc by the offset of the last dimension, whichever side that was on.
    arc.offset = std::max(std::fabs(settings::Settings().extensionLength), kLeastArcOffset);
    drawing::CreateArcLengthDimensionArt();
    drawing::BuildArcLengthDimension(cursor, false);
    return Accepted();
}

ClickOutcome CurveLengthClick(const AIRealBezier& curve) {
    const HoverState& hover = Hover();
    CurveDrag& drag = CurveDragState();
    drag.reference = hover.curveHitPoint;
    const auto nearest = geometry::NearestPathPoint({curve}, hover.curveHitPoint);
    drag.direction = nearest ? nearest->tangent : AIRealPoint{0, 0};
    drawing::CurveState& measured = drawing::Curve();
    measured.curve = curve;
    measured.path = hover.hoverArt;
    measured.from = hover.startIndex;
    measured.to = hover.endIndex;
    measured.offset = settings::Settings().extensionLength;
    drawing::CreateCurveDimensionArt();
    if (!drawing::BuildCurveDimension(false)) {
        return {};
    }
    return Accepted();
}

// A curve or an arc: a curve-length or an arc-length dimension; a closed path is refused.
ClickOutcome CurvedClick(ClickSound sound, bool arc, AIRealPoint cursor) {
    SegmentToolState& state = SegmentTool();
    const HoverState& hover = Hover();
    if (!drawing::PrepareDimensionGroup()) {
        return {};
    }
    state.EndWaitingMeasure();
    PlayClickSound(sound);
    state.measuredPath = hover.hoverArt;
    const PathGeometry path = ReadPath(hover.hoverArt);
    if (!BothDirections() && path.closed) {
        drawing::DisposeArt(drawing::WorkingArt().group);
        ShowAlert(kPathMustBeOpen);
        return {};
    }
    (arc ? state.arcMode : state.curveMode) = true;
    if (BothDirections()) {
        drawing::CreateSegmentDimensionArt(0);
        drawing::CreateSegmentDimensionArt(1);
        return Accepted();
    }
    const std::optional<AIRealBezier> curve = HoveredCurve(path);
    if (!curve) {
        drawing::DisposeArt(drawing::WorkingArt().group);
        return {};
    }
    return arc ? ArcLengthClick(*curve, cursor) : CurveLengthClick(*curve);
}

ClickOutcome FreeClick(AIRealPoint cursor) {
    SegmentToolState& state = SegmentTool();
    state.freePointPending = true;
    if (BothDirections()) {
        ShowAlert(kClickOnAnObject);
        return {};
    }
    if (state.clickCount == 0) {
        if (!StartSegmentDimension()) {
            return {};
        }
        state.firstPoint = cursor;
        state.firstAnchorPath = nullptr;
        PlayClickSound(ClickSound::Point);
        state.clickCount = 1;
        ClickOutcome outcome = Accepted();
        outcome.dimensionStarted = false;
        return outcome;
    }
    state.clickCount += 1;
    state.secondPoint = cursor;
    PlayClickSound(ClickSound::Point);
    state.freePointPending = false;
    if (!LayOutPoints(cursor)) {
        return {};
    }
    return Accepted();
}

// The art the type that draws a horizontal and a vertical dimension measures: the measured
// path, or with `groupDimension` the group holding it.
AIArtHandle MeasuredArt() {
    AIArtHandle art = SegmentTool().measuredPath;
    if (settings::Settings().groupDimension != 0 && drawing::IsLive(art)) {
        AIArtHandle parent = nullptr;
        if (sAIArt->GetArtParent(art, &parent) == 0 && parent != nullptr) {
            ASInt32 type = 0;
            if (sAIArt->GetArtType(parent, &type) == 0 && type == kGroupArt) {
                art = parent;
            }
        }
    }
    return art;
}

}  // namespace

bool LayOutMeasure(AIRealPoint first, AIRealPoint second, AIRealPoint cursor,
                   drawing::LinearLayout layout) {
    SegmentToolState& state = SegmentTool();
    state.firstPoint = first;
    state.secondPoint = second;
    state.dimensionAngle = static_cast<AIReal>(AngleOf(first, second));
    state.textRotation = 0;
    return drawing::BuildSegmentDimension(first, second, cursor, layout, {}, 0);
}

namespace {

ClickOutcome Dispatch(const AIToolHitData& hit, AIRealPoint cursor, ClickKeys keys) {
    if (const auto kind = DimensionKindOf(hit); kind && *kind != ToolKind::Segment) {
        return HandOver(*kind);
    }
    const HoverState& hover = Hover();
    SegmentToolState& state = SegmentTool();
    const bool onPoint = hover.overAnchor || hover.overIntersection || hover.overOtherPoint;
    if (hit.hit && HasTag(hit.art, kAuxiliaryTag) && !onPoint && !hover.overStraightSegment &&
        !hover.OverDimension()) {
        // An arrowhead or an extension line: a click there measures nothing, not even a
        // free point.
        return {};
    }
    if (hover.overStraightDimension) {
        ClickOutcome outcome;
        if (keys.alt) {
            outcome.error = RebuildAllOfKind(ToolKind::Segment);
        } else {
            outcome.dimensionStarted = RebuildDimension(hover.hoverArt, ToolKind::Segment, cursor);
            outcome.nameDimension = outcome.dimensionStarted;
        }
        return outcome;
    }
    if ((keys.shift && keys.alt) || state.perpendicularPending) {
        return PerpendicularClick(cursor);
    }
    if (onPoint) {
        return PointClick(cursor);
    }
    if (!state.freePointPending && state.clickCount == 1) {
        ShowAlert(kSecondPointNeeded);
        return {};
    }
    if (hover.overStraightSegment) {
        return SegmentClick(cursor);
    }
    if (hover.overCurve) {
        return CurvedClick(ClickSound::Bezier, false, cursor);
    }
    if (hover.overArc) {
        return CurvedClick(ClickSound::Arc, true, cursor);
    }
    return FreeClick(cursor);
}

}  // namespace

ClickOutcome SegmentToolClick(const AIToolHitData& hit, AIRealPoint cursor, ClickKeys keys) {
    const ClickOutcome outcome = Dispatch(hit, cursor, keys);
    // The horizontal and vertical dimensions of the art are drawn at once; the drag then
    // moves them.
    if (outcome.dimensionStarted && BothDirections()) {
        LayOutSegmentDrag(cursor, {});
    }
    return outcome;
}

std::optional<std::pair<AIRealPoint, AIRealPoint>> LayOutSegmentDrag(AIRealPoint cursor,
                                                                     const DragKeys& keys) {
    const SegmentToolState& state = SegmentTool();
    const settings::DimensionSettings& s = settings::Settings();
    drawing::LinearFlags flags;
    flags.snap = keys.ctrl;
    flags.textFollowsCursor = keys.space;
    flags.arrowsOutside = keys.alt;
    if (BothDirections()) {
        AIRealRect bounds{};
        const AIArtHandle art = MeasuredArt();
        if (!drawing::IsLive(art) || sAIArt->GetArtBounds(art, &bounds) != 0) {
            return std::nullopt;
        }
        // The dimensions go on the cursor's side of the art: the top or bottom corners for
        // the horizontal one, the left or right corners for the vertical one.
        const bool above = cursor.v >= (bounds.top + bounds.bottom) / 2;
        const bool right = cursor.h >= (bounds.left + bounds.right) / 2;
        const AIReal y = above ? bounds.top : bounds.bottom;
        const AIReal x = right ? bounds.right : bounds.left;
        // An art without width (height) has no horizontal (vertical) dimension.
        if (bounds.right > bounds.left) {
            drawing::BuildSegmentDimension({bounds.left, y}, {bounds.right, y}, cursor,
                                           drawing::LinearLayout::Horizontal, flags, 0);
        }
        if (bounds.top > bounds.bottom) {
            drawing::BuildSegmentDimension({x, bounds.bottom}, {x, bounds.top}, cursor,
                                           drawing::LinearLayout::Vertical, flags, 1);
        }
    } else {
        if (state.arcMode) {
            LayOutArcLengthDrag(cursor, keys);
            return std::nullopt;
        }
        if (state.curveMode) {
            LayOutCurveDrag(cursor, keys);
            return std::nullopt;
        }
        if (state.clickCount < 2 && !state.segmentMode) {
            return std::nullopt;
        }
        drawing::LinearLayout layout = drawing::LayoutOfType(s.dimensionType, 0);
        if (layout == drawing::LinearLayout::Oblique) {
            if (keys.leftShift) {
                layout = drawing::LinearLayout::Horizontal;
            } else if (keys.rightShift) {
                layout = drawing::LinearLayout::Vertical;
            }
        } else if (keys.leftShift || keys.rightShift) {
            layout = layout == drawing::LinearLayout::Horizontal
                         ? drawing::LinearLayout::Vertical
                         : drawing::LinearLayout::Horizontal;
        }
        if (!drawing::BuildSegmentDimension(state.firstPoint, state.secondPoint, cursor, layout,
                                            flags, 0)) {
            return std::nullopt;
        }
    }
    const drawing::LinearState& laid = drawing::Linear(0);
    return std::pair{laid.l1, laid.l2};
}

AIRealPoint CurveDragReference() {
    return CurveDragState().reference;
}

}  // namespace tools
