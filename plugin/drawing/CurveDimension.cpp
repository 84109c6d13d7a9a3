#include "plugin/drawing/CurveDimension.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "plugin/drawing/ArrowheadPlacement.h"
#include "plugin/drawing/Arrowheads.h"
#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/DimensionStyles.h"
#include "plugin/drawing/MeasureText.h"
#include "plugin/geometry/Arcs.h"
#include "plugin/geometry/GeometryKernel.h"
#include "plugin/hostaccess/Alert.h"
#include "plugin/hostaccess/PathGeometry.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"
#include "plugin/measure/MeasureLabels.h"
#include "plugin/settings/DimensionSettings.h"

namespace drawing {

const char* const kOffsetTooLarge =
    "Décalage trop grand, recommencez avec un décalage plus petit."_w1252;

namespace {

constexpr double kPi = std::numbers::pi;
// Room for the pieces of an offset curve on a first try.
constexpr ASInt32 kUsualPieces = 32;

using Pieces = std::vector<AIRealBezier>;

AIRealBezier Reversed(const AIRealBezier& b) {
    return {b.p3, b.p2, b.p1, b.p0};
}

double LengthOf(const AIRealBezier& b) {
    return sAIRealBezier->Length(&b, geometry::kBezierFlatness);
}

std::optional<Pieces> OffsetPieces(const AIRealBezier& curve, double offset) {
    Pieces pieces(kUsualPieces);
    ASInt32 count = 0;
    ASErr error = sAIRealBezier->Offset(&curve, static_cast<AIReal>(offset), pieces.data(),
                                        static_cast<ASInt32>(pieces.size()), &count);
    if (error == kBufferTooSmallErr && count > 0) {
        pieces.resize(static_cast<std::size_t>(count));
        error = sAIRealBezier->Offset(&curve, static_cast<AIReal>(offset), pieces.data(), count,
                                      &count);
    }
    if (error != 0 || count <= 0) {
        return std::nullopt;
    }
    pieces.resize(static_cast<std::size_t>(count));
    return pieces;
}

// Cuts `length` off the start of the pieces: whole pieces while they are shorter than what
// remains, then the next one at the parameter where the rest is reached. False, with the
// pieces untouched, when they are not that long.
bool ShortenStart(Pieces& pieces, double length) {
    double remaining = length;
    std::size_t first = 0;
    while (first < pieces.size() && LengthOf(pieces[first]) <= remaining) {
        remaining -= LengthOf(pieces[first]);
        ++first;
    }
    if (first == pieces.size()) {
        return false;
    }
    AIReal t = 0;
    AIRealBezier before{};
    AIRealBezier after{};
    if (sAIRealBezier->ParameterAtLength(&pieces[first], static_cast<AIReal>(remaining),
                                         geometry::kBezierFlatness, &t) != 0 ||
        sAIRealBezier->Divide(&pieces[first], t, &before, &after) != 0) {
        return false;
    }
    pieces.erase(pieces.begin(), pieces.begin() + static_cast<std::ptrdiff_t>(first));
    pieces.front() = after;
    return true;
}

bool ShortenEnd(Pieces& pieces, double length) {
    Pieces reversed;
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
        reversed.push_back(Reversed(*it));
    }
    if (!ShortenStart(reversed, length)) {
        return false;
    }
    pieces.clear();
    for (auto it = reversed.rbegin(); it != reversed.rend(); ++it) {
        pieces.push_back(Reversed(*it));
    }
    return true;
}

std::vector<AIPathSegment> Anchors(const Pieces& pieces) {
    std::vector<AIPathSegment> anchors;
    for (std::size_t k = 0; k <= pieces.size(); ++k) {
        AIPathSegment s{};
        if (k < pieces.size()) {
            s.p = pieces[k].p0;
            s.out = pieces[k].p1;
            s.in = k == 0 ? s.p : pieces[k - 1].p2;
        } else {
            s.p = pieces[k - 1].p3;
            s.in = pieces[k - 1].p2;
            s.out = s.p;
        }
        s.corner = k == 0 || k == pieces.size();
        anchors.push_back(s);
    }
    return anchors;
}

// The point at half the length of the pieces.
AIRealPoint Middle(const Pieces& pieces) {
    double total = 0;
    for (const AIRealBezier& piece : pieces) {
        total += LengthOf(piece);
    }
    double remaining = total / 2;
    for (const AIRealBezier& piece : pieces) {
        const double length = LengthOf(piece);
        if (remaining <= length) {
            AIReal t = 0;
            sAIRealBezier->ParameterAtLength(&piece, static_cast<AIReal>(remaining),
                                             geometry::kBezierFlatness, &t);
            AIRealPoint point{0, 0};
            sAIRealBezier->PointAt(&piece, t, &point);
            return point;
        }
        remaining -= length;
    }
    return pieces.back().p3;
}

// The direction of a head's body at an end of the line: toward the end of the shortened
// line, or along the curve when it was not shortened.
double BodyAngle(AIRealPoint tip, AIRealPoint lineEnd, const AIRealBezier& piece, bool atStart) {
    if (tip.h != lineEnd.h || tip.v != lineEnd.v) {
        return geometry::DirectionAngle(tip, lineEnd);
    }
    AIRealPoint tangent{0, 0};
    sAIRealBezier->PointAndTangentAt(&piece, atStart ? 0.0f : 1.0f, nullptr, &tangent);
    const double along = std::atan2(tangent.v, tangent.h);
    return atStart ? along : along + kPi;
}

void DrawExtensionLine(AIRealPoint measured, AIRealPoint line, AIArtHandle path) {
    const settings::DimensionSettings& s = settings::Settings();
    const double length = geometry::Distance(line, measured);
    if (length == 0) {
        return;
    }
    const double angle = geometry::DirectionAngle(measured, line);
    SetTwoPointPath(
        geometry::PointAt(measured, s.extensionGap, angle),
        geometry::PointAt(measured, length + kExtensionOvershootPerPercent * s.arrowSize, angle),
        path, Styles().solidLine);
}

}  // namespace

