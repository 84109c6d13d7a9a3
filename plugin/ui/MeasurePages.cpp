// The pages of the measure: unit, double measure, number format and scale.
#include <cmath>
#include <iterator>
#include <string>

#include "plugin/hostaccess/WindowsText.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/settings/PreferenceGroups.h"
#include "plugin/ui/PanelPages.h"

namespace ui {
namespace {

using settings::DimensionSettings;
using settings::Settings;

// The scales of the scale page: 1/n for the first eleven, then n.
struct Scale {
    int numerator;
    int denominator;
};
constexpr Scale kScales[] = {{1, 125}, {1, 100}, {1, 75}, {1, 50},  {1, 25}, {1, 20},
                             {1, 10},  {1, 5},   {1, 4},  {1, 3},   {1, 2},  {1, 1},
                             {2, 1},   {3, 1},   {4, 1},  {5, 1},   {10, 1}, {20, 1},
                             {25, 1},  {50, 1},  {75, 1}, {100, 1}, {125, 1}};

// The steps of the scale steppers (plain, Alt, Shift) and their hint, by the multipliers on.
struct ScaleSteps {
    double plain;
    double alt;
    double shift;
    const char* hint;
};
constexpr std::int32_t kTimes10 = 1;
constexpr std::int32_t kTimes100 = 2;
const ScaleSteps& StepsOf(std::int32_t multipliers) {
    static const ScaleSteps steps[] = {
        {1, 5, 10, "De 10 en 10 avec Shift, de 5 en 5 avec ALT."},
        {10, 50, 100, "De 100 en 100 avec Shift, de 50 en 50 avec ALT."},
        {100, 500, 1000, "De 1 000 en 1 000 avec Shift, de 500 en 500 avec ALT."},
        {1000, 5000, 10000, "De 10 000 en 10 000 avec Shift, de 5 000 en 5 000 avec ALT."},
    };
    return steps[multipliers & (kTimes10 | kTimes100)];
}

double StepOf(const ScaleSteps& steps, const PanelKeys& keys) {
    return keys.shift ? steps.shift : keys.alt ? steps.alt : steps.plain;
}

// Integer digits grouped by three with `separator` (0 comma, 1 space, 2 apostrophe, else
// none).
std::string Grouped(const std::string& digits, std::int8_t separator) {
    const char* mark = separator == 0 ? "," : separator == 1 ? " " : separator == 2 ? "'" : "";
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += mark;
        }
        out += digits[i];
    }
    return out;
}

}  // namespace

const std::vector<std::string>& UnitLabels() {
    // Built from an array of pointers: a braced list of strings made from these literals
    // crashes some compilers (clang 14).
    static const char* const names[] = {
        "Micromètres"_w1252,
        "Millimètres"_w1252,
        "Centimètres"_w1252,
        "Pouces décimaux"_w1252,
        "Pouces fractionnaires",
        "Pieds et pouces fractionnaires",
        "Points",
        "Picas",
        "Mètres"_w1252,
        "Kilomètres"_w1252,
        "Sans mesure",
    };
    static const std::vector<std::string> labels(std::begin(names), std::end(names));
    return labels;
}

std::string NumberFormatExample() {
    const DimensionSettings& s = Settings();
    const std::string decimals =
        std::string("123456").substr(0, static_cast<std::size_t>(std::clamp(s.precision, 0, 6)));
    std::string text = Grouped("34562803", s.thousandsSeparator);
    if (!decimals.empty()) {
        text += s.decimalSeparator;
        text += decimals;
    }
    return text;
}

