#include "plugin/drawing/AngleDimension.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "plugin/drawing/ArrowheadPlacement.h"
#include "plugin/drawing/Arrowheads.h"
#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/DimensionRecords.h"
#include "plugin/drawing/DimensionStyles.h"
#include "plugin/drawing/MeasureText.h"
#include "plugin/geometry/Arcs.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/measure/Units.h"
#include "plugin/settings/DimensionSettings.h"

namespace drawing {
namespace {

constexpr double kPi = std::numbers::pi;
// The text stands at this fraction of the radius from the vertex.
constexpr double kTextRadius = 0.6;

LineArt& Art() {
    return WorkingArt().lines[0];
}

// The sweep of the arc drawn: the angle itself, or the outer angle the other way round.
double DrawnSweep(const AngleState& arc) {
    if (!arc.reflex) {
        return arc.sweep;
    }
    const double outer = 2 * kPi - std::fabs(arc.sweep);
    return arc.sweep >= 0 ? -outer : outer;
}

double Radius(const AngleState& arc) {
    return std::isfinite(arc.radius) ? std::max(arc.radius, kLeastArcRadius) : kLeastArcRadius;
}

void DisposeArcCopies() {
    for (AIArtHandle& copy : WorkingArt().arcCopies) {
        DisposeArt(copy);
    }
    WorkingArt().arcCopies.clear();
}

// The further arcs: copies of the first, scaled about the vertex.
void DrawArcCopies(const AngleState& arc) {
    const settings::DimensionSettings& s = settings::Settings();
    DisposeArcCopies();
    LineArt& art = Art();
    if (s.arcMultiple == 0 || !IsLive(art.lineHalf1)) {
        return;
    }
    const double radius = Radius(arc);
    DimensionArt& working = WorkingArt();
    for (int i = 1; i < s.arcCount; ++i) {
        AIArtHandle copy = nullptr;
        const ASErr error = sAIArt->DuplicateArt(art.lineHalf1, kPlaceBelow, art.lineHalf1, &copy);
        if (error != 0) {
            working.errors += error;
            break;
        }
        working.arcCopies.push_back(copy);
        const double scale = (radius + i * s.arcGap) / radius;
        // Scaling about the vertex: p' = scale · (p − C) + C.
        const AIRealMatrix matrix{static_cast<AIReal>(scale),
                                  0,
                                  0,
                                  static_cast<AIReal>(scale),
                                  static_cast<AIReal>(arc.vertex.h * (1 - scale)),
                                  static_cast<AIReal>(arc.vertex.v * (1 - scale))};
        working.errors += sAITransformArt->TransformArt(copy, &matrix, 1.0f, kTransformObjects);
    }
}

void DrawExtensionLines(const AngleState& arc, double outerRadius) {
    const settings::DimensionSettings& s = settings::Settings();
    LineArt& art = Art();
    if (s.withExtensionLines == 0) {
        DisposeArt(art.extension1);
        return;
    }
    if (!IsLive(art.extension1)) {
        // On top for now: the texts made after it go above it.
        art.extension1 = NewDimensionPath(nullptr);
    }
    const double headSize = s.arcMultiple != 0 ? 0.0 : s.arrowSize;
    const double reach = outerRadius + kExtensionOvershootPerPercent * headSize;
    SetPolyline({geometry::PointAt(arc.vertex, reach, arc.firstSideAngle), arc.vertex,
                 geometry::PointAt(arc.vertex, reach, arc.firstSideAngle + arc.sweep)},
                art.extension1, Styles().solidLine);
}

void DrawRightAngleMark(const AngleState& arc) {
    LineArt& art = Art();
    const auto mark =
        geometry::RightAngleMark(arc.vertex, Radius(arc), arc.firstSideAngle, arc.sweep);
    SetPolyline({mark[0], mark[1], mark[2]}, art.lineHalf1, LineStyle());
    for (AIArtHandle& head : art.heads) {
        DisposeArt(head);
    }
    DisposeArt(art.measureText);
    DisposeArt(art.tolerances[0]);
    DisposeArt(art.tolerances[1]);
    DisposeArcCopies();
}

// The text's anchor: at 0.6 of the radius from the vertex, toward the middle of the arc or
// the opposite way, whichever the flags and the cursor choose.
AIRealPoint TextAnchor(const AngleState& arc, AIRealPoint cursor, const AngleTextFlags& flags) {
    if (flags.onCursor) {
        return cursor;
    }
    const double middle = arc.firstSideAngle + DrawnSweep(arc) / 2;
    const double distance = kTextRadius * Radius(arc);
    const AIRealPoint toward = geometry::PointAt(arc.vertex, distance, middle);
    const AIRealPoint away = geometry::PointAt(arc.vertex, distance, middle + kPi);
    // A cursor on the vertex (the click itself) takes the side of the arc.
    constexpr double kTie = 1e-3;
    const bool towardNearer =
        geometry::Distance(toward, cursor) <= geometry::Distance(away, cursor) + kTie;
    return towardNearer != flags.otherSide ? toward : away;
}

}  // namespace

AngleState& Angle() {
    static AngleState state;
    return state;
}

void CreateAngleDimensionArt() {
    LineArt& art = Art();
    art.lineHalf1 = NewDimensionPath(nullptr);
    if (art.lineHalf1 != nullptr) {
        WorkingArt().errors += sAITag->SetTag(art.lineHalf1, kAngleKindKey, kTagString, kMarker);
    }
    if (settings::Settings().withExtensionLines != 0) {
        art.extension1 = NewDimensionPath(nullptr);
    }
}

void DrawDimensionArc(const AngleState& arc) {
    const settings::DimensionSettings& s = settings::Settings();
    LineArt& art = Art();
    if (!IsLive(art.lineHalf1)) {
        return;
    }
    const double radius = Radius(arc);
    const double sweep = DrawnSweep(arc);
    const bool withHeads = s.arrowSize != 0 && s.arcMultiple == 0;
    // Heads inside the arc stand on its ends: the arc stops at their bases.
    double trim =
        withHeads && !arc.arrowsOutside ? geometry::ArcTrimAngle(LineSetback(), radius) : 0.0;
    if (2 * trim >= std::fabs(sweep)) {
        trim = 0.0;
    }
    const double direction = sweep >= 0 ? 1.0 : -1.0;
    SetPathAnchors(geometry::ArcAnchors(arc.vertex, radius, arc.firstSideAngle + direction * trim,
                                        sweep - direction * 2 * trim),
                   false, art.lineHalf1, LineStyle());
    if (!withHeads) {
        for (AIArtHandle& head : art.heads) {
            DisposeArt(head);
        }
        return;
    }
    const double end = arc.firstSideAngle + sweep;
    PlaceArcArrowheads(radius, geometry::PointAt(arc.vertex, radius, arc.firstSideAngle),
                       arc.firstSideAngle, geometry::PointAt(arc.vertex, radius, end), end, sweep,
                       arc.arrowsOutside, art.lineHalf1);
}

void BuildAngleDimension(AIRealPoint cursor, const AngleTextFlags& flags) {
    const settings::DimensionSettings& s = settings::Settings();
    const AngleState& arc = Angle();
    WorkingArt().laidOut = true;
    const double radius = Radius(arc);
    const double outer = s.arcMultiple != 0 ? radius + (s.arcCount - 1) * s.arcGap : radius;
    if (arc.angleTool && !arc.reflex && s.arcMultiple == 0 &&
        geometry::IsRightAngle(arc.sweep, s.precision)) {
        DrawRightAngleMark(arc);
        DrawExtensionLines(arc, radius);
        return;
    }
    DrawDimensionArc(arc);
    DrawArcCopies(arc);
    DrawExtensionLines(arc, outer);
    PlaceMeasureText(LabelKind::Angle, TextAnchor(arc, cursor, flags),
                     measure::FormatAngle(static_cast<float>(arc.sweep), arc.reflex));
}

}  // namespace drawing
