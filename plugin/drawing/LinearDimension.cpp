#include "plugin/drawing/LinearDimension.h"
#include "plugin/hostaccess/Alert.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <tuple>
#include <utility>

#include "plugin/drawing/ArrowheadPlacement.h"
#include "plugin/drawing/Arrowheads.h"
#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/DimensionRecords.h"
#include "plugin/drawing/DimensionStyles.h"
#include "plugin/drawing/MeasureText.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/measure/MeasureLabels.h"
#include "plugin/settings/DimensionSettings.h"

namespace drawing {

const char* const kPointsNotDistinct =
    "Il faut cliquer sur deux points distincts. Cotation impossible !";

namespace {

constexpr double kPi = std::numbers::pi;
// One centimetre in points: the oblique offset's snap.
constexpr float kCentimetre = 28.346457f;
// The horizontal and vertical offsets' snap, points.
constexpr double kSnapStep = 10.0;
// Line kept on either side of a text that follows the cursor, points.
constexpr double kTextMargin = 5.0;
// Space around the measure text in the broken line, points.
constexpr double kTextGapPadding = 4.0;

struct Vec {
    double x = 0.0;
    double y = 0.0;
};

Vec Of(AIRealPoint p) {
    return {p.h, p.v};
}
AIRealPoint Point(Vec v) {
    return {static_cast<AIReal>(v.x), static_cast<AIReal>(v.y)};
}
Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y};
}
Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y};
}
Vec operator*(double k, Vec v) {
    return {k * v.x, k * v.y};
}
double Length(Vec v) {
    return std::hypot(v.x, v.y);
}
// The unit vector of `angle`; exact along the axes, so that horizontal and vertical lines
// get exact coordinates.
Vec Direction(double angle) {
    constexpr double kNoise = 1e-15;
    Vec v{std::cos(angle), std::sin(angle)};
    for (double* c : {&v.x, &v.y}) {
        if (std::fabs(*c) < kNoise) {
            *c = 0.0;
        }
    }
    return v;
}

double SignOf(double value) {
    return value < 0 ? -1.0 : 1.0;
}

std::array<LinearState, 2>& States() {
    static std::array<LinearState, 2> states;
    return states;
}

LineArt& ArtOf(int index) {
    return WorkingArt().lines[index == 1 ? 1 : 0];
}

// The tags that make a line half part of the dimension's records: what half 1 carries is
// copied onto a half 2 made later, so both keep the link.
constexpr std::array<const char*, 7> kRecordKeys = {
    kAuxiliaryKey, kSegmentKindKey, kFirstPointKey, kSecondPointKey,
    kSegmentKey,   kIndex1Key,      kIndex2Key};

void CopyRecords(AIArtHandle from, AIArtHandle to) {
    for (const char* key : kRecordKeys) {
        char value[64];
        ASInt32 length = 0;
        if (sAITag->GetTag(from, key, kTagString, value, sizeof value, &length) == 0) {
            WorkingArt().errors += sAITag->SetTag(to, key, kTagString, value);
        }
    }
}

// Line half 2, made just below half 1 when it does not exist.
AIArtHandle NeedHalf2(LineArt& art) {
    if (!IsLive(art.lineHalf2)) {
        art.lineHalf2 = NewDimensionPath(art.lineHalf1);
        if (art.lineHalf2 != nullptr && IsLive(art.lineHalf1)) {
            CopyRecords(art.lineHalf1, art.lineHalf2);
        }
    }
    return art.lineHalf2;
}

AIArtHandle NeedPath(AIArtHandle& path, AIArtHandle below) {
    if (!IsLive(path)) {
        path = NewDimensionPath(below);
    }
    return path;
}

