#include "plugin/drawing/ArcLengthDimension.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "plugin/drawing/AngleDimension.h"
#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/DimensionStyles.h"
#include "plugin/drawing/MeasureText.h"
#include "plugin/geometry/Arcs.h"
#include "plugin/measure/MeasureLabels.h"
#include "plugin/settings/DimensionSettings.h"

namespace drawing {
namespace {

constexpr double kPi = std::numbers::pi;

}  // namespace

ArcLengthState& ArcLength() {
    static ArcLengthState state;
    return state;
}

void CreateArcLengthDimensionArt() {
    LineArt& art = WorkingArt().lines[0];
    art.lineHalf1 = NewDimensionPath(nullptr);
    art.extension1 = NewDimensionPath(nullptr);
    art.extension2 = NewDimensionPath(nullptr);
}

void BuildArcLengthDimension(AIRealPoint cursor, bool arrowsOutside) {
    const settings::DimensionSettings& s = settings::Settings();
    const ArcLengthState& measured = ArcLength();
    LineArt& art = WorkingArt().lines[0];
    WorkingArt().laidOut = true;
    const double radius = std::max(measured.radius + measured.offset, kLeastArcRadius);

    AngleState arc;
    arc.vertex = measured.centre;
    arc.radius = radius;
    arc.firstSideAngle = measured.startAngle;
    arc.sweep = measured.sweep;
    arc.arrowsOutside = arrowsOutside;
    arc.angleTool = false;
    DrawDimensionArc(arc);

    if (s.withExtensionLines == 0) {
        DisposeArt(art.extension1);
        DisposeArt(art.extension2);
    } else {
        // From just off the measured arc to just past the dimension arc, on its side.
        const double outward = radius >= measured.radius ? 1.0 : -1.0;
        const double from = measured.radius + outward * s.extensionGap;
        const double to = radius + outward * kExtensionOvershootPerPercent * s.arrowSize;
        const double end = measured.startAngle + measured.sweep;
        for (auto [path, angle] :
             {std::pair{art.extension1, measured.startAngle}, std::pair{art.extension2, end}}) {
            SetTwoPointPath(geometry::PointAt(measured.centre, from, angle),
                            geometry::PointAt(measured.centre, to, angle), path, LineStyle());
        }
    }

    const double middle = measured.startAngle + measured.sweep / 2;
    const AIRealPoint toward = geometry::PointAt(measured.centre, radius, middle);
    const AIRealPoint away = geometry::PointAt(measured.centre, radius, middle + kPi);
    AIRealPoint anchor =
        geometry::Distance(toward, cursor) <= geometry::Distance(away, cursor) ? toward : away;
    anchor.v = static_cast<AIReal>(anchor.v + s.textOffset);
    measure::BuildArcLengthLabel(static_cast<float>(measured.radius),
                                 static_cast<float>(measured.sweep), false);
    PlaceMeasureText(LabelKind::ArcLength, anchor, measure::MeasureText());
}

}  // namespace drawing
