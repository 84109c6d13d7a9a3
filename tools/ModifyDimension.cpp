#include "tools/ModifyDimension.h"

#include <optional>
#include <vector>

#include "drawing/DimensionArt.h"
#include "drawing/DimensionRecords.h"
#include "drawing/DimensionStyles.h"
#include "drawing/LinearDimension.h"
#include "hostaccess/Alert.h"
#include "hostaccess/Suites.h"
#include "settings/DimensionSettings.h"
#include "tools/HostArt.h"
#include "tools/SegmentTool.h"
#include "tools/ToolStates.h"

namespace tools {
namespace {

using drawing::kMeasuredPathNotFound;

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

// Starts the new dimension, then disposes of the old one: a layer that refuses the new
// dimension leaves the old one as it was.
bool ReplaceDimension(AIArtHandle clicked) {
    AIArtHandle old = DimensionGroupOf(clicked);
    if (!drawing::PrepareDimensionGroup()) {
        return false;
    }
    if (old != drawing::WorkingArt().group) {
        drawing::DisposeArt(old);
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

bool RebuildPointDimension(AIArtHandle clicked, AIRealPoint cursor) {
    using drawing::kSegmentKindKey;
    const auto firstPath =
        drawing::FindMeasuredPath(clicked, drawing::kFirstPointKey, kSegmentKindKey);
    if (!firstPath) {
        return false;
    }
    const auto first = RecordedAnchor(clicked, drawing::kIndex1Key, *firstPath);
    if (!first) {
        return false;
    }
    const auto secondPath =
        drawing::FindMeasuredPath(clicked, drawing::kSecondPointKey, kSegmentKindKey);
    if (!secondPath) {
        return false;
    }
    const auto second = RecordedAnchor(clicked, drawing::kIndex2Key, *secondPath);
    if (!second || !ReplaceDimension(clicked)) {
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

bool RebuildWholeSegmentDimension(AIArtHandle clicked, AIRealPoint cursor) {
    const auto path =
        drawing::FindMeasuredPath(clicked, drawing::kSegmentKey, drawing::kSegmentKindKey);
    if (!path) {
        return false;
    }
    const auto start = RecordedAnchor(clicked, drawing::kIndex1Key, *path);
    if (!start) {
        return false;
    }
    const auto end = RecordedAnchor(clicked, drawing::kIndex2Key, *path);
    if (!end || !ReplaceDimension(clicked)) {
        return false;
    }
    drawing::WriteSegmentLink(*path, start->index, end->index, drawing::LineHalves(0));
    SegmentToolState& state = SegmentTool();
    state.measuredPath = *path;
    state.segmentMode = true;
    state.clickCount = 0;
    return LayOut(start->point, end->point, cursor);
}

// Where a dimension's line stands: the first anchor of line half 1 (`red` art).
AIRealPoint LinePosition(AIArtHandle lineHalf1) {
    const PathGeometry geometry = ReadPath(lineHalf1);
    return geometry.segments.empty() ? AIRealPoint{0, 0} : geometry.segments.front().p;
}

}  // namespace

bool RebuildDimension(AIArtHandle clicked, ToolKind tool, AIRealPoint cursor) {
    if (tool != ToolKind::Segment) {
        // Angle and circle dimensions are rebuilt by their own tools.
        return false;
    }
    if (HasTag(clicked, drawing::kSegmentKey)) {
        return RebuildWholeSegmentDimension(clicked, cursor);
    }
    if (HasTag(clicked, drawing::kFirstPointKey)) {
        return RebuildPointDimension(clicked, cursor);
    }
    return false;
}

ASErr RebuildAllOfKind(ToolKind tool) {
    if (tool != ToolKind::Segment) {
        return 0;
    }
    for (const char* key : {drawing::kSegmentKey, drawing::kFirstPointKey}) {
        std::vector<AIArtHandle> paths;
        if (const ASErr error = drawing::PathsWithout(kArtLocked, &paths)) {
            return error;
        }
        for (AIArtHandle path : paths) {
            // Each dimension carries "red" on one art only, so it is rebuilt once; art of a
            // dimension rebuilt earlier in the pass is gone.
            if (!drawing::IsLive(path) || !HasTag(path, drawing::kRebuildKey) ||
                !HasTag(path, key)) {
                continue;
            }
            // Each dimension keeps its place: its new line goes through its old one.
            const AIRealPoint position = LinePosition(path);
            const bool rebuilt = key == drawing::kSegmentKey
                                     ? RebuildWholeSegmentDimension(path, position)
                                     : RebuildPointDimension(path, position);
            if (rebuilt) {
                SegmentToolState& state = SegmentTool();
                drawing::NameDimensionArt(drawing::WorkingArt().group,
                                          {ToolKind::Segment, state.curveMode, state.arcMode});
            }
        }
    }
    SegmentTool().clickCount = 0;
    SegmentTool().segmentMode = false;
    return 0;
}

}  // namespace tools
