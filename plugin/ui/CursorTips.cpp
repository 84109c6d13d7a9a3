#include "plugin/ui/CursorTips.h"

#include <cmath>
#include <map>
#include <numbers>
#include <optional>
#include <utility>

#include "plugin/geometry/GeometryKernel.h"
#include "plugin/hostaccess/PathGeometry.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"
#include "plugin/measure/MeasureLabels.h"
#include "plugin/measure/NumberFormat.h"
#include "plugin/measure/Units.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/tools/AreaTool.h"
#include "plugin/tools/ToolStates.h"
#include "plugin/ui/SmartGuideColor.h"

namespace ui {
namespace {

using settings::Settings;
using tools::HoverState;

const char* const kModifyOne = "Clic pour modifier une cote.";
const char* const kModifyAll = "Clic+ALT pour tout modifier.";
const char* const kChangeSettings = "Clic+ALT pour modifier les réglages."_w1252;

// The tip's layout, view pixels.
constexpr double kTipLeft = 16;
constexpr double kTipLineStep = 12;
constexpr double kAreaToolLinesDrop = 20;

// What the tip has measured of the path under the cursor. The cursor stays over one path
// for many moves: its lengths and its area are computed once, and again only when its
// anchors change.
struct HoveredPath {
    AIArtHandle art = nullptr;
    std::vector<AIPathSegment> segments;
    bool closed = false;
    std::map<std::pair<std::int32_t, std::int32_t>, double> lengths;
    std::optional<geometry::PolygonArea> polygon;
};

HoveredPath& Kept() {
    static HoveredPath kept;
    return kept;
}

// The measures kept for `art` as it is now.
HoveredPath& MeasuresOf(AIArtHandle art) {
    HoveredPath& kept = Kept();
    hostaccess::PathGeometry path = hostaccess::ReadPath(art);
    if (kept.art != art || kept.closed != path.closed ||
        !hostaccess::SameAnchors(kept.segments, path.segments)) {
        kept = HoveredPath{};
        kept.art = art;
        kept.segments = std::move(path.segments);
        kept.closed = path.closed;
    }
    return kept;
}

const geometry::PolygonArea& PolygonOf(AIArtHandle art) {
    HoveredPath& kept = MeasuresOf(art);
    if (!kept.polygon) {
        kept.polygon = geometry::PolygonAreaOrCrossed(kept.segments, kept.closed);
    }
    return *kept.polygon;
}

// The anchors of the whole path: its ends, or once round a closed path.
std::pair<std::int32_t, std::int32_t> WholePath(AIArtHandle art) {
    const HoveredPath& kept = MeasuresOf(art);
    const auto last = static_cast<std::int32_t>(kept.segments.size()) - 1;
    return kept.closed ? std::pair{0, 0} : std::pair{0, std::max(last, 0)};
}

// Adds `prefix` + `text` to `lines`, the second measure of a double measure on a line of its
// own; nothing when the settings gave no text.
void AddMeasure(std::vector<std::string>& lines, const std::string& prefix,
                const std::string& text) {
    if (text.empty()) {
        return;
    }
    const std::size_t split = text.find('\r');
    lines.push_back(prefix + text.substr(0, split));
    if (split != std::string::npos && split + 1 < text.size()) {
        lines.push_back(text.substr(split + 1));
    }
}

std::string SegmentLength(AIRealPoint a, AIRealPoint b) {
    measure::BuildSegmentLabel(a.h, a.v, b.h, b.v, false);
    return measure::MeasureText();
}

std::string CurveLength(AIArtHandle art, std::int32_t from, std::int32_t to) {
    measure::BuildCurveLengthLabel(art, from, to, &HoveredPathLength);
    return measure::MeasureText();
}

std::string HoveredCurveLength(const HoverState& hover) {
    return CurveLength(hover.hoverArt, hover.startIndex, hover.endIndex);
}

void HeaderLines(ToolKind tool, const HoverState& hover, std::vector<std::string>& lines) {
    const bool overDimension =
        (tool == ToolKind::Segment && hover.overStraightDimension) ||
        ((tool == ToolKind::Angle || tool == ToolKind::Circle) && hover.overArcDimension);
    if (overDimension) {
        lines.emplace_back(kModifyOne);
        lines.emplace_back(kModifyAll);
    } else {
        lines.emplace_back(kChangeSettings);
    }
}

void ScaleLine(ToolKind tool, std::vector<std::string>& lines) {
    const settings::DimensionSettings& s = Settings();
    if (tool == ToolKind::Angle || tool == ToolKind::Bezier ||
        s.scaleNumerator / s.scaleDenominator == 1) {
        return;
    }
    std::string line = "Échelle="_w1252;
    line += measure::FormatMeasureNumber(static_cast<float>(s.scaleNumerator), 0, false);
    line += " /";
    line += measure::FormatMeasureNumber(static_cast<float>(s.scaleDenominator), 0, false);
    lines.push_back(std::move(line));
}

void SegmentLines(const HoverState& hover, std::vector<std::string>& lines) {
    const tools::SegmentToolState& clicks = tools::SegmentTool();
    const bool second = clicks.clickCount >= 1;
    if (hover.overAnchor || hover.overOtherPoint) {
        const char* name = hover.overAnchor ? (second ? "Point d'ancrage 2" : "Point d'ancrage 1")
                                            : (second ? "Point 2 (centre de l'objet)"
                                                      : "Point 1 (centre de l'objet)");
        lines.emplace_back(name);
        if (second) {
            AddMeasure(lines, "L segment=", SegmentLength(clicks.firstPoint, hover.hoverPoint));
        }
        return;
    }
    if (hover.overStraightSegment) {
        AddMeasure(lines, "L segment=", SegmentLength(hover.hoverPoint, hover.segmentEnd));
        const geometry::PolygonArea& polygon = PolygonOf(hover.hoverArt);
        if (polygon.kind == geometry::PolygonArea::Kind::kCrossed) {
            AddMeasure(lines, "Aire=", polygon.Verdict());
        } else if (polygon.kind == geometry::PolygonArea::Kind::kArea &&
                   measure::BuildAreaLabel(true, polygon.area, true)) {
            AddMeasure(lines, "Aire=", measure::AreaText());
        }
        return;
    }
    if (hover.overArc) {
        lines.emplace_back("Arc de cercle");
    } else if (hover.overCurve) {
        AddMeasure(lines, "L courbe=", HoveredCurveLength(hover));
    }
}

// The angle at the anchor under the cursor, between the directions to its two neighbours;
// nothing at the end of an open path or where a neighbour lies on the anchor itself.
std::optional<double> CornerAngle() {
    const tools::VertexState& vertex = tools::Vertex();
    if (!vertex.sidesKnown) {
        return std::nullopt;
    }
    const double ax = vertex.firstSideEnd.h - vertex.vertexPoint.h;
    const double ay = vertex.firstSideEnd.v - vertex.vertexPoint.v;
    const double bx = vertex.secondSideEnd.h - vertex.vertexPoint.h;
    const double by = vertex.secondSideEnd.v - vertex.vertexPoint.v;
    if (std::hypot(ax, ay) == 0 || std::hypot(bx, by) == 0) {
        return std::nullopt;
    }
    // The angle from its sine and cosine together stays defined for a straight anchor,
    // where an arc cosine of a rounded dot product is not.
    const double angle = std::atan2(std::fabs(ax * by - ay * bx), ax * bx + ay * by);
    return std::isfinite(angle) ? std::optional(angle) : std::nullopt;
}

void AngleLines(const HoverState& hover, std::vector<std::string>& lines) {
    const bool second = tools::SegmentTool().clickCount >= 1;
    if (hover.overAnchor) {
        lines.emplace_back("Point d'ancrage (sommet)");
        if (const auto angle = CornerAngle()) {
            AddMeasure(lines, "Angle=", measure::FormatAngle(static_cast<float>(*angle), false));
        }
    } else if (hover.overStraightSegment) {
        lines.emplace_back(second ? "Second côté de l'angle"_w1252
                                  : "Premier côté de l'angle"_w1252);
    } else if (hover.overArc) {
        lines.emplace_back("Arc de cercle (angle)");
    } else if (hover.overCurve) {
        lines.emplace_back("Courbe.");
        AddMeasure(lines, "", HoveredCurveLength(hover));
    }
}

void CircleLines(const HoverState& hover, bool altDrag, std::vector<std::string>& lines) {
    const bool second = tools::SegmentTool().clickCount >= 1;
    if (hover.overAnchor) {
        lines.emplace_back(second ? "Point final de l'arc" : "Point initial de l'arc");
    } else if (hover.overArc) {
        const bool diameter = (Settings().showDiameter != 0) != altDrag;
        measure::BuildRadiusLabel(hover.arcRadius, altDrag);
        AddMeasure(lines, diameter ? "Diamètre="_w1252 : "Rayon=", measure::MeasureText());
        const double area =
            std::numbers::pi * static_cast<double>(hover.arcRadius) * hover.arcRadius;
        if (measure::BuildAreaLabel(MeasuresOf(hover.hoverArt).closed, area, true)) {
            AddMeasure(lines, "Aire=", measure::AreaText());
        }
    } else if (hover.overStraightSegment) {
        lines.emplace_back("Segment");
    } else if (hover.overCurve) {
        lines.emplace_back("Courbe.");
        AddMeasure(lines, "", HoveredCurveLength(hover));
    }
}

// Over an end of a path (an end anchor, or a segment that reaches one), where a click of
// the distance mode sets a tick.
bool AtPathEnd(const HoverState& hover) {
    if (hover.hoverArt == nullptr) {
        return false;
    }
    const int last = static_cast<int>(MeasuresOf(hover.hoverArt).segments.size()) - 1;
    const auto isEnd = [last](int index) { return index == 0 || index == last; };
    if (hover.overAnchor) {
        return isEnd(hover.startIndex);
    }
    return (hover.overStraightSegment || hover.overCurve) &&
           (isEnd(hover.startIndex) || isEnd(hover.endIndex));
}

void BezierLines(const HoverState& hover, std::vector<std::string>& lines) {
    if (AtPathEnd(hover)) {
        std::string line = "Longueur sur courbe = ";
        line += measure::FormatMeasureNumber(static_cast<float>(Settings().curveLengthOnCurve), 1,
                                             false);
        line += " mm";
        lines.push_back(std::move(line));
    }
}

bool AnyTotalShown() {
    const settings::DimensionSettings& s = Settings();
    return s.areaShowTotalLength != 0 || s.areaShowPartialLength != 0 || s.areaShowArea != 0 ||
           s.areaShowPathCount != 0 || s.areaShowPointCount != 0;
}

void AreaLines(const HoverState& hover, bool dragging, std::vector<std::string>& lines) {
    const tools::SegmentToolState& clicks = tools::SegmentTool();
    const tools::AreaToolState& state = tools::AreaTool();
    if (hover.overAnchor && !dragging) {
        const auto [from, to] = WholePath(hover.hoverArt);
        const std::string total = CurveLength(hover.hoverArt, from, to);
        if (clicks.clickCount == 0) {
            lines.emplace_back("Premier point.");
            AddMeasure(lines, "L totale courbe = ", total);
            return;
        }
        lines.emplace_back("Second point.");
        AddMeasure(lines, "L totale courbe = ", total);
        // A part of a path lies between two anchors of that one path.
        if (hover.hoverArt == clicks.measuredPath) {
            measure::BuildTipLengthLabel(hover.hoverArt, state.partialStart, hover.startIndex,
                                         &HoveredPathLength);
            AddMeasure(lines, "L partie courbe = ", measure::TipLengthText());
        }
        return;
    }
    if (hover.overStraightSegment || hover.overCurve || hover.overArc) {
        for (const std::string& line : tools::TotalsLines(state.totals)) {
            lines.push_back(line);
        }
        return;
    }
    ASInt32 picked = 0;
    if (tools::MeasureSet() != nullptr) {
        sAIArtSet->CountArtSet(tools::MeasureSet(), &picked);
    }
    if (!dragging && (picked > 0 || state.partialLength)) {
        lines.emplace_back(AnyTotalShown() ? "Clic pour créer le texte."_w1252
                                           : "Désélectionne tout."_w1252);
        return;
    }
    lines.emplace_back("Tracez un rectangle de sélection"_w1252);
    lines.emplace_back("ou cliquez sur un tracé"_w1252);
    lines.emplace_back("ou cliquez sur un point.");
}

}  // namespace

double HoveredPathLength(AIArtHandle path, std::int32_t from, std::int32_t to) {
    HoveredPath& kept = MeasuresOf(path);
    const auto [it, added] = kept.lengths.try_emplace({from, to}, 0.0);
    if (added) {
        it->second = geometry::PathLengthBetween(kept.segments, kept.closed, from, to);
    }
    return it->second;
}

std::vector<std::string> CursorTipLines(const ToolActivity& activity) {
    std::vector<std::string> lines;
    if (!activity.cursorTracked) {
        return lines;
    }
    const HoverState& hover = tools::Hover();
    HeaderLines(activity.tool, hover, lines);
    ScaleLine(activity.tool, lines);
    switch (activity.tool) {
        case ToolKind::Segment:
            SegmentLines(hover, lines);
            break;
        case ToolKind::Angle:
            AngleLines(hover, lines);
            break;
        case ToolKind::Circle:
            CircleLines(hover, activity.altDrag, lines);
            break;
        case ToolKind::Bezier:
            BezierLines(hover, lines);
            break;
        case ToolKind::LengthsAndAreas:
            AreaLines(hover, activity.dragging, lines);
            break;
    }
    return lines;
}

void DrawCursorTip(PanelDrawer& drawer, const ViewMapping& view, ToolKind tool,
                   const std::vector<std::string>& lines) {
    if (lines.empty()) {
        return;
    }
    const SmartGuideColor& guide = CurrentSmartGuideColor();
    drawer.Color({guide.red, guide.green, guide.blue});
    drawer.Font(kAnnotatorFontLarge);
    const AIRealPoint anchor = view.ToView(tools::Hover().cursorPoint);
    const double drop = tool == ToolKind::LengthsAndAreas ? kAreaToolLinesDrop - kTipLineStep : 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const double y = static_cast<double>(k) * kTipLineStep + (k > 0 ? drop : 0);
        drawer.Text(anchor.h + kTipLeft, anchor.v + y, lines[k]);
    }
}

}  // namespace ui