// The measured distance of the layout, as the measure text shows it.
void BuildLabel(const LinearState& state) {
    const std::int32_t type = settings::Settings().dimensionType;
    switch (state.layout) {
        case LinearLayout::Horizontal:
            measure::BuildSegmentLabel(state.p1.h, 0, state.p2.h, 0, type == settings::kVertical);
            break;
        case LinearLayout::Vertical:
            measure::BuildSegmentLabel(0, state.p1.v, 0, state.p2.v, type == settings::kHorizontal);
            break;
        case LinearLayout::Oblique:
            measure::BuildSegmentLabel(state.p1.h, state.p1.v, state.p2.h, state.p2.v, false);
            break;
    }
}

void DrawExtensionLines(const LinearState& state, LineArt& art) {
    const settings::DimensionSettings& s = settings::Settings();
    if (s.withExtensionLines == 0) {
        DisposeArt(art.extension1);
        DisposeArt(art.extension2);
        return;
    }
    const double overshoot = kExtensionOvershootPerPercent * s.arrowSize;
    const AIPathStyle& style = Styles().solidLine;
    NeedPath(art.extension1, art.measureText);
    NeedPath(art.extension2, art.measureText);
    if (state.layout == LinearLayout::Oblique) {
        const double sign = SignOf(state.offset);
        const Vec normal = Direction(state.angle + kPi / 2);
        const Vec start = (sign * s.extensionGap) * normal;
        const Vec end = (state.offset + sign * overshoot) * normal;
        for (auto [point, path] :
             {std::pair{state.p1, art.extension1}, {state.p2, art.extension2}}) {
            SetTwoPointPath(Point(Of(point) + start), Point(Of(point) + end), path, style);
        }
        return;
    }
    // Horizontal (vertical) layouts: each extension line is vertical (horizontal), from its
    // own point toward the dimension line.
    const bool horizontal = state.layout == LinearLayout::Horizontal;
    const Vec across = horizontal ? Vec{0, 1} : Vec{1, 0};
    for (auto [point, tip, path] :
         {std::tuple{state.p1, state.l1, art.extension1}, {state.p2, state.l2, art.extension2}}) {
        const double distance = horizontal ? tip.v - point.v : tip.h - point.h;
        const double sign = SignOf(distance);
        SetTwoPointPath(Point(Of(point) + (sign * s.extensionGap) * across),
                        Point(Of(tip) + (sign * overshoot) * across), path, style);
    }
}

// The text gap of the broken line for a text of w × h on a line of direction `angle`.
double TextGap(double angle, double w, double h, bool horizontalText) {
    if (!horizontalText) {
        return w + kTextGapPadding;
    }
    double e = std::fabs(angle);
    if (e == kPi / 2) {
        return h + kTextGapPadding;
    }
    if (e > kPi / 2) {
        e -= kPi / 2;
    }
    // atan2 keeps a text of zero width from dividing by zero.
    return (e <= std::atan2(h, w) ? std::cos(e) : std::sin(e)) * w + kTextGapPadding;
}

// The rotation of the measure text: along the line, turned half a turn when the line runs
// leftwards, so that it never reads upside down.
double TextAngle(const LinearState& state, bool horizontalText) {
    if (horizontalText) {
        return 0.0;
    }
    if (state.l1.h == state.l2.h) {
        return kPi / 2;
    }
    return state.l2.h < state.l1.h ? state.angle + kPi : state.angle;
}

// Where the line runs under a text, along the line: from `from` to `to` (points, from the
// point of the line nearest the measure text's anchor, in the line's direction).
struct Span {
    double from = 0;
    double to = 0;
};

