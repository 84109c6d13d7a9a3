#include "plugin/tools/AreaTool.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/MeasureText.h"
#include "plugin/geometry/GeometryKernel.h"
#include "plugin/hostaccess/Alert.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"
#include "plugin/measure/MeasureLabels.h"
#include "plugin/measure/Units.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/settings/ToolKind.h"
#include "plugin/tools/CircleTool.h"
#include "plugin/tools/ClickSounds.h"
#include "plugin/tools/HostArt.h"
#include "plugin/tools/ModifyDimension.h"
#include "plugin/tools/ToolStates.h"

namespace tools {
namespace {

// The line height of the totals, as a share of the font size.
constexpr double kLineHeight = 1.2;

// What one path adds to the totals, with the anchors it was computed from.
struct Share {
    std::vector<AIPathSegment> segments;
    bool closed = false;
    double length = 0;
    double area = 0;
    bool crossed = false;
};

std::unordered_map<AIArtHandle, Share>& Shares() {
    static std::unordered_map<AIArtHandle, Share> shares;
    return shares;
}

Share ShareOf(AIArtHandle art, PathGeometry&& path) {
    Share share;
    share.closed = path.closed;
    const auto n = static_cast<std::int32_t>(path.segments.size());
    share.length = path.closed ? geometry::PathLengthBetween(path.segments, true, 0, 0)
                               : geometry::PathLengthBetween(path.segments, false, 0, n - 1);
    if (path.closed) {
        AIReal area = 0;
        if (sAIPath->GetPathArea(art, &area) == 0) {
            share.area = std::fabs(area);
        }
        share.crossed = geometry::PolygonAreaOrCrossed(path.segments, true).kind ==
                        geometry::PolygonArea::Kind::kCrossed;
    }
    share.segments = std::move(path.segments);
    return share;
}

std::vector<AIArtHandle> Members() {
    std::vector<AIArtHandle> members;
    ASInt32 count = 0;
    if (MeasureSet() == nullptr || sAIArtSet->CountArtSet(MeasureSet(), &count) != 0) {
        return members;
    }
    for (ASInt32 i = 0; i < count; ++i) {
        AIArtHandle art = nullptr;
        if (sAIArtSet->IndexArtSet(MeasureSet(), i, &art) == 0) {
            members.push_back(art);
        }
    }
    return members;
}

bool Selected(AIArtHandle art) {
    ASInt32 attributes = 0;
    return sAIArt->GetArtUserAttr(art, kArtSelected, &attributes) == 0 &&
           (attributes & kArtSelected) != 0;
}

// Adds a share to the totals; the area of a hole is taken away.
void Add(AreaTotals& totals, const Share& share, bool hole) {
    totals.paths += 1;
    totals.points += static_cast<std::int32_t>(share.segments.size());
    totals.length += share.length;
    totals.crossed = totals.crossed || share.crossed;
    totals.area += hole ? -share.area : share.area;
}

// Totals over the set, each share computed by `shareOf`; dimension art leaves the set.
template <typename ShareOfMember>
AreaTotals Totals(ShareOfMember shareOf) {
    std::vector<AIArtHandle> members;
    for (AIArtHandle art : Members()) {
        if (HasTag(art, kAuxiliaryTag)) {
            sAIArt->SetArtUserAttr(art, kArtSelected, 0);
            sAIArtSet->RemoveArtFromArtSet(MeasureSet(), art);
            continue;
        }
        members.push_back(art);
    }
    // The outline whose holes the others are: whatever order the set has, a path that was
    // never taken out, when there is one.
    const std::unordered_set<AIArtHandle>& takenOut = AreaTool().takenOut;
    const auto outline = std::find_if(members.begin(), members.end(), [&takenOut](AIArtHandle art) {
        return takenOut.count(art) == 0;
    });
    const AIArtHandle first =
        outline != members.end() ? *outline : (members.empty() ? nullptr : members.front());
    AreaTotals totals;
    for (AIArtHandle art : members) {
        Add(totals, shareOf(art), art != first && takenOut.count(art) != 0);
    }
    return totals;
}

// A second click takes a picked path out of the set; a click picks it again, as a path and
// not as a hole. Nothing is written on the path, which is saved as the user drew it.
void PickOrTakeOut(AIArtHandle art) {
    std::unordered_set<AIArtHandle>& takenOut = AreaTool().takenOut;
    if (Selected(art)) {
        sAIArt->SetArtUserAttr(art, kArtSelected, 0);
        sAIArtSet->RemoveArtFromArtSet(MeasureSet(), art);
        takenOut.insert(art);
        return;
    }
    takenOut.erase(art);
    sAIArtSet->AddArtToArtSet(MeasureSet(), art);
}

std::string Number(std::int32_t n) {
    return std::to_string(n);
}

// The partial length: two anchors of one path, measured forwards from the first (round
// through the closing curve on a closed path; the path is not touched).
ClickOutcome AnchorClick() {
    const HoverState& hover = Hover();
    SegmentToolState& clicks = SegmentTool();
    AreaToolState& state = AreaTool();
    PlayClickSound(ClickSound::Point);
    if (clicks.clickCount == 0) {
        clicks.clickCount = 1;
        clicks.measuredPath = hover.hoverArt;
        state.partialStart = hover.startIndex;
        state.partialLength.reset();
        return {};
    }
    clicks.clickCount += 1;
    if (hover.hoverArt != clicks.measuredPath) {
        clicks.clickCount = 0;
        ShowAlert(kEndsOnOnePath);
        return {};
    }
    const PathGeometry path = ReadPath(hover.hoverArt);
    state.partialLength = geometry::PathLengthBetween(path.segments, path.closed,
                                                      state.partialStart, hover.startIndex);
    return {};
}

// The totals written as text lines from the click down, one line height apart. With every
// line switched off the click only deselects: no group is made.
ClickOutcome WriteTotals(AIRealPoint cursor) {
    AreaToolState& state = AreaTool();
    if (Members().empty() && !state.partialLength) {
        return {};
    }
    const std::vector<std::string> lines = TotalsLines(ComputeTotals());
    ClickOutcome outcome;
    if (!lines.empty()) {
        if (!drawing::PrepareDimensionGroup()) {
            return {};
        }
        const double lineHeight = std::trunc(kLineHeight * settings::Settings().fontSize);
        double y = cursor.v;
        for (const std::string& line : lines) {
            drawing::CreateTextLine({cursor.h, static_cast<AIReal>(y)}, line);
            y -= lineHeight;
        }
        drawing::WorkingArt().laidOut = true;
        outcome.nameDimension = true;
    }
    state.partialLength.reset();
    ForgetMeasureSet();
    return outcome;
}

}  // namespace

AIArtSet& MeasureSet() {
    static AIArtSet set = nullptr;
    return set;
}

AreaToolState& AreaTool() {
    static AreaToolState state;
    return state;
}

AreaTotals ComputeTotals() {
    std::unordered_map<AIArtHandle, Share>& shares = Shares();
    return Totals([&](AIArtHandle art) -> const Share& {
        PathGeometry path = ReadPath(art);
        const auto it = shares.find(art);
        if (it != shares.end() && it->second.closed == path.closed &&
            hostaccess::SameAnchors(it->second.segments, path.segments)) {
            return it->second;
        }
        return shares[art] = ShareOf(art, std::move(path));
    });
}

AreaTotals ComputeTotalsLiterally() {
    return Totals([](AIArtHandle art) { return ShareOf(art, ReadPath(art)); });
}

std::vector<std::string> TotalsLines(const AreaTotals& totals) {
    const settings::DimensionSettings& s = settings::Settings();
    const AreaToolState& state = AreaTool();
    std::vector<std::string> lines;
    if (s.areaShowTotalLength != 0) {
        lines.push_back("L (sélection) = "_w1252 + measure::SelectionLengthText(totals.length));
    }
    if (s.areaShowPartialLength != 0 && state.partialLength) {
        lines.push_back("L (partie courbe)= " + measure::SelectionLengthText(*state.partialLength));
    }
    if (s.areaShowArea != 0) {
        lines.push_back("A (sélection) = "_w1252 + (totals.crossed
                                                        ? std::string(geometry::kCrossedPolygonText)
                                                        : measure::FormatArea(totals.area)));
    }
    if (s.areaShowPathCount != 0) {
        lines.push_back("Nombre de tracés = "_w1252 + Number(totals.paths));
    }
    if (s.areaShowPointCount != 0) {
        lines.push_back("Nombre de points = " + Number(totals.points));
    }
    return lines;
}

ASErr SelectMeasureSet() {
    ASErr error = sAIMatchingArt->DeselectAll();
    if (error == kNoDocumentErr) {
        return 0;
    }
    for (AIArtHandle art : Members()) {
        if (error == 0) {
            error = sAIArt->SetArtUserAttr(art, kArtSelected, kArtSelected);
        }
    }
    return error;
}

void ForgetMeasureSet() {
    for (AIArtHandle art : Members()) {
        AreaTool().takenOut.erase(art);
        if (sAIArt->ValidArt(art)) {
            sAIArt->SetArtUserAttr(art, kArtSelected, 0);
        }
        sAIArtSet->RemoveArtFromArtSet(MeasureSet(), art);
    }
    Shares().clear();
    AreaTool().totals = {};
}

void TakeMeasureSetFromSelection() {
    for (AIArtHandle art : Members()) {
        sAIArtSet->RemoveArtFromArtSet(MeasureSet(), art);
    }
    Shares().clear();
    AreaTool().totals = {};
    std::vector<AIArtHandle> paths;
    if (MeasureSet() == nullptr || ReachablePaths(&paths) != 0) {
        return;
    }
    for (AIArtHandle art : paths) {
        if (Selected(art) && !HasTag(art, kAuxiliaryTag) && !IsDimensionArt(art) &&
            OnOpenLayer(art)) {
            sAIArtSet->AddArtToArtSet(MeasureSet(), art);
        }
    }
}

ASErr DragAreaMarquee(AIRealPoint cursor) {
    AreaToolState& state = AreaTool();
    if (!state.marquee) {
        return 0;
    }
    state.marquee->second = cursor;
    const auto [a, b] = *state.marquee;
    const AIRealRect rect{std::min(a.h, b.h), std::max(a.v, b.v), std::max(a.h, b.h),
                          std::min(a.v, b.v)};
    for (AIArtHandle art : Members()) {
        sAIArt->SetArtUserAttr(art, kArtSelected, 0);
        sAIArtSet->RemoveArtFromArtSet(MeasureSet(), art);
    }
    std::vector<AIArtHandle> paths;
    ASErr error = ReachablePaths(&paths);
    for (AIArtHandle art : paths) {
        AIRealRect bounds{};
        if (error != 0 || sAIArt->GetArtBounds(art, &bounds) != 0) {
            continue;
        }
        const bool inside = bounds.left >= rect.left && bounds.right <= rect.right &&
                            bounds.bottom >= rect.bottom && bounds.top <= rect.top;
        if (inside && !HasTag(art, kAuxiliaryTag) && !IsDimensionArt(art) && OnOpenLayer(art)) {
            error = sAIArtSet->AddArtToArtSet(MeasureSet(), art);
        }
    }
    const ASErr selected = SelectMeasureSet();
    state.totals = ComputeTotals();
    return error != 0 ? error : selected;
}

ClickOutcome AreaToolClick(const AIToolHitData& hit, AIRealPoint cursor, ClickKeys) {
    if (const auto kind = DimensionKindOf(hit)) {
        return HandOver(*kind);
    }
    const HoverState& hover = Hover();
    AreaToolState& state = AreaTool();
    state.marquee.reset();
    if (hover.overAnchor) {
        return AnchorClick();
    }
    if (hover.hoverArt == nullptr) {
        if (Members().empty() && !state.partialLength) {
            // Nothing to write: the press starts a selection rectangle.
            state.marquee = std::pair{cursor, cursor};
            ClickOutcome outcome;
            outcome.dimensionStarted = true;
            return outcome;
        }
        return WriteTotals(cursor);
    }
    PickOrTakeOut(hover.hoverArt);
    SelectMeasureSet();
    state.totals = ComputeTotals();
    state.lastClick = cursor;
    return {};
}

}  // namespace tools
