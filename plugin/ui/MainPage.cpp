// The panel's main page: the list of the parameters with a summary of each, and the cells
// of the four preference groups.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "plugin/drawing/Arrowheads.h"
#include "plugin/hostaccess/WindowsText.h"
#include "plugin/measure/NumberFormat.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/settings/PreferenceGroups.h"
#include "plugin/ui/MainPage.h"
#include "plugin/ui/PanelPages.h"

namespace ui {
namespace {

using settings::DimensionSettings;
using settings::Settings;

struct Entry {
    const char* label;
    std::optional<settings::SettingsPage> reset;
    const char* hint;
};

const Entry& EntryOf(int row) {
    using settings::SettingsPage;
    static const Entry kEntries[kPanelPageCount] = {
        {"Unité."_w1252, std::nullopt, ""},
        {"Double mesure.", SettingsPage::DoubleMeasure,
         "ALT, retour des valeurs par défaut du paramètre Double mesure."_w1252},
        {"Format de nombre.", SettingsPage::NumberFormat,
         "ALT, retour des valeurs par défaut du paramètre Format de nombre."_w1252},
        {"Échelle."_w1252, SettingsPage::Scale,
         "ALT, retour des valeurs par défaut du paramètre Échelle."_w1252},
        {"Pointes.", SettingsPage::Arrowheads,
         "ALT, retour des valeurs par défaut du paramètre Pointes."_w1252},
        {"Format de ligne.", SettingsPage::LineFormat,
         "ALT, retour des valeurs par défaut du paramètre Format de ligne."_w1252},
        {"Police.", std::nullopt, ""},
        {"Corps.", std::nullopt, ""},
        {"Couleurs.", std::nullopt, ""},
        {"Tolérances."_w1252, SettingsPage::Tolerances,
         "ALT, retour des valeurs par défaut du paramètre Tolérances."_w1252},
        {"Son.", std::nullopt, ""},
        {"Nom du calque.", SettingsPage::LayerName,
         "ALT, retour des valeurs par défaut du paramètre Nom du calque."_w1252},
        {"Outil Segment.", SettingsPage::SegmentTool,
         "ALT, retour des valeurs par défaut de l'outil Segment."_w1252},
        {"Outil Angle.", SettingsPage::AngleTool,
         "ALT, retour des valeurs par défaut de l'outil Angle."_w1252},
        {"Outil Cercle.", SettingsPage::CircleTool,
         "ALT, retour des valeurs par défaut de l'outil Cercle."_w1252},
        {"Outil Bézier."_w1252, SettingsPage::BezierTool,
         "ALT, retour des valeurs par défaut de l'outil Bézier."_w1252},
        {"Outil Longueurs & Aires.", SettingsPage::LengthsAndAreasTool,
         "ALT, retour des valeurs par défaut de l'outil Longueurs & aires."_w1252},
    };
    return kEntries[row];
}

// The units in words, as the summaries write them.
const char* UnitWord(std::int32_t unit) {
    static const char* const kWords[] = {"micromètres"_w1252,
                                         "millimètres"_w1252,
                                         "centimètres"_w1252,
                                         "pouces décimaux"_w1252,
                                         "pouces fractionnaires",
                                         "pieds pouces fractionnaires",
                                         "points",
                                         "picas",
                                         "mètres"_w1252,
                                         "kilomètres"_w1252,
                                         "sans mesure"};
    return unit >= 0 && unit <= 10 ? kWords[unit] : "";
}

std::string ToleranceSummary(std::int32_t on, std::int32_t sign, const std::string& text) {
    if (on == 0) {
        return "Non";
    }
    const char* mark = sign == settings::kToleranceMinus       ? "-"
                       : sign == settings::kTolerancePlusMinus ? "+-"
                                                               : "+";
    return mark + text;
}

// The 16-bit colour of a colour setting, for the swatches.
AIRGBColor Swatch(std::int32_t model, double gray, double red, double green, double blue,
                  double cyan, double magenta, double yellow, double black) {
    const auto component = [](double value) {
        return static_cast<ASUInt16>(std::lround(std::clamp(value, 0.0, 1.0) * 65535));
    };
    switch (model) {
        case settings::kGray:
            return {component(1 - gray), component(1 - gray), component(1 - gray)};
        case settings::kRGB:
            return {component(red), component(green), component(blue)};
        case settings::kCMYK:
        case settings::kCustomColor:
            return {component((1 - cyan) * (1 - black)), component((1 - magenta) * (1 - black)),
                    component((1 - yellow) * (1 - black))};
        default:
            return kBlack;
    }
}

}  // namespace

std::optional<settings::SettingsPage> MainPageReset(int row) {
    return row >= 0 && row < kPanelPageCount ? EntryOf(row).reset : std::nullopt;
}

AIRGBColor LineColorSwatch() {
    const DimensionSettings& s = Settings();
    return Swatch(s.strokeColorModel, s.strokeGray, s.strokeRed, s.strokeGreen, s.strokeBlue,
                  s.strokeCyan, s.strokeMagenta, s.strokeYellow, s.strokeBlack);
}

AIRGBColor TextColorSwatch() {
    const DimensionSettings& s = Settings();
    return Swatch(s.textColorModel, s.textGray, s.textRed, s.textGreen, s.textBlue, s.textCyan,
                  s.textMagenta, s.textYellow, s.textBlack);
}

std::string MainPageSummary(int row) {
    const DimensionSettings& s = Settings();
    switch (static_cast<PanelPage>(row)) {
        case PanelPage::Unit:
            return UnitWord(s.unitKind);
        case PanelPage::DoubleMeasure:
            return s.doubleMeasure != 0 ? std::string("Avec, ") + UnitWord(s.secondUnitKind)
                                        : "Sans";
        case PanelPage::NumberFormat:
            return NumberFormatExample();
        case PanelPage::Scale:
            return PanelNumber(s.scaleNumerator, 0) + " /" + PanelNumber(s.scaleDenominator, 0);
        case PanelPage::Arrowheads:
            return PanelNumber(s.arrowSize, 0) + " %";
        case PanelPage::LineFormat: {
            std::string text = PanelNumber(s.strokeWidth, 2) + " pt, ";
            text += s.dashedLines != 0 ? "pointillé, "_w1252 + PanelNumber(s.dashLength, 0) +
                                             "pt, " + PanelNumber(s.dashGap, 0) + "pt, "
                                       : std::string("continu, ");
            text += s.roundCaps != 0 ? "bout rond" : "bout carré"_w1252;
            return text;
        }
        case PanelPage::Font:
            return s.fontName;
        case PanelPage::FontSize:
            return s.fontSizeInMm != 0
                       ? PanelNumber(s.fontSize / settings::kPointsPerMillimetre, 2) + " mm"
                       : PanelNumber(s.fontSize, 2) + " pt";
        case PanelPage::Tolerances:
            return ToleranceSummary(s.tolerance1On, s.tolerance1Sign, measure::ToleranceText(1)) +
                   ", " +
                   ToleranceSummary(s.tolerance2On, s.tolerance2Sign, measure::ToleranceText(2));
        case PanelPage::Sound:
            return s.soundOn != 0 ? "Oui" : "Non";
        case PanelPage::LayerName:
            return s.layerName;
        default:
            return {};
    }
}

Page MainPage() {
    Page page;
    page.left = 14;
    page.top = -15;
    page.right = 14 + 420;
    page.bottom = -15 + 349;
    page.texts.push_back({48, -3, "Choix du paramètre à modifier :"_w1252});
    std::vector<std::string> hints;
    for (int k = 1; k <= settings::kGroupCount; ++k) {
        hints.push_back("Rétablit tous les réglages du groupe de préférences "_w1252 +
                        std::to_string(k) + ".");
    }
    page.controls.push_back(GroupCells(
        17, 36, 0, std::move(hints), [] { return std::optional<int>(Settings().currentGroup); },
        [](int) {}));
    std::vector<std::string> labels;
    for (int row = 0; row < kPanelPageCount; ++row) {
        labels.push_back(EntryOf(row).label);
    }
    Control entries =
        Choice(44, 216, Rows(0, kPanelPageCount), std::move(labels), nullptr, [](int) {});
    for (int row = 0; row < kPanelPageCount; ++row) {
        entries.hints.push_back(EntryOf(row).hint);
    }
    page.controls.push_back(entries);
    constexpr double kSummaryX = 220;
    for (int row = 0; row < kPanelPageCount; ++row) {
        const std::string summary = MainPageSummary(row);
        if (!summary.empty()) {
            page.texts.push_back({kSummaryX, (row + 1) * kRowPixels - 5, summary, 0.5});
        }
    }
    page.extra = [](PanelDrawer& drawer) {
        // The line and text colours' swatches, and the arrowhead's shape.
        const double y = static_cast<int>(PanelPage::Colors) * kRowPixels;
        for (const auto& [x, color] :
             {std::pair{220.0, LineColorSwatch()}, std::pair{250.0, TextColorSwatch()}}) {
            drawer.Color(color);
            drawer.Rect(x, y + 4, x + 24, y + 14, true);
            drawer.Color(kBlack);
            drawer.Rect(x, y + 4, x + 24, y + 14, false);
        }
        const double ax = 275;
        const double ay = (static_cast<int>(PanelPage::Arrowheads) + 0.5) * kRowPixels;
        drawer.Opacity(0.5);
        DrawArrowSample(drawer, drawing::CurrentArrowTemplate(), ax, ay, 1);
        drawer.Opacity(1);
    };
    return page;
}

}  // namespace ui
