#include "plugin/drawing/CircleDimension.h"

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
#include "plugin/measure/MeasureLabels.h"
#include "plugin/settings/DimensionSettings.h"

namespace drawing {
namespace {

constexpr double kPi = std::numbers::pi;
// Space between the end of the shoulder and the text, points.
constexpr double kTextGap = 2.0;

LineArt& Art() {
    return WorkingArt().lines[0];
}

AIRealPoint Shifted(AIRealPoint p, double dx, double dy) {
    return {static_cast<AIReal>(p.h + dx), static_cast<AIReal>(p.v + dy)};
}

}  // namespace

CircleState& CircleDimension() {
    static CircleState state;
    return state;
}

bool ShowsDiameter() {
    return (settings::Settings().showDiameter != 0) != CircleDimension().altDrag;
}

void CreateCircleDimensionArt() {
    LineArt& art = Art();
    Steps& errors = WorkingArt().errors;
    art.lineHalf1 = NewDimensionPath(nullptr);
    art.lineHalf2 = NewDimensionPath(art.lineHalf1);
    for (AIArtHandle path : {art.lineHalf1, art.lineHalf2}) {
        if (path != nullptr) {
            errors += sAITag->SetTag(path, kCircleKindKey, kTagString, kMarker);
        }
    }
    if (art.lineHalf1 != nullptr) {
        errors += sAITag->SetTag(art.lineHalf1, kRebuildKey, kTagString, kMarker);
    }
}

void BuildCircleDimension(AIRealPoint cursor, bool arrowsOutside, bool textOnCursor) {
    const settings::DimensionSettings& s = settings::Settings();
    CircleState& circle = CircleDimension();
    LineArt& art = Art();
    WorkingArt().laidOut = true;
    const double r = circle.radius;
    const double phi = circle.leaderAngle;
    const bool diameter = ShowsDiameter();
    const bool lineDrawn = s.radiusLineDrawn != 0;
    const double setback = arrowsOutside ? 0.0 : LineSetback();

    // The radius or diameter line, in the frame of the leader's direction.
    if (lineDrawn) {
        const double from = diameter ? setback - r : 0.0;
        SetTwoPointPath(geometry::PointAt(circle.centre, from, phi),
                        geometry::PointAt(circle.centre, r - setback, phi), art.lineHalf2,
                        LineStyle());
    } else {
        DisposeArt(art.lineHalf2);
    }
    const AIRealPoint tip1 = geometry::PointAt(circle.centre, r, phi);
    const AIRealPoint tip2 = geometry::PointAt(circle.centre, r, phi + kPi);
    // The heads take the line's direction from the first tip toward the centre.
    PlaceRadiusArrowheads(tip1, tip2, phi + kPi, arrowsOutside, lineDrawn, diameter,
                          IsLive(art.lineHalf2) ? art.lineHalf2 : art.lineHalf1);

    // The leader: from the circle out to the cursor's distance, then the shoulder.
    const double shoulder = s.radiusLeaderLength * settings::kPointsPerMillimetre;
    const double reach = geometry::Distance(circle.centre, cursor);
    std::vector<AIRealPoint> leader;
    AIRealPoint bend{0, 0};
    double side = geometry::ShoulderDirection(phi);
    if (reach > r) {
        // The head at the first tip stands outside the circle when it is not reversed
        // without a radius line, or reversed with one: the leader starts at its base.
        const bool headOutside = lineDrawn == arrowsOutside;
        const double start = r + (headOutside && s.arrowSize != 0 ? LineSetback() : 0.0);
        bend = geometry::PointAt(circle.centre, reach, phi);
        leader = {geometry::PointAt(circle.centre, std::min(start, reach), phi), bend};
    } else if (!lineDrawn) {
        // Inside the circle without a radius line: from the opposite tip outward, as far
        // outside as the cursor is inside.
        side = geometry::ShoulderDirection(phi + kPi);
        bend = geometry::PointAt(circle.centre, 2 * r - reach, phi + kPi);
        leader = {tip2, bend};
    } else {
        // Inside with the radius line: only the shoulder, at the cursor.
        bend = cursor;
        leader = {bend};
    }
    const AIRealPoint end = Shifted(bend, side * shoulder, 0);
    leader.push_back(end);
    SetPolyline(leader, art.lineHalf1, LineStyle());
    circle.leaderLength = geometry::Distance(circle.centre, bend);

    measure::BuildRadiusLabel(static_cast<float>(r), circle.altDrag);
    if (textOnCursor) {
        PlaceMeasureText(LabelKind::Radius, cursor, measure::MeasureText());
        return;
    }
    // The text follows the shoulder, beyond its end, raised by the text offset. The
    // tolerances stand right of the measure, so on a shoulder pointing left the measure
    // moves further left by the widest of them, and none of it covers the shoulder.
    PlaceMeasureText(LabelKind::Radius, Shifted(end, 0, s.textOffset), measure::MeasureText());
    double shift = side * (ArtSize(art.measureText).h / 2 + kTextGap);
    if (side < 0) {
        for (AIArtHandle tolerance : {art.tolerances[0], art.tolerances[1]}) {
            if (IsLive(tolerance)) {
                shift = std::min(
                    shift, -(ArtSize(art.measureText).h / 2 + kTextGap + ArtSize(tolerance).h));
            }
        }
    }
    for (AIArtHandle text : {art.measureText, art.tolerances[0], art.tolerances[1]}) {
        TranslateArt(text, shift, 0);
    }
}

}  // namespace drawing
