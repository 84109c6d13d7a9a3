// The linear dimension: two measured points and a cursor turned into extension lines, a
// dimension line broken around its measure text, two arrowheads and the tolerance texts;
// oblique (parallel to the points), horizontal, vertical, or horizontal and vertical
// together (two sets of art, index 0 and 1).
#pragma once

#include <optional>

#include "plugin/drawing/DimensionRecords.h"
#include "plugin/host/Records.h"

namespace drawing {

// How a linear dimension is laid out.
enum class LinearLayout { Oblique, Horizontal, Vertical };

struct LinearFlags {
    // The offset snaps: whole centimetres (oblique), whole tens of points otherwise.
    bool snap = false;
    // The measure text slides along the dimension line with the cursor.
    bool textFollowsCursor = false;
    // The arrowheads lie outside the extension lines, pointing in.
    bool arrowsOutside = false;
};

// What one linear construction holds between its steps (one per index).
struct LinearState {
    LinearLayout layout = LinearLayout::Oblique;
    AIRealPoint p1{0, 0};  // the measured points
    AIRealPoint p2{0, 0};
    double angle = 0.0;    // direction of the dimension line, radians
    double offset = 0.0;   // signed distance from the measured points to the line
    AIRealPoint l1{0, 0};  // the arrow tips
    AIRealPoint l2{0, 0};
    bool arrowsOutside = false;
    // Where the measure text frame stands now: its anchor and its rotation.
    AIRealPoint textPosition{0, 0};
    double textAngle = 0.0;
};

LinearState& Linear(int index);

// The layout of set `index` for the settings' dimension type: the type's own, or for the
// horizontal-and-vertical type, horizontal (0) and vertical (1).
LinearLayout LayoutOfType(std::int32_t dimensionType, int index);

// The two line halves of set `index`, which carry the dimension's records.
SegmentRecordArt LineHalves(int index);

// The message of two clicks on one point (Windows-1252).
extern const char* const kPointsNotDistinct;

// Creates the dimension line's two halves of set `index` in the dimension group, tagged as
// a modifiable segment dimension ("mods", and "red" on half 1) unless the dimension type
// draws a horizontal and a vertical dimension together.
void CreateSegmentDimensionArt(int index);

// Lays out the linear dimension of `p1` and `p2` in `layout` with its line through the
// cursor's side: the offset comes from `cursor`, is written back into `extensionLength`,
// and the art of set `index` is drawn. Two equal points are refused with an alert and
// the dimension group disposed of: false.
bool BuildSegmentDimension(AIRealPoint p1, AIRealPoint p2, AIRealPoint cursor, LinearLayout layout,
                           const LinearFlags& flags, int index);

// Draws set `index` again from its stored points, direction and offset, with the current
// settings.
bool RebuildSegmentDimension(int index);

}  // namespace drawing
