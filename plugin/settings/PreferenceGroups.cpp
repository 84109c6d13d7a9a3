#include "plugin/settings/PreferenceGroups.h"

#include <array>

namespace settings {
namespace {

constexpr int kFieldCount = 7;
std::array<std::optional<int>, kFieldCount> sMarkers;

bool ValidGroup(int group) {
    return group >= 0 && group < kGroupCount;
}

}  // namespace

void ApplyPreferenceGroup(DimensionSettings& s, int group) {
    if (!ValidGroup(group)) {
        return;
    }
    const PreferenceGroup& g = s.groups[group];
    s.currentGroup = group;
    s.fontSize = g.fontSize;
    s.arrowSize = g.arrowSize;
    s.strokeWidth = g.strokeWidth;
    SetScale(s, g.scaleNumerator, g.scaleDenominator);
    s.arrowShape = static_cast<std::int32_t>(g.arrowShape);
    s.unitKind = static_cast<std::int32_t>(g.unitKind);
    s.precision = static_cast<std::int32_t>(g.precision);
}

void StoreInGroup(DimensionSettings& s, GroupField field, int group) {
    if (!ValidGroup(group)) {
        return;
    }
    PreferenceGroup& g = s.groups[group];
    switch (field) {
        case GroupField::FontSize:
            g.fontSize = s.fontSize;
            break;
        case GroupField::ArrowSize:
            g.arrowSize = s.arrowSize;
            break;
        case GroupField::StrokeWidth:
            g.strokeWidth = s.strokeWidth;
            break;
        case GroupField::Scale:
            g.scaleNumerator = s.scaleNumerator;
            g.scaleDenominator = s.scaleDenominator;
            break;
        case GroupField::ArrowShape:
            g.arrowShape = s.arrowShape;
            break;
        case GroupField::UnitKind:
            g.unitKind = s.unitKind;
            break;
        case GroupField::Precision:
            g.precision = s.precision;
            break;
    }
    sMarkers[static_cast<int>(field)] = group;
}

std::optional<int> StoredGroupMarker(GroupField field) {
    return sMarkers[static_cast<int>(field)];
}

void ClearGroupMarkers() {
    sMarkers.fill(std::nullopt);
}

std::optional<int> GroupAtOffset(double y, double rowHeight) {
    if (!(rowHeight > 0) || !(y > 0) || y >= kGroupCount * rowHeight) {
        return std::nullopt;
    }
    return static_cast<int>(y / rowHeight);
}

}  // namespace settings
