// The preferences file's text: the exact bytes of the defaults, round trips, the letter
// rules of its words, the lenient numbers, and damaged files.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "plugin/preferences/PreferencesFile.h"
#include "plugin/preferences/PreferencesFormat.h"
#include "plugin/settings/DimensionSettings.h"

namespace {

using namespace settings;

// Written by hand from the format, not by the code under test.
const char* const kDefaultsFile =
    "VERSION\n8,5\nVIRGULEOUPOINT\nvirgule\nNOMCALQUE\nDimensions\nEPAISSEUR\n1,00\n"
    "ZOOM\n150,00\nATTACHES\n12,00\nUNITE\npoint\nAFFICHAGEUNITE\nvrai\nECHELLENUM\n1,00\n"
    "ECHELLEDEN\n1,00\nPRECISION\n1,00\nDIAMETRE\nfaux\nSON\nvrai\nCORPS\n12,00\n"
    "CORPSENMM\nfaux\nLIGNEATTACHE\n12,00\nRAYON\n30,00\nNUMEROPAGEPOLICES\n1\n"
    "NOMPOLICE\nDejaVuSans\nTYPECOTE\noblique\nTEXTEHORIZONTAL\nfaux\nTYPEFLECHE\nelegante\n"
    "TYPECOULEURTRAITS\nrvb\nGRISTRAITS\n1,00\nROUGETRAITS\n1,00\nVERTTRAITS\n0,00\n"
    "BLEUTRAITS\n0,00\nCYANTRAITS\n1,00\nMAGENTATRAITS\n0,50\nJAUNETRAITS\n0,00\n"
    "NOIRTRAITS\n0,00\nTYPECOULEURTEXTE\nrvb\nGRISTEXTE\n1,00\nROUGETEXTE\n0,00\n"
    "VERTTEXTE\n0,00\nBLEUTEXTE\n1,00\nCYANTEXTE\n0,50\nMAGENTATEXTE\n1,00\n"
    "JAUNETEXTE\n0,00\nNOIRTEXTE\n0,00\nPARTAGER\nvrai\nNOMBREDIVISIONS\n3\n"
    "LONGUEURDUPOINT\n5,00\nLONGUEURSURCOURGE\n30,00\nLALONGUEURTOTALE\nvrai\n"
    "LALONGUEURPARTIELLE\nvrai\nLAAIRE\nvrai\nLANOMBREDETRACES\nvrai\nLANOMBREDEPOINTS\nvrai\n"
    "DECALSEGY\n0,00\nATTACHESGAP\n0,00\nOVERPRINTFILL\nfaux\nOVERPRINTSTROKE\nfaux\n"
    "ROUD\nvrai\nROUDAVANT\nvrai\nAVECRAYONTRACE\nvrai\nSTYLEARC\nnormal\nNOMBREARCS\n3\n"
    "ECARTARCS\n6,00\nAFFICHERCOULEURANNOTATIONS\nfaux\nSEPARATEUR\nespace\n"
    "AVECOUSANSATTACHES\nvrai\nGROUPEOUIOUNON\nfaux\nFLAGPOINTILLE\nfaux\nTIRETUN\n6\n"
    "TROUUN\n6\nBOUTROND\nvrai\nDOUBLEMESURE\nfaux\nSECONDEUNITE\npoint\n"
    "AFFICHESECONDEUNITE\nvrai\nPRECISIONSECONDE\n1\nVIRGULEOUPOINTSECONDE\nvirgule\n"
    "AVECSANSTOLERANCEUN\nfaux\nVALEURTOLERANCEUN\n0,25\nDECALAGETOLERANCEUN\n5,00\n"
    "SYMBOLETOLERANCEUN\n-\nAVECSANSTOLERANCEDEUX\nfaux\nVALEURTOLERANCEDEUX\n0,12\n"
    "DECALAGETOLERANCEDEUX\n-5,00\nSYMBOLETOLERANCEDEUX\n+\nCOEFTOLERANCEUN\nfaux\n"
    "COEFTOLERANCEDEUX\nfaux\nSETNUMERO\n0\n"
    "SETUNCORPS\n12,00\nSETUNZOOM\n150,00\nSETUNEPAISSEUR\n1,00\nSETUNECHNUM\n1,00\n"
    "SETUNECHDEN\n1,00\nSETUNFORME\n0\nSETUNUNITE\n6\nSETUNPRECISION\n2\n"
    "SETDEUXCORPS\n14,00\nSETDEUXZOOM\n200,00\nSETDEUXEPAISSEUR\n0,50\nSETDEUXECHNUM\n1,00\n"
    "SETDEUXECHDEN\n10,00\nSETDEUXFORME\n0\nSETDEUXUNITE\n6\nSETDEUXPRECISION\n2\n"
    "SETTROISCORPS\n16,00\nSETTROISZOOM\n250,00\nSETTROISEPAISSEUR\n1,50\nSETTROISECHNUM\n1,00\n"
    "SETTROISECHDEN\n100,00\nSETTROISFORME\n1\nSETTROISUNITE\n6\nSETTROISPRECISION\n1\n"
    "SETQUATRECORPS\n18,00\nSETQUATREZOOM\n300,00\nSETQUATREEPAISSEUR\n2,00\n"
    "SETQUATREECHNUM\n10,00\nSETQUATREECHDEN\n1,00\nSETQUATREFORME\n2\nSETQUATREUNITE\n8\n"
    "SETQUATREPRECISION\n4\n";

DimensionSettings Defaults() {
    DimensionSettings s{};
    SetDefaults(s, "DejaVuSans");
    return s;
}

// The text with the value line of pair `pair` (1-based) replaced.
std::string WithValue(std::string text, int pair, const std::string& value) {
    std::size_t at = 0;
    for (int line = 1; line < 2 * pair; ++line) {
        at = text.find('\n', at) + 1;
    }
    const std::size_t end = text.find('\n', at);
    return text.replace(at, end - at, value);
}

TEST(PreferencesText, DefaultsAreWrittenByteForByte) {
    DimensionSettings s = Defaults();
    const std::string text = PreferencesText(s);
    EXPECT_EQ(text, kDefaultsFile);
}

// A file written with '.' as separator reads back with every value, through '.'.
TEST(PreferencesText, RoundTripWithPointSeparator) {
    DimensionSettings s = Defaults();
    s.decimalSeparator = '.';
    s.thousandsSeparator = kThousandsComma;
    s.unitKind = kNoMeasure;
    s.precision = 3;
    SetScale(s, 1, 50);
    s.fontSize = 9.5;
    s.strokeWidth = 0.25;
    s.arrowShape = kArrowHollowDot;
    s.dimensionType = kVertical;
    s.strokeColorModel = kGray;
    s.textColorModel = kCMYK;
    s.secondUnitKind = kFeetAndInches;
    s.secondDecimalSeparator = '.';
    SetArcMultiple(s, true);
    s.tolerance2Sign = kTolerancePlusMinus;
    s.textOffset = -3.75;
    SetLayerName(s, "Cotes \xE9tage 2");
    s.groups[2].scaleDenominator = 50;
    // Past 2^24, where single precision no longer holds every whole number.
    s.groups[1].scaleDenominator = 99999999;
    s.currentGroup = 3;
    const std::string text = PreferencesText(s);
    EXPECT_NE(text.find("CORPS\n9.50\n"), std::string::npos);

    DimensionSettings r = Defaults();
    EXPECT_EQ(ReadPreferencesText(text, r), kPreferencePairs);
    EXPECT_EQ(PreferencesText(r), text);
    // The words of the enumerations are read in the test of their letters.
    EXPECT_EQ(r.precision, 3);
    EXPECT_DOUBLE_EQ(r.scaleFactor, 0.02);
    EXPECT_DOUBLE_EQ(r.fontSize, 9.5);
    EXPECT_DOUBLE_EQ(r.textOffset, -3.75);
    EXPECT_EQ(r.tolerance2Sign, kTolerancePlusMinus);
    EXPECT_EQ(r.layerName, "Cotes \xE9tage 2");
    EXPECT_EQ(r.currentGroup, 3);
    EXPECT_DOUBLE_EQ(r.groups[2].scaleDenominator, 50);
    EXPECT_DOUBLE_EQ(r.groups[1].scaleDenominator, 99999999);
}

// Values the file cannot hold exactly come back as the file wrote them.
TEST(PreferencesText, ValuesAreRoundedAsWritten) {
    DimensionSettings s = Defaults();
    s.dashLength = 6.4;
    s.tolerance1Value = 0.125;
    s.tolerance2Offset = -5;
    const std::string text = PreferencesText(s);
    EXPECT_NE(text.find("TIRETUN\n6\n"), std::string::npos);
    EXPECT_NE(text.find("VALEURTOLERANCEUN\n0,13\n"), std::string::npos);

    DimensionSettings r = Defaults();
    ReadPreferencesText(text, r);
    EXPECT_DOUBLE_EQ(r.dashLength, 6);
    EXPECT_NEAR(r.tolerance1Value, 0.13, 1e-12);
    EXPECT_DOUBLE_EQ(r.tolerance2Offset, -5);
}

TEST(PreferencesText, SignsOfNumbers) {
    const std::string text = WithValue(WithValue(kDefaultsFile, 79, "-5,00"), 58, "-3");
    DimensionSettings r = Defaults();
    ReadPreferencesText(text, r);
    EXPECT_DOUBLE_EQ(r.tolerance2Offset, -5);
    EXPECT_EQ(r.arcCount, 3);  // integers are read without their sign
}

// Words decode by their letters; a few unknown words leave the field as it was.
TEST(PreferencesText, WordsDecodeByTheirLetters) {
    const struct {
        int pair;
        const char* value;
        std::int32_t DimensionSettings::*field;
        std::int32_t expected;
    } cases[] = {
        {7, "micrometre", &DimensionSettings::unitKind, kMicrometre},
        {7, "millimetre", &DimensionSettings::unitKind, kMillimetre},
        {7, "centimetre", &DimensionSettings::unitKind, kCentimetre},
        {7, "poucedecimal", &DimensionSettings::unitKind, kDecimalInch},
        {7, "poucefraction", &DimensionSettings::unitKind, kFractionalInch},
        {7, "piedpoucefraction", &DimensionSettings::unitKind, kFeetAndInches},
        {7, "pica", &DimensionSettings::unitKind, kPica},
        {7, "metre", &DimensionSettings::unitKind, kMetre},
        {7, "kilometre", &DimensionSettings::unitKind, kKilometre},
        {7, "sans", &DimensionSettings::unitKind, kNoMeasure},
        {7, "mxyz", &DimensionSettings::unitKind, kMetre},
        {7, "xyz", &DimensionSettings::unitKind, kPoint},  // unchanged
        {7, "", &DimensionSettings::unitKind, kPoint},     // unchanged
        {69, "pica", &DimensionSettings::secondUnitKind, kPica},
        {23, "gris", &DimensionSettings::strokeColorModel, kGray},
        {23, "cmjn", &DimensionSettings::strokeColorModel, kCMYK},
        {23, "xyz", &DimensionSettings::strokeColorModel, kCMYK},
        {32, "rvb", &DimensionSettings::textColorModel, kRGB},
        {20, "horizontal", &DimensionSettings::dimensionType, kHorizontal},
        {20, "vertical", &DimensionSettings::dimensionType, kVertical},
        {20, "les deux", &DimensionSettings::dimensionType, kHorizontalAndVertical},
        {20, "zzz", &DimensionSettings::dimensionType, kHorizontalAndVertical},
        {22, "vecteur", &DimensionSettings::arrowShape, kArrowVector},
        {22, "creuse", &DimensionSettings::arrowShape, kArrowHollow},
        {22, "pleine", &DimensionSettings::arrowShape, kArrowSolid},
        {22, "pointplein", &DimensionSettings::arrowShape, kArrowSolidDot},
        {22, "pointcreux", &DimensionSettings::arrowShape, kArrowHollowDot},
        {22, "pointtrait", &DimensionSettings::arrowShape, kArrowDotWithStroke},
        {22, "po", &DimensionSettings::arrowShape, kArrowDotWithStroke},
        {22, "xyz", &DimensionSettings::arrowShape, kArrowElegant},  // unchanged
        {76, "+", &DimensionSettings::tolerance1Sign, kTolerancePlus},
        {76, "\xB1", &DimensionSettings::tolerance1Sign, kTolerancePlusMinus},
        {76, "", &DimensionSettings::tolerance1Sign, kTolerancePlusMinus},
        {8, "faux", &DimensionSettings::showUnit, 0},
        {8, "VRAI", &DimensionSettings::showUnit, 0},  // the letter is a lower-case v
        {52, "vrai", &DimensionSettings::overprintFill, 1},
    };
    for (const auto& c : cases) {
        DimensionSettings r = Defaults();
        ReadPreferencesText(WithValue(kDefaultsFile, c.pair, c.value), r);
        EXPECT_EQ(r.*c.field, c.expected) << "pair " << c.pair << " \"" << c.value << "\"";
    }
    const struct {
        const char* value;
        std::int8_t expected;
    } thousands[] = {{"virgule", kThousandsComma},
                     {"espace", kThousandsSpace},
                     {"apostrophe", kThousandsApostrophe},
                     {"aucun", kThousandsNone},
                     {"a", kThousandsNone},
                     {"", kThousandsNone}};
    for (const auto& c : thousands) {
        DimensionSettings r = Defaults();
        ReadPreferencesText(WithValue(kDefaultsFile, 61, c.value), r);
        EXPECT_EQ(r.thousandsSeparator, c.expected) << c.value;
    }
    DimensionSettings r = Defaults();
    ReadPreferencesText(WithValue(WithValue(kDefaultsFile, 57, "multiple"), 2, "point"), r);
    EXPECT_EQ(r.arcMultiple, 1);
    EXPECT_EQ(r.arcNormal, 0);
    EXPECT_EQ(r.decimalSeparator, '.');
}

TEST(PreferencesText, NumbersParseLeniently) {
    const struct {
        NumberMode mode;
        const char* line;
        char separator;
        double expected;
    } cases[] = {
        {NumberMode::Real, "12,00", ',', 12},
        {NumberMode::Real, "12.00", '.', 12},
        {NumberMode::Real, "0,13", ',', 0.13},
        {NumberMode::Real, "-5,00", ',', -5},
        {NumberMode::Real, "-0,5", ',', -0.5},
        {NumberMode::Integer, "-3", ',', 3},
        {NumberMode::Integer, "1,00", ',', 1},
        {NumberMode::Integer, "7,9", ',', 7},
        {NumberMode::Real, "", ',', 0},
        // Characters are not checked: '.' with a comma separator counts as its code − 48.
        {NumberMode::Real, "1.5", ',', 1 * 100 + ('.' - 48) * 10 + 5},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(ParsePrefsNumber(c.mode, c.line, c.separator), c.expected, 1e-9) << c.line;
    }
}

// A damaged file loads without reading past its end, and every field lands in its range.
TEST(PreferencesText, DamagedFilesLoadSafely) {
    // Ends early, without a final line feed: the fields not reached keep their defaults.
    {
        std::string text = WithValue(kDefaultsFile, 4, "2,00");
        text = text.substr(0, text.find("ZOOM\n") + 7);  // "ZOOM\n15"
        DimensionSettings r = Defaults();
        EXPECT_EQ(ReadPreferencesText(text, r), 5);
        EXPECT_DOUBLE_EQ(r.strokeWidth, 2);
        EXPECT_DOUBLE_EQ(r.arrowSize, 15);
        EXPECT_DOUBLE_EQ(r.fontSize, 12);
    }
    // Carriage returns before the line feeds read as a text-mode read sees them.
    {
        std::string crlf;
        for (char c : std::string(kDefaultsFile)) {
            crlf += c == '\n' ? "\r\n" : std::string(1, c);
        }
        DimensionSettings r = Defaults();
        EXPECT_EQ(ReadPreferencesText(crlf, r), kPreferencePairs);
        EXPECT_EQ(PreferencesText(r), kDefaultsFile);
    }
    // A line longer than the file keeps is cut, and the pairs after it stay in step.
    {
        DimensionSettings r = Defaults();
        ReadPreferencesText(WithValue(kDefaultsFile, 3, std::string(150, 'x')), r);
        EXPECT_EQ(r.layerName, std::string(98, 'x'));
        EXPECT_EQ(r.layerNameLength, 98);
        EXPECT_DOUBLE_EQ(r.strokeWidth, 1);
    }
    // A NUL byte ends its line.
    {
        DimensionSettings r = Defaults();
        ReadPreferencesText(WithValue(kDefaultsFile, 3, std::string("Cot\0es", 6)), r);
        EXPECT_EQ(r.layerName, "Cot");
    }
    // Out-of-range values are brought back before anything uses them.
    {
        std::string text = kDefaultsFile;
        const struct {
            int pair;
            const char* value;
        } damaged[] = {{11, "200,00"}, {10, "0,00"}, {9, "-4,00"}, {18, "0"}, {42, "1"},
                       {58, "0"},      {71, "99"},   {14, "0,00"}, {83, "7"}, {69, "x"},
                       {5, "-10,00"},  {91, "250"},  {90, "12"}};
        for (const auto& d : damaged) {
            text = WithValue(text, d.pair, d.value);
        }
        DimensionSettings r = Defaults();
        ReadPreferencesText(text, r);
        Sanitize(r, 40);
        EXPECT_EQ(r.precision, 6);
        EXPECT_DOUBLE_EQ(r.scaleNumerator, 1);
        EXPECT_DOUBLE_EQ(r.scaleDenominator, 1);
        EXPECT_DOUBLE_EQ(r.scaleFactor, 1);
        EXPECT_EQ(r.fontPage, 1);
        EXPECT_EQ(r.curveDivisions, 2);
        EXPECT_EQ(r.arcCount, 2);
        EXPECT_EQ(r.secondPrecision, 6);
        EXPECT_DOUBLE_EQ(r.fontSize, 0.1);
        // A group or a unit that the lists do not have is refused: the default stands.
        EXPECT_EQ(r.currentGroup, 0);
        EXPECT_EQ(r.secondUnitKind, kPoint);  // unchanged by a word of no unit
        EXPECT_DOUBLE_EQ(r.arrowSize, 0);
        EXPECT_DOUBLE_EQ(r.groups[0].precision, 6);
        EXPECT_DOUBLE_EQ(r.groups[0].unitKind, 6);
    }
    // Values no stepper of the panel reaches are brought within its limits: a text of 35
    // million points or a line 99 million points wide cannot be drawn; a radius the file
    // would save as 0 is the smallest the panel sets; names lose their control characters
    // (a line end would not survive the next save). What is saved then loads the same.
    {
        std::string text = kDefaultsFile;
        for (const auto& [pair, value] : {std::pair{4, "99999999,00"},
                                          {14, "99999999,00"},
                                          {5, "99999999,00"},
                                          {11, "5000000,00"},
                                          {17, "0,004"},
                                          {3, "Cotes\x01\tatelier\r\r"},
                                          {19, "Deja\x02Vu\r\r"}}) {
            text = WithValue(text, pair, value);
        }
        DimensionSettings r = Defaults();
        ReadPreferencesText(text, r);
        Sanitize(r, 40);
        EXPECT_DOUBLE_EQ(r.strokeWidth, settings::kMaxStrokeWidth);
        EXPECT_DOUBLE_EQ(r.fontSize, settings::kMaxFontSize);
        EXPECT_DOUBLE_EQ(r.arrowSize, settings::kMaxArrowSize);
        EXPECT_DOUBLE_EQ(r.arcRadius, 1);
        EXPECT_EQ(r.layerName, "Cotesatelier");
        EXPECT_EQ(r.fontName, "DejaVu");
        DimensionSettings again = Defaults();
        ReadPreferencesText(PreferencesText(r), again);
        Sanitize(again, 40);
        EXPECT_EQ(PreferencesText(again), PreferencesText(r));
    }
}

// A name too long for one line is cut before it is saved, so a save reloads to the same.
TEST(PreferencesText, LongNamesAreCutBeforeSaving) {
    DimensionSettings s = Defaults();
    SetLayerName(s, std::string(120, 'L'));
    s.fontName = std::string(120, 'F');
    const std::string text = PreferencesText(s);
    DimensionSettings r = Defaults();
    EXPECT_EQ(ReadPreferencesText(text, r), kPreferencePairs);
    EXPECT_EQ(r.layerName, std::string(98, 'L'));
    EXPECT_EQ(r.fontName, std::string(98, 'F'));
    EXPECT_EQ(PreferencesText(r), text);
}

}  // namespace

