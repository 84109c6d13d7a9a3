#include "plugin/preferences/PreferencesFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>
#include <vector>

#include "plugin/measure/NumberFormat.h"

namespace settings {
namespace {

enum class Kind {
    Version,
    Separator,      // "virgule" / "point"
    Text,           // the whole line
    Real2,          // 2 decimals, read as real
    Real0,          // 0 decimals, read as real
    Integer0,       // 0 decimals, read as integer
    Integer2,       // 2 decimals, read as integer
    Flag,           // "vrai" / "faux"
    Unit,           // unit word
    DimensionType,  // "oblique", "horizontal", "vertical", "les deux"
    Arrow,          // arrowhead word
    ColorModel,     // "gris", "rvb", "cmjn"
    ArcStyle,       // "multiple" / "normal"
    Thousands,      // "virgule", "espace", "apostrophe", "aucun"
    ToleranceSign,  // "+", "-", "±"
    GroupReal2,     // a group value, 2 decimals
    GroupInteger0,  // a group value, 0 decimals, read as integer
};

struct Pair {
    std::string key;
    Kind kind;
    double DimensionSettings::*real = nullptr;
    std::int32_t DimensionSettings::*integer = nullptr;
    std::string DimensionSettings::*text = nullptr;
    char DimensionSettings::*character = nullptr;
    int group = -1;
    double PreferenceGroup::*groupValue = nullptr;
};

Pair R(const char* key, Kind kind, double DimensionSettings::*field) {
    return {key, kind, field};
}
Pair I(const char* key, Kind kind, std::int32_t DimensionSettings::*field) {
    return {key, kind, nullptr, field};
}
Pair T(const char* key, std::string DimensionSettings::*field) {
    return {key, Kind::Text, nullptr, nullptr, field};
}
Pair C(const char* key, char DimensionSettings::*field) {
    return {key, Kind::Separator, nullptr, nullptr, nullptr, field};
}
Pair K(const char* key, Kind kind) {
    return {key, kind};
}

std::vector<Pair> MakePairs() {
    using S = DimensionSettings;
    std::vector<Pair> pairs = {
        K("VERSION", Kind::Version),
        C("VIRGULEOUPOINT", &S::decimalSeparator),
        T("NOMCALQUE", &S::layerName),
        R("EPAISSEUR", Kind::Real2, &S::strokeWidth),
        R("ZOOM", Kind::Real2, &S::arrowSize),
        R("ATTACHES", Kind::Real2, &S::extensionLength),
        I("UNITE", Kind::Unit, &S::unitKind),
        I("AFFICHAGEUNITE", Kind::Flag, &S::showUnit),
        R("ECHELLENUM", Kind::Real2, &S::scaleNumerator),
        R("ECHELLEDEN", Kind::Real2, &S::scaleDenominator),
        I("PRECISION", Kind::Integer2, &S::precision),
        I("DIAMETRE", Kind::Flag, &S::showDiameter),
        I("SON", Kind::Flag, &S::soundOn),
        R("CORPS", Kind::Real2, &S::fontSize),
        I("CORPSENMM", Kind::Flag, &S::fontSizeInMm),
        R("LIGNEATTACHE", Kind::Real2, &S::radiusLeaderLength),
        R("RAYON", Kind::Real2, &S::arcRadius),
        I("NUMEROPAGEPOLICES", Kind::Integer0, &S::fontPage),
        T("NOMPOLICE", &S::fontName),
        I("TYPECOTE", Kind::DimensionType, &S::dimensionType),
        I("TEXTEHORIZONTAL", Kind::Flag, &S::horizontalText),
        I("TYPEFLECHE", Kind::Arrow, &S::arrowShape),
        I("TYPECOULEURTRAITS", Kind::ColorModel, &S::strokeColorModel),
        R("GRISTRAITS", Kind::Real2, &S::strokeGray),
        R("ROUGETRAITS", Kind::Real2, &S::strokeRed),
        R("VERTTRAITS", Kind::Real2, &S::strokeGreen),
        R("BLEUTRAITS", Kind::Real2, &S::strokeBlue),
        R("CYANTRAITS", Kind::Real2, &S::strokeCyan),
        R("MAGENTATRAITS", Kind::Real2, &S::strokeMagenta),
        R("JAUNETRAITS", Kind::Real2, &S::strokeYellow),
        R("NOIRTRAITS", Kind::Real2, &S::strokeBlack),
        I("TYPECOULEURTEXTE", Kind::ColorModel, &S::textColorModel),
        R("GRISTEXTE", Kind::Real2, &S::textGray),
        R("ROUGETEXTE", Kind::Real2, &S::textRed),
        R("VERTTEXTE", Kind::Real2, &S::textGreen),
        R("BLEUTEXTE", Kind::Real2, &S::textBlue),
        R("CYANTEXTE", Kind::Real2, &S::textCyan),
        R("MAGENTATEXTE", Kind::Real2, &S::textMagenta),
        R("JAUNETEXTE", Kind::Real2, &S::textYellow),
        R("NOIRTEXTE", Kind::Real2, &S::textBlack),
        I("PARTAGER", Kind::Flag, &S::curveShare),
        I("NOMBREDIVISIONS", Kind::Integer0, &S::curveDivisions),
        R("LONGUEURDUPOINT", Kind::Real2, &S::curvePointLength),
        R("LONGUEURSURCOURGE", Kind::Real2, &S::curveLengthOnCurve),
        I("LALONGUEURTOTALE", Kind::Flag, &S::areaShowTotalLength),
        I("LALONGUEURPARTIELLE", Kind::Flag, &S::areaShowPartialLength),
        I("LAAIRE", Kind::Flag, &S::areaShowArea),
        I("LANOMBREDETRACES", Kind::Flag, &S::areaShowPathCount),
        I("LANOMBREDEPOINTS", Kind::Flag, &S::areaShowPointCount),
        R("DECALSEGY", Kind::Real2, &S::textOffset),
        R("ATTACHESGAP", Kind::Real2, &S::extensionGap),
        I("OVERPRINTFILL", Kind::Flag, &S::overprintFill),
        I("OVERPRINTSTROKE", Kind::Flag, &S::overprintStroke),
        I("ROUD", Kind::Flag, &S::radiusPrefixOn),
        I("ROUDAVANT", Kind::Flag, &S::radiusPrefixBefore),
        I("AVECRAYONTRACE", Kind::Flag, &S::radiusLineDrawn),
        K("STYLEARC", Kind::ArcStyle),
        I("NOMBREARCS", Kind::Integer0, &S::arcCount),
        R("ECARTARCS", Kind::Real2, &S::arcGap),
        I("AFFICHERCOULEURANNOTATIONS", Kind::Flag, &S::showAnnotationColors),
        K("SEPARATEUR", Kind::Thousands),
        I("AVECOUSANSATTACHES", Kind::Flag, &S::withExtensionLines),
        I("GROUPEOUIOUNON", Kind::Flag, &S::groupDimension),
        I("FLAGPOINTILLE", Kind::Flag, &S::dashedLines),
        R("TIRETUN", Kind::Real0, &S::dashLength),
        R("TROUUN", Kind::Real0, &S::dashGap),
        I("BOUTROND", Kind::Flag, &S::roundCaps),
        I("DOUBLEMESURE", Kind::Flag, &S::doubleMeasure),
        I("SECONDEUNITE", Kind::Unit, &S::secondUnitKind),
        I("AFFICHESECONDEUNITE", Kind::Flag, &S::showSecondUnit),
        I("PRECISIONSECONDE", Kind::Integer0, &S::secondPrecision),
        C("VIRGULEOUPOINTSECONDE", &S::secondDecimalSeparator),
        I("AVECSANSTOLERANCEUN", Kind::Flag, &S::tolerance1On),
        R("VALEURTOLERANCEUN", Kind::Real2, &S::tolerance1Value),
        R("DECALAGETOLERANCEUN", Kind::Real2, &S::tolerance1Offset),
        I("SYMBOLETOLERANCEUN", Kind::ToleranceSign, &S::tolerance1Sign),
        I("AVECSANSTOLERANCEDEUX", Kind::Flag, &S::tolerance2On),
        R("VALEURTOLERANCEDEUX", Kind::Real2, &S::tolerance2Value),
        R("DECALAGETOLERANCEDEUX", Kind::Real2, &S::tolerance2Offset),
        I("SYMBOLETOLERANCEDEUX", Kind::ToleranceSign, &S::tolerance2Sign),
        I("COEFTOLERANCEUN", Kind::Flag, &S::tolerance1StepTimes10),
        I("COEFTOLERANCEDEUX", Kind::Flag, &S::tolerance2StepTimes10),
        I("SETNUMERO", Kind::Integer0, &S::currentGroup),
    };
    const char* groupNames[kGroupCount] = {"UN", "DEUX", "TROIS", "QUATRE"};
    const struct {
        const char* suffix;
        Kind kind;
        double PreferenceGroup::*value;
    } groupFields[] = {
        {"CORPS", Kind::GroupReal2, &PreferenceGroup::fontSize},
        {"ZOOM", Kind::GroupReal2, &PreferenceGroup::arrowSize},
        {"EPAISSEUR", Kind::GroupReal2, &PreferenceGroup::strokeWidth},
        {"ECHNUM", Kind::GroupReal2, &PreferenceGroup::scaleNumerator},
        {"ECHDEN", Kind::GroupReal2, &PreferenceGroup::scaleDenominator},
        {"FORME", Kind::GroupInteger0, &PreferenceGroup::arrowShape},
        {"UNITE", Kind::GroupInteger0, &PreferenceGroup::unitKind},
        {"PRECISION", Kind::GroupInteger0, &PreferenceGroup::precision},
    };
    for (int g = 0; g < kGroupCount; ++g) {
        for (const auto& field : groupFields) {
            Pair pair = K("", field.kind);
            pair.key = std::string("SET") + groupNames[g] + field.suffix;
            pair.group = g;
            pair.groupValue = field.value;
            pairs.push_back(pair);
        }
    }
    return pairs;
}

const std::vector<Pair>& Pairs() {
    static const std::vector<Pair> pairs = MakePairs();
    return pairs;
}

// ---- Words -------------------------------------------------------------------------------

const char* const kUnitWords[] = {
    "micrometre", "millimetre", "centimetre", "poucedecimal", "poucefraction", "piedpoucefraction",
    "point",      "pica",       "metre",      "kilometre",    "sans"};
const char* const kDimensionTypeWords[] = {"oblique", "horizontal", "vertical", "les deux"};
const char* const kArrowWords[] = {"elegante",   "vecteur",    "creuse",    "pleine",
                                   "pointplein", "pointcreux", "pointtrait"};
const char* const kColorModelWords[] = {"gris", "rvb", "cmjn"};
const char* const kThousandsWords[] = {"virgule", "espace", "apostrophe", "aucun"};

template <std::size_t N>
const char* Word(const char* const (&words)[N], std::int32_t value) {
    return value >= 0 && static_cast<std::size_t>(value) < N ? words[value] : words[N - 1];
}

// The letter at `index` of a line, or NUL past its end.
char Letter(std::string_view line, std::size_t index) {
    return index < line.size() ? line[index] : '\0';
}

// The unit of a unit word, or -1 when the word leaves the field as it is.
std::int32_t DecodeUnit(std::string_view w) {
    switch (Letter(w, 0)) {
        case 'm':
            return Letter(w, 1) != 'i' ? kMetre : Letter(w, 2) == 'l' ? kMillimetre : kMicrometre;
        case 'c':
            return kCentimetre;
        case 's':
            return kNoMeasure;
        case 'k':
            return kKilometre;
        case 'p':
            if (Letter(w, 1) == 'i') {
                return Letter(w, 2) == 'c' ? kPica : kFeetAndInches;
            }
            if (Letter(w, 2) == 'i') {
                return kPoint;
            }
            return Letter(w, 5) == 'd' ? kDecimalInch : kFractionalInch;
        default:
            return -1;
    }
}

// The arrowhead of an arrowhead word, or -1 when the word leaves the field as it is.
std::int32_t DecodeArrow(std::string_view w) {
    switch (Letter(w, 0)) {
        case 'e':
            return kArrowElegant;
        case 'v':
            return kArrowVector;
        case 'c':
            return kArrowHollow;
        case 'p':
            if (Letter(w, 1) == 'l') {
                return kArrowSolid;
            }
            return Letter(w, 5) == 'p'   ? kArrowSolidDot
                   : Letter(w, 5) == 'c' ? kArrowHollowDot
                                         : kArrowDotWithStroke;
        default:
            return -1;
    }
}

std::int8_t DecodeThousands(std::string_view w) {
    switch (Letter(w, 0)) {
        case 'e':
            return kThousandsSpace;
        case 'v':
            return kThousandsComma;
        case 'a':
            return Letter(w, 1) == 'p' ? kThousandsApostrophe : kThousandsNone;
        default:
            return kThousandsNone;
    }
}

// A parsed number as a 32-bit integer, saturated: a damaged file may hold any digits.
std::int32_t Saturate(double value) {
    if (!(value > std::numeric_limits<std::int32_t>::min())) {
        return value != value ? 0 : std::numeric_limits<std::int32_t>::min();
    }
    if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

// Beyond this a 32-bit float no longer holds every whole number.
constexpr double kLargestExactFloat = 16777216.0;

std::string Number(double value, int decimals, char separator) {
    if (!std::isfinite(value) || std::fabs(value) < kLargestExactFloat) {
        return measure::FormatPlainNumber(static_cast<float>(value), decimals, separator);
    }
    // A scale of 1:99,999,999 would come back as 1:100,000,000 through a float: large values
    // are written from their own digits.
    char buffer[64];
    const std::to_chars_result written = std::to_chars(
        buffer, buffer + sizeof buffer, value, std::chars_format::fixed, std::max(decimals, 0));
    if (written.ec != std::errc()) {
        return measure::FormatPlainNumber(static_cast<float>(value), decimals, separator);
    }
    std::string text(buffer, written.ptr);
    if (const std::size_t point = text.find('.'); point != std::string::npos) {
        text[point] = separator;
    }
    return text;
}

std::string ValueText(const Pair& pair, const DimensionSettings& s) {
    const char sep = s.decimalSeparator;
    switch (pair.kind) {
        case Kind::Version:
            return Number(kPreferencesVersion, 1, sep);
        case Kind::Separator:
            return s.*pair.character == ',' ? "virgule" : "point";
        case Kind::Text:
            return (s.*pair.text).substr(0, kMaxNameLength);
        case Kind::Real2:
            return Number(s.*pair.real, 2, sep);
        case Kind::Real0:
            return Number(s.*pair.real, 0, sep);
        case Kind::Integer0:
            return Number(s.*pair.integer, 0, sep);
        case Kind::Integer2:
            return Number(s.*pair.integer, 2, sep);
        case Kind::Flag:
            return s.*pair.integer != 0 ? "vrai" : "faux";
        case Kind::Unit:
            return Word(kUnitWords, s.*pair.integer);
        case Kind::DimensionType:
            return Word(kDimensionTypeWords, s.*pair.integer);
        case Kind::Arrow:
            return Word(kArrowWords, s.*pair.integer);
        case Kind::ColorModel:
            // A spot colour is written as the CMYK model, with the components the user set.
            return Word(kColorModelWords, s.*pair.integer);
        case Kind::ArcStyle:
            return s.arcMultiple != 0 ? "multiple" : "normal";
        case Kind::Thousands:
            return Word(kThousandsWords, s.thousandsSeparator);
        case Kind::ToleranceSign:
            return s.*pair.integer == kTolerancePlus    ? "+"
                   : s.*pair.integer == kToleranceMinus ? "-"
                                                        : "\xB1";
        case Kind::GroupReal2:
            return Number(s.groups[pair.group].*pair.groupValue, 2, sep);
        case Kind::GroupInteger0:
            return Number(s.groups[pair.group].*pair.groupValue, 0, sep);
    }
    return {};
}

void ReadValue(const Pair& pair, std::string_view line, DimensionSettings& s) {
    const char sep = s.decimalSeparator;
    const char first = Letter(line, 0);
    switch (pair.kind) {
        case Kind::Version:
            break;
        case Kind::Separator:
            s.*pair.character = first == 'v' ? ',' : '.';
            break;
        case Kind::Text:
            s.*pair.text = std::string(line);
            if (pair.text == &DimensionSettings::layerName) {
                SetLayerName(s, s.layerName);
            }
            break;
        case Kind::Real2:
        case Kind::Real0:
            s.*pair.real = ParsePrefsNumber(NumberMode::Real, line, sep);
            if (pair.real == &DimensionSettings::scaleDenominator) {
                SetScale(s, s.scaleNumerator, s.scaleDenominator);
            }
            break;
        case Kind::Integer0:
        case Kind::Integer2:
            s.*pair.integer = Saturate(ParsePrefsNumber(NumberMode::Integer, line, sep));
            break;
        case Kind::Flag:
            s.*pair.integer = first == 'v' ? 1 : 0;
            break;
        case Kind::Unit:
            if (const std::int32_t unit = DecodeUnit(line); unit >= 0) {
                s.*pair.integer = unit;
            }
            break;
        case Kind::DimensionType:
            s.*pair.integer = first == 'o'   ? kOblique
                              : first == 'h' ? kHorizontal
                              : first == 'v' ? kVertical
                                             : kHorizontalAndVertical;
            break;
        case Kind::Arrow:
            if (const std::int32_t arrow = DecodeArrow(line); arrow >= 0) {
                s.*pair.integer = arrow;
            }
            break;
        case Kind::ColorModel:
            s.*pair.integer = first == 'g' ? kGray : first == 'r' ? kRGB : kCMYK;
            break;
        case Kind::ArcStyle:
            SetArcMultiple(s, first != 'n');
            break;
        case Kind::Thousands:
            s.thousandsSeparator = DecodeThousands(line);
            break;
        case Kind::ToleranceSign:
            s.*pair.integer = first == '-'   ? kToleranceMinus
                              : first == '+' ? kTolerancePlus
                                             : kTolerancePlusMinus;
            break;
        case Kind::GroupReal2:
            s.groups[pair.group].*pair.groupValue = ParsePrefsNumber(NumberMode::Real, line, sep);
            break;
        case Kind::GroupInteger0:
            s.groups[pair.group].*pair.groupValue =
                ParsePrefsNumber(NumberMode::Integer, line, sep);
            break;
    }
}

// Splits the text into lines as the reader of the file sees them.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = line.substr(0, line.find('\0'));
        lines.push_back(line.substr(0, kMaxNameLength));
    }
    return lines;
}

}  // namespace

