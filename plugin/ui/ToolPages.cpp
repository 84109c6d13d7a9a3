// The pages of the five tools' options.
#include <algorithm>
#include <functional>
#include <string>

#include "plugin/hostaccess/Alert.h"
#include "plugin/hostaccess/WindowsText.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/ui/PanelPages.h"

namespace ui {
namespace {

using settings::DimensionSettings;
using settings::Settings;

// A stepper of a real setting in millimetres or points, shown with one decimal and `unit`.
Control RealStepper(double minusLeft, double minusRight, double plusLeft, double plusRight,
                    double top, double bottom, double DimensionSettings::*field,
                    std::function<double(double value, int direction, const PanelKeys&)> next,
                    const char* hint, const char* unit = "") {
    Control control = Stepper(
        {minusLeft, minusRight, top, bottom}, {plusLeft, plusRight, top, bottom},
        [field, unit] { return PanelNumber(Settings().*field, 1) + unit; },
        [field, next](int direction, const PanelKeys& keys) {
            double& value = Settings().*field;
            value = next(value, direction, keys);
        });
    if (hint != nullptr) {
        control.hints = {hint};
    }
    return control;
}

const char* const kFiveByShift = "De 5 en 5 avec Shift, de 0.1 en 0.1 avec ALT.";

}  // namespace

Page SegmentToolPage() {
    Page page;
    page.texts = {{36, TitleY(0), "Type de cote :"},
                  {36, TitleY(5.2), "Choix du texte horizontal :"},
                  {36, TitleY(8.4), "Décalage vertical du texte :"_w1252},
                  {36, TitleY(10.7), "Avec attaches :"},
                  {36, TitleY(13.5), "Décalage des attaches :"_w1252}};
    page.controls.push_back(Choice(
        36, 198, Rows(0, 3), {"Oblique", "Horizontale", "Verticale"},
        [] { return Settings().dimensionType; }, [](int k) { Settings().dimensionType = k; }));
    page.controls.push_back(Choice(
        36, 126, {3, 4}, {"Horiz & Verti"},
        [] { return Settings().dimensionType == settings::kHorizontalAndVertical ? 0 : -1; },
        [](int) { Settings().dimensionType = settings::kHorizontalAndVertical; }));
    Control group = CheckBox(
        {128, 199, 3, 4}, "Groupe", [] { return Settings().groupDimension != 0; },
        [] { Settings().groupDimension = Settings().groupDimension ? 0 : 1; });
    group.enabled = [] { return Settings().dimensionType == settings::kHorizontalAndVertical; };
    group.hints = {
        "Si la case est cochée, c'est le groupe\rauquel le tracé appartient qui est "
        "mesuré."_w1252};
    page.controls.push_back(group);
    page.controls.push_back(
        Switch(36, 70, 5.2, 6.2, 7.2, {"Oui", "Non"}, &DimensionSettings::horizontalText, 1, 0));
    page.controls.push_back(RealStepper(
        37, 65, 88, 116, 8.4, 9.4, &DimensionSettings::textOffset,
        [](double value, int direction, const PanelKeys& keys) {
            return Stepped(value, StepFor(keys, 1, 0.1, 5), direction, -settings::kMaxOffset,
                           settings::kMaxOffset);
        },
        kFiveByShift));
    page.controls.push_back(Switch(36, 70, 10.7, 11.7, 12.7, {"Oui", "Non"},
                                   &DimensionSettings::withExtensionLines, 1, 0));
    Control gap = RealStepper(
        37, 65, 88, 116, 13.5, 15.0, &DimensionSettings::extensionGap,
        [](double value, int direction, const PanelKeys& keys) {
            return Stepped(value, StepFor(keys, 1, 0.1, 5), direction, -settings::kMaxOffset,
                           settings::kMaxOffset);
        },
        kFiveByShift);
    gap.enabled = [] { return Settings().withExtensionLines != 0; };
    page.controls.push_back(gap);
    FitBox(page);
    return page;
}

Page AngleToolPage() {
    Page page;
    page.texts = {{36, TitleY(0), "Type d'arc :"},
                  {36, TitleY(3.4), "Nombre d'arcs :"},
                  {36, TitleY(5.5), "Écart entre les arcs :"_w1252},
                  {36, TitleY(7.8), "Rayon de l'arc :"}};
    page.controls.push_back(Choice(
        36, 116, {0, 1, 2}, {"Normal", "Multiple"},
        [] { return Settings().arcMultiple != 0 ? 1 : 0; },
        [](int k) { settings::SetArcMultiple(Settings(), k == 1); }));
    const auto multiple = [] { return Settings().arcMultiple != 0; };
    Control count = Stepper(
        {36, 70, 3.4, 4.4}, {88, 122, 3.4, 4.4}, [] { return PanelNumber(Settings().arcCount, 0); },
        [](int direction, const PanelKeys&) {
            std::int32_t& value = Settings().arcCount;
            value = static_cast<std::int32_t>(Stepped(value, 1, direction, 2, 1000));
        });
    count.enabled = multiple;
    page.controls.push_back(count);
    Control gap = RealStepper(
        36, 70, 88, 122, 5.5, 6.5, &DimensionSettings::arcGap,
        [](double value, int direction, const PanelKeys&) {
            return Stepped(value, 1, direction, 1, settings::kMaxLength);
        },
        nullptr);
    gap.enabled = multiple;
    page.controls.push_back(gap);
    Control radius = RealStepper(
        36, 66, 88, 122, 7.8, 8.8, &DimensionSettings::arcRadius,
        [](double value, int direction, const PanelKeys& keys) {
            if (keys.shift) {
                return std::clamp(SnappedStep(value, 5, direction, true), 1.0,
                                  settings::kMaxLength);
            }
            return Stepped(value, keys.alt ? 0.1 : 1, direction, 1, settings::kMaxLength);
        },
        kFiveByShift, " mm");
    page.controls.push_back(radius);
    FitBox(page);
    return page;
}

Page CircleToolPage() {
    Page page;
    page.texts = {{35, TitleY(0), "Rayon ou diamètre :"_w1252},
                  {36, TitleY(3.5), "Affichage de R ou Ø :"_w1252},
                  {36, TitleY(9.0), "Avec ou sans rayon :"},
                  {36, TitleY(12.5), "Longueur de l'attache :"}};
    page.controls.push_back(Switch(35, 105, 0, 1, 2, {"Rayon.", "Diamètre."_w1252},
                                   &DimensionSettings::showDiameter, 0, 1));
    page.controls.push_back(
        Switch(36, 70, 3.5, 4.5, 5.5, {"Avec", "Sans"}, &DimensionSettings::radiusPrefixOn, 1, 0));
    Control before = Switch(36, 80, 5.9, 6.9, 7.9, {"Avant", "Après"_w1252},
                            &DimensionSettings::radiusPrefixBefore, 1, 0);
    before.enabled = [] { return Settings().radiusPrefixOn != 0; };
    page.controls.push_back(before);
    page.controls.push_back(Switch(36, 74, 9.0, 10.0, 11.0, {"Avec", "Sans"},
                                   &DimensionSettings::radiusLineDrawn, 1, 0));
    // The leader's shoulder never gets a negative length (a minus on 0.5 once gave 1).
    page.controls.push_back(RealStepper(
        36, 70, 90, 124, 12.5, 13.5, &DimensionSettings::radiusLeaderLength,
        [](double value, int direction, const PanelKeys& keys) {
            return Stepped(value, StepFor(keys, 1, 0.1, 5), direction, 0, settings::kMaxLength);
        },
        kFiveByShift));
    FitBox(page);
    return page;
}

Page BezierToolPage() {
    Page page;
    const DimensionSettings& s = Settings();
    const bool share = s.curveShare != 0;
    page.texts = {
        {36, TitleY(1), "Nombre de divisions :"},
        {36, TitleY(3.3), "Longueur des points :"},
        {36, TitleY(5.5), "Longueur sur la courbe :"},
        {4, 7.5 * kRowPixels,
         share ? "Si Partager est coché, avec l'outil Bézier, il faudra cliquer"_w1252
               : "Si Partager n'est pas coché, il faudra cliquer avec l'outil Bézier"_w1252,
         0.5},
        {4, 8.3 * kRowPixels,
         share ? "sur une courbe ou sur le sommet d'un angle."
               : "sur le premier ou le dernier point d'une courbe ouverte.",
         0.5}};
    page.controls.push_back(CheckBox(
        {4, 120, -1, 4 / kRowPixels}, "Partager", [] { return Settings().curveShare != 0; },
        [] { Settings().curveShare = Settings().curveShare ? 0 : 1; }));
    Control divisions = Stepper(
        {36, 70, 1, 2}, {84, 118, 1, 2}, [] { return PanelNumber(Settings().curveDivisions, 0); },
        [](int direction, const PanelKeys& keys) {
            std::int32_t& value = Settings().curveDivisions;
            value =
                static_cast<std::int32_t>(Stepped(value, keys.shift ? 2 : 1, direction, 2, 1000));
        });
    divisions.enabled = [] { return Settings().curveShare != 0; };
    divisions.hints = {"De 2 en 2 avec Shift."};
    page.controls.push_back(divisions);
    page.controls.push_back(RealStepper(
        36, 70, 84, 118, 3.3, 4.3, &DimensionSettings::curvePointLength,
        [](double value, int direction, const PanelKeys& keys) {
            const double next = keys.shift ? SnappedStep(value, 2, direction, direction < 0)
                                           : Stepped(value, keys.alt ? 0.1 : 1, direction, -1,
                                                     settings::kMaxLength);
            return next < 0 ? 0.1 : std::min(next, settings::kMaxLength);
        },
        "De 2 en 2 avec Shift, de 0.1 en 0.1 avec ALT."));
    Control length = RealStepper(
        36, 70, 84, 118, 5.5, 6.5, &DimensionSettings::curveLengthOnCurve,
        [](double value, int direction, const PanelKeys& keys) {
            const double next =
                keys.shift ? SnappedStep(value, 10, direction, direction < 0)
                           : Stepped(value, keys.alt ? 0.1 : 1, direction, 0, settings::kMaxLength);
            return std::clamp(next, 0.0, settings::kMaxLength);
        },
        "De 10 en 10 avec Shift, de 0.1 en 0.1 avec ALT.");
    length.enabled = [] { return Settings().curveShare == 0; };
    page.controls.push_back(length);
    FitBox(page);
    return page;
}

Page LengthsAndAreasToolPage() {
    Page page;
    struct Box {
        double top;
        std::int32_t DimensionSettings::*field;
        const char* label;
    };
    static const Box kBoxes[] = {
        {-1, &DimensionSettings::areaShowTotalLength, "Longueur totale de la sélection."_w1252},
        {0, &DimensionSettings::areaShowPartialLength, "Longueur de la partie de la courbe."},
        {1, &DimensionSettings::areaShowArea, "Aire totale de la sélection."_w1252},
        {2, &DimensionSettings::areaShowPathCount, "Nombre de tracés de la sélection."_w1252},
        {3, &DimensionSettings::areaShowPointCount, "Nombre de points de la sélection."_w1252},
    };
    for (const Box& box : kBoxes) {
        page.controls.push_back(CheckBox(
            {-8, 254, box.top, box.top + 1}, box.label,
            [field = box.field] { return Settings().*field != 0; },
            [field = box.field] {
                DimensionSettings& s = Settings();
                s.*field = s.*field != 0 ? 0 : 1;
                if (s.areaShowTotalLength == 0 && s.areaShowPartialLength == 0 &&
                    s.areaShowArea == 0 && s.areaShowPathCount == 0 && s.areaShowPointCount == 0) {
                    ShowAlert(
                        "Cochez au moins une case, sinon l'outil Longueurs & Aires "
                        "n'affichera rien."_w1252);
                }
            }));
    }
    FitBox(page);
    return page;
}

}  // namespace ui
