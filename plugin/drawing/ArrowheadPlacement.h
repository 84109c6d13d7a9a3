// Arrowheads placed on dimensions: copies of the current template, scaled by the size
// setting, turned to the line or arc and moved to their tips.
#pragma once

#include "plugin/drawing/Arrowheads.h"
#include "plugin/host/Records.h"

namespace drawing {

// Writes the segments of `shape` into `path` and transforms it by `matrix`; with
// `scaleStrokes` a stroked head's line width is scaled with it.
void ApplyArrowTemplate(const AIRealMatrix& matrix, AIArtHandle path,
                        const ArrowTemplate& shape = CurrentArrowTemplate(),
                        bool scaleStrokes = false);

// The two heads of a straight dimension line from `tip1` toward `tip2` (direction
// `lineAngle`): inside the line pointing out to the extension lines, or outside pointing
// in when `reversed`. `index` selects the dimension's set of heads (1 for the vertical one
// of a horizontal-and-vertical dimension). Placed just below line half 1 of that set.
void PlaceLineArrowheads(AIRealPoint tip1, AIRealPoint tip2, double lineAngle, bool reversed,
                         int index);

// The head (or two heads) of a radius or diameter line of direction `lineAngle`: a head at
// `tip1`, and one at `tip2` when the radius line is drawn and a diameter is shown. Placed
// just below `line`.
void PlaceRadiusArrowheads(AIRealPoint tip1, AIRealPoint tip2, double lineAngle, bool reversed,
                           bool radiusLineDrawn, bool diameter, AIArtHandle line);

// The two heads of an arc of `radius` about its centre, from angle `angle1` (its end `end1`)
// to `angle2` (`end2`) turning by the signed `sweep` (counter-clockwise when positive):
// inside the arc pointing out to its ends, or outside pointing in when `reversed`; each
// head turned slightly toward the centre so that its body follows the curve, and the tick
// shape drawn straight across. Placed just below `arc`.
void PlaceArcArrowheads(double radius, AIRealPoint end1, double angle1, AIRealPoint end2,
                        double angle2, double sweep, bool reversed, AIArtHandle arc);

// The two heads of a curve dimension's line: tips at `tip1` and `tip2` with their bodies
// along `angle1` and `angle2` (toward the line), turned half a turn when `reversed`. A
// stroked head's line width grows with its size. Placed just below `line`.
void PlaceCurveArrowheads(AIRealPoint tip1, double angle1, AIRealPoint tip2, double angle2,
                          bool reversed, AIArtHandle line);

// The angle by which an arc's heads turn toward its centre: atan(0.025 × `arrowSize` / R);
// 0 for a radius that is zero or not finite.
double ArcHeadCorrection(double radius, double arrowSize);

}  // namespace drawing