std::string PreferencesText(const DimensionSettings& s) {
    std::string text;
    text.reserve(4096);
    for (const Pair& pair : Pairs()) {
        text += pair.key;
        text += '\n';
        text += ValueText(pair, s);
        text += '\n';
    }
    return text;
}

int ReadPreferencesText(std::string_view text, DimensionSettings& s) {
    const std::vector<std::string_view> lines = Lines(text);
    const std::vector<Pair>& pairs = Pairs();
    int read = 0;
    for (std::size_t i = 0; i < pairs.size() && 2 * i + 1 < lines.size(); ++i) {
        ReadValue(pairs[i], lines[2 * i + 1], s);
        ++read;
    }
    return read;
}

double ParsePrefsNumber(NumberMode mode, std::string_view line, char decimalSeparator) {
    std::size_t at = 0;
    bool negative = false;
    if (Letter(line, 0) == '-') {
        negative = true;
        at = 1;
    }
    double value = 0.0;
    for (; at < line.size() && line[at] != '\n' && line[at] != decimalSeparator; ++at) {
        value = value * 10.0 + (static_cast<unsigned char>(line[at]) - 48);
    }
    if (mode == NumberMode::Integer) {
        return std::trunc(value);
    }
    if (at < line.size() && line[at] == decimalSeparator) {
        double unit = 1.0;
        for (++at; at < line.size() && line[at] != '\n'; ++at) {
            unit *= 0.1;
            value += (static_cast<unsigned char>(line[at]) - 48) * unit;
        }
    }
    return negative ? -value : value;
}

}  // namespace settings
