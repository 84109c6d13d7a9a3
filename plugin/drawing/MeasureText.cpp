#include "plugin/drawing/MeasureText.h"

#include <cmath>

#include "plugin/ate/CharFeatures.h"
#include "plugin/ate/Exception.h"
#include "plugin/ate/ParaFeatures.h"
#include "plugin/ate/TextRange.h"
#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/DimensionStyles.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"
#include "plugin/measure/NumberFormat.h"
#include "plugin/settings/DimensionSettings.h"

namespace drawing {
namespace {

// Runs one step of the text engine; a refusal is recorded and the next step runs.
template <typename Step>
void TextStep(Step step) {
    try {
        step();
    } catch (const ATE::Exception& e) {
        WorkingArt().errors += e.Error();
    }
}

// Gives the whole text of `frame` the attributes of a dimension text: the text colour, no
// indents, paragraph spacing or tracking, `size`, `shift`, the fill overprint,
// `justification` and the font of the settings.
void SetTextAttributes(AIArtHandle frame, double size, double shift,
                       ATE::ParagraphJustification justification) {
    const settings::DimensionSettings& s = settings::Settings();
    TextStep([&] {
        ATE::TextRange range = ATE::TextRange::OfFrame(frame);
        ATE::CharFeatures chars;
        chars.SetFillColor(ATE::ApplicationPaint::FromColor(Styles().textColor));
        chars.SetTracking(0);
        chars.SetFontSize(static_cast<AIReal>(size));
        chars.SetBaselineShift(static_cast<AIReal>(shift));
        chars.SetFillOverPrint(s.overprintFill != 0);
        ATE::ParaFeatures paragraphs;
        paragraphs.SetFirstLineIndent(0);
        paragraphs.SetStartIndent(0);
        paragraphs.SetSpaceBefore(0);
        paragraphs.SetJustification(justification);
        range.SetLocalCharFeatures(chars);
        range.SetLocalParaFeatures(paragraphs);
    });
    // A font the host does not list leaves the frame in the host's font.
    TextStep([&] {
        ATE::TextRange range = ATE::TextRange::OfFrame(frame);
        ATE::CharFeatures font;
        font.SetFont(ATE::Font::Named(s.fontName));
        range.SetLocalCharFeatures(font);
    });
}

void ReplaceText(AIArtHandle frame, const std::string& windows1252) {
    TextStep([&] {
        ATE::TextRange range = ATE::TextRange::OfFrame(frame);
        range.Remove();
        range.InsertAfter(text::ToHostUnicode(windows1252));
    });
}

bool IsLength(LabelKind kind) {
    return kind == LabelKind::Segment || kind == LabelKind::ArcLength ||
           kind == LabelKind::CurveLength;
}

}  // namespace

double MeasureBaselineShift(LabelKind kind, double fontSize, bool doubleMeasure) {
    const double third = fontSize / 3;
    return kind != LabelKind::Angle && doubleMeasure ? third : -third;
}

bool CreateMeasureTextFrame(LabelKind kind, AIRealPoint anchor, const std::string& label,
                            int index) {
    const settings::DimensionSettings& s = settings::Settings();
    DimensionArt& working = WorkingArt();
    AIArtHandle& frame = working.lines[index == 1 ? 1 : 0].measureText;
    if (IsLength(kind) && s.unitKind == settings::kNoMeasure) {
        DisposeArt(frame);
        return false;
    }
    if (!IsLive(frame)) {
        frame = nullptr;
        const ASErr error = sAITextFrame->NewPointText(kPlaceInsideOnTop, working.group,
                                                       kHorizontalTextOrientation, anchor, &frame);
        if (error != 0) {
            working.errors += error;
            frame = nullptr;
            return false;
        }
    }
    SetTextAttributes(frame, s.fontSize,
                      MeasureBaselineShift(kind, s.fontSize, settings::HasSecondMeasure(s)),
                      ATE::kCenterJustify);
    ReplaceText(frame, label);
    return true;
}

void PlaceMeasureText(LabelKind kind, AIRealPoint anchor, const std::string& label) {
    const settings::DimensionSettings& s = settings::Settings();
    LineArt& line = WorkingArt().lines[0];
    DisposeArt(line.measureText);
    DisposeArt(line.tolerances[0]);
    DisposeArt(line.tolerances[1]);
    if (!CreateMeasureTextFrame(kind, anchor, label)) {
        return;
    }
    for (int which : {1, 2}) {
        if ((which == 1 ? s.tolerance1On : s.tolerance2On) != 0) {
            CreateToleranceText(which);
            PlaceToleranceBesideMeasure(which);
        }
    }
}

AIArtHandle CreateTextLine(AIRealPoint anchor, const std::string& text) {
    DimensionArt& working = WorkingArt();
    AIArtHandle frame = nullptr;
    const ASErr error = sAITextFrame->NewPointText(kPlaceInsideOnTop, working.group,
                                                   kHorizontalTextOrientation, anchor, &frame);
    if (error != 0) {
        working.errors += error;
        return nullptr;
    }
    SetTextAttributes(frame, settings::Settings().fontSize, 0, ATE::kLeftJustify);
    ReplaceText(frame, text);
    return frame;
}

std::string ToleranceLabel(std::int32_t sign, const std::string& text) {
    const char mark = sign == settings::kToleranceMinus       ? '-'
                      : sign == settings::kTolerancePlusMinus ? '\xB1'
                                                              : '+';
    return mark + text;
}

AIArtHandle CreateToleranceText(int which, int index) {
    const settings::DimensionSettings& s = settings::Settings();
    DimensionArt& working = WorkingArt();
    LineArt& line = working.lines[index == 1 ? 1 : 0];
    AIArtHandle& tolerance = line.tolerances[which == 2 ? 1 : 0];
    DisposeArt(tolerance);
    if (!IsLive(line.measureText)) {
        return nullptr;
    }
    const ASErr error =
        sAIArt->DuplicateArt(line.measureText, kPlaceInsideOnTop, working.group, &tolerance);
    if (error != 0) {
        working.errors += error;
        tolerance = nullptr;
        return nullptr;
    }
    const bool first = which != 2;
    SetTextAttributes(tolerance, 0.7 * s.fontSize, first ? s.tolerance1Offset : s.tolerance2Offset,
                      ATE::kLeftJustify);
    ReplaceText(tolerance, ToleranceLabel(first ? s.tolerance1Sign : s.tolerance2Sign,
                                          measure::ToleranceText(which)));
    return tolerance;
}

void PlaceToleranceBesideMeasure(int which, int index) {
    const LineArt& line = WorkingArt().lines[index == 1 ? 1 : 0];
    const AIArtHandle tolerance = line.tolerances[which == 2 ? 1 : 0];
    if (IsLive(tolerance)) {
        TranslateArt(tolerance, ArtSize(line.measureText).h / 2, 0);
    }
}

}  // namespace drawing
