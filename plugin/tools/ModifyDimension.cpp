#include "plugin/tools/ModifyDimension.h"

#include <cmath>
#include <optional>
#include <vector>

#include "plugin/drawing/AngleDimension.h"
#include "plugin/drawing/CircleDimension.h"
#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/DimensionRecords.h"
#include "plugin/drawing/DimensionStyles.h"
#include "plugin/drawing/LinearDimension.h"
#include "plugin/geometry/Arcs.h"
#include "plugin/geometry/GeometryKernel.h"
#include "plugin/hostaccess/Alert.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/tools/AngleTool.h"
#include "plugin/tools/CircleTool.h"
#include "plugin/tools/HostArt.h"
#include "plugin/tools/SegmentTool.h"
#include "plugin/tools/ToolStates.h"

namespace tools {
namespace {

using drawing::kMeasuredPathNotFound;

// The path a dimension measures: from the index of a rebuild of all when there is one, by
// listing the document otherwise.
std::optional<AIArtHandle> MeasuredPath(const drawing::MeasuredPathIndex* index,
                                        AIArtHandle clicked, const char* key, const char* kind) {
    return index != nullptr ? index->Find(clicked, key, kind)
                            : drawing::FindMeasuredPath(clicked, key, kind);
}

// One measured point of a dimension's record: the anchor index stored on the dimension and
// where that anchor of the measured path stands now.
struct LinkedAnchor {
    std::int16_t index = 0;
    AIRealPoint point{0, 0};
};

// The anchor that `clicked` records under `key` in `path`. A path that lost that anchor
// since, or an index that is no number, tells the user that the measured path is not found.
std::optional<LinkedAnchor> RecordedAnchor(AIArtHandle clicked, const char* key, AIArtHandle path) {
    const auto index = drawing::ReadIndex(clicked, key);
    const PathGeometry geometry = ReadPath(path);
    if (!index || *index < 0 || static_cast<std::size_t>(*index) >= geometry.segments.size()) {
        ShowAlert(kMeasuredPathNotFound);
        return std::nullopt;
    }
    return LinkedAnchor{*index, geometry.segments[static_cast<std::size_t>(*index)].p};
}

// The group of the dimension that `clicked` belongs to.
AIArtHandle DimensionGroupOf(AIArtHandle clicked) {
    AIArtHandle parent = nullptr;
    ASInt32 type = 0;
    if (sAIArt->GetArtParent(clicked, &parent) != 0 || parent == nullptr ||
        sAIArt->GetArtType(parent, &type) != 0 || type != kGroupArt) {
        return nullptr;
    }
    return parent;
}

// Starts the new dimension's group, then disposes of the old dimension: a layer that
// refuses the new dimension leaves the old one as it was. The rebuild is a measure of one
// click: it ends a measure that waited for its second.
bool ReplaceDimension(AIArtHandle clicked) {
    AIArtHandle old = DimensionGroupOf(clicked);
    if (!drawing::PrepareDimensionGroup()) {
        return false;
    }
    if (old != drawing::WorkingArt().group) {
        drawing::DisposeArt(old);
    }
    SegmentTool().EndWaitingMeasure();
    return true;
}

bool ReplaceSegmentDimension(AIArtHandle clicked) {
    if (!ReplaceDimension(clicked)) {
        return false;
    }
    drawing::CreateSegmentDimensionArt(0);
    return true;
}

// Lays the rebuilt dimension out in the type of the settings; a dimension that can be
// rebuilt is a single one, so the type that draws two is taken as oblique.
bool LayOut(AIRealPoint first, AIRealPoint second, AIRealPoint cursor) {
    std::int32_t type = settings::Settings().dimensionType;
    if (type == settings::kHorizontalAndVertical) {
        type = settings::kOblique;
    }
    return LayOutMeasure(first, second, cursor, drawing::LayoutOfType(type, 0));
}

bool RebuildPointDimension(AIArtHandle clicked, AIRealPoint cursor,
                           const drawing::MeasuredPathIndex* index = nullptr) {
    using drawing::kSegmentKindKey;
    const auto firstPath = MeasuredPath(index, clicked, drawing::kFirstPointKey, kSegmentKindKey);
    if (!firstPath) {
        return false;
    }
    const auto first = RecordedAnchor(clicked, drawing::kIndex1Key, *firstPath);
    if (!first) {
        return false;
    }
    const auto secondPath = MeasuredPath(index, clicked, drawing::kSecondPointKey, kSegmentKindKey);
    if (!secondPath) {
        return false;
    }
    const auto second = RecordedAnchor(clicked, drawing::kIndex2Key, *secondPath);
    if (!second || !ReplaceSegmentDimension(clicked)) {
        return false;
    }
    drawing::WritePointLink(*firstPath, first->index, drawing::Point::First,
                            drawing::LineHalves(0));
    drawing::WritePointLink(*secondPath, second->index, drawing::Point::Second,
                            drawing::LineHalves(0));
    SegmentToolState& state = SegmentTool();
    state.measuredPath = *secondPath;
    state.segmentMode = false;
    state.clickCount = 2;
    return LayOut(first->point, second->point, cursor);
}

bool RebuildWholeSegmentDimension(AIArtHandle clicked, AIRealPoint cursor,
                                  const drawing::MeasuredPathIndex* index = nullptr) {
    const auto path = MeasuredPath(index, clicked, drawing::kSegmentKey, drawing::kSegmentKindKey);
    if (!path) {
        return false;
    }
    const auto start = RecordedAnchor(clicked, drawing::kIndex1Key, *path);
    if (!start) {
        return false;
    }
    const auto end = RecordedAnchor(clicked, drawing::kIndex2Key, *path);
    if (!end || !ReplaceSegmentDimension(clicked)) {
        return false;
    }
    drawing::WriteSegmentLink(*path, start->index, end->index, drawing::LineHalves(0));
    SegmentToolState& state = SegmentTool();
    state.measuredPath = *path;
    state.segmentMode = true;
    state.clickCount = 0;
    return LayOut(start->point, end->point, cursor);
}

// The path segment that `clicked` records under `key` in `path`, as RecordedAnchor finds it.
std::optional<AIPathSegment> RecordedSegment(AIArtHandle clicked, const char* key,
                                             AIArtHandle path) {
    if (!RecordedAnchor(clicked, key, path)) {
        return std::nullopt;
    }
    const auto index = drawing::ReadIndex(clicked, key);
    return ReadPath(path).segments[static_cast<std::size_t>(*index)];
}

// Where an angle dimension of vertex `vertex` stands, for a rebuild of all that keeps it in
// place: the point of its arc midway along it (so that an outer angle stays outer), at the
// arc's radius.
AIRealPoint AnglePosition(AIArtHandle arc, AIRealPoint vertex) {
    const PathGeometry path = ReadPath(arc);
    const auto& s = path.segments;
    if (s.empty()) {
        return vertex;
    }
    const std::size_t n = s.size();
    AIRealPoint middle = s[n / 2].p;
    if (n % 2 == 0) {
        const AIRealBezier piece{s[n / 2 - 1].p, s[n / 2 - 1].out, s[n / 2].in, s[n / 2].p};
        sAIRealBezier->PointAt(&piece, 0.5f, &middle);
    }
    const double radius = geometry::Distance(s[0].p, vertex);
    return geometry::PointAt(vertex, radius, geometry::DirectionAngle(vertex, middle));
}

// Rebuilds the angle dimension that `clicked` (its arc) belongs to, laid out for `cursor`,
// or through its old arc with `inPlace`.
bool RebuildAngleDimension(AIArtHandle clicked, AIRealPoint cursor, bool inPlace,
                           const drawing::MeasuredPathIndex* index = nullptr) {
    using drawing::kAngleKindKey;
    const auto path = MeasuredPath(index, clicked, drawing::kAngleKey, kAngleKindKey);
    if (!path) {
        return false;
    }
    const auto first = RecordedAnchor(clicked, drawing::kIndex1Key, *path);
    const auto vertex = first ? RecordedAnchor(clicked, drawing::kIndex2Key, *path) : std::nullopt;
    const auto second = vertex ? RecordedAnchor(clicked, drawing::kIndex3Key, *path) : std::nullopt;
    if (!second) {
        return false;
    }
    if (!SetUpAngle(vertex->point, first->point, second->point)) {
        // A side that lost its length: the old dimension stays.
        ShowAlert(kNotAVertex);
        return false;
    }
    const AIRealPoint position = inPlace ? AnglePosition(clicked, vertex->point) : cursor;
    if (!ReplaceDimension(clicked)) {
        return false;
    }
    AngleTool().arcAngleMode = false;
    drawing::CreateAngleDimensionArt();
    drawing::WriteAngleLink(*path, first->index, vertex->index, second->index,
                            drawing::WorkingArt().lines[0].lineHalf1);
    if (inPlace) {
        LayOutAngleDrag(position, {});
    } else {
        drawing::BuildAngleDimension(cursor, {});
    }
    return true;
}

// Rebuilds the circle dimension that `clicked` belongs to, laid out for `cursor`.
bool RebuildCircleDimension(AIArtHandle clicked, AIRealPoint cursor,
                            const drawing::MeasuredPathIndex* index = nullptr) {
    using drawing::kCircleKindKey;
    const auto path = MeasuredPath(index, clicked, drawing::kCircleKey, kCircleKindKey);
    if (!path) {
        return false;
    }
    const auto first = RecordedSegment(clicked, drawing::kIndex1Key, *path);
    const auto second = first ? RecordedSegment(clicked, drawing::kIndex2Key, *path) : std::nullopt;
    if (!second) {
        return false;
    }
    // The circle comes from the arc's ends and the tangent at the first, as they are now.
    const std::optional<geometry::Circle> circle = geometry::CircleFromAnchors(*first, *second);
    if (!circle) {
        ShowAlert(kNotAnArcEnd);
        return false;
    }
    const auto firstIndex = drawing::ReadIndex(clicked, drawing::kIndex1Key);
    const auto secondIndex = drawing::ReadIndex(clicked, drawing::kIndex2Key);
    if (!ReplaceDimension(clicked)) {
        return false;
    }
    SetUpCircle(circle->centre, circle->radius);
    drawing::CircleDimension().leaderAngle = geometry::DirectionAngle(circle->centre, cursor);
    drawing::CreateCircleDimensionArt();
    drawing::BuildCircleDimension(cursor, false, false);
    const drawing::LineArt& art = drawing::WorkingArt().lines[0];
    drawing::WriteCircleLink(*path, *firstIndex, *secondIndex, art.lineHalf1, art.lineHalf2);
    SegmentTool().measuredPath = *path;
    return true;
}

// Where a circle dimension stands: the bend of its leader, the anchor before the shoulder.
AIRealPoint LeaderBend(AIArtHandle leader) {
    const PathGeometry path = ReadPath(leader);
    const auto& s = path.segments;
    return s.size() >= 2 ? s[s.size() - 2].p : AIRealPoint{0, 0};
}

// Where a dimension's line stands: the first anchor of line half 1 (`red` art).
AIRealPoint LinePosition(AIArtHandle lineHalf1) {
    const PathGeometry geometry = ReadPath(lineHalf1);
    return geometry.segments.empty() ? AIRealPoint{0, 0} : geometry.segments.front().p;
}

}  // namespace

std::optional<ToolKind> DimensionKindOf(const AIToolHitData& hit) {
    if (!hit.hit) {
        return std::nullopt;
    }
    if (HasTag(hit.art, kSegmentDimensionTag)) {
        return ToolKind::Segment;
    }
    if (HasTag(hit.art, kAngleDimensionTag)) {
        return ToolKind::Angle;
    }
    if (HasTag(hit.art, kCircleDimensionTag)) {
        return ToolKind::Circle;
    }
    return std::nullopt;
}

bool RebuildDimension(AIArtHandle clicked, ToolKind tool, AIRealPoint cursor) {
    switch (tool) {
        case ToolKind::Segment:
            if (HasTag(clicked, drawing::kSegmentKey)) {
                return RebuildWholeSegmentDimension(clicked, cursor);
            }
            if (HasTag(clicked, drawing::kFirstPointKey)) {
                return RebuildPointDimension(clicked, cursor);
            }
            return false;
        case ToolKind::Angle:
            return HasTag(clicked, drawing::kAngleKey) &&
                   RebuildAngleDimension(clicked, cursor, false);
        case ToolKind::Circle:
            return HasTag(clicked, drawing::kCircleKey) && RebuildCircleDimension(clicked, cursor);
        default:
            return false;
    }
}

namespace {

// Rebuilds, in place, the dimension that the record art `path` stands for when it carries
// `key` and `marker` (the one art per dimension that does); true when it was rebuilt.
bool RebuildOne(ToolKind tool, AIArtHandle path, const char* key, const char* marker,
                const drawing::MeasuredPathIndex* index) {
    // Art of a dimension rebuilt earlier in the pass is gone: a dimension drawn with
    // several arcs carries its records on each of them.
    if (!drawing::IsLive(path) || !HasTag(path, marker) || !HasTag(path, key)) {
        return false;
    }
    switch (tool) {
        case ToolKind::Segment:
            // Each dimension keeps its place: its new line goes through its old one.
            return key == drawing::kSegmentKey
                       ? RebuildWholeSegmentDimension(path, LinePosition(path), index)
                       : RebuildPointDimension(path, LinePosition(path), index);
        case ToolKind::Angle:
            return RebuildAngleDimension(path, {0, 0}, true, index);
        case ToolKind::Circle:
            return RebuildCircleDimension(path, LeaderBend(path), index);
        default:
            return false;
    }
}

}  // namespace

ASErr RebuildAllOfKind(ToolKind tool, PathSearch search) {
    struct Pass {
        const char* key;
        const char* marker;
    };
    std::vector<Pass> passes;
    switch (tool) {
        case ToolKind::Segment:
            passes = {{drawing::kSegmentKey, drawing::kRebuildKey},
                      {drawing::kFirstPointKey, drawing::kRebuildKey}};
            break;
        case ToolKind::Angle:
            passes = {{drawing::kAngleKey, drawing::kAngleKindKey}};
            break;
        case ToolKind::Circle:
            passes = {{drawing::kCircleKey, drawing::kRebuildKey}};
            break;
        default:
            return 0;
    }
    // The records are read once for all the passes: the measured paths by link number, and
    // the record art of each pass. A pass only makes record art of its own kind, so the
    // record art of the later passes is the art that was there at the start.
    drawing::MeasuredPathIndex index;
    if (search == PathSearch::Indexed) {
        std::vector<const char*> keys;
        std::vector<drawing::MeasuredPathIndex::RecordKind> kinds;
        for (const Pass& pass : passes) {
            keys.push_back(pass.key);
            kinds.push_back({pass.key, pass.marker});
        }
        if (tool == ToolKind::Segment) {
            keys.push_back(drawing::kSecondPointKey);
        }
        if (const ASErr error = index.Build(keys, kinds)) {
            return error;
        }
    }
    for (std::size_t i = 0; i < passes.size(); ++i) {
        const Pass& pass = passes[i];
        std::vector<AIArtHandle> paths;
        if (search == PathSearch::Literal) {
            if (const ASErr error = drawing::PathsWithout(kArtLocked, &paths)) {
                return error;
            }
        } else {
            for (AIArtHandle art : index.RecordArt(i)) {
                ASInt32 locked = 0;
                if (drawing::IsLive(art) && sAIArt->GetArtUserAttr(art, kArtLocked, &locked) == 0 &&
                    locked == 0) {
                    paths.push_back(art);
                }
            }
        }
        for (AIArtHandle path : paths) {
            if (RebuildOne(tool, path, pass.key, pass.marker,
                           search == PathSearch::Indexed ? &index : nullptr)) {
                const SegmentToolState& state = SegmentTool();
                drawing::NameDimensionArt(drawing::WorkingArt().group,
                                          {tool, state.curveMode, state.arcMode});
            }
        }
    }
    // Nothing follows the mouse after a rebuild of all.
    SegmentTool().clickCount = 0;
    SegmentTool().segmentMode = false;
    return 0;
}

}  // namespace tools
