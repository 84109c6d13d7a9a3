// Suites of text: point text frames, fonts, and the host's text engine.
#pragma once

#include "plugin/host/PaintRecords.h"
#include "plugin/host/Records.h"

// References to objects of the host's text engine. Each reference handed out counts once:
// the receiver releases it with the Release of its class's suite.
namespace ATE {
struct TextRangeOpaque;
struct CharFeaturesOpaque;
struct ParaFeaturesOpaque;
struct ApplicationPaintOpaque;
struct FontOpaque;
using TextRangeRef = TextRangeOpaque*;
using CharFeaturesRef = CharFeaturesOpaque*;
using ParaFeaturesRef = ParaFeaturesOpaque*;
using ApplicationPaintRef = ApplicationPaintOpaque*;
using FontRef = FontOpaque*;

// Result of the text engine's operations: 0 for success.
using ATEErr = ASInt32;

enum ParagraphJustification : ASInt32 {
    kLeftJustify = 0,
    kRightJustify = 1,
    kCenterJustify = 2,
};
}  // namespace ATE

// Text orientations of new text frames.
constexpr ASInt32 kHorizontalTextOrientation = 0;

struct AITextFrameSuite {
    static constexpr const char* kName = "AI Text Frame Suite";
    static constexpr ASInt32 kVersion = 3;
    // Creates an empty point text whose first baseline starts at `anchor`, placed relative
    // to `prep` by `paintOrder` as AIArtSuite::NewArt places art; *newText receives it.
    ASErr (*NewPointText)(ASInt32 paintOrder, AIArtHandle prep, ASInt32 orientation,
                          AIRealPoint anchor, AIArtHandle* newText);
    // The range of the whole text of a text frame (a reference to release).
    ASErr (*GetATETextRange)(AIArtHandle text, ATE::TextRangeRef* range);
};

struct AIFontKeyOpaque;
// A font of the host's font list.
using AIFontKey = AIFontKeyOpaque*;

struct AIFontSuite {
    static constexpr const char* kName = "AI Font Suite";
    static constexpr ASInt32 kVersion = 5;
    // The number of fonts of the host's font list.
    ASErr (*CountFonts)(ASInt32* count);
    // The font at `index` (0 to count - 1) of the list, in the host's stable order.
    ASErr (*IndexFontList)(ASInt32 index, AIFontKey* font);
    // Copies the font's name (its PostScript name, Windows-1252) into buffer, NUL-terminated
    // and truncated to capacity; *length is the full length. kBufferTooSmallErr when cut.
    ASErr (*GetFontName)(AIFontKey font, char* buffer, ASInt32 capacity, ASInt32* length);
    // The font of the list whose name (Windows-1252) is exactly `name`; kNameNotFoundErr
    // when the list has none.
    ASErr (*FindFont)(const char* name, AIFontKey* font);
    // The text engine's font for a font of the list (a reference to release).
    ASErr (*FontFromFontKey)(AIFontKey font, ATE::FontRef* ateFont);
};

struct AIATEPaintSuite {
    static constexpr const char* kName = "AIATE Paint Suite";
    static constexpr ASInt32 kVersion = 2;
    // The text engine's paint of a host colour (a reference to release). A custom colour
    // is taken with its handle and tint.
    ASErr (*CreateATEApplicationPaint)(const AIColor* color, ATE::ApplicationPaintRef* paint);
};

// The text-engine suites that the plug-in calls. The text of a range is UTF-16; a carriage
// return (13) ends a paragraph.
struct ATETextRangeSuite {
    static constexpr const char* kName = "ATE TextRange Suite";
    static constexpr ASInt32 kVersion = 1;
    ATE::ATEErr (*Release)(ATE::TextRangeRef range);
    // The number of characters of the range.
    ATE::ATEErr (*GetSize)(ATE::TextRangeRef range, ASInt32* size);
    // Copies the range's characters (UTF-16, NUL-terminated) into buffer with the buffer
    // rules of the host's strings; *length is the full length in code units.
    ATE::ATEErr (*GetContents)(ATE::TextRangeRef range, ASUnicode* buffer, ASInt32 capacity,
                               ASInt32* length);
    // Inserts `length` characters after the range; the range grows to hold them.
    ATE::ATEErr (*InsertAfter)(ATE::TextRangeRef range, const ASUnicode* text, ASInt32 length);
    // Deletes the range's characters; the range becomes empty.
    ATE::ATEErr (*Remove)(ATE::TextRangeRef range);
    // Gives the characters of the range the features set in `features` (the others stay).
    ATE::ATEErr (*SetLocalCharFeatures)(ATE::TextRangeRef range, ATE::CharFeaturesRef features);
    // Gives the paragraphs of the range the features set in `features` (the others stay).
    ATE::ATEErr (*SetLocalParaFeatures)(ATE::TextRangeRef range, ATE::ParaFeaturesRef features);
};