CurveState& Curve() {
    static CurveState state;
    return state;
}

double PathLengthBetweenAnchors(AIArtHandle path, std::int32_t from, std::int32_t to) {
    const hostaccess::PathGeometry anchors = hostaccess::ReadPath(path);
    return geometry::PathLengthBetween(anchors.segments, anchors.closed, from, to);
}

void CreateCurveDimensionArt() {
    LineArt& art = WorkingArt().lines[0];
    art.lineHalf1 = NewDimensionPath(nullptr);
    art.extension2 = NewDimensionPath(nullptr);
    art.extension1 = NewDimensionPath(nullptr);
}

bool BuildCurveDimension(bool arrowsOutside) {
    settings::DimensionSettings& s = settings::Settings();
    const CurveState& measured = Curve();
    DimensionArt& working = WorkingArt();
    LineArt& art = working.lines[0];
    const std::optional<Pieces> offset = OffsetPieces(measured.curve, measured.offset);
    if (!offset) {
        ShowAlert(kOffsetTooLarge);
        DisposeArt(working.group);
        working.lines = {};
        s.extensionLength = kOffsetAfterFailure;
        return false;
    }
    working.laidOut = true;
    Pieces line = *offset;
    const AIRealPoint start = line.front().p0;
    const AIRealPoint end = line.back().p3;
    if (s.arrowSize != 0 && !arrowsOutside) {
        const double setback = LineSetback();
        Pieces shortened = line;
        if (ShortenStart(shortened, setback) && ShortenEnd(shortened, setback)) {
            line = shortened;
        }
    }
    SetPathAnchors(Anchors(line), false, art.lineHalf1, LineStyle());
    PlaceCurveArrowheads(start, BodyAngle(start, line.front().p0, line.front(), true), end,
                         BodyAngle(end, line.back().p3, line.back(), false), arrowsOutside,
                         art.lineHalf1);
    if (s.withExtensionLines == 0) {
        DisposeArt(art.extension1);
        DisposeArt(art.extension2);
    } else {
        DrawExtensionLine(measured.curve.p0, start, art.extension1);
        DrawExtensionLine(measured.curve.p3, end, art.extension2);
    }
    AIRealPoint anchor = Middle(*offset);
    anchor.v = static_cast<AIReal>(anchor.v + s.textOffset);
    measure::BuildCurveLengthLabel(measured.path, measured.from, measured.to,
                                   &PathLengthBetweenAnchors);
    PlaceMeasureText(LabelKind::CurveLength, anchor, measure::MeasureText());
    return true;
}

}  // namespace drawing
