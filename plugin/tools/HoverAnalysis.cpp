#include "plugin/tools/HoverAnalysis.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

#include "plugin/geometry/CurveCrossing.h"
#include "plugin/geometry/GeometryKernel.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/tools/AreaScanIndex.h"
#include "plugin/tools/HostArt.h"

namespace tools {

using namespace geometry;

namespace {

// The Lengths & Areas scan's tolerance, which narrows when the view is zoomed in.
constexpr AIReal kScanTolerance = 6.0f;
constexpr AIReal kScanToleranceZoomed = 3.0f;
constexpr AIReal kScanZoomLimit = 2.0f;
constexpr AIReal kScanStep = 0.001f;

// The hover analysis reads the view's centre and sets it again, which makes the host draw
// the annotations (the cursor tips) again.
ASErr RedrawAnnotations() {
    AIRealPoint centre{0, 0};
    ASErr error = sAIDocumentView->GetDocumentViewCenter(nullptr, &centre);
    if (error == 0) {
        error = sAIDocumentView->SetDocumentViewCenter(nullptr, &centre);
    }
    return error;
}

// Keeps the circle that the arc test just fitted with the hover state, for the clicks and
// the cursor tip that come after other fits.
void KeepArcFit(HoverState& hover) {
    hover.arcCentre = LastArcFit().centre;
    hover.arcRadius = LastArcFit().radius;
}

// The curve of `art` that a segment hit reports by the index of its end anchor (0 for the
// closing curve of a closed path). Nothing when the path has no such curve.
std::optional<AIRealBezier> CurveEndingAt(AIArtHandle art, ASInt32 end) {
    const PathGeometry path = ReadPath(art);
    const auto n = static_cast<ASInt32>(path.segments.size());
    if (n < 2 || end < 0 || end >= n || (end == 0 && !path.closed)) {
        return std::nullopt;
    }
    const AIPathSegment& a = path.segments[static_cast<std::size_t>(end == 0 ? n - 1 : end - 1)];
    const AIPathSegment& b = path.segments[static_cast<std::size_t>(end)];
    return AIRealBezier{a.p, a.out, b.in, b.p};
}

bool Straight(const AIRealBezier& b) {
    return SamePoint(b.p0, b.p1) && SamePoint(b.p3, b.p2);
}

// Auxiliary art locked for the moment, unlocked when the analysis ends.
using SetAside = std::vector<std::unique_ptr<TemporaryLock>>;

// Hit-tests at `cursor`, setting aside the art that `auxiliary` tells apart as long as it
// is what is hit, so that what lies beneath is found however many dimensions are stacked
// there. An extension line or an arrowhead often lies on the very anchor or side it
// dimensions. Art that cannot be set aside ends the search with its hit.
template <typename Auxiliary>
HitResult HitBeneath(AIRealPoint cursor, AIReal tolerance, ASInt32 request, SetAside& asides,
                     Auxiliary auxiliary) {
    HitResult hit = HitAt(cursor, tolerance, request);
    while (hit.error == 0 && hit.data.hit && auxiliary(hit)) {
        auto aside = std::make_unique<TemporaryLock>(hit.data.art);
        if (!aside->Locked()) {
            break;
        }
        asides.push_back(std::move(aside));
        hit = HitAt(cursor, tolerance, request);
    }
    return hit;
}

// A segment of auxiliary dimension art (an extension line over the side it extends), not
// of a dimension's own line or arc.
bool AuxiliarySegment(const HitResult& hit) {
    return hit.data.type == kSegmentHit && !IsDimensionArt(hit.data.art) &&
           HasTag(hit.data.art, kAuxiliaryTag);
}

// Step 2: a point under the cursor.
ASErr AnalysePoint(ToolKind tool, AIRealPoint cursor, bool* done) {
    HoverState& hover = Hover();
    // A new dimension can start from a corner already dimensioned.
    SetAside asides;
    const HitResult hit =
        HitBeneath(cursor, kHoverTolerance, kHitAnchorPoints, asides,
                   [](const HitResult& h) { return HasTag(h.data.art, kAuxiliaryTag); });
    if (hit.error != 0 || !hit.data.hit) {
        // No point, or only the points of dimension art: a segment may still lie under the
        // cursor (a dimension's own line near its end, which a click modifies).
        *done = hit.error != 0;
        return hit.error;
    }
    *done = true;
    if (HasTag(hit.data.art, kAuxiliaryTag)) {
        return 0;
    }
    hover.hoverArt = hit.data.art;
    hover.hoverPoint = hit.data.point;
    const auto index = static_cast<std::int16_t>(hit.data.segment);
    switch (tool) {
        case ToolKind::Segment:
            if (hit.data.type == kAnchorHit) {
                hover.overAnchor = true;
                hover.startIndex = index;
            } else {
                hover.overOtherPoint = true;
            }
            break;
        case ToolKind::Circle:
            hover.overAnchor = true;
            hover.startIndex = index;
            break;
        case ToolKind::Angle:
        case ToolKind::Bezier: {
            hover.overAnchor = true;
            hover.startIndex = index;
            const PathGeometry path = ReadPath(hit.data.art);
            Vertex() = RecogniseVertex(path.segments, path.closed, index);
            break;
        }
        case ToolKind::LengthsAndAreas:
            break;
    }
    return 0;
}

// The curve of a path that a segment hit names, with the anchors it joins; the hover state
// takes the art and the anchors' indexes. Nothing when the path has no such curve.
struct CurveUnder {
    AIPathSegment a;
    AIPathSegment b;
    AIRealBezier curve;
};

std::optional<CurveUnder> TakeCurve(const AIToolHitData& data) {
    HoverState& hover = Hover();
    const PathGeometry path = ReadPath(data.art);
    const auto count = static_cast<std::int16_t>(path.segments.size());
    if (count < 2 || data.segment < 0 || data.segment >= count) {
        return std::nullopt;
    }
    hover.hoverArt = data.art;
    hover.endIndex = static_cast<std::int16_t>(data.segment);
    hover.startIndex = hover.endIndex == 0 ? static_cast<std::int16_t>(count - 1)
                                           : static_cast<std::int16_t>(hover.endIndex - 1);
    const AIPathSegment& a = path.segments[static_cast<std::size_t>(hover.startIndex)];
    const AIPathSegment& b = path.segments[static_cast<std::size_t>(hover.endIndex)];
    return CurveUnder{a, b, AIRealBezier{a.p, a.out, b.in, b.p}};
}

// Steps 3 to 7: a segment under the cursor.
ASErr AnalyseSegment(ToolKind tool, AIRealPoint cursor) {
    HoverState& hover = Hover();
    // A side already dimensioned can be measured again; the extension lines stay aside
    // for the crossing probe too, so that they never count as crossings. The points were
    // looked at before: only segments are hit here, so that the end of a short dimension
    // line does not hide the line.
    SetAside asides;
    const HitResult hit =
        HitBeneath(cursor, kHoverTolerance, kHitSegments, asides, AuxiliarySegment);
    if (hit.error != 0 || !hit.data.hit || hit.data.type != kSegmentHit) {
        return hit.error;
    }
    std::optional<CurveUnder> under = TakeCurve(hit.data);
    if (!under) {
        return 0;
    }
    bool dimension = IsDimensionArt(hit.data.art);
    if (!dimension && HasTag(hit.data.art, kAuxiliaryTag)) {
        return 0;
    }
    AIRealPoint hitPoint = hit.data.point;
    if (tool != ToolKind::Bezier) {
        HitResult probe;
        {
            TemporaryLock lock(hit.data.art);
            probe = HitBeneath(cursor, kCrossingTolerance, kHitPointsHandlesSegments, asides,
                               AuxiliarySegment);
        }
        if (probe.error != 0) {
            return probe.error;
        }
        if (probe.data.hit && probe.data.type == kSegmentHit) {
            // The point measured is where the two paths cross, not the point of the first
            // one under the cursor (a point beside the crossing).
            const auto other = CurveEndingAt(probe.data.art, probe.data.segment);
            const auto crossing = other ? CrossingNearest(under->curve, *other, cursor)
                                        : std::optional<AIRealPoint>{};
            // A dimension's own line lying along a path (a dimension placed on the side it
            // measures) is drawn above it and is what the user points at, whichever of the
            // two the host found first: only a path that crosses the line makes a crossing.
            const bool alongDimension = !crossing && !dimension && IsDimensionArt(probe.data.art);
            if (crossing || (!dimension && !alongDimension)) {
                hover.overIntersection = true;
                hover.hoverPoint = crossing.value_or(hit.data.point);
                return 0;
            }
            if (alongDimension) {
                under = TakeCurve(probe.data);
                if (!under) {
                    return 0;
                }
                dimension = true;
                hitPoint = probe.data.point;
            }
        }
    }
    const AIPathSegment& a = under->a;
    const AIPathSegment& b = under->b;
    const AIRealBezier& curve = under->curve;
    if (Straight(curve)) {
        hover.hoverPoint = curve.p0;
        hover.segmentEnd = curve.p3;
        (dimension ? hover.overStraightDimension : hover.overStraightSegment) = true;
        return 0;
    }
    if (!IsCircularArc(a, b, ArcDirection::kForward)) {
        hover.overCurve = true;
    } else {
        (dimension ? hover.overArcDimension : hover.overArc) = true;
        KeepArcFit(hover);
    }
    hover.curveHitPoint = hitPoint;
    return 0;
}

// The scan of one curve of the Lengths & Areas tool; true when it found something.
bool ScanCurve(const AIPathSegment& from, const AIPathSegment& to, const AIRealBezier& curve,
               ArcDirection direction, std::int16_t fromIndex, std::int16_t toIndex, bool dimension,
               AIRealPoint cursor, AIReal tolerance, ScanMode mode) {
    HoverState& hover = Hover();
    // Every sample of a curve lies within the box of its control points: a cursor farther
    // than the tolerance from that box cannot be near the curve nor its anchors.
    const AIReal left = std::min({curve.p0.h, curve.p1.h, curve.p2.h, curve.p3.h});
    const AIReal right = std::max({curve.p0.h, curve.p1.h, curve.p2.h, curve.p3.h});
    const AIReal bottom = std::min({curve.p0.v, curve.p1.v, curve.p2.v, curve.p3.v});
    const AIReal top = std::max({curve.p0.v, curve.p1.v, curve.p2.v, curve.p3.v});
    if (mode == ScanMode::Culled &&
        !(cursor.h >= left - tolerance && cursor.h <= right + tolerance &&
          cursor.v >= bottom - tolerance && cursor.v <= top + tolerance)) {
        return false;
    }
    for (const auto& [anchor, index, t] :
         {std::tuple{from.p, fromIndex, 0.0f}, std::tuple{to.p, toIndex, 1.0f}}) {
        if (sAIRealMath->PointsClose(&cursor, &anchor, tolerance)) {
            hover.overAnchor = true;
            hover.startIndex = index;
            hover.hoverPoint = anchor;
            AIRealPoint point{0, 0};
            sAIRealBezier->PointAndTangentAt(&curve, t, &point, &hover.scanDirection);
            return true;
        }
    }
    for (AIReal t = 0; t < 1.0f; t += kScanStep) {
        AIRealPoint sample{0, 0};
        sAIRealBezier->PointAt(&curve, t, &sample);
        if (sAIRealMath->PointDistance(&sample, &cursor) >= tolerance) {
            continue;
        }
        hover.startIndex = fromIndex;
        hover.endIndex = toIndex;
        hover.hoverPoint = sample;
        if (Straight(curve)) {
            hover.segmentEnd = curve.p3;
            (dimension ? hover.overStraightDimension : hover.overStraightSegment) = true;
        } else if (!IsCircularArc(from, to, direction)) {
            hover.overCurve = true;
            hover.curveHitPoint = sample;
        } else {
            (dimension ? hover.overArcDimension : hover.overArc) = true;
            KeepArcFit(hover);
            hover.curveHitPoint = sample;
        }
        return true;
    }
    return false;
}

}  // namespace

VertexState RecogniseVertex(const std::vector<AIPathSegment>& segments, bool closed, int index) {
    VertexState vertex;
    const int n = static_cast<int>(segments.size());
    vertex.vertexIndex = static_cast<std::int16_t>(index);
    vertex.notAVertex = true;
    if (index < 0 || index >= n) {
        return vertex;
    }
    vertex.vertexPoint = segments[static_cast<std::size_t>(index)].p;
    if (n < 3 || (!closed && (index == 0 || index == n - 1))) {
        return vertex;
    }
    const int previous = (index + n - 1) % n;
    const int next = (index + 1) % n;
    vertex.sidesKnown = true;
    vertex.firstSideIndex = static_cast<std::int16_t>(previous);
    vertex.secondSideIndex = static_cast<std::int16_t>(next);
    vertex.firstSideEnd = segments[static_cast<std::size_t>(previous)].p;
    vertex.secondSideEnd = segments[static_cast<std::size_t>(next)].p;
    vertex.notAVertex = !IsStraightCorner(segments[static_cast<std::size_t>(previous)],
                                          segments[static_cast<std::size_t>(index)],
                                          segments[static_cast<std::size_t>(next)]);
    return vertex;
}

ASErr AnalyseHover(ToolKind tool, AIRealPoint cursor) {
    if (tool == ToolKind::LengthsAndAreas) {
        return AreaToolHover(cursor);
    }
    Hover() = HoverState{};
    Hover().cursorPoint = cursor;
    if (tool == ToolKind::Bezier) {
        BezierToolCursor() = cursor;
    }
    if (!std::isfinite(cursor.h) || !std::isfinite(cursor.v)) {
        return 0;
    }
    ASErr error = RedrawAnnotations();
    if (error != 0) {
        return error;
    }
    bool done = false;
    error = AnalysePoint(tool, cursor, &done);
    if (done) {
        return error;
    }
    return AnalyseSegment(tool, cursor);
}

ASErr AreaToolHover(AIRealPoint cursor, ScanMode mode) {
    Hover() = HoverState{};
    Hover().cursorPoint = cursor;
    if (!std::isfinite(cursor.h) || !std::isfinite(cursor.v)) {
        return 0;
    }
    ASErr error = RedrawAnnotations();
    AIReal zoom = 1;
    if (error == 0) {
        error = sAIDocumentView->GetDocumentViewZoom(nullptr, &zoom);
    }
    if (error != 0) {
        return error;
    }
    const AIReal tolerance = zoom <= kScanZoomLimit ? kScanTolerance : kScanToleranceZoomed;
    // A path whose extent lies farther than the tolerance holds no curve near enough: the
    // kept index gives the others, in the host's order.
    std::vector<AIArtHandle> paths;
    if (mode == ScanMode::Culled) {
        ASErr indexed = 0;
        const AreaScanIndex* index = KeptAreaScanIndex(&indexed);
        if (index == nullptr) {
            return indexed;
        }
        paths = index->Near(cursor, tolerance);
    } else if (const ASErr listed = ReachablePaths(&paths)) {
        return listed;
    }
    for (AIArtHandle art : paths) {
        const bool dimension = IsDimensionArt(art);
        if ((!dimension && HasTag(art, kAuxiliaryTag)) || !OnOpenLayer(art)) {
            continue;
        }
        const PathGeometry path = ReadPath(art);
        const auto& s = path.segments;
        const auto n = static_cast<std::int16_t>(s.size());
        bool found = false;
        for (std::int16_t k = 0; !found && k + 1 < n; ++k) {
            const AIRealBezier curve{s[k].p, s[k].out, s[k + 1].in, s[k + 1].p};
            found = ScanCurve(s[k], s[k + 1], curve, ArcDirection::kForward, k,
                              static_cast<std::int16_t>(k + 1), dimension, cursor, tolerance, mode);
        }
        if (!found && path.closed && n >= 2) {
            const AIRealBezier closing{s[0].p, s[0].in, s[n - 1].out, s[n - 1].p};
            found = ScanCurve(s[0], s[n - 1], closing, ArcDirection::kBackward, 0,
                              static_cast<std::int16_t>(n - 1), dimension, cursor, tolerance, mode);
        }
        if (found) {
            Hover().hoverArt = art;
            return 0;
        }
    }
    return 0;
}

}  // namespace tools
