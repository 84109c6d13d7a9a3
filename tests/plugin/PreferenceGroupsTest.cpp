// The four preference groups: applying one, storing one value into one.
#include <gtest/gtest.h>

#include "plugin/settings/PreferenceGroups.h"

namespace {

using namespace settings;

DimensionSettings Defaults() {
    DimensionSettings s{};
    SetDefaults(s, "DejaVuSans");
    return s;
}

TEST(PreferenceGroups, ApplyingSetsTheEightValuesAndNothingElse) {
    DimensionSettings s = Defaults();
    s.secondUnitKind = kPica;
    s.secondPrecision = 3;
    s.decimalSeparator = '.';
    ApplyPreferenceGroup(s, 3);
    EXPECT_EQ(s.currentGroup, 3);
    EXPECT_DOUBLE_EQ(s.fontSize, 18);
    EXPECT_DOUBLE_EQ(s.arrowSize, 300);
    EXPECT_DOUBLE_EQ(s.strokeWidth, 2);
    EXPECT_DOUBLE_EQ(s.scaleFactor, 10);
    EXPECT_EQ(s.arrowShape, kArrowHollow);
    EXPECT_EQ(s.unitKind, kMetre);
    EXPECT_EQ(s.precision, 4);
    EXPECT_EQ(s.secondUnitKind, kPica);
    EXPECT_EQ(s.secondPrecision, 3);
    EXPECT_EQ(s.decimalSeparator, '.');
    // The group's defaults are not the live defaults: group 0 has two decimals.
    DimensionSettings fresh = Defaults();
    ApplyPreferenceGroup(fresh, 0);
    EXPECT_EQ(fresh.precision, 2);
    // A group that does not exist changes nothing.
    ApplyPreferenceGroup(fresh, 4);
    ApplyPreferenceGroup(fresh, -1);
    EXPECT_EQ(fresh.currentGroup, 0);
}

TEST(PreferenceGroups, StoringCopiesOneValueAndMarksThePage) {
    DimensionSettings s = Defaults();
    ClearGroupMarkers();
    SetScale(s, 1, 50);
    StoreInGroup(s, GroupField::Scale, 2);
    EXPECT_EQ(s.currentGroup, 0);
    EXPECT_EQ(StoredGroupMarker(GroupField::Scale), 2);
    EXPECT_FALSE(StoredGroupMarker(GroupField::FontSize).has_value());
    EXPECT_DOUBLE_EQ(s.groups[2].fontSize, 16);  // the rest of the group is untouched
    SetScale(s, 1, 1);
    ApplyPreferenceGroup(s, 2);
    EXPECT_DOUBLE_EQ(s.scaleNumerator, 1);
    EXPECT_DOUBLE_EQ(s.scaleDenominator, 50);
    EXPECT_DOUBLE_EQ(s.scaleFactor, 0.02);

    s.unitKind = kMillimetre;
    s.precision = 3;
    s.arrowShape = kArrowSolidDot;
    StoreInGroup(s, GroupField::UnitKind, 1);
    StoreInGroup(s, GroupField::Precision, 1);
    StoreInGroup(s, GroupField::ArrowShape, 1);
    EXPECT_DOUBLE_EQ(s.groups[1].unitKind, kMillimetre);
    EXPECT_DOUBLE_EQ(s.groups[1].precision, 3);
    EXPECT_DOUBLE_EQ(s.groups[1].arrowShape, kArrowSolidDot);
    ClearGroupMarkers();
}

TEST(PreferenceGroups, WhichCellAClickPicks) {
    const struct {
        double y;
        std::optional<int> group;
    } cases[] = {{0, std::nullopt},  {0.5, 0},          {11.9, 0}, {12, 1},
                 {23.9, 1},          {24, 2},           {36, 3},   {47.9, 3},
                 {48, std::nullopt}, {-3, std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(GroupAtOffset(c.y, 12), c.group) << c.y;
    }
    EXPECT_FALSE(GroupAtOffset(5, 0).has_value());
}

}  // namespace
