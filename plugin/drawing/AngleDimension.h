// The angle dimension: an arc about the vertex between the two sides (or several concentric
// arcs), its arrowheads, the extension lines along the sides and the angle text; a right
// angle shows a square mark instead. The same arc, concentric with a measured arc of
// circle, makes the arc-length dimension.
#pragma once

#include "plugin/host/Records.h"

namespace drawing {

// What an angle dimension is drawn from.
struct AngleState {
    AIRealPoint vertex{0, 0};
    // The radius of the (first) arc, points.
    double radius = 0;
    // The direction of the first side, and the signed angle from it to the second side
    // (counter-clockwise when positive).
    double firstSideAngle = 0;
    double sweep = 0;
    // The outer angle is measured: the arc runs the other way round, outside the sides.
    bool reflex = false;
    // The arrowheads lie outside the arc, pointing in.
    bool arrowsOutside = false;
    // Drawn for the Angle tool, whose right angles show the square mark.
    bool angleTool = true;
};

AngleState& Angle();

// How the text of an angle dimension is placed.
struct AngleTextFlags {
    // On the side of the vertex away from the cursor.
    bool otherSide = false;
    // With its anchor on the cursor.
    bool onCursor = false;
};

// The least radius an arc of a dimension is drawn with, points.
constexpr double kLeastArcRadius = 1.0;

// Creates the art of a new angle dimension in the dimension group: its arc, tagged as an
// angle dimension ("moda"), and the extension path above it. The heads, the further arcs and
// the texts come with the layout.
void CreateAngleDimensionArt();

// Lays the angle dimension out from Angle() for `cursor`: the right-angle mark, or the
// arc(s) with their heads (none with several arcs), trimmed at the heads when these sit
// inside; the extension lines; the angle text at 0.6 of the radius on the cursor's side
// of the vertex (flags aside) and its tolerances. A radius below kLeastArcRadius is drawn
// at that radius. Marks the dimension as laid out.
void BuildAngleDimension(AIRealPoint cursor, const AngleTextFlags& flags);

// Draws the arc of `arc` (radius, vertex as its centre, from the first side through the
// sweep, or the outer way round when reflex) into line set 0's first line path, with its
// two heads, trimmed at them when they sit inside: the arc of an angle dimension and of an
// arc-length dimension. A radius below kLeastArcRadius is drawn at that radius.
void DrawDimensionArc(const AngleState& arc);

}  // namespace drawing
