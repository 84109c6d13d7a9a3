// The one live set of dimensioning parameters: how measures are written, how dimensions
// look, and the options of the five tools. Every part of the plug-in reads it directly.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace settings {

// Points per millimetre: the settings kept in millimetres are converted with it where they
// are used.
constexpr double kPointsPerMillimetre = 2.8346457;

// Unit of a measure; also the row of the unit in the panel's list.
enum UnitKind : std::int32_t {
    kMicrometre = 0,
    kMillimetre = 1,
    kCentimetre = 2,
    kDecimalInch = 3,
    kFractionalInch = 4,
    kFeetAndInches = 5,
    kPoint = 6,
    kPica = 7,
    kMetre = 8,
    kKilometre = 9,
    kNoMeasure = 10,  // the dimension is drawn without a measure text (main unit only)
};

enum ArrowShape : std::int32_t {
    kArrowElegant = 0,
    kArrowVector = 1,
    kArrowHollow = 2,
    kArrowSolid = 3,
    kArrowSolidDot = 4,
    kArrowHollowDot = 5,
    kArrowDotWithStroke = 6,
};

enum DimensionType : std::int32_t {
    kOblique = 0,
    kHorizontal = 1,
    kVertical = 2,
    kHorizontalAndVertical = 3,
};

enum ColorModel : std::int32_t {
    kGray = 0,
    kRGB = 1,
    kCMYK = 2,
    kCustomColor = 3,  // a spot colour from the picker; lasts until the next load
};

enum ThousandsSeparator : std::int8_t {
    kThousandsComma = 0,
    kThousandsSpace = 1,
    kThousandsApostrophe = 2,
    kThousandsNone = 3,
};

enum ToleranceSign : std::int32_t {
    kTolerancePlus = 0,
    kToleranceMinus = 1,
    kTolerancePlusMinus = 2,  // '±', byte 0xB1
};

// A preset of the eight settings changed most often, held as doubles as the file holds
// them.
struct PreferenceGroup {
    double fontSize;
    double arrowSize;
    double strokeWidth;
    double scaleNumerator;
    double scaleDenominator;
    double arrowShape;
    double unitKind;
    double precision;
};

constexpr int kGroupCount = 4;

// The longest layer or font name the preferences file keeps on one line.
constexpr std::size_t kMaxNameLength = 98;

// The largest values the settings panel's steppers reach; the values of the preferences
// file are brought within them too. They keep numbers finite and drawable without refusing
// real uses: map scales, the host's largest type, its largest artboard (227 inches).
constexpr double kLargestArtboard = 227 * 72.0;  // points
constexpr double kMaxToleranceValue = 10000;     // in the measure's unit
// Points, either way: tolerance, text and extension offsets.
constexpr double kMaxOffset = kLargestArtboard;
constexpr double kMaxArrowSize = 1000;         // percent
constexpr double kMaxStrokeWidth = 1000;       // points
constexpr double kMaxDash = kLargestArtboard;  // points
constexpr double kMaxFontSize = 1296;          // points: the host's largest type
constexpr double kMaxScale = 100000000;        // numerator and denominator
constexpr double kMaxLength = 100000;          // arc gaps and radii, leaders, lengths along curves

// Fonts per page of the panel's font list.
constexpr std::int32_t kFontsPerPage = 16;

// "bool" fields hold 0 or 1; colour components run from 0 to 1; lengths are points
// unless marked as millimetres.
struct DimensionSettings {
    // Measure and number format.
    std::int32_t unitKind;
    std::int32_t showUnit;
    std::int32_t precision;  // 0..6
    char decimalSeparator;   // ',' or '.'; also the separator of the preferences file
    std::int8_t thousandsSeparator;
    double scaleNumerator;    // >= 1
    double scaleDenominator;  // >= 1
    double scaleFactor;       // always scaleNumerator / scaleDenominator

    // Double measure.
    std::int32_t doubleMeasure;
    std::int32_t secondUnitKind;  // 0..9, or 10 (no measure): no second line
    std::int32_t showSecondUnit;
    std::int32_t secondPrecision;  // 0..6
    char secondDecimalSeparator;

    // Tolerances.
    std::int32_t tolerance1On;
    double tolerance1Value;  // >= 0
    double tolerance1Offset;
    std::int32_t tolerance1Sign;
    std::int32_t tolerance1StepTimes10;
    std::int32_t tolerance2On;
    double tolerance2Value;
    double tolerance2Offset;
    std::int32_t tolerance2Sign;
    std::int32_t tolerance2StepTimes10;