// A set of character features, each either set or left alone.
struct ATECharFeaturesSuite {
    static constexpr const char* kName = "ATE CharFeatures Suite";
    static constexpr ASInt32 kVersion = 101;
    // A new set with nothing set.
    ATE::ATEErr (*Initialize)(ATE::CharFeaturesRef* features);
    ATE::ATEErr (*Release)(ATE::CharFeaturesRef features);
    ATE::ATEErr (*SetFont)(ATE::CharFeaturesRef features, ATE::FontRef font);
    // Points.
    ATE::ATEErr (*SetFontSize)(ATE::CharFeaturesRef features, AIReal size);
    // Points, upwards.
    ATE::ATEErr (*SetBaselineShift)(ATE::CharFeaturesRef features, AIReal shift);
    // Extra space between characters, thousandths of an em.
    ATE::ATEErr (*SetTracking)(ATE::CharFeaturesRef features, ASInt32 tracking);
    ATE::ATEErr (*SetFillColor)(ATE::CharFeaturesRef features, ATE::ApplicationPaintRef paint);
    ATE::ATEErr (*SetFillOverPrint)(ATE::CharFeaturesRef features, ASBoolean overprint);
};

// A set of paragraph features, each either set or left alone.
struct ATEParaFeaturesSuite {
    static constexpr const char* kName = "ATE ParaFeatures Suite";
    static constexpr ASInt32 kVersion = 101;
    ATE::ATEErr (*Initialize)(ATE::ParaFeaturesRef* features);
    ATE::ATEErr (*Release)(ATE::ParaFeaturesRef features);
    ATE::ATEErr (*SetJustification)(ATE::ParaFeaturesRef features,
                                    ATE::ParagraphJustification justification);
    // Points.
    ATE::ATEErr (*SetFirstLineIndent)(ATE::ParaFeaturesRef features, AIReal indent);
    ATE::ATEErr (*SetStartIndent)(ATE::ParaFeaturesRef features, AIReal indent);
    ATE::ATEErr (*SetEndIndent)(ATE::ParaFeaturesRef features, AIReal indent);
    ATE::ATEErr (*SetSpaceBefore)(ATE::ParaFeaturesRef features, AIReal space);
    ATE::ATEErr (*SetSpaceAfter)(ATE::ParaFeaturesRef features, AIReal space);
};

struct ATEApplicationPaintSuite {
    static constexpr const char* kName = "ATE ApplicationPaint Suite";
    static constexpr ASInt32 kVersion = 1;
    ATE::ATEErr (*Release)(ATE::ApplicationPaintRef paint);
};

struct ATEFontSuite {
    static constexpr const char* kName = "ATE Font Suite";
    static constexpr ASInt32 kVersion = 1;
    ATE::ATEErr (*Release)(ATE::FontRef font);
};

