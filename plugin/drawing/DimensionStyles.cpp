#include "plugin/drawing/DimensionStyles.h"

#include <vector>

#include "plugin/host/ResultCodes.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"

namespace drawing {
namespace {

// The miter limit of the arrowheads' joins.
constexpr AIReal kArrowMiterLimit = 10.0f;
// The miter limit of the lines, whose joins are round.
constexpr AIReal kLineMiterLimit = 4.0f;

AIColor Color(std::int32_t model, double gray, double red, double green, double blue, double cyan,
              double magenta, double yellow, double black, AICustomColorHandle custom) {
    AIColor color{};
    switch (model) {
        case settings::kGray:
            color.kind = kGrayColor;
            color.gray.gray = static_cast<AIReal>(gray);
            break;
        case settings::kCMYK:
            color.kind = kFourColor;
            color.cmyk = {static_cast<AIReal>(cyan), static_cast<AIReal>(magenta),
                          static_cast<AIReal>(yellow), static_cast<AIReal>(black)};
            break;
        case settings::kCustomColor:
            if (custom != nullptr) {
                color.kind = kCustomColor;
                color.custom = {custom, 0.0f};
                break;
            }
            // Without a custom colour from the host the line keeps its RGB colour.
            [[fallthrough]];
        default:
            color.kind = kThreeColor;
            color.rgb = {static_cast<AIReal>(red), static_cast<AIReal>(green),
                         static_cast<AIReal>(blue)};
            break;
    }
    return color;
}

}  // namespace

DimensionStyles& Styles() {
    static DimensionStyles styles;
    return styles;
}

DimensionStyles MakeStyles(const settings::DimensionSettings& s,
                           AICustomColorHandle strokeCustomColor,
                           AICustomColorHandle textCustomColor) {
    DimensionStyles styles;
    styles.strokeCustomColor = strokeCustomColor;
    styles.textCustomColor = textCustomColor;
    const AIColor stroke =
        Color(s.strokeColorModel, s.strokeGray, s.strokeRed, s.strokeGreen, s.strokeBlue,
              s.strokeCyan, s.strokeMagenta, s.strokeYellow, s.strokeBlack, strokeCustomColor);
    const ASInt32 cap = s.roundCaps != 0 ? kRoundCap : kButtCap;

    AIPathStyle& solid = styles.solidLine;
    solid.fillPaint = false;
    solid.strokePaint = true;
    solid.stroke.color = stroke;
    solid.stroke.overprint = s.overprintStroke != 0;
    solid.stroke.width = static_cast<AIReal>(s.strokeWidth);
    solid.stroke.cap = cap;
    solid.stroke.join = kRoundJoin;
    solid.stroke.miterLimit = kLineMiterLimit;

    styles.dashedLine = solid;
    if (s.dashedLines != 0) {
        AIDashStyle& dash = styles.dashedLine.stroke.dash;
        dash.length = 2;
        dash.array[0] = static_cast<AIReal>(s.dashLength);
        dash.array[1] = static_cast<AIReal>(s.dashGap);
    }

    AIPathStyle& arrow = styles.arrowFill;
    arrow.fillPaint = true;
    arrow.fill.color = stroke;
    arrow.fill.overprint = s.overprintFill != 0;
    arrow.strokePaint = false;
    arrow.stroke.cap = cap;
    arrow.stroke.join = kMiterJoin;
    arrow.stroke.miterLimit = kArrowMiterLimit;

    styles.textColor = Color(s.textColorModel, s.textGray, s.textRed, s.textGreen, s.textBlue,
                             s.textCyan, s.textMagenta, s.textYellow, s.textBlack, textCustomColor);
    return styles;
}

void BuildStyles() {
    const DimensionStyles& current = Styles();
    Styles() = MakeStyles(settings::Settings(), current.strokeCustomColor, current.textCustomColor);
}

const AIPathStyle& LineStyle() {
    return settings::Settings().dashedLines != 0 ? Styles().dashedLine : Styles().solidLine;
}

ASErr ApplyDocumentCustomColor() {
    AICustomColorHandle custom = nullptr;
    const ASErr error = sAICustomColor->GetCurrentCustomColor(&custom);
    if (error == kNameNotFoundErr) {
        // The document has no custom colour: the lines keep theirs.
        return 0;
    }
    if (error != 0) {
        return error;
    }
    const settings::DimensionSettings& s = settings::Settings();
    DimensionStyles& styles = Styles();
    if (s.strokeColorModel == settings::kCustomColor) {
        styles.strokeCustomColor = custom;
    }
    if (s.textColorModel == settings::kCustomColor) {
        styles.textCustomColor = custom;
    }
    BuildStyles();
    return 0;
}

const char* DimensionName(const MadeDimension& made, const settings::DimensionSettings& s) {
    switch (made.tool) {
        case ToolKind::Segment:
            if (s.dimensionType == settings::kHorizontalAndVertical) {
                return "Segment horiz & verti";
            }
            if (made.curve) {
                return "Segment courbe";
            }
            if (made.arc) {
                return "Segment arc";
            }
            switch (s.dimensionType) {
                case settings::kOblique:
                    return "Segment oblique";
                case settings::kHorizontal:
                    return "Segment horiz";
                case settings::kVertical:
                    return "Segment verti";
                default:
                    return "Segment erreur";
            }
        case ToolKind::Angle:
            return "Angle";
        case ToolKind::Circle:
            return s.showDiameter != 0 ? "Cercle Diamètre"_w1252 : "Cercle Rayon";
        case ToolKind::Bezier:
            return "Bézier partage"_w1252;
        case ToolKind::LengthsAndAreas:
            return "Longueurs & Aires";
    }
    return "Segment erreur";
}

ASErr NameDimensionArt(AIArtHandle group, const MadeDimension& made) {
    if (group == nullptr || !sAIArt->ValidArt(group)) {
        return 0;
    }
    ASInt32 length = 0;
    const ASErr readable = sAIArt->GetArtName(group, nullptr, 0, &length);
    if (readable != 0 && readable != kBufferTooSmallErr) {
        return 0;
    }
    return sAIArt->SetArtName(
        group, text::ToHostUnicode(DimensionName(made, settings::Settings())).c_str());
}

}  // namespace drawing