// The part of the dimension line that crosses `box` (the bounds of a text of the dimension
// laid out unrotated beside the measure text, whose anchor is at the origin) once the texts
// are turned by `textAngle`, the line running in direction `lineAngle`, `textOffset` below
// the measure's anchor. Nothing when the line passes beside the box.
std::optional<Span> LineThrough(const AIRealRect& box, double lineAngle, double textAngle,
                                double textOffset) {
    // In the texts' own frame the line passes through `start` and runs along `along`.
    const Vec along = Direction(lineAngle - textAngle);
    const Vec start = -textOffset * Direction(lineAngle - textAngle + kPi / 2);
    double from = -std::numeric_limits<double>::infinity();
    double to = std::numeric_limits<double>::infinity();
    for (const auto& [origin, step, low, high] :
         {std::array{start.x, along.x, static_cast<double>(box.left),
                     static_cast<double>(box.right)},
          std::array{start.y, along.y, static_cast<double>(box.bottom),
                     static_cast<double>(box.top)}}) {
        if (step == 0) {
            if (origin < low || origin > high) {
                return std::nullopt;
            }
            continue;
        }
        const double enter = (low - origin) / step;
        const double leave = (high - origin) / step;
        from = std::max(from, std::min(enter, leave));
        to = std::min(to, std::max(enter, leave));
    }
    if (from > to) {
        return std::nullopt;
    }
    return Span{from, to};
}

// Makes the tolerance texts that are on beside the measure text, which stands unrotated
// with its anchor at the origin: each starts at the measure's far end in its reading
// direction. A tolerance that is off has no text.
void MakeTolerances(int index, double textWidth) {
    const settings::DimensionSettings& s = settings::Settings();
    for (int which : {1, 2}) {
        const bool on = which == 1 ? s.tolerance1On != 0 : s.tolerance2On != 0;
        if (!on) {
            DisposeArt(ArtOf(index).tolerances[which - 1]);
            continue;
        }
        if (const AIArtHandle tolerance = CreateToleranceText(which, index)) {
            TranslateArt(tolerance, textWidth / 2, 0);
        }
    }
}

// The dimension line, broken around the measure text and its tolerances, and the texts
// placed in the gap.
void DrawLineAndText(LinearState& state, LineArt& art, Vec a, Vec b, double setback,
                     const std::optional<AIRealPoint>& cursor, bool textFollowsCursor, int index) {
    const settings::DimensionSettings& s = settings::Settings();
    if (s.unitKind == settings::kNoMeasure) {
        DisposeArt(art.measureText);
        DisposeArt(art.tolerances[0]);
        DisposeArt(art.tolerances[1]);
        SetTwoPointPath(Point(a), Point(b), art.lineHalf1, Styles().solidLine);
        DisposeArt(art.lineHalf2);
        return;
    }

    BuildLabel(state);
    if (!IsLive(art.measureText)) {
        state.textPosition = {0, 0};
        state.textAngle = 0.0;
    }
    CreateMeasureTextFrame(LabelKind::Segment, state.textPosition, measure::MeasureText(), index);
    // Back to the origin, unrotated, to read the text's own size.
    TranslateArt(art.measureText, -state.textPosition.h, -state.textPosition.v);
    RotateArt(art.measureText, -state.textAngle, {0, 0});
    state.textPosition = {0, 0};
    state.textAngle = 0.0;
    const AIRealPoint size = ArtSize(art.measureText);
    const double w = size.h;
    const double h = size.v;
    MakeTolerances(index, w);
    const double textAngle = TextAngle(state, s.horizontalText != 0);

    // The gap: the measure text's, widened where the line would cross a tolerance text.
    const double gap = TextGap(state.angle, w, h, s.horizontalText != 0);
    Span cut{-gap / 2, gap / 2};
    for (AIArtHandle tolerance : art.tolerances) {
        AIRealRect box{};
        if (!IsLive(tolerance) || sAIArt->GetArtBounds(tolerance, &box) != 0) {
            continue;
        }
        if (const auto through = LineThrough(box, state.angle, textAngle, s.textOffset)) {
            cut.from = std::min(cut.from, through->from - kTextGapPadding / 2);
            cut.to = std::max(cut.to, through->to + kTextGapPadding / 2);
        }
    }
    const double gapLength = cut.to - cut.from;

    const Vec u = Direction(state.angle);
    const double available = Length(Of(state.l1) - Of(state.l2)) - 2 * setback;
    double half = (available - gapLength) / 2;
    if (textFollowsCursor && cursor && available - gapLength >= 2 * kTextMargin) {
        const Vec c = Of(*cursor);
        if (Length(a - c) <= available && Length(b - c) <= available) {
            // The measure's anchor at the cursor, with some line kept on either side.
            half = std::clamp(Length(a - c) + cut.from, kTextMargin,
                              available - gapLength - kTextMargin);
        }
    }
    const double otherHalf = available - half - gapLength;
    const Vec position =
        a + (half - cut.from) * u + s.textOffset * Direction(state.angle + kPi / 2);

    if (std::fabs(s.textOffset) > h / 2) {
        // The text stands off the line: one unbroken line.
        SetTwoPointPath(Point(a), Point(b), art.lineHalf1, Styles().solidLine);
        DisposeArt(art.lineHalf2);
    } else if (half >= 0) {
        SetTwoPointPath(Point(a), Point(a + half * u), art.lineHalf1, LineStyle());
        SetTwoPointPath(Point(b), Point(b - otherHalf * u), NeedHalf2(art), LineStyle());
    } else {
        // The texts are longer than the room between the heads: each half runs outward,
        // from beyond both its arrowhead and the texts, for as far as the texts overrun the
        // room and at least an arrowhead's length; the texts stand between the halves.
        // Whichever way a head points, it lies within one setback of the line's end.
        const double reach = LineSetback();
        const Vec start1 = a + std::min(half, -reach) * u;
        const Vec start2 = b - std::min(otherHalf, -reach) * u;
        SetTwoPointPath(Point(start1), Point(start1 - std::max(-half, reach) * u), art.lineHalf1,
                        LineStyle());
        SetTwoPointPath(Point(start2), Point(start2 + std::max(-otherHalf, reach) * u),
                        NeedHalf2(art), LineStyle());
    }

    state.textAngle = textAngle;
    state.textPosition = Point(position);
    for (AIArtHandle text : {art.measureText, art.tolerances[0], art.tolerances[1]}) {
        if (IsLive(text)) {
            RotateArt(text, textAngle, {0, 0});
            TranslateArt(text, position.x, position.y);
        }
    }
}