// The text-engine suites, in the order the plug-in acquires them: X(class, version) for the
// suites the plug-in never calls, C(class, version) for those declared above. Each suite is
// named "ATE " + class + " Suite".
#define MESRA_TEXT_ENGINE_SUITES(X, C)    \
    C(ApplicationPaint, 1)                \
    X(CompFont, 1)                        \
    X(CompFontClass, 1)                   \
    X(CompFontClassSet, 1)                \
    X(CompFontComponent, 1)               \
    X(CompFontSet, 1)                     \
    X(GlyphRun, 1)                        \
    X(GlyphRunsIterator, 1)               \
    X(MojiKumi, 1)                        \
    X(MojiKumiSet, 1)                     \
    X(TextFrame, 101)                     \
    X(TextFramesIterator, 1)              \
    X(TextLine, 1)                        \
    X(TextLinesIterator, 1)               \
    X(TextResources, 1)                   \
    X(ApplicationTextResources, 1)        \
    X(DocumentTextResources, 101)         \
    X(VersionInfo, 1)                     \
    X(ArrayApplicationPaintRef, 1)        \
    X(ArrayReal, 1)                       \
    X(ArrayBool, 1)                       \
    X(ArrayInteger, 1)                    \
    X(ArrayLineCapType, 1)                \
    X(ArrayFigureStyle, 1)                \
    X(ArrayLineJoinType, 1)               \
    X(ArrayWariChuJustification, 1)       \
    X(ArrayStyleRunAlignment, 1)          \
    X(ArrayAutoKernType, 1)               \
    X(ArrayBaselineDirection, 1)          \
    X(ArrayLanguage, 1)                   \
    X(ArrayFontCapsOption, 1)             \
    X(ArrayFontBaselineOption, 1)         \
    X(ArrayFontOpenTypePositionOption, 1) \
    X(ArrayUnderlinePosition, 1)          \
    X(ArrayStrikethroughPosition, 1)      \
    X(ArrayParagraphJustification, 1)     \
    X(ArrayArrayReal, 1)                  \
    X(ArrayBurasagariType, 1)             \
    X(ArrayPreferredKinsokuOrder, 1)      \
    X(ArrayKinsokuRef, 1)                 \
    X(ArrayMojiKumiRef, 1)                \
    X(ArrayMojiKumiSetRef, 1)             \
    X(ArrayTabStopsRef, 1)                \
    X(ArrayLeadingType, 1)                \
    X(ArrayFontRef, 1)                    \
    X(ArrayGlyphID, 1)                    \
    X(ArrayRealPoint, 1)                  \
    X(ArrayRealMatrix, 1)                 \
    X(ArrayParagraphDirection, 1)         \
    X(ArrayJustificationMethod, 1)        \
    X(ArrayKashidaWidth, 1)               \
    X(ArrayKashidas, 1)                   \
    X(ArrayDirOverride, 1)                \
    X(ArrayDigitSet, 1)                   \
    X(ArrayDiacVPos, 1)                   \
    C(CharFeatures, 101)                  \
    X(CharInspector, 101)                 \
    X(CharStyle, 1)                       \
    X(CharStyles, 1)                      \
    X(CharStylesIterator, 1)              \
    X(Find, 101)                          \
    C(Font, 1)                            \
    X(Glyph, 1)                           \
    X(Glyphs, 1)                          \
    X(GlyphsIterator, 1)                  \
    X(Kinsoku, 1)                         \
    X(KinsokuSet, 1)                      \
    C(ParaFeatures, 101)                  \
    X(Paragraph, 1)                       \
    X(ParagraphsIterator, 1)              \
    X(ParaInspector, 101)                 \
    X(ParaStyle, 1)                       \
    X(ParaStyles, 1)                      \
    X(ParaStylesIterator, 1)              \
    X(Spell, 101)                         \
    X(Stories, 1)                         \
    X(Story, 1)                           \
    X(TabStop, 1)                         \
    X(TabStops, 1)                        \
    X(TabStopsIterator, 1)                \
    C(TextRange, 1)                       \
    X(TextRanges, 1)                      \
    X(TextRangesIterator, 1)              \
    X(TextRunsIterator, 1)                \
    X(WordsIterator, 1)                   \
    X(ArrayLine, 1)                       \
    X(ArrayComposerEngine, 1)

#define MESRA_DECLARE_TEXT_ENGINE_SUITE(cls, version)              \
    struct ATE##cls##Suite {                                       \
        static constexpr const char* kName = "ATE " #cls " Suite"; \
        static constexpr ASInt32 kVersion = version;               \
    };
#define MESRA_DECLARED_ABOVE(cls, version)
MESRA_TEXT_ENGINE_SUITES(MESRA_DECLARE_TEXT_ENGINE_SUITE, MESRA_DECLARED_ABOVE)
#undef MESRA_DECLARED_ABOVE
#undef MESRA_DECLARE_TEXT_ENGINE_SUITE