    // Arrowheads and lines.
    std::int32_t arrowShape;
    double arrowSize;    // percent, >= 0
    double strokeWidth;  // >= 0
    std::int32_t dashedLines;
    double dashLength;
    double dashGap;
    std::int32_t roundCaps;

    // Text.
    std::string fontName;   // Windows-1252
    std::int32_t fontPage;  // 1..number of font pages
    double fontSize;        // >= 0.1
    std::int32_t fontSizeInMm;
    std::int32_t horizontalText;
    double textOffset;

    // Colours and output.
    std::int32_t strokeColorModel;
    double strokeGray, strokeRed, strokeGreen, strokeBlue;
    double strokeCyan, strokeMagenta, strokeYellow, strokeBlack;
    std::int32_t textColorModel;
    double textGray, textRed, textGreen, textBlue;
    double textCyan, textMagenta, textYellow, textBlack;
    std::int32_t overprintFill;
    std::int32_t overprintStroke;
    std::int32_t showAnnotationColors;
    std::string layerName;  // at most kMaxNameLength characters, Windows-1252
    std::int32_t layerNameLength;
    std::int32_t soundOn;

    // Segment tool.
    std::int32_t dimensionType;
    std::int32_t withExtensionLines;
    double extensionGap;
    double extensionLength;
    std::int32_t groupDimension;

    // Angle tool.
    std::uint8_t arcMultiple;
    std::uint8_t arcNormal;  // always !arcMultiple
    std::int32_t arcCount;   // >= 2
    double arcGap;           // >= 1
    double arcRadius;        // millimetres (points where the tools write it)

    // Circle tool.
    std::int32_t showDiameter;
    std::int32_t radiusPrefixOn;
    std::int32_t radiusPrefixBefore;
    std::int32_t radiusLineDrawn;
    double radiusLeaderLength;  // millimetres

    // Bézier tool.
    std::int32_t curveShare;
    std::int32_t curveDivisions;  // >= 2
    double curvePointLength;      // millimetres
    double curveLengthOnCurve;    // millimetres

    // Lengths & Areas tool.
    std::int32_t areaShowTotalLength;
    std::int32_t areaShowPartialLength;
    std::int32_t areaShowArea;
    std::int32_t areaShowPathCount;
    std::int32_t areaShowPointCount;

    // Preference groups.
    std::int32_t currentGroup;  // 0..3
    std::array<PreferenceGroup, kGroupCount> groups;

    // Not saved.
    double prefsVersion;
    std::int32_t prefsLoaded;  // set once the preferences file was read or written
    // The step multipliers of the panel's scale and font-size pages.
    std::int32_t scaleStepMultiplier;
    std::int32_t fontSizeStepMultiplier;
};

// The live settings of the plug-in.
DimensionSettings& Settings();

// The version written in the preferences file.
constexpr double kPreferencesVersion = 8.5;

// The default groups.
extern const std::array<PreferenceGroup, kGroupCount> kDefaultGroups;

// Sets every field of `s` to its default, the groups included; `fontName` becomes
// `firstFontName`. Does not touch prefsLoaded or the file.
void SetDefaults(DimensionSettings& s, const std::string& firstFontName);

// The pages of the settings panel whose Alt-click restores their fields.
enum class SettingsPage {
    DoubleMeasure,
    NumberFormat,
    Scale,
    Arrowheads,
    LineFormat,
    Tolerances,
    LayerName,
    SegmentTool,
    AngleTool,
    CircleTool,
    BezierTool,
    LengthsAndAreasTool,
};

// Restores the fields of one page to their defaults.
void ResetPage(DimensionSettings& s, SettingsPage page);

// True when dimensions show a second measure on a line of its own: double measure is on and
// its unit is not "no measure".
bool HasSecondMeasure(const DimensionSettings& s);

// Writers that keep the invariants.
void SetScale(DimensionSettings& s, double numerator, double denominator);
void SetArcMultiple(DimensionSettings& s, bool multiple);
// Sets the layer name without its control characters, cut to kMaxNameLength characters.
void SetLayerName(DimensionSettings& s, const std::string& name);
// Sets the decimal separator; a comma thousands separator then becomes a space.
void SetDecimalSeparator(DimensionSettings& s, char separator);

// Brings every field back into its valid range (a value that cannot be brought back, such
// as a non-finite number, takes its default), and restores the derived fields. `fontCount`
// is the number of fonts of the host, which bounds the font page.
void Sanitize(DimensionSettings& s, std::int32_t fontCount);

}  // namespace settings