Page UnitPage() {
    Page page;
    const DimensionSettings& s = Settings();
    page.texts = {{36, TitleY(0), "Choix de l'unité :"_w1252},
                  {36, TitleY(12.5), "Affiche l'unité :"_w1252}};
    page.controls.push_back(StoreCells(0, settings::GroupField::UnitKind,
                                       "L'unité sélectionnée sera placée dans le groupe de "
                                       "préférences "_w1252));
    page.controls.push_back(Choice(
        36, 232, Rows(0, 11), UnitLabels(), [] { return Settings().unitKind; },
        [](int k) { Settings().unitKind = k; }));
    Control show = Choice(
        36, 70, {12.5, 13.5, 14.6}, {"Oui", "Non"}, [] { return Settings().showUnit != 0 ? 0 : 1; },
        [](int k) { Settings().showUnit = k == 0 ? 1 : 0; });
    show.enabled = [] { return Settings().unitKind != settings::kNoMeasure; };
    page.controls.push_back(show);
    (void)s;
    FitBox(page);
    return page;
}

Page DoubleMeasurePage() {
    Page page;
    const DimensionSettings& s = Settings();
    const auto on = [] { return Settings().doubleMeasure != 0; };
    page.controls.push_back(CheckBox(
        {8, 65, 0, 1.3},
        s.doubleMeasure != 0 ? "Il y aura une double mesure." : "Il n'y aura pas de double mesure.",
        on, [] { Settings().doubleMeasure = Settings().doubleMeasure != 0 ? 0 : 1; }));
    std::vector<std::string> units(UnitLabels().begin(), UnitLabels().end() - 1);
    page.texts.push_back({210, RowY(2.4), "Seconde unité :"_w1252});
    page.controls.push_back(Choice(
        10, 208, Rows(1.4, 10), std::move(units), [] { return Settings().secondUnitKind; },
        [](int k) { Settings().secondUnitKind = k; }));
    Control show = CheckBox(
        {8, 119, 11.8, 12.8}, "Affiche l'unité"_w1252,
        [] { return Settings().showSecondUnit != 0; },
        [] { Settings().showSecondUnit = Settings().showSecondUnit ? 0 : 1; });
    show.enabled = on;
    page.controls.push_back(show);
    page.texts.push_back({10, RowY(14.2), "Précision : "_w1252});
    Control precision = Stepper(
        {114, 148, 13.0, 14.2}, {164, 198, 13.0, 14.2},
        [] { return std::to_string(Settings().secondPrecision); },
        [](int direction, const PanelKeys&) {
            DimensionSettings& live = Settings();
            live.secondPrecision =
                static_cast<std::int32_t>(Stepped(live.secondPrecision, 1, direction, 0, 6));
        });
    precision.enabled = on;
    page.controls.push_back(precision);
    page.texts.push_back({10, RowY(15.3), "Séparateur décimal :"_w1252});
    Control separator =
        Button({146, 200, 14.2, 15.3}, s.secondDecimalSeparator == ',' ? "virgule" : "point", [] {
            char& c = Settings().secondDecimalSeparator;
            c = c == ',' ? '.' : ',';
        });
    separator.enabled = on;
    page.controls.push_back(separator);
    FitBox(page);
    return page;
}

Page NumberFormatPage() {
    Page page;
    const DimensionSettings& s = Settings();
    page.texts = {{36, TitleY(0), "Choix de la précision :"_w1252},
                  {36, TitleY(8.3), "Choix du séparateur décimal :"_w1252},
                  {36, TitleY(11.4), "Choix du séparateur des classes :"_w1252},
                  {36, RowY(16.6), "Exemple : " + NumberFormatExample()}};
    page.controls.push_back(StoreCells(0, settings::GroupField::Precision,
                                       "La précision sélectionnée sera placée dans le groupe "
                                       "de préférences "_w1252));
    std::vector<std::string> precisions = {"0 (x)"};
    for (int p = 1; p <= 6; ++p) {
        precisions.push_back(std::to_string(p) + " (x" + s.decimalSeparator +
                             std::string(static_cast<std::size_t>(p), 'x') + ")");
    }
    page.controls.push_back(Choice(
        36, 118, Rows(0, 7), std::move(precisions), [] { return Settings().precision; },
        [](int k) { Settings().precision = k; }));
    page.controls.push_back(Choice(
        36, 106, {8.3, 9.3, 10.3}, {", (virgule)", ". (point)"},
        [] { return Settings().decimalSeparator == ',' ? 0 : 1; },
        [](int k) { settings::SetDecimalSeparator(Settings(), k == 0 ? ',' : '.'); }));
    page.controls.push_back(Choice(
        36, 130, Rows(11.4, 4), {", (virgule)", "  (espace)", "' (apostrophe)", "  (aucun)"},
        [] { return static_cast<int>(Settings().thousandsSeparator); },
        [](int k) { Settings().thousandsSeparator = static_cast<std::int8_t>(k); },
        // A comma groups thousands only when the decimals are set off by a point.
        [](int k) { return k != 0 || Settings().decimalSeparator == '.'; }));
    FitBox(page);
    return page;
}

