#include "plugin/settings/DimensionSettings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace settings {

const std::array<PreferenceGroup, kGroupCount> kDefaultGroups = {{
    {12, 150, 1, 1, 1, kArrowElegant, kPoint, 2},
    {14, 200, 0.5, 1, 10, kArrowElegant, kPoint, 2},
    {16, 250, 1.5, 1, 100, kArrowVector, kPoint, 1},
    {18, 300, 2, 10, 1, kArrowHollow, kMetre, 4},
}};

DimensionSettings& Settings() {
    static DimensionSettings settings{};
    return settings;
}

namespace {

constexpr const char* kDefaultLayerName = "Dimensions";

}  // namespace

void SetDefaults(DimensionSettings& s, const std::string& firstFontName) {
    const std::int32_t loaded = s.prefsLoaded;
    s = DimensionSettings{};
    s.prefsLoaded = loaded;
    s.prefsVersion = kPreferencesVersion;

    s.unitKind = kPoint;
    s.showUnit = 1;
    s.precision = 1;
    s.decimalSeparator = ',';
    s.thousandsSeparator = kThousandsSpace;
    SetScale(s, 1, 1);

    ResetPage(s, SettingsPage::DoubleMeasure);
    ResetPage(s, SettingsPage::Tolerances);
    ResetPage(s, SettingsPage::Arrowheads);
    ResetPage(s, SettingsPage::LineFormat);

    s.fontName = firstFontName.substr(0, kMaxNameLength);
    s.fontPage = 1;
    s.fontSize = 12;
    s.fontSizeInMm = 0;

    s.strokeColorModel = kRGB;
    s.strokeGray = 1;
    s.strokeRed = 1;
    s.strokeGreen = 0;
    s.strokeBlue = 0;
    s.strokeCyan = 1;
    s.strokeMagenta = 0.5;
    s.strokeYellow = 0;
    s.strokeBlack = 0;
    s.textColorModel = kRGB;
    s.textGray = 1;
    s.textRed = 0;
    s.textGreen = 0;
    s.textBlue = 1;
    s.textCyan = 0.5;
    s.textMagenta = 1;
    s.textYellow = 0;
    s.textBlack = 0;
    s.overprintFill = 0;
    s.overprintStroke = 0;
    s.showAnnotationColors = 0;
    ResetPage(s, SettingsPage::LayerName);
    s.soundOn = 1;

    ResetPage(s, SettingsPage::SegmentTool);
    s.extensionLength = 12;
    ResetPage(s, SettingsPage::AngleTool);
    ResetPage(s, SettingsPage::CircleTool);
    ResetPage(s, SettingsPage::BezierTool);
    ResetPage(s, SettingsPage::LengthsAndAreasTool);

    s.currentGroup = 0;
    s.groups = kDefaultGroups;
    s.scaleStepMultiplier = 0;
    s.fontSizeStepMultiplier = 0;
}

void ResetPage(DimensionSettings& s, SettingsPage page) {
    switch (page) {
        case SettingsPage::DoubleMeasure:
            s.doubleMeasure = 0;
            s.secondUnitKind = kPoint;
            s.showSecondUnit = 1;
            s.secondPrecision = 1;
            s.secondDecimalSeparator = ',';
            break;
        case SettingsPage::NumberFormat:
            s.precision = 1;
            s.thousandsSeparator = kThousandsSpace;
            s.decimalSeparator = ',';
            break;
        case SettingsPage::Scale:
            SetScale(s, 1, 1);
            s.scaleStepMultiplier = 0;
            break;
        case SettingsPage::Arrowheads:
            s.arrowShape = kArrowElegant;
            s.arrowSize = 150;
            break;
        case SettingsPage::LineFormat:
            s.strokeWidth = 1;
            s.dashedLines = 0;
            s.dashLength = 6;
            s.dashGap = 6;
            s.roundCaps = 1;
            break;
        case SettingsPage::Tolerances:
            s.tolerance1On = 0;
            s.tolerance2On = 0;
            s.tolerance1StepTimes10 = 0;
            s.tolerance2StepTimes10 = 0;
            s.tolerance1Value = 0.25;
            s.tolerance2Value = 0.12;
            s.tolerance1Offset = 5;
            s.tolerance2Offset = -5;
            s.tolerance1Sign = kToleranceMinus;
            s.tolerance2Sign = kTolerancePlus;
            break;
        case SettingsPage::LayerName:
            SetLayerName(s, kDefaultLayerName);
            break;
        case SettingsPage::SegmentTool:
            s.dimensionType = kOblique;
            s.groupDimension = 0;
            s.horizontalText = 0;
            s.textOffset = 0;
            s.withExtensionLines = 1;
            s.extensionGap = 0;
            break;
        case SettingsPage::AngleTool:
            SetArcMultiple(s, false);
            s.arcCount = 3;
            s.arcGap = 6;
            s.arcRadius = 30;
            break;
        case SettingsPage::CircleTool:
            s.showDiameter = 0;
            s.radiusPrefixOn = 1;
            s.radiusPrefixBefore = 1;
            s.radiusLineDrawn = 1;
            s.radiusLeaderLength = 12;
            break;
        case SettingsPage::BezierTool:
            s.curveShare = 1;
            s.curveDivisions = 3;
            s.curvePointLength = 5;
            s.curveLengthOnCurve = 30;
            break;
        case SettingsPage::LengthsAndAreasTool:
            s.areaShowTotalLength = 1;
            s.areaShowPartialLength = 1;
            s.areaShowArea = 1;
            s.areaShowPathCount = 1;
            s.areaShowPointCount = 1;
            break;
    }
}

