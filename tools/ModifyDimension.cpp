#include "tools/ModifyDimension.h"

#include <cmath>
#include <optional>
#include <vector>

#include "drawing/DimensionArt.h"
#include "drawing/DimensionRecords.h"
#include "drawing/DimensionStyles.h"
#include "drawing/LinearDimension.h"
#include "frame/Suites.h"
#include "frame/WindowsText.h"
#include "settings/DimensionSettings.h"
#include "tools/HostArt.h"
#include "tools/ToolStates.h"

namespace tools {
namespace {

using drawing::kMeasuredPathNotFound;

// The linked anchor `key` of a dimension's record: the index stored on `clicked` and the
// anchor it designates in `path`. A path that lost that anchor since, or an index that is no
// number, tells the user that the measured path is not found.
std::optional<AIRealPoint> RecordedAnchor(AIArtHandle clicked, const char* key, AIArtHandle path) {
    const auto index = drawing::ReadIndex(clicked, key);
    const PathGeometry geometry = ReadPath(path);
    if (!index || *index < 0 || static_cast<std::size_t>(*index) >= geometry.segments.size()) {
        sAIUser->MessageAlert(text::ToHostUnicode(kMeasuredPathNotFound).c_str());
        return std::nullopt;
    }
    return geometry.segments[static_cast<std::size_t>(*index)].p;
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

bool LayOut(AIRealPoint cursor) {
    SegmentToolState& state = SegmentTool();
    state.dimensionAngle = static_cast<AIReal>(std::atan2(
        state.secondPoint.v - state.firstPoint.v, state.secondPoint.h - state.firstPoint.h));
    state.textRotation = 0;
    std::int32_t type = settings::Settings().dimensionType;
    if (type == settings::kHorizontalAndVertical) {
        type = settings::kOblique;
    }
    return drawing::BuildSegmentDimension(state.firstPoint, state.secondPoint, cursor,
                                          drawing::LayoutOfType(type, 0), {}, 0);
}

drawing::SegmentRecordArt RecordArt() {
    const drawing::LineArt& line = drawing::WorkingArt().lines[0];
    return {line.lineHalf1, line.lineHalf2};
}

bool RebuildPointDimension(AIArtHandle clicked, AIRealPoint cursor) {
    using drawing::kFirstPointKey;
    using drawing::kSecondPointKey;
    using drawing::kSegmentKindKey;
    const auto firstPath = drawing::FindMeasuredPath(clicked, kFirstPointKey, kSegmentKindKey);
    if (!firstPath) {
        return false;
    }
    const auto first = RecordedAnchor(clicked, drawing::kIndex1Key, *firstPath);
    if (!first) {
        return false;
    }
    const auto secondPath = drawing::FindMeasuredPath(clicked, kSecondPointKey, kSegmentKindKey);
    if (!secondPath) {
        return false;
    }
    const auto second = RecordedAnchor(clicked, drawing::kIndex2Key, *secondPath);
    if (!second) {
        return false;
    }
    const auto firstIndex = *drawing::ReadIndex(clicked, drawing::kIndex1Key);
    const auto secondIndex = *drawing::ReadIndex(clicked, drawing::kIndex2Key);
    if (!ReplaceDimension(clicked)) {
        return false;
    }
    drawing::WritePointLink(*firstPath, firstIndex, drawing::Point::First, RecordArt());
    drawing::WritePointLink(*secondPath, secondIndex, drawing::Point::Second, RecordArt());
    SegmentToolState& state = SegmentTool();
    state.firstPoint = *first;
    state.secondPoint = *second;
    state.measuredPath = *secondPath;
    state.segmentMode = false;
    state.clickCount = 2;
    return LayOut(cursor);
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
    if (!end) {
        return false;
    }
    const auto startIndex = *drawing::ReadIndex(clicked, drawing::kIndex1Key);
    const auto endIndex = *drawing::ReadIndex(clicked, drawing::kIndex2Key);
    if (!ReplaceDimension(clicked)) {
        return false;
    }
    drawing::WriteSegmentLink(*path, startIndex, endIndex, RecordArt());
    SegmentToolState& state = SegmentTool();
    state.firstPoint = *start;
    state.secondPoint = *end;
    state.measuredPath = *path;
    state.segmentMode = true;
    state.clickCount = 0;
    return LayOut(cursor);
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