namespace {

// A save that cannot write keeps what the user set, in memory; a save that can replaces the
// file whole through a temporary file of its own, never another process's, and clears away
// those of saves that never finished.
TEST(PreferencesFile, FailedSaveKeepsTheSettings) {
    DimensionSettings& live = Settings();
    const DimensionSettings saved = live;
    SetDefaults(live, "DejaVuSans");
    live.fontSize = 33;
    const auto folder = std::filesystem::temp_directory_path() / "mesra-prefs-save-test";
    std::filesystem::remove_all(folder);
    EXPECT_FALSE(SavePreferences((folder / "missing" / "Vorn-Cotaline-Prefs.txt").string()));
    EXPECT_DOUBLE_EQ(live.fontSize, 33);

    std::filesystem::create_directories(folder);
    const auto path = folder / "Vorn-Cotaline-Prefs.txt";
    { std::ofstream(path) << "an older, longer file that must not leave a tail behind\n"; }
    // The temporary files of two other processes: one stopped during a save two hours ago,
    // one saving now.
    const auto stale = folder / "Vorn-Cotaline-Prefs.txt.tmp-00000000000000aa";
    const auto saving = folder / "Vorn-Cotaline-Prefs.txt.tmp-00000000000000bb";
    for (const auto& file : {stale, saving}) {
        std::ofstream(file) << "VERSION\n";
    }
    std::filesystem::last_write_time(
        stale, std::filesystem::file_time_type::clock::now() - std::chrono::hours(2));
    EXPECT_TRUE(SavePreferences(path.string()));
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, PreferencesText(live));
    // Its own temporary file is gone, and so is the stale one; the other process's stays.
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(saving));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              2);

    // Saved through a link, the file it points at changes and the link stays.
    const auto link = folder / "linked-prefs.txt";
    std::filesystem::create_symlink(path, link);
    live.fontSize = 34;
    EXPECT_TRUE(SavePreferences(link.string()));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    std::ifstream again(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), PreferencesText(live));
    std::filesystem::remove_all(folder);
    live = saved;
}

