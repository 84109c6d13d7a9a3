#include "plugin/measure/MeasureLabels.h"

#include <cmath>

#include "plugin/hostaccess/WindowsText.h"
#include "plugin/measure/NumberFormat.h"
#include "plugin/measure/RealMath.h"
#include "plugin/measure/Units.h"
#include "plugin/settings/DimensionSettings.h"

namespace measure {

namespace {

// The line break between the main and the second measure; the host makes it a paragraph.
constexpr char kLineBreak = '\r';

std::string& MeasureBuffer() {
    static std::string text;
    return text;
}

std::string& AreaBuffer() {
    static std::string text;
    return text;
}

std::string& TipLengthBuffer() {
    static std::string text;
    return text;
}

bool IsNoMeasure() {
    return settings::Settings().unitKind == settings::kNoMeasure;
}

// The main measure and, with a second measure, the second one on its own line; each line is
// passed through `line` (which adds the radius symbol). Empty for the no-measure unit.
template <typename LineLayout>
void BuildLengthLabel(double points, LineLayout line) {
    const settings::DimensionSettings& s = settings::Settings();
    std::string& text = MeasureBuffer();
    text.clear();
    if (IsNoMeasure()) {
        return;
    }
    text = line(FormatLength(points, s.unitKind, s.precision, false, s.showUnit != 0));
    if (settings::HasSecondMeasure(s)) {
        text += kLineBreak;
        text += line(
            FormatLength(points, s.secondUnitKind, s.secondPrecision, true, s.showSecondUnit != 0));
    }
}

void BuildLengthLabel(double points) {
    BuildLengthLabel(points, [](std::string measure) { return measure; });
}

// The French mark of the cursor tips, after a length in a decimal unit: the unit's own mark,
// but " po" for inches.
const char* TipMark(std::int32_t unit) {
    const bool inches = unit == settings::kDecimalInch || unit == settings::kFractionalInch ||
                        unit == settings::kFeetAndInches;
    return inches ? " po" : LengthMark(unit);
}

}  // namespace

const std::string& MeasureText() {
    return MeasureBuffer();
}

void BuildSegmentLabel(float x1, float y1, float x2, float y2, bool swapAxis) {
    const float dx = std::fabs(x2 - x1);
    const float dy = std::fabs(y2 - y1);
    float distance = 0;
    switch (settings::Settings().dimensionType) {
        case settings::kHorizontal:
            distance = swapAxis ? dy : dx;
            break;
        case settings::kVertical:
            distance = swapAxis ? dx : dy;
            break;
        default:
            distance = PointDistance(AIRealPoint{x1, y1}, AIRealPoint{x2, y2});
            break;
    }
    BuildLengthLabel(distance);
}

void BuildArcLengthLabel(float radius, float angle, bool reflex) {
    const float sweep = reflex ? kFullTurn - std::fabs(angle) : std::fabs(angle);
    BuildLengthLabel(static_cast<double>(radius) * sweep);
}

void BuildCurveLengthLabel(AIArtHandle path, std::int32_t from, std::int32_t to,
                           PathLengthBetween lengthBetween) {
    if (lengthBetween == nullptr) {
        MeasureBuffer().clear();
        return;
    }
    BuildLengthLabel(lengthBetween(path, from, to));
}

void BuildRadiusLabel(float radius, bool altDrag) {
    const settings::DimensionSettings& s = settings::Settings();
    const bool diameter = (s.showDiameter != 0) != altDrag;
    const std::string symbol = diameter ? "Ø"_w1252 : "R";
    const double value = diameter ? 2.0 * radius : static_cast<double>(radius);
    BuildLengthLabel(value, [&](std::string measure) {
        if (measure.empty() || s.radiusPrefixOn == 0) {
            return measure;
        }
        return s.radiusPrefixBefore != 0 ? symbol + " " + measure : measure + " " + symbol;
    });
}

const std::string& AreaText() {
    return AreaBuffer();
}

bool BuildAreaLabel(bool pathClosed, double area, bool requireClosed) {
    AreaBuffer().clear();
    if (requireClosed && !pathClosed) {
        return false;
    }
    if (!IsNoMeasure()) {
        AreaBuffer() = FormatArea(area);
    }
    return true;
}

std::string SelectionLengthText(double points) {
    const settings::DimensionSettings& s = settings::Settings();
    return FormatLength(points, s.unitKind, s.precision, false, true);
}

const std::string& TipLengthText() {
    return TipLengthBuffer();
}

void BuildTipLengthLabel(AIArtHandle path, std::int32_t from, std::int32_t to,
                         PathLengthBetween lengthBetween) {
    const settings::DimensionSettings& s = settings::Settings();
    std::string& text = TipLengthBuffer();
    text.clear();
    if (lengthBetween == nullptr || s.unitKind < settings::kMicrometre ||
        s.unitKind > settings::kKilometre) {
        return;
    }
    const float value = ConvertLength(lengthBetween(path, from, to), s.unitKind);
    if (s.unitKind == settings::kFractionalInch || s.unitKind == settings::kFeetAndInches) {
        text = FormatInchFraction(value, s.unitKind, false, " pi ");
    } else {
        text = FormatMeasureNumber(value, s.precision, false);
    }
    text += TipMark(s.unitKind);
}

}  // namespace measure
