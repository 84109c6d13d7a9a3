#include "plugin/measure/Units.h"

#include <cmath>

#include "plugin/hostaccess/WindowsText.h"
#include "plugin/measure/NumberFormat.h"
#include "plugin/measure/RealMath.h"
#include "plugin/settings/DimensionSettings.h"

namespace measure {

namespace {

// Inch fractions are counted in 32nds before they are reduced.
constexpr int kFractionDenominator = 32;

constexpr float kInchesPerFoot = 12.0f;

bool IsMeasuredUnit(std::int32_t unit) {
    return unit >= settings::kMicrometre && unit <= settings::kKilometre;
}

}  // namespace

const char* LengthMark(std::int32_t unit) {
    switch (unit) {
        case settings::kMicrometre:
            return " µm"_w1252;
        case settings::kMillimetre:
            return " mm";
        case settings::kCentimetre:
            return " cm";
        case settings::kDecimalInch:
        case settings::kFractionalInch:
        case settings::kFeetAndInches:
            return " \"";
        case settings::kPoint:
            return " pt";
        case settings::kPica:
            return " pc";
        case settings::kMetre:
            return " m";
        case settings::kKilometre:
            return " km";
        default:
            return "";
    }
}

namespace {

// The mark always written after an area in `unit`.
const char* AreaMark(std::int32_t unit) {
    switch (unit) {
        case settings::kMicrometre:
            return " µm2"_w1252;
        case settings::kMillimetre:
            return " mm2";
        case settings::kCentimetre:
            return " cm2";
        case settings::kDecimalInch:
        case settings::kFractionalInch:
        case settings::kFeetAndInches:
            return " po2";
        case settings::kPoint:
            return " pt2";
        case settings::kPica:
            return " pc2";
        case settings::kMetre:
            return " m2";
        case settings::kKilometre:
            return " km2";
        default:
            return "";
    }
}

}  // namespace

float ConvertLength(double points, std::int32_t unit) {
    const double scale = settings::Settings().scaleFactor;
    switch (unit) {
        case settings::kMicrometre:
            return StoreAsFloat(points * 25400 / 72 / scale);
        case settings::kMillimetre:
            return StoreAsFloat(points * 25.4 / 72 / scale);
        case settings::kCentimetre:
            return StoreAsFloat(points * 2.54 / 72 / scale);
        case settings::kDecimalInch:
        case settings::kFractionalInch:
        case settings::kFeetAndInches:
            return StoreAsFloat(points / 72 / scale);
        case settings::kPoint:
            return StoreAsFloat(points / scale);
        case settings::kPica:
            return StoreAsFloat(points / 12 / scale);
        case settings::kMetre:
            return StoreAsFloat(points * 0.0254 / 72 / scale);
        case settings::kKilometre:
            return StoreAsFloat(points * 0.0254 / 72000 / scale);
        default:
            return 0.0f;
    }
}

std::string FormatInchFraction(float inches, std::int32_t unit, bool secondMeasure,
                               const char* feetMark) {
    if (!std::isfinite(inches)) {
        return kNotANumberText;
    }
    float whole = std::floor(inches);
    int numerator = static_cast<int>(
        RoundHalfAwayFromZero(kFractionDenominator * (static_cast<double>(inches) - whole)));
    int denominator = kFractionDenominator;
    while (numerator % 2 == 0 && denominator % 2 == 0) {
        numerator /= 2;
        denominator /= 2;
    }
    std::string fraction;
    if (denominator == 1) {
        // 0/32 or 32/32: no fraction, the inches are rounded to the nearest whole.
        whole = StoreAsFloat(RoundHalfAwayFromZero(inches));
    } else {
        fraction = FormatMeasureNumber(static_cast<float>(numerator), 0, secondMeasure) + "/" +
                   std::to_string(denominator);
    }

    std::string wholeText;
    if (unit != settings::kFeetAndInches) {
        wholeText = FormatMeasureNumber(whole, 0, secondMeasure);
    } else {
        const float feet = std::floor(whole / kInchesPerFoot);
        const float restInches = StoreAsFloat(whole - 12.0 * feet);
        if (feet > 0) {
            wholeText = FormatMeasureNumber(feet, 0, secondMeasure) + feetMark +
                        FormatMeasureNumber(restInches, 0, secondMeasure);
        } else if (feet != 0 || restInches != 0) {
            wholeText = FormatMeasureNumber(restInches, 0, secondMeasure);
        }
    }
    return wholeText + " " + fraction;
}

std::string FormatLength(double points, std::int32_t unit, int decimals, bool secondMeasure,
                         bool showUnit) {
    if (!IsMeasuredUnit(unit)) {
        return "";
    }
    const float value = ConvertLength(points, unit);
    std::string text = unit == settings::kFractionalInch || unit == settings::kFeetAndInches
                           ? FormatInchFraction(value, unit, secondMeasure, " ’ "_w1252)
                           : FormatMeasureNumber(value, decimals, secondMeasure);
    if (showUnit) {
        text += LengthMark(unit);
    }
    return text;
}

std::string FormatAngle(float radians, bool reflex) {
    const settings::DimensionSettings& s = settings::Settings();
    float sweep = std::fabs(radians);
    if (reflex) {
        sweep = kFullTurn - sweep;
    }
    std::string text = FormatMeasureNumber(RadiansToDegrees(std::fabs(sweep)), s.precision, false);
    if (s.showUnit != 0) {
        text += "°"_w1252;
    }
    return text;
}

std::string FormatArea(double squarePoints) {
    const settings::DimensionSettings& s = settings::Settings();
    const double scaleSquared = s.scaleFactor * s.scaleFactor;
    double value = 0;
    switch (s.unitKind) {
        case settings::kMicrometre:
            value = squarePoints * 10080625 / 81 / scaleSquared;
            break;
        case settings::kMillimetre:
            value = squarePoints * 645.16 / 5184 / scaleSquared;
            break;
        case settings::kCentimetre:
            value = squarePoints * 6.4516 / 5184 / scaleSquared;
            break;
        case settings::kDecimalInch:
        case settings::kFractionalInch:
        case settings::kFeetAndInches:
            value = squarePoints / 5184 / scaleSquared;
            break;
        case settings::kPoint:
            value = squarePoints / scaleSquared;
            break;
        case settings::kPica:
            value = squarePoints / 144 / scaleSquared;
            break;
        case settings::kMetre:
            value = squarePoints * 0.00064516 / 5184 / scaleSquared;
            break;
        case settings::kKilometre:
            value = squarePoints * 0.64516e-6 / 5184000 / scaleSquared;
            break;
        default:
            return "";
    }
    return FormatMeasureNumber(StoreAsFloat(value), s.precision, false) + AreaMark(s.unitKind);
}

}  // namespace measure
