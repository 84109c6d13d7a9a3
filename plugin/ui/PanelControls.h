// The controls of the settings panel's pages and what they share: regions measured in
// pixels to the right of the panel's origin and in rows of 18 pixels below it (open: a point
// on a border hits nothing), hints, clicks and drawing. Pages are lists of controls.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plugin/settings/PreferenceGroups.h"
#include "plugin/ui/PanelDrawer.h"

namespace ui {

// The height of a row of the panel, pixels.
constexpr double kRowPixels = 18.0;

// A point of the panel: pixels to the right of the origin, rows below it.
struct PanelPoint {
    double dx = 0;
    double rows = 0;
};

// The keys of a click on the panel.
struct PanelKeys {
    bool alt = false;
    bool shift = false;
};

// An open rectangle of the panel: from `left` to `right` pixels, from row `top` to `bottom`.
struct Region {
    double left = 0;
    double right = 0;
    double top = 0;
    double bottom = 0;

    bool Contains(const PanelPoint& p) const {
        return p.dx > left && p.dx < right && p.rows > top && p.rows < bottom;
    }
    double TopPixels() const { return top * kRowPixels; }
    double BottomPixels() const { return bottom * kRowPixels; }
};

// One control of a page.
struct Control {
    // Where a click hits it; the index of the region hit is passed to `click`.
    std::vector<Region> regions;
    // The hint shown while the cursor is over it: one per region, or one for all
    // (Windows-1252; a carriage return starts a second line).
    std::vector<std::string> hints;
    // A control switched off does nothing and is drawn faint.
    std::function<bool()> enabled;
    std::function<void(int region, const PanelKeys& keys)> click;
    std::function<void(PanelDrawer& drawer, bool enabled)> draw;

    bool Enabled() const { return !enabled || enabled(); }
    // The region of the control under `p`, if any.
    std::optional<int> RegionAt(const PanelPoint& p) const;
    // The hint of region `index` ("" when none).
    std::string HintOf(int index) const;
};

// A text of a page that belongs to no control: a title, a label, a state.
struct PageText {
    double x = 0;
    double y = 0;  // the baseline, pixels below the origin
    std::string text;
    double opacity = 1;
};

// A page of the panel: its background rectangle (pixels from the origin), its controls and
// texts, and what else it draws.
struct Page {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    std::vector<Control> controls;
    std::vector<PageText> texts;
    std::function<void(PanelDrawer& drawer)> extra;
};

// The rows of a list: `count` rows of one row each from `firstRow`.
std::vector<double> Rows(double firstRow, int count);

// A list of `labels` whose row boundaries are `bounds` (one more than the labels), between
// `left` and `right`; the row of `current` is marked; a click on row k calls `choose(k)`.
// `rowEnabled`, when given, tells which rows act.
Control Choice(double left, double right, std::vector<double> bounds,
               std::vector<std::string> labels, std::function<int()> current,
               std::function<void(int)> choose, std::function<bool(int)> rowEnabled = nullptr);

// The four group cells from `firstRow` between `left` and `right`, with the hints of the four
// groups; a click on the cell of group k calls `choose(k)`; the cell of `marked` shows a dot.
Control GroupCells(double left, double right, double firstRow, std::vector<std::string> hints,
                   std::function<std::optional<int>()> marked, std::function<void(int)> choose);

// The group cells of a page that stores `field`: hints `hintStart` + "1." to "4.".
Control StoreCells(double firstRow, settings::GroupField field, const std::string& hintStart);

// A check box over `region` with `label` beside it; each click inverts `value`.
Control CheckBox(Region region, std::string label, std::function<bool()> value,
                 std::function<void()> invert);

// A stepper: `minus` and `plus` regions with the value text between them; a click calls
// `step(+1 or −1, keys)`.
Control Stepper(Region minus, Region plus, std::function<std::string()> value,
                std::function<void(int direction, const PanelKeys& keys)> step);

// A button over `region` showing `label`; a click calls `press`.
Control Button(Region region, std::string label, std::function<void()> press);

// The smallest rectangle around the page's controls and texts, with a margin, and room
// below for the hints.
void FitBox(Page& page);

// `value` after one step of `step` in `direction` (+1 or −1), kept from `least` up to
// `most`. A result is rounded to a millionth, so that steps of a tenth add up exactly.
double Stepped(double value, double step, int direction, double least, double most);

// `value` first moved to a whole multiple of `step` (up with `roundUp`, down without), then
// one step in `direction`: the snap stepper's Shift step.
double SnappedStep(double value, double step, int direction, bool roundUp);

// The number as the panel writes it: `decimals` decimals at most, the separators of the
// settings (Windows-1252).
std::string PanelNumber(double value, int decimals);

}  // namespace ui
