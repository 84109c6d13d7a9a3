// The pages of the settings panel, built afresh from the live settings each time they are
// drawn or clicked: the parameter pages and the five tool pages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/drawing/Arrowheads.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/ui/PanelControls.h"
#include "plugin/ui/PanelState.h"

namespace ui {

// What the pages need of the host: its fonts, counted when the panel opens.
struct PanelFonts {
    std::vector<std::string> names;  // Windows-1252, in the host's order
    std::int32_t pageCount = 0;      // pages of 16 fonts, rounded up
};

// Where a title stands: its baseline just above the row it heads.
double TitleY(double row);
// The baseline of a text whose row ends at `bottomRow`.
double RowY(double bottomRow);
// The step of a stepper for the keys: Shift before Alt, both before the plain step.
double StepFor(const PanelKeys& keys, double plain, double alt, double shift);
// A switch of two rows: the upper sets `field` to `first`, the lower to `second`.
Control Switch(double left, double right, double top, double split, double bottom,
               std::vector<std::string> labels, std::int32_t settings::DimensionSettings::*field,
               std::int32_t first, std::int32_t second);

// The arrowhead `shape` drawn with its tip at (x, y), its body to the right, `scale` pixels
// a point: filled when the dimensions fill it, outlined only when they stroke it.
void DrawArrowSample(PanelDrawer& drawer, const drawing::ArrowTemplate& shape, double x, double y,
                     double scale);

// The number of fonts on a page of the font page.
constexpr int kFontsPerPage = 16;

// The page `page` of the panel.
Page BuildPage(PanelPage page, const PanelFonts& fonts);

// The pages of the measure: unit, double measure, number format, scale.
Page UnitPage();
Page DoubleMeasurePage();
Page NumberFormatPage();
Page ScalePage();
// The pages of the look: arrowheads, line format, font, font size, colours, tolerances,
// sound, layer name.
Page ArrowheadsPage();
Page LineFormatPage();
Page FontPage(const PanelFonts& fonts);
Page FontSizePage();
Page ColorsPage();
Page TolerancesPage();
Page SoundPage();
Page LayerNamePage();
// The tool pages.
Page SegmentToolPage();
Page AngleToolPage();
Page CircleToolPage();
Page BezierToolPage();
Page LengthsAndAreasToolPage();

// The unit names of the unit page, "Micromètres" to "Sans mesure" (Windows-1252).
const std::vector<std::string>& UnitLabels();

// The example number of the number-format page: 34562803.123456 cut (not rounded) to the
// live precision, with the live separators ("34 562 803,1" with the defaults).
std::string NumberFormatExample();

}  // namespace ui