void SetScale(DimensionSettings& s, double numerator, double denominator) {
    s.scaleNumerator = numerator;
    s.scaleDenominator = denominator;
    s.scaleFactor = numerator / denominator;
}

bool HasSecondMeasure(const DimensionSettings& s) {
    return s.doubleMeasure != 0 && s.secondUnitKind != kNoMeasure;
}

void SetArcMultiple(DimensionSettings& s, bool multiple) {
    s.arcMultiple = multiple ? 1 : 0;
    s.arcNormal = multiple ? 0 : 1;
}

namespace {

// The text without its control characters. They come only from a damaged file: no keyboard
// types them, no list shows them, and a line end would not survive the file.
std::string Printable(std::string text) {
    std::erase_if(text, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    return text;
}

}  // namespace

void SetLayerName(DimensionSettings& s, const std::string& name) {
    s.layerName = Printable(name).substr(0, kMaxNameLength);
    s.layerNameLength = static_cast<std::int32_t>(s.layerName.size());
}

void SetDecimalSeparator(DimensionSettings& s, char separator) {
    s.decimalSeparator = separator;
    if (separator == ',' && s.thousandsSeparator == kThousandsComma) {
        s.thousandsSeparator = kThousandsSpace;
    }
}

namespace {

// Counts above this come only from a damaged file, and would stall the tools.
constexpr std::int32_t kMaxCount = 1000;

// Values beyond what a 32-bit float holds would turn into infinities when formatted.
constexpr double kLargest = std::numeric_limits<float>::max();

bool Usable(double v) {
    return std::isfinite(v) && std::fabs(v) <= kLargest;
}

void Between(double& v, double minimum, double maximum, double fallback) {
    if (!Usable(v)) {
        v = fallback;
    } else {
        v = std::clamp(v, minimum, maximum);
    }
}

void Between(std::int32_t& v, std::int32_t minimum, std::int32_t maximum) {
    v = std::clamp(v, minimum, maximum);
}

// An index into a list (a unit, an arrowhead): one past either end names nothing of the
// list, and the nearest entry would be a choice the user never made, so the default
// stands instead.
void OneOf(double& v, double first, double last, double fallback) {
    if (!Usable(v) || v < first || v > last) {
        v = fallback;
    }
}
void OneOf(std::int32_t& v, std::int32_t first, std::int32_t last, std::int32_t fallback) {
    if (v < first || v > last) {
        v = fallback;
    }
}

void Flag(std::int32_t& v) {
    v = v != 0 ? 1 : 0;
}

void SanitizeGroup(PreferenceGroup& g, const PreferenceGroup& fallback) {
    Between(g.fontSize, 0.1, kMaxFontSize, fallback.fontSize);
    Between(g.arrowSize, 0, kMaxArrowSize, fallback.arrowSize);
    Between(g.strokeWidth, 0, kMaxStrokeWidth, fallback.strokeWidth);
    Between(g.scaleNumerator, 1, kMaxScale, fallback.scaleNumerator);
    Between(g.scaleDenominator, 1, kMaxScale, fallback.scaleDenominator);
    OneOf(g.arrowShape, kArrowElegant, kArrowDotWithStroke, fallback.arrowShape);
    OneOf(g.unitKind, kMicrometre, kNoMeasure, fallback.unitKind);
    Between(g.precision, 0, 6, fallback.precision);
}

}  // namespace

void Sanitize(DimensionSettings& s, std::int32_t fontCount) {
    OneOf(s.unitKind, kMicrometre, kNoMeasure, kPoint);
    Flag(s.showUnit);
    Between(s.precision, 0, 6);
    if (s.decimalSeparator != '.') {
        s.decimalSeparator = ',';
    }
    s.thousandsSeparator =
        std::clamp<std::int8_t>(s.thousandsSeparator, kThousandsComma, kThousandsNone);
    if (s.decimalSeparator == ',' && s.thousandsSeparator == kThousandsComma) {
        s.thousandsSeparator = kThousandsSpace;
    }
    Between(s.scaleNumerator, 1, kMaxScale, 1);
    Between(s.scaleDenominator, 1, kMaxScale, 1);
    SetScale(s, s.scaleNumerator, s.scaleDenominator);

    Flag(s.doubleMeasure);
    // "No measure" is kept as the user chose it: it shows no second line.
    if (s.secondUnitKind < kMicrometre || s.secondUnitKind > kNoMeasure) {
        s.secondUnitKind = kPoint;
    }
    Flag(s.showSecondUnit);
    Between(s.secondPrecision, 0, 6);
    if (s.secondDecimalSeparator != '.') {
        s.secondDecimalSeparator = ',';
    }

    Flag(s.tolerance1On);
    Between(s.tolerance1Value, 0, kMaxToleranceValue, 0.25);
    Between(s.tolerance1Offset, -kMaxOffset, kMaxOffset, 5);
    OneOf(s.tolerance1Sign, kTolerancePlus, kTolerancePlusMinus, kToleranceMinus);
    Flag(s.tolerance1StepTimes10);
    Flag(s.tolerance2On);
    Between(s.tolerance2Value, 0, kMaxToleranceValue, 0.12);
    Between(s.tolerance2Offset, -kMaxOffset, kMaxOffset, -5);
    OneOf(s.tolerance2Sign, kTolerancePlus, kTolerancePlusMinus, kTolerancePlus);
    Flag(s.tolerance2StepTimes10);

    OneOf(s.arrowShape, kArrowElegant, kArrowDotWithStroke, kArrowElegant);
    Between(s.arrowSize, 0, kMaxArrowSize, 150);
    Between(s.strokeWidth, 0, kMaxStrokeWidth, 1);
    Flag(s.dashedLines);
    Between(s.dashLength, 0, kMaxDash, 6);
    Between(s.dashGap, 0, kMaxDash, 6);
    Flag(s.roundCaps);

    s.fontName = Printable(s.fontName).substr(0, kMaxNameLength);
    const std::int32_t pages =
        std::max<std::int32_t>(1, (fontCount + kFontsPerPage - 1) / kFontsPerPage);
    Between(s.fontPage, 1, pages);
    Between(s.fontSize, 0.1, kMaxFontSize, 12);
    Flag(s.fontSizeInMm);
    Flag(s.horizontalText);
    Between(s.textOffset, -kMaxOffset, kMaxOffset, 0);

    OneOf(s.strokeColorModel, kGray, kCustomColor, kRGB);
    OneOf(s.textColorModel, kGray, kCustomColor, kRGB);
    for (double* c :
         {&s.strokeGray, &s.strokeRed, &s.strokeGreen, &s.strokeBlue, &s.strokeCyan,
          &s.strokeMagenta, &s.strokeYellow, &s.strokeBlack, &s.textGray, &s.textRed, &s.textGreen,
          &s.textBlue, &s.textCyan, &s.textMagenta, &s.textYellow, &s.textBlack}) {
        Between(*c, 0, 1, 0);
    }
    Flag(s.overprintFill);
    Flag(s.overprintStroke);
    Flag(s.showAnnotationColors);
    SetLayerName(s, s.layerName);
    Flag(s.soundOn);

    OneOf(s.dimensionType, kOblique, kHorizontalAndVertical, kOblique);
    Flag(s.withExtensionLines);
    Between(s.extensionGap, -kMaxOffset, kMaxOffset, 0);
    Between(s.extensionLength, -kMaxOffset, kMaxOffset, 12);
    Flag(s.groupDimension);

    SetArcMultiple(s, s.arcMultiple != 0);
    Between(s.arcCount, 2, kMaxCount);
    Between(s.arcGap, 1, kMaxLength, 6);
    if (!Usable(s.arcRadius) || s.arcRadius <= 0) {
        s.arcRadius = 30;
    }
    // At least the panel's smallest radius: the file keeps two decimals, and a smaller one
    // would read back as 0, the value that stands for "no radius".
    s.arcRadius = std::clamp(s.arcRadius, 1.0, kMaxLength);

    Flag(s.showDiameter);
    Flag(s.radiusPrefixOn);
    Flag(s.radiusPrefixBefore);
    Flag(s.radiusLineDrawn);
    Between(s.radiusLeaderLength, 0, kMaxLength, 12);

    Flag(s.curveShare);
    Between(s.curveDivisions, 2, kMaxCount);
    Between(s.curvePointLength, 0, kMaxLength, 5);
    Between(s.curveLengthOnCurve, 0, kMaxLength, 30);

    Flag(s.areaShowTotalLength);
    Flag(s.areaShowPartialLength);
    Flag(s.areaShowArea);
    Flag(s.areaShowPathCount);
    Flag(s.areaShowPointCount);

    OneOf(s.currentGroup, 0, kGroupCount - 1, 0);
    for (int g = 0; g < kGroupCount; ++g) {
        SanitizeGroup(s.groups[g], kDefaultGroups[g]);
    }
}

}  // namespace settings
