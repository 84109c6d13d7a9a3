// The four preference groups: presets of the eight settings changed most often, stored
// one value at a time from the settings panel and applied whole.
#pragma once

#include <cstdint>
#include <optional>

#include "plugin/settings/DimensionSettings.h"

namespace settings {

// The values a page of the panel can store into a group (the scale page stores numerator
// and denominator together).
enum class GroupField { FontSize, ArrowSize, StrokeWidth, Scale, ArrowShape, UnitKind, Precision };

// Applies group `group` (0..3) to the live settings: the eight values, the scale factor,
// the current group, and the arrowheads rebuilt from the new shape. Nothing else changes.
// A group outside 0..3 is ignored.
void ApplyPreferenceGroup(DimensionSettings& s, int group);

// Copies the live value of `field` into group `group` (0..3) and marks the field's page with
// that group. The current group does not change. A group outside 0..3 is ignored.
void StoreInGroup(DimensionSettings& s, GroupField field, int group);

// The group into which the page of `field` last stored a value, if any (not saved).
std::optional<int> StoredGroupMarker(GroupField field);

// Forgets the pages' markers.
void ClearGroupMarkers();

// The group that a click `y` below the top of four stacked cells of height `rowHeight`
// picks: 0 for 0 < y < h, 1 for h <= y < 2h, 2 for 2h <= y < 3h, 3 for 3h <= y < 4h.
std::optional<int> GroupAtOffset(double y, double rowHeight);

}  // namespace settings