// Draws set `index` from its state: tips, heads, extension lines, line and text.
void LayOut(int index, const std::optional<AIRealPoint>& cursor, bool textFollowsCursor) {
    LinearState& state = Linear(index);
    LineArt& art = ArtOf(index);

    const Vec p1 = Of(state.p1);
    const Vec p2 = Of(state.p2);
    switch (state.layout) {
        case LinearLayout::Oblique: {
            const Vec shift = state.offset * Direction(state.angle + kPi / 2);
            state.l1 = Point(p1 + shift);
            state.l2 = Point(p2 + shift);
            break;
        }
        case LinearLayout::Horizontal: {
            const double y = p1.y + state.offset;
            state.l1 = Point({p1.x, y});
            state.l2 = Point({p2.x, y});
            break;
        }
        case LinearLayout::Vertical: {
            const double x = p1.x + state.offset;
            state.l1 = Point({x, p1.y});
            state.l2 = Point({x, p2.y});
            break;
        }
    }
    const double setback = state.arrowsOutside ? 0.0 : LineSetback();
    const Vec u = Direction(state.angle);
    const Vec a = Of(state.l1) + setback * u;
    const Vec b = Of(state.l2) - setback * u;

    // Line half 1 first: the arrowheads go just below it.
    NeedPath(art.lineHalf1, nullptr);
    PlaceLineArrowheads(state.l1, state.l2, state.angle, state.arrowsOutside, index);
    DrawLineAndText(state, art, a, b, setback, cursor, textFollowsCursor, index);
    DrawExtensionLines(state, art);
}

}  // namespace

LinearState& Linear(int index) {
    return States()[index == 1 ? 1 : 0];
}

SegmentRecordArt LineHalves(int index) {
    const LineArt& art = ArtOf(index);
    return {art.lineHalf1, art.lineHalf2};
}