// The file is the user's: start-up reads whatever it can read and writes the defaults only
// where nothing stands; a save never replaces a write-protected file, and rewrites in place a
// writable file that cannot be replaced (its folder takes no new file). Root writes through
// every protection, so the decision is checked here and the real roads where root can reach
// them.
TEST(PreferencesFile, WhatStandsAtThePathDecides) {
    using State = PreferencesFileState;
    const struct {
        State state;
        LoadPlan load;
        SavePlan save;
    } cases[] = {
        {State::Missing,
         {false, true, kMissingPreferencesAlert},
         {true, true, kUnwritablePreferencesAlert}},
        {State::Writable, {true, false, nullptr}, {true, true, kUnwritablePreferencesAlert}},
        {State::ReadOnly, {true, false, nullptr}, {false, false, kWriteProtectedPreferencesAlert}},
        {State::Unreadable,
         {false, false, kUnreadablePreferencesAlert},
         {false, false, kUnwritablePreferencesAlert}},
    };
    for (const auto& c : cases) {
        const LoadPlan load = PlanLoad(c.state);
        const SavePlan save = PlanSave(c.state);
        const int row = static_cast<int>(&c - cases);
        EXPECT_EQ(load.read, c.load.read) << row;
        EXPECT_EQ(load.writeDefaults, c.load.writeDefaults) << row;
        EXPECT_EQ(load.alert, c.load.alert) << row;
        EXPECT_EQ(save.replaceWhole, c.save.replaceWhole) << row;
        EXPECT_EQ(save.writeInPlace, c.save.writeInPlace) << row;
        EXPECT_EQ(save.alert, c.save.alert) << row;
    }

    const auto folder = std::filesystem::temp_directory_path() / "mesra-prefs-probe-test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "folder");
    { std::ofstream(folder / "file") << "VERSION\n"; }
    EXPECT_EQ(ProbePreferencesFile((folder / "none").string()), State::Missing);
    EXPECT_EQ(ProbePreferencesFile((folder / "folder").string()), State::Unreadable);
    EXPECT_EQ(ProbePreferencesFile((folder / "file").string()), State::Writable);
    std::filesystem::remove_all(folder);
}

}  // namespace