Page ScalePage() {
    Page page;
    const DimensionSettings& s = Settings();
    const ScaleSteps& steps = StepsOf(s.scaleStepMultiplier);
    page.texts = {{36, TitleY(0), "Choix de l'échelle :"_w1252},
                  {10, RowY(24.6), "Numérateur :"_w1252},
                  {10, RowY(25.8), "Dénominateur :"_w1252}};
    page.controls.push_back(StoreCells(0, settings::GroupField::Scale,
                                       "L'échelle sélectionnée sera placée dans le groupe de "
                                       "préférences "_w1252));
    std::vector<std::string> labels;
    for (const Scale& scale : kScales) {
        labels.push_back(scale.denominator == 1 ? "Echelle " + std::to_string(scale.numerator)
                                                : "Echelle 1/" + std::to_string(scale.denominator));
    }
    page.controls.push_back(Choice(
        36, 131, Rows(0, 23), std::move(labels),
        [] {
            const DimensionSettings& live = Settings();
            for (int k = 0; k < static_cast<int>(std::size(kScales)); ++k) {
                if (live.scaleNumerator == kScales[k].numerator &&
                    live.scaleDenominator == kScales[k].denominator) {
                    return k;
                }
            }
            return -1;
        },
        [](int k) {
            settings::SetScale(Settings(), kScales[k].numerator, kScales[k].denominator);
        }));
    const auto stepper = [&steps](double top, double bottom, double DimensionSettings::*field) {
        Control control = Stepper(
            {107, 141, top, bottom}, {158, 192, top, bottom},
            [field] { return PanelNumber(Settings().*field, 0); },
            [field](int direction, const PanelKeys& keys) {
                DimensionSettings& live = Settings();
                const ScaleSteps& now = StepsOf(live.scaleStepMultiplier);
                double value = live.*field;
                value = Stepped(value, StepOf(now, keys), direction, 1, settings::kMaxScale);
                if (field == &DimensionSettings::scaleNumerator) {
                    settings::SetScale(live, value, live.scaleDenominator);
                } else {
                    settings::SetScale(live, live.scaleNumerator, value);
                }
            });
        control.hints = {steps.hint};
        return control;
    };
    page.controls.push_back(stepper(23.6, 24.6, &DimensionSettings::scaleNumerator));
    page.controls.push_back(stepper(24.6, 25.8, &DimensionSettings::scaleDenominator));
    const auto multiplier = [](double top, double bottom, const char* label, std::int32_t bit) {
        return CheckBox(
            {198, 247, top, bottom}, label,
            [bit] { return (Settings().scaleStepMultiplier & bit) != 0; },
            [bit] { Settings().scaleStepMultiplier ^= bit; });
    };
    page.controls.push_back(multiplier(23.6, 24.6, "x10", kTimes10));
    page.controls.push_back(multiplier(24.6, 25.8, "x100", kTimes100));
    FitBox(page);
    return page;
}

}  // namespace ui