LinearLayout LayoutOfType(std::int32_t dimensionType, int index) {
    switch (dimensionType) {
        case settings::kHorizontal:
            return LinearLayout::Horizontal;
        case settings::kVertical:
            return LinearLayout::Vertical;
        case settings::kHorizontalAndVertical:
            return index == 1 ? LinearLayout::Vertical : LinearLayout::Horizontal;
        default:
            return LinearLayout::Oblique;
    }
}

void CreateSegmentDimensionArt(int index) {
    LineArt& art = ArtOf(index);
    DisposeArt(art.lineHalf1);
    DisposeArt(art.lineHalf2);
    art.lineHalf1 = NewDimensionPath(nullptr);
    art.lineHalf2 = NewDimensionPath(art.lineHalf1);
    if (settings::Settings().dimensionType == settings::kHorizontalAndVertical) {
        return;
    }
    Steps& errors = WorkingArt().errors;
    for (AIArtHandle half : {art.lineHalf1, art.lineHalf2}) {
        if (half != nullptr) {
            errors += sAITag->SetTag(half, kSegmentKindKey, kTagString, kMarker);
        }
    }
    if (art.lineHalf1 != nullptr) {
        errors += sAITag->SetTag(art.lineHalf1, kRebuildKey, kTagString, kMarker);
    }
}

bool BuildSegmentDimension(AIRealPoint p1, AIRealPoint p2, AIRealPoint cursor, LinearLayout layout,
                           const LinearFlags& flags, int index) {
    settings::DimensionSettings& s = settings::Settings();
    if (p1.h == p2.h && p1.v == p2.v) {
        ShowAlert(kPointsNotDistinct);
        DimensionArt& working = WorkingArt();
        DisposeArt(working.group);
        working.lines = {};
        return false;
    }
    LinearState& state = Linear(index);
    state.layout = layout;
    state.arrowsOutside = flags.arrowsOutside;
    switch (layout) {
        case LinearLayout::Oblique: {
            state.p1 = p1;
            state.p2 = p2;
            state.angle =
                std::atan2(static_cast<double>(p2.v) - p1.v, static_cast<double>(p2.h) - p1.h);
            const Vec normal = Direction(state.angle + kPi / 2);
            const Vec toCursor = Of(cursor) - Of(p1);
            double offset = toCursor.x * normal.x + toCursor.y * normal.y;
            if (flags.snap) {
                const double sign = SignOf(offset);
                offset = sign * sAIRealMath->AIRealMultiple(static_cast<AIReal>(std::fabs(offset)),
                                                            kCentimetre, true);
            }
            state.offset = offset;
            break;
        }
        case LinearLayout::Horizontal:
        case LinearLayout::Vertical: {
            const bool horizontal = layout == LinearLayout::Horizontal;
            // The first point is the left (lower) one.
            const bool swap = horizontal ? p2.h < p1.h : p2.v < p1.v;
            state.p1 = swap ? p2 : p1;
            state.p2 = swap ? p1 : p2;
            state.angle = horizontal ? 0.0 : kPi / 2;
            double offset = horizontal ? static_cast<double>(cursor.v) - state.p1.v
                                       : static_cast<double>(cursor.h) - state.p1.h;
            if (flags.snap) {
                offset = SignOf(offset) * std::floor(std::fabs(offset) / kSnapStep) * kSnapStep;
            }
            state.offset = offset;
            break;
        }
    }
    s.extensionLength = state.offset;
    LayOut(index, cursor, flags.textFollowsCursor);
    WorkingArt().laidOut = true;
    return true;
}

bool RebuildSegmentDimension(int index) {
    const LinearState& state = Linear(index);
    if (state.p1.h == state.p2.h && state.p1.v == state.p2.v) {
        return false;
    }
    LayOut(index, std::nullopt, false);
    return true;
}

}  // namespace drawing
