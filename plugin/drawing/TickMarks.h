// The marks of the Bézier tool: short ticks across a path, rays of a divided angle and the
// centre mark of a circle, all straight two-anchor paths of the dimension group, drawn in
// the line style and selected, kept in WorkingArt().ticks.
#pragma once

#include "plugin/host/Records.h"

namespace drawing {

// Disposes of the ticks of the mark being placed.
void ClearTicks();

// A tick through `point` across the direction `along` (any length but 0): `halfLength` to
// each side, or only to the left of `along` (side +1) or its right (side −1). Nothing for a
// direction of no length.
void DrawTick(AIRealPoint point, AIRealPoint along, double halfLength, int side);

// A straight piece of a mark from `a` to `b`.
void DrawMarkPiece(AIRealPoint a, AIRealPoint b);

// The size of the centre mark's cross: 9 points, or 0.36 of the radius below 25 points.
double CentreMarkSize(double radius);

// The centre mark of the circle of `centre` and `radius`: a cross of half-size s at the
// centre and its four axes, each from 2s to 2s + radius away from it (s by CentreMarkSize):
// six pieces.
void DrawCentreMark(AIRealPoint centre, double radius);

}  // namespace drawing
