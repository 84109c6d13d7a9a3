// The pages of the dimensions' look: arrowheads, line format, font, font size, colours,
// tolerances, sound and layer name.
#include <algorithm>
#include <cmath>
#include <string>

#include "plugin/drawing/Arrowheads.h"
#include "plugin/drawing/DimensionStyles.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"
#include "plugin/measure/NumberFormat.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/settings/PreferenceGroups.h"
#include "plugin/ui/PanelPages.h"

namespace ui {
namespace {

using settings::DimensionSettings;
using settings::Settings;

// The custom colour's own process components, when it has some.
AIFourColorStyle ProcessComponents(AICustomColorHandle color) {
    AICustomColor definition{};
    if (sAICustomColor->GetCustomColor(color, &definition) != 0) {
        return {0, 0, 0, 1};
    }
    if (definition.kind == kFourColor) {
        return definition.cmyk;
    }
    const AIThreeColorStyle& rgb = definition.rgb;
    const AIReal black = 1 - std::max({rgb.red, rgb.green, rgb.blue});
    if (black >= 1) {
        return {0, 0, 0, 1};
    }
    return {(1 - rgb.red - black) / (1 - black), (1 - rgb.green - black) / (1 - black),
            (1 - rgb.blue - black) / (1 - black), black};
}

// `color` (grey, process CMYK or a custom colour) as RGB, the way a screen shows it.
AIThreeColorStyle AsRgb(const AIColor& color) {
    const auto fromCmyk = [](const AIFourColorStyle& c) {
        return AIThreeColorStyle{(1 - c.cyan) * (1 - c.black), (1 - c.magenta) * (1 - c.black),
                                 (1 - c.yellow) * (1 - c.black)};
    };
    switch (color.kind) {
        case kGrayColor:
            // The host's grey is an amount of black.
            return {1 - color.gray.gray, 1 - color.gray.gray, 1 - color.gray.gray};
        case kFourColor:
            return fromCmyk(color.cmyk);
        case kThreeColor:
            return color.rgb;
        case kCustomColor:
            return fromCmyk(ProcessComponents(color.custom.color));
        default:
            return {0, 0, 0};
    }
}

// Asks the host's colour picker for the line (or text) colour, opened on the current one as
// RGB; the colour chosen gives the colour model and its components, and new dimensions take
// it at once.
void PickColor(bool lines) {
    const drawing::DimensionStyles& current = drawing::Styles();
    AIColor initial{};
    initial.kind = kThreeColor;
    initial.rgb = AsRgb(lines ? current.solidLine.stroke.color : current.textColor);
    AIColor chosen{};
    AIBoolean cancelled = false;
    if (sAIUser->GetColorFromPicker(&initial, &chosen, &cancelled) != 0 || cancelled) {
        return;
    }
    DimensionSettings& s = Settings();
    std::int32_t& model = lines ? s.strokeColorModel : s.textColorModel;
    double& gray = lines ? s.strokeGray : s.textGray;
    double* rgb[] = {lines ? &s.strokeRed : &s.textRed, lines ? &s.strokeGreen : &s.textGreen,
                     lines ? &s.strokeBlue : &s.textBlue};
    double* cmyk[] = {
        lines ? &s.strokeCyan : &s.textCyan, lines ? &s.strokeMagenta : &s.textMagenta,
        lines ? &s.strokeYellow : &s.textYellow, lines ? &s.strokeBlack : &s.textBlack};
    drawing::DimensionStyles& styles = drawing::Styles();
    AICustomColorHandle& custom = lines ? styles.strokeCustomColor : styles.textCustomColor;
    const auto setCmyk = [&cmyk](const AIFourColorStyle& c) {
        *cmyk[0] = c.cyan;
        *cmyk[1] = c.magenta;
        *cmyk[2] = c.yellow;
        *cmyk[3] = c.black;
    };
    switch (chosen.kind) {
        case kGrayColor:
            model = settings::kGray;
            gray = chosen.gray.gray;
            break;
        case kFourColor:
            model = settings::kCMYK;
            setCmyk(chosen.cmyk);
            break;
        case kThreeColor:
            model = settings::kRGB;
            *rgb[0] = chosen.rgb.red;
            *rgb[1] = chosen.rgb.green;
            *rgb[2] = chosen.rgb.blue;
            break;
        case kCustomColor:
            // The spot colour is used as it is for the rest of the run. The components the
            // user set stay as they were: the file, which knows no spot colours, keeps them.
            model = settings::kCustomColor;
            custom = chosen.custom.color;
            break;
        default:
            model = settings::kRGB;
            *rgb[0] = *rgb[1] = *rgb[2] = 0;
            break;
    }
    drawing::BuildStyles();
}

// A tolerance's controls: its switch, value, sign, step multiplier and offset.
void AddTolerance(Page& page, int which, double toggleTop, double valueTop, double valueBottom,
                  double offsetTop, double offsetBottom) {
    DimensionSettings& s = Settings();
    std::int32_t DimensionSettings::*on =
        which == 1 ? &DimensionSettings::tolerance1On : &DimensionSettings::tolerance2On;
    double DimensionSettings::*value =
        which == 1 ? &DimensionSettings::tolerance1Value : &DimensionSettings::tolerance2Value;
    double DimensionSettings::*offset =
        which == 1 ? &DimensionSettings::tolerance1Offset : &DimensionSettings::tolerance2Offset;
    std::int32_t DimensionSettings::*sign =
        which == 1 ? &DimensionSettings::tolerance1Sign : &DimensionSettings::tolerance2Sign;
    std::int32_t DimensionSettings::*times10 = which == 1
                                                   ? &DimensionSettings::tolerance1StepTimes10
                                                   : &DimensionSettings::tolerance2StepTimes10;
    const std::string number = std::to_string(which);
    const auto enabled = [on] { return Settings().*on != 0; };
    page.controls.push_back(CheckBox({26, 155, toggleTop, toggleTop + (which == 1 ? 1.3 : 1.0)},
                                     "Avec tolérance "_w1252 + number, enabled,
                                     [on] { Settings().*on = Settings().*on != 0 ? 0 : 1; }));
    page.texts.push_back({160, RowY(toggleTop + 1),
                          s.*on != 0 ? "Il y aura un texte de tolérance."_w1252
                                     : "Il n'y aura pas de texte de tolérance."_w1252,
                          0.5});
    page.texts.push_back({28, valueTop * kRowPixels - 3, "Tolérance "_w1252 + number + " :"});
    Control stepper = Stepper(
        {28, 64, valueTop, valueBottom}, {76, 112, valueTop, valueBottom},
        [which] { return measure::ToleranceText(which); },
        [value, times10](int direction, const PanelKeys& keys) {
            DimensionSettings& live = Settings();
            const double scale = live.*times10 != 0 ? 10 : 1;
            live.*value = Stepped(live.*value, scale * StepFor(keys, 0.001, 0.0001, 0.01),
                                  direction, 0, settings::kMaxToleranceValue);
        });
    stepper.enabled = enabled;
    stepper.hints = {s.*times10 != 0 ? "De 0,01 en 0,01 ou de 0,1 en 0,1 avec SHIFT ou de 0,001 "
                                       "en 0,001 avec ALT."
                                     : "De 0,001 en 0,001 ou de 0,01 en 0,01 avec SHIFT ou de "
                                       "0,0001 en 0,0001 avec ALT."};
    page.controls.push_back(stepper);
    Control signs;
    signs.regions = {{116, 136, valueTop, valueBottom},
                     {138, 158, valueTop, valueBottom},
                     {160, 180, valueTop, valueBottom}};
    signs.click = [sign](int k, const PanelKeys&) { Settings().*sign = k; };
    signs.draw = [sign, valueBottom](PanelDrawer& drawer, bool acts) {
        const char* marks[] = {"+", "-", "\xB1"};
        for (int k = 0; k < 3; ++k) {
            drawer.Opacity(acts ? (Settings().*sign == k ? 1.0 : 0.5) : 0.1);
            drawer.Text(120 + 22 * k, valueBottom * kRowPixels - 5, marks[k]);
        }
        drawer.Opacity(1);
    };
    signs.enabled = enabled;
    signs.hints = {"+, - ou ± avant la valeur de la tolérance."_w1252};
    page.controls.push_back(signs);
    Control multiplier = CheckBox(
        {184, 234, valueTop, valueBottom}, "x10", [times10] { return Settings().*times10 != 0; },
        [times10] { Settings().*times10 = Settings().*times10 != 0 ? 0 : 1; });
    multiplier.hints = {"Multiplie par 10 l'effet des touches + et -."};
    page.controls.push_back(multiplier);
    page.texts.push_back(
        {28, offsetTop * kRowPixels - 3, "Décalage tolérance "_w1252 + number + " :"});
    Control shift = Stepper(
        {28, 64, offsetTop, offsetBottom}, {76, 112, offsetTop, offsetBottom},
        [offset] { return PanelNumber(Settings().*offset, 2); },
        [offset](int direction, const PanelKeys& keys) {
            DimensionSettings& live = Settings();
            live.*offset = Stepped(live.*offset, StepFor(keys, 0.1, 0.01, 1), direction,
                                   -settings::kMaxOffset, settings::kMaxOffset);
        });
    shift.enabled = enabled;
    shift.hints = {"De 1 en 1 avec Shift, de 0.01 en 0.01 avec ALT."};
    page.controls.push_back(shift);
}

// The keys of the layer-name keyboard, by row: the first key of the row and the others.
struct Key {
    double left;
    double right;
    std::string text;  // appended; empty for the row's own key
};

std::vector<Key> KeyboardRow(int row) {
    static const char* const kLetters[] = {"AZERTYUIOPQSD", "FGHJKLMWXCVBN"};
    constexpr double kFirst = 18;
    constexpr double kPitch = 24;
    constexpr double kWidth = 20;
    std::vector<Key> keys = {{-6, 16, row == 2 ? "-" : ""}};
    if (row < 2) {
        for (int k = 0; k < 13; ++k) {
            keys.push_back({kFirst + kPitch * k, kFirst + kPitch * k + kWidth,
                            std::string(1, kLetters[row][k])});
        }
        return keys;
    }
    for (int k = 0; k < 5; ++k) {
        keys.push_back({kFirst + kPitch * k, kFirst + kPitch * k + kWidth, std::to_string(k)});
    }
    keys.push_back({138, 210, " "});
    for (int k = 0; k < 5; ++k) {
        keys.push_back({210 + kPitch * k, 210 + kPitch * k + kWidth, std::to_string(5 + k)});
    }
    return keys;
}

}  // namespace

Page ArrowheadsPage() {
    Page page;
    const DimensionSettings& s = Settings();
    page.texts = {{36, TitleY(0), "Choix de la forme des pointes :"},
                  {36, TitleY(8.4), "Choix de la taille des pointes :"}};
    page.controls.push_back(StoreCells(0, settings::GroupField::ArrowShape,
                                       "La forme sélectionnée sera placée dans le groupe de "
                                       "préférences "_w1252));
    page.controls.push_back(Choice(
        36, 84, Rows(0, 7), {"1", "2", "3", "4", "5", "6", "7"},
        [] { return Settings().arrowShape; }, [](int k) { Settings().arrowShape = k; }));
    page.controls.push_back(StoreCells(8.4, settings::GroupField::ArrowSize,
                                       "La taille sélectionnée sera placée dans le groupe de "
                                       "préférences "_w1252));
    static const double kSizes[] = {0, 25, 50, 75, 100, 125, 150, 200, 250, 300};
    std::vector<std::string> sizes;
    for (double size : kSizes) {
        sizes.push_back(PanelNumber(size, 0) + " %");
    }
    page.controls.push_back(Choice(
        38, 116, Rows(8.4, 10), std::move(sizes),
        [] {
            const auto it = std::find(std::begin(kSizes), std::end(kSizes), Settings().arrowSize);
            return it == std::end(kSizes) ? -1 : static_cast<int>(it - std::begin(kSizes));
        },
        [](int k) { Settings().arrowSize = kSizes[k]; }));
    Control size = Stepper(
        {37, 65, 18.4, 19.4}, {88, 116, 18.4, 19.4},
        [] { return PanelNumber(Settings().arrowSize, 0) + " %"; },
        [](int direction, const PanelKeys& keys) {
            double& value = Settings().arrowSize;
            if (keys.shift) {
                value = SnappedStep(value, 50, direction, true);
            } else if (keys.alt) {
                value = Stepped(value, 1, direction, 0, settings::kMaxArrowSize);
            } else {
                value = SnappedStep(value, 5, direction, true);
            }
            value = std::clamp(value, 0.0, settings::kMaxArrowSize);
        });
    size.hints = {"De 50 en 50 avec Shift, de 1 en 1 avec ALT."};
    page.controls.push_back(size);
    // Each shape drawn beside its number, its tip to the left.
    page.extra = [](PanelDrawer& drawer) {
        constexpr double kSampleX = 56;
        constexpr double kSampleScale = 1.6;
        for (std::int32_t shape = 0; shape < 7; ++shape) {
            DrawArrowSample(drawer, drawing::BuildArrowTemplate(shape), kSampleX,
                            (shape + 0.5) * kRowPixels, kSampleScale);
        }
    };
    (void)s;
    page.left = -34;
    page.top = -15;
    page.right = -34 + 274;
    page.bottom = -15 + 382;
    return page;
}

Page LineFormatPage() {
    Page page;
    page.texts = {{36, TitleY(0), "Épaisseur des lignes :"_w1252},
                  {36, TitleY(12), "Type des lignes :"},
                  {37, TitleY(15.2), "Tiret :"},
                  {37, TitleY(17.2), "Espace :"}};
    page.controls.push_back(StoreCells(0, settings::GroupField::StrokeWidth,
                                       "L'épaisseur sélectionnée sera placée dans le groupe de "
                                       "préférences "_w1252));
    static const double kWidths[] = {0.2, 0.5, 0.7, 1, 1.2, 1.5, 1.7, 2, 2.5, 3};
    std::vector<std::string> widths;
    for (double width : kWidths) {
        widths.push_back(PanelNumber(width, 1) + " pt");
    }
    page.controls.push_back(Choice(
        38, 116, Rows(0, 10), std::move(widths),
        [] {
            for (int k = 0; k < 10; ++k) {
                if (std::fabs(Settings().strokeWidth - kWidths[k]) < 1e-9) {
                    return k;
                }
            }
            return -1;
        },
        [](int k) { Settings().strokeWidth = kWidths[k]; }));
    Control width = Stepper(
        {37, 65, 10, 11}, {88, 116, 10, 11},
        [] { return PanelNumber(Settings().strokeWidth, 2) + " pt"; },
        [](int direction, const PanelKeys& keys) {
            double& value = Settings().strokeWidth;
            value = Stepped(value, StepFor(keys, 0.1, 0.01, 1), direction, 0,
                            settings::kMaxStrokeWidth);
        });
    width.hints = {"De 1 en 1 avec Shift, de 0.01 en 0.01 avec ALT."};
    page.controls.push_back(width);
    page.controls.push_back(Switch(36, 112, 12, 13, 14, {"Continu", "Pointillé"_w1252},
                                   &DimensionSettings::dashedLines, 0, 1));
    const auto dash = [](double top, double bottom, double DimensionSettings::*field) {
        Control control = Stepper(
            {37, 65, top, bottom}, {88, 116, top, bottom},
            [field] { return PanelNumber(Settings().*field, 1) + " pt"; },
            [field](int direction, const PanelKeys& keys) {
                double& value = Settings().*field;
                value = Stepped(value, StepFor(keys, 1, 0.1, 2), direction, 0, settings::kMaxDash);
            });
        control.enabled = [] { return Settings().dashedLines != 0; };
        control.hints = {"De 2 en 2 avec Shift, de 0.1 en 0.1 avec ALT."};
        return control;
    };
    page.controls.push_back(dash(15.2, 16.3, &DimensionSettings::dashLength));
    page.controls.push_back(dash(17.2, 18.3, &DimensionSettings::dashGap));
    page.controls.push_back(Switch(36, 112, 18.4, 19.4, 20.4, {"Bout rond", "Bout carré"_w1252},
                                   &DimensionSettings::roundCaps, 1, 0));
    FitBox(page);
    return page;
}

Page FontPage(const PanelFonts& fonts) {
    Page page;
    const DimensionSettings& s = Settings();
    page.texts = {{37, TitleY(0), "Choix de la police :"}};
    const std::int32_t pages = std::max<std::int32_t>(fonts.pageCount, 1);
    const std::int32_t pageNumber = std::clamp(s.fontPage, 1, pages);
    const std::size_t first = static_cast<std::size_t>(pageNumber - 1) * kFontsPerPage;
    std::vector<std::string> names;
    std::size_t longest = 0;
    for (std::size_t k = first; k < fonts.names.size() && k < first + kFontsPerPage; ++k) {
        names.push_back(fonts.names[k]);
        longest = std::max(longest, fonts.names[k].size());
    }
    if (!names.empty()) {
        constexpr double kCharacter = 8;
        const int count = static_cast<int>(names.size());
        page.controls.push_back(Choice(
            37, 37 + kCharacter * static_cast<double>(longest), Rows(0, count), names,
            [names] {
                const auto it = std::find(names.begin(), names.end(), Settings().fontName);
                return it == names.end() ? -1 : static_cast<int>(it - names.begin());
            },
            [names](int k) { Settings().fontName = names[static_cast<std::size_t>(k)]; }));
    }
    Control stepper = Stepper(
        {37, 65, 16, 17}, {88, 116, 16, 17},
        [pages] {
            return std::to_string(std::clamp(Settings().fontPage, 1, pages)) + " / " +
                   std::to_string(pages);
        },
        [pages](int direction, const PanelKeys& keys) {
            std::int32_t& value = Settings().fontPage;
            value = static_cast<std::int32_t>(
                Stepped(std::clamp(value, 1, pages), StepFor(keys, 1, 2, 5), direction, 1, pages));
        });
    stepper.hints = {"Plus vite avec ALT et beaucoup plus vite avec SHIFT-ALT."};
    page.controls.push_back(stepper);
    FitBox(page);
    return page;
}

Page FontSizePage() {
    Page page;
    const DimensionSettings& s = Settings();
    const bool inMm = s.fontSizeInMm != 0;
    page.texts = {{38, TitleY(0), "Choix du corps :"}};
    page.controls.push_back(StoreCells(0, settings::GroupField::FontSize,
                                       "Le corps sélectionné sera placé dans le groupe de "
                                       "préférences "_w1252));
    static const double kPoints[] = {6, 8, 10, 12, 14, 16, 20, 24, 36, 48, 60, 120, 180, 240, 300};
    static const double kMillimetres[] = {2, 3, 4, 5, 6, 7, 8, 10, 14, 18, 22, 26, 40, 60, 80};
    const double* sizes = inMm ? kMillimetres : kPoints;
    const double unit = inMm ? settings::kPointsPerMillimetre : 1.0;
    std::vector<std::string> labels;
    for (int k = 0; k < 15; ++k) {
        labels.push_back(PanelNumber(sizes[k], 0) + (inMm ? " mm" : " pt"));
    }
    Control list = Choice(
        38, 132, Rows(0, 15), std::move(labels),
        [sizes, unit] {
            for (int k = 0; k < 15; ++k) {
                if (std::fabs(Settings().fontSize - sizes[k] * unit) < 1e-6) {
                    return k;
                }
            }
            return -1;
        },
        [sizes, unit](int k) { Settings().fontSize = sizes[k] * unit; });
    for (std::size_t k = 1; k < list.regions.size(); ++k) {
        list.regions[k].right = 181;
    }
    page.controls.push_back(list);
    page.controls.push_back(CheckBox(
        {132, 181, 0, 1}, "mm", [] { return Settings().fontSizeInMm != 0; },
        [] { Settings().fontSizeInMm = Settings().fontSizeInMm ? 0 : 1; }));
    const bool times10 = s.fontSizeStepMultiplier != 0;
    Control stepper = Stepper(
        {37, 65, 15, 16}, {88, 116, 15, 16},
        [unit, inMm] {
            return PanelNumber(Settings().fontSize / unit, 2) + (inMm ? " mm" : " pt");
        },
        [unit](int direction, const PanelKeys& keys) {
            DimensionSettings& live = Settings();
            const double scale = live.fontSizeStepMultiplier != 0 ? 10 : 1;
            // Shift gives one unit, Alt two.
            const double step = scale * StepFor(keys, 0.1, 2, 1) * unit;
            live.fontSize =
                Stepped(live.fontSize, step, direction, 0.1 * unit, settings::kMaxFontSize);
        });
    stepper.hints = {times10 ? "De 10 en 10 avec Shift, de 20 en 20 avec ALT."
                             : "De 1 en 1 avec Shift, de 2 en 2 avec ALT."};
    page.controls.push_back(stepper);
    page.controls.push_back(CheckBox(
        {130, 179, 15, 16}, "x10", [] { return Settings().fontSizeStepMultiplier != 0; },
        [] {
            std::int32_t& m = Settings().fontSizeStepMultiplier;
            m = m != 0 ? 0 : 1;
        }));
    FitBox(page);
    return page;
}

Page ColorsPage() {
    Page page;
    page.texts = {{36, TitleY(0), "Couleurs :"},
                  {36, TitleY(3.2), "Surimpression du fond :"},
                  {36, TitleY(6.8), "Surimpression du contour :"},
                  {36, TitleY(9.9), "Couleurs affichées près du curseur :"_w1252}};
    page.controls.push_back(
        Button({36, 158, 0, 1}, "Couleur des traits.", [] { PickColor(true); }));
    page.controls.push_back(Button({36, 158, 1, 2}, "Couleur du texte.", [] { PickColor(false); }));
    page.controls.push_back(
        Switch(36, 70, 3.2, 4.2, 5.2, {"Oui", "Non"}, &DimensionSettings::overprintFill, 1, 0));
    page.controls.push_back(
        Switch(36, 70, 6.8, 7.8, 8.8, {"Oui", "Non"}, &DimensionSettings::overprintStroke, 1, 0));
    page.controls.push_back(Switch(36, 70, 9.9, 11.0, 12.0, {"Oui", "Non"},
                                   &DimensionSettings::showAnnotationColors, 1, 0));
    FitBox(page);
    page.right = std::max(page.right, 260.0);
    return page;
}

Page TolerancesPage() {
    Page page;
    page.texts = {{26, TitleY(0), "Tolérances :"_w1252}};
    AddTolerance(page, 1, 0, 2.2, 3.2, 4.3, 5.3);
    AddTolerance(page, 2, 5.8, 7.7, 9.0, 9.9, 11.1);
    FitBox(page);
    page.right = std::max(page.right, 400.0);
    return page;
}

Page SoundPage() {
    Page page;
    page.texts = {{36, TitleY(0), "Son :"}};
    page.controls.push_back(
        Switch(36, 70, 0, 1, 2, {"Oui", "Non"}, &DimensionSettings::soundOn, 1, 0));
    FitBox(page);
    return page;
}

Page LayerNamePage() {
    Page page;
    const DimensionSettings& s = Settings();
    page.texts = {{-6, -24, "Choix du nom du calque :"}, {-6, -8, s.layerName, 0.5}};
    for (int row = 0; row < 3; ++row) {
        const std::vector<Key> keys = KeyboardRow(row);
        Control control;
        for (const Key& key : keys) {
            control.regions.push_back(
                {key.left, key.right, static_cast<double>(row), static_cast<double>(row + 1)});
        }
        control.click = [keys, row](int k, const PanelKeys&) {
            DimensionSettings& live = Settings();
            std::string name = live.layerName;
            if (k == 0 && row == 0) {
                if (!name.empty()) {
                    name.pop_back();
                }
            } else if (k == 0 && row == 1) {
                Panel().capitals = !Panel().capitals;
                return;
            } else if (name.size() < settings::kMaxNameLength) {
                // A name longer than the preferences file keeps is refused key by key.
                std::string text = keys[static_cast<std::size_t>(k)].text;
                if (!Panel().capitals && text.size() == 1 && text[0] >= 'A' && text[0] <= 'Z') {
                    text[0] = static_cast<char>(text[0] - 'A' + 'a');
                }
                name += text;
            }
            settings::SetLayerName(live, name);
        };
        control.draw = [keys, row](PanelDrawer& drawer, bool) {
            const double top = row * kRowPixels;
            for (std::size_t k = 0; k < keys.size(); ++k) {
                const Key& key = keys[k];
                // A key that meets the next one (the space bar) is drawn apart from it.
                const double right =
                    k + 1 < keys.size() ? std::min(key.right, keys[k + 1].left - 4) : key.right;
                drawer.Rect(key.left, top + 1, right, top + kRowPixels - 1, false);
                std::string label = key.text;
                if (k == 0 && row == 0) {
                    label = "<";
                } else if (k == 0 && row == 1) {
                    label = Panel().capitals ? "a" : "A";
                } else if (!Panel().capitals && label.size() == 1 && label[0] >= 'A' &&
                           label[0] <= 'Z') {
                    label[0] = static_cast<char>(label[0] - 'A' + 'a');
                }
                drawer.Text(key.left + 5, top + kRowPixels - 5, label);
            }
        };
        page.controls.push_back(control);
    }
    // The keyboard runs from −6 to 326: the page leaves as much room on either side.
    page.left = -14;
    page.top = -38;
    page.right = 326 + 8;
    page.bottom = -38 + 92 + 3 * kRowPixels;
    return page;
}

}  // namespace ui
