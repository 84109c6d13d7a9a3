// The art of the dimension under construction: the dimension layer, the dimension's group
// and the paths and texts inside it, kept between the steps of one construction and
// replaced when the next dimension starts.
#pragma once

#include <array>
#include <vector>

#include "plugin/drawing/Steps.h"
#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/PaintRecords.h"
#include "plugin/host/Records.h"

namespace drawing {

// The art of one straight dimension. The type that draws a horizontal and a vertical
// dimension together keeps two of them (index 0 horizontal, 1 vertical).
struct LineArt {
    AIArtHandle lineHalf1 = nullptr;
    AIArtHandle lineHalf2 = nullptr;
    AIArtHandle extension1 = nullptr;
    AIArtHandle extension2 = nullptr;
    std::array<AIArtHandle, 2> heads{};
    AIArtHandle measureText = nullptr;
    std::array<AIArtHandle, 2> tolerances{};
};

struct DimensionArt {
    AILayerHandle layer = nullptr;
    AIArtHandle group = nullptr;
    std::array<LineArt, 2> lines{};
    // The further arcs of an angle dimension drawn with several arcs.
    std::vector<AIArtHandle> arcCopies;
    // The ticks of a mark of the Bézier tool, in the order they were drawn.
    std::vector<AIArtHandle> ticks;
    // Set once the dimension was laid out: until then its art is unfinished.
    bool laidOut = false;
    // The host errors met while building; each failed step is skipped and the next runs.
    Steps errors;
};

// The dimension under construction.
DimensionArt& WorkingArt();

// Extension lines run past the dimension line or arc they meet by this fraction of the
// arrowhead size (percent).
constexpr double kExtensionOvershootPerPercent = 0.04;

// The message shown when the dimension layer or the current layer is locked
// (Windows-1252).
extern const char* const kLayerLocked;

// Finds the layer titled `layerName` (or inserts it above all layers), disposes of the
// previous dimension's group when it was left empty or unfinished, and creates the new dimension's
// group on top of the layer. False, after telling the user, when the layer or the current layer is
// locked, or when the host refused: no dimension may then be drawn.
bool PrepareDimensionGroup();

// Forgets the art of the dimension under construction without touching it: its handles
// belong to a document or a host session that is gone, and a handle of the past must
// never designate new art.
void ForgetWorkingArt();

// Disposes of the dimension group when its dimension was started but never laid out (a
// first point whose second never came), so that no half-built art stays in the document.
void DiscardUnfinishedDimension();

// True for a handle of live art (null is not).
bool IsLive(AIArtHandle art);

// Disposes of `art` when it is live and forgets the handle.
void DisposeArt(AIArtHandle& art);

// A new path in the dimension group, tagged as auxiliary dimension art: just below `below`
// when that is live art, else on top of the group. Null when the host refused (the error
// is recorded).
AIArtHandle NewDimensionPath(AIArtHandle below);

// Makes `path` an open straight line from `a` to `b` with corner points, in `style`.
void SetTwoPointPath(AIRealPoint a, AIRealPoint b, AIArtHandle path, const AIPathStyle& style);

// Gives `path` the anchors `segments` (an open path unless `closed`) and `style`.
void SetPathAnchors(const std::vector<AIPathSegment>& segments, bool closed, AIArtHandle path,
                    const AIPathStyle& style);

// Makes `path` an open polyline through `points` with corner points, in `style`.
void SetPolyline(const std::vector<AIRealPoint>& points, AIArtHandle path,
                 const AIPathStyle& style);

// A matrix that scales by `scale`, then turns by `angle` (radians, counter-clockwise),
// then moves the origin to `to`.
AIRealMatrix ScaleRotateTranslate(double scale, double angle, AIRealPoint to);

// Moves `art` by (dx, dy).
void TranslateArt(AIArtHandle art, double dx, double dy);
// Turns `art` by `angle` (radians, counter-clockwise) about the point `about`.
void RotateArt(AIArtHandle art, double angle, AIRealPoint about);
// The width and height of the art's bounds (0 when it has none).
AIRealPoint ArtSize(AIArtHandle art);

}  // namespace drawing
