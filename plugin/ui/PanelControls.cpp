#include "plugin/ui/PanelControls.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "plugin/hostaccess/Suites.h"
#include "plugin/measure/NumberFormat.h"
#include "plugin/settings/DimensionSettings.h"

namespace ui {
namespace {

// Where a row's text stands: its baseline this far above the row's bottom, and this far
// right of the row's left edge.
constexpr double kBaselineRaise = 5;
constexpr double kTextIndent = 6;
// The opacity of a control that cannot act.
constexpr double kFaint = 0.1;
// The group cells: the frame's size and the cells' circles.
constexpr double kCellsWidth = 19;
constexpr double kCellsHeight = 73;
constexpr double kCellDiameter = 14;
constexpr double kMarkDiameter = 8;
// A stepper's strokes and a check box.
constexpr double kStrokeHalf = 6;
// The least room between a stepper's value and each of its buttons.
constexpr double kValueRoom = 4;
// A stepper's value: its baseline below the middle of its strokes.
constexpr double kValueBelowStrokes = 4;
constexpr double kBoxSide = 14;

double Middle(double top, double bottom) {
    return (top + bottom) / 2 * kRowPixels;
}

}  // namespace

std::optional<int> Control::RegionAt(const PanelPoint& p) const {
    for (std::size_t k = 0; k < regions.size(); ++k) {
        if (regions[k].Contains(p)) {
            return static_cast<int>(k);
        }
    }
    return std::nullopt;
}

std::string Control::HintOf(int index) const {
    if (hints.empty()) {
        return {};
    }
    return hints.size() == 1 ? hints.front() : hints.at(static_cast<std::size_t>(index));
}

std::vector<double> Rows(double firstRow, int count) {
    std::vector<double> bounds;
    for (int k = 0; k <= count; ++k) {
        bounds.push_back(firstRow + k);
    }
    return bounds;
}

Control Choice(double left, double right, std::vector<double> bounds,
               std::vector<std::string> labels, std::function<int()> current,
               std::function<void(int)> choose, std::function<bool(int)> rowEnabled) {
    Control control;
    for (std::size_t k = 0; k + 1 < bounds.size(); ++k) {
        control.regions.push_back({left, right, bounds[k], bounds[k + 1]});
    }
    control.click = [choose, rowEnabled](int row, const PanelKeys&) {
        if (!rowEnabled || rowEnabled(row)) {
            choose(row);
        }
    };
    control.draw = [left, bounds, labels = std::move(labels), current, rowEnabled](
                       PanelDrawer& drawer, bool enabled) {
        const int chosen = current ? current() : -1;
        for (std::size_t k = 0; k < labels.size() && k + 1 < bounds.size(); ++k) {
            const bool acts = enabled && (!rowEnabled || rowEnabled(static_cast<int>(k)));
            drawer.Opacity(acts ? 1.0 : kFaint);
            drawer.Text(left + kTextIndent, bounds[k + 1] * kRowPixels - kBaselineRaise, labels[k]);
            if (static_cast<int>(k) == chosen) {
                const double y = Middle(bounds[k], bounds[k + 1]);
                drawer.LineWidth(3);
                drawer.Line(left - 12, y, left - 2, y);
                drawer.LineWidth(1);
            }
        }
        drawer.Opacity(1);
    };
    return control;
}

Control GroupCells(double left, double right, double firstRow, std::vector<std::string> hints,
                   std::function<std::optional<int>()> marked, std::function<void(int)> choose) {
    Control control;
    for (int k = 0; k < settings::kGroupCount; ++k) {
        control.regions.push_back({left, right, firstRow + k, firstRow + k + 1});
    }
    control.hints = std::move(hints);
    control.click = [choose](int group, const PanelKeys&) { choose(group); };
    control.draw = [left, firstRow, marked](PanelDrawer& drawer, bool) {
        const double top = firstRow * kRowPixels;
        drawer.Opacity(kFaint);
        drawer.Rect(left, top, left + kCellsWidth, top + kCellsHeight, true);
        drawer.Opacity(1);
        drawer.Rect(left, top, left + kCellsWidth, top + kCellsHeight, false);
        const double x = left + kCellsWidth / 2;
        const std::optional<int> group = marked ? marked() : std::nullopt;
        drawer.LineWidth(2);
        for (int k = 0; k < settings::kGroupCount; ++k) {
            const double y = top + (k + 0.5) * kRowPixels;
            drawer.Ellipse(x - kCellDiameter / 2, y - kCellDiameter / 2, x + kCellDiameter / 2,
                           y + kCellDiameter / 2, false);
            if (group == k) {
                drawer.Ellipse(x - kMarkDiameter / 2, y - kMarkDiameter / 2, x + kMarkDiameter / 2,
                               y + kMarkDiameter / 2, true);
            }
        }
        drawer.LineWidth(1);
    };
    return control;
}

Control StoreCells(double firstRow, settings::GroupField field, const std::string& hintStart) {
    std::vector<std::string> hints;
    for (int k = 1; k <= settings::kGroupCount; ++k) {
        hints.push_back(hintStart + std::to_string(k) + ".");
    }
    return GroupCells(
        3, 22, firstRow, std::move(hints), [field] { return settings::StoredGroupMarker(field); },
        [field](int group) { settings::StoreInGroup(settings::Settings(), field, group); });
}

Control CheckBox(Region region, std::string label, std::function<bool()> value,
                 std::function<void()> invert) {
    Control control;
    control.regions = {region};
    control.click = [invert](int, const PanelKeys&) { invert(); };
    control.draw = [region, label = std::move(label), value](PanelDrawer& drawer, bool enabled) {
        drawer.Opacity(enabled ? 1.0 : kFaint);
        const double x = region.left + 2;
        const double y = Middle(region.top, region.bottom) - kBoxSide / 2;
        drawer.LineWidth(2);
        drawer.Rect(x, y, x + kBoxSide, y + kBoxSide, false);
        if (value()) {
            drawer.Polyline({{static_cast<AIReal>(x + 3), static_cast<AIReal>(y + 7)},
                             {static_cast<AIReal>(x + 6), static_cast<AIReal>(y + 11)},
                             {static_cast<AIReal>(x + 13), static_cast<AIReal>(y - 4)}});
        }
        drawer.LineWidth(1);
        drawer.Text(x + kBoxSide + kTextIndent, y + kBoxSide - 2, label);
        drawer.Opacity(1);
    };
    return control;
}

namespace {

// Whether a click on the button of `direction`, with any of the keys, would change the value
// shown. The click is tried on the live settings, which are then put back as they were.
bool StepActs(const std::function<void(int, const PanelKeys&)>& step,
              const std::function<std::string()>& value, int direction) {
    settings::DimensionSettings& live = settings::Settings();
    const settings::DimensionSettings saved = live;
    const std::string shown = value();
    bool acts = false;
    for (const PanelKeys keys : {PanelKeys{}, PanelKeys{true, false}, PanelKeys{false, true}}) {
        step(direction, keys);
        acts = acts || value() != shown;
        live = saved;
    }
    return acts;
}

}  // namespace

Control Stepper(Region minus, Region plus, std::function<std::string()> value,
                std::function<void(int direction, const PanelKeys& keys)> step) {
    Control control;
    control.regions = {minus, plus};
    control.click = [step](int region, const PanelKeys& keys) { step(region == 0 ? -1 : 1, keys); };
    control.draw = [minus, plus, value, step](PanelDrawer& drawer, bool enabled) {
        const std::string text = value();
        const double width = drawer.TextWidth(text);
        // The strokes stand in the middle of their regions, 50 pixels apart; a value too
        // wide for the room between them moves them apart, as far as their regions' outer
        // edges.
        double m = (minus.left + minus.right) / 2;
        double p = (plus.left + plus.right) / 2;
        const double wanted = width + 2 * kValueRoom - (p - m - 2 * kStrokeHalf);
        if (wanted > 0) {
            m = std::max(m - wanted / 2, minus.left + kStrokeHalf);
            const double still = width + 2 * kValueRoom - (p - m - 2 * kStrokeHalf);
            p = std::min(p + std::max(still, 0.0), plus.right - kStrokeHalf);
        }
        const double y = Middle(minus.top, minus.bottom);
        drawer.LineWidth(3);
        drawer.Opacity(enabled && StepActs(step, value, -1) ? 1.0 : kFaint);
        drawer.Line(m - kStrokeHalf, y, m + kStrokeHalf, y);
        drawer.Opacity(enabled && StepActs(step, value, 1) ? 1.0 : kFaint);
        drawer.Line(p - kStrokeHalf, y, p + kStrokeHalf, y);
        drawer.Line(p, y - kStrokeHalf, p, y + kStrokeHalf);
        drawer.LineWidth(1);
        drawer.Opacity(1);
        // The value's digits stand level with the strokes, whatever the row's height.
        drawer.Text((m + p - width) / 2, y + kValueBelowStrokes, text);
    };
    return control;
}

Control Button(Region region, std::string label, std::function<void()> press) {
    Control control;
    control.regions = {region};
    control.click = [press](int, const PanelKeys&) { press(); };
    control.draw = [region, label = std::move(label)](PanelDrawer& drawer, bool enabled) {
        drawer.Opacity(enabled ? 1.0 : kFaint);
        drawer.Text(region.left + kTextIndent, region.BottomPixels() - kBaselineRaise, label);
        drawer.Opacity(1);
    };
    return control;
}

void FitBox(Page& page) {
    // Margins around what the page holds, and the room of the hint line below.
    constexpr double kMargin = 10;
    constexpr double kHintRoom = 28;
    constexpr double kTextRoom = 14;
    double left = 0;
    double right = 0;
    double top = 0;
    double bottom = 0;
    for (const Control& control : page.controls) {
        for (const Region& r : control.regions) {
            left = std::min(left, r.left);
            right = std::max(right, r.right);
            top = std::min(top, r.TopPixels());
            bottom = std::max(bottom, r.BottomPixels());
        }
    }
    for (const PageText& text : page.texts) {
        left = std::min(left, text.x);
        top = std::min(top, text.y - kTextRoom);
        bottom = std::max(bottom, text.y);
    }
    page.left = left - kMargin;
    page.top = top - kMargin;
    page.right = right + kMargin;
    page.bottom = bottom + kHintRoom;
}

double Stepped(double value, double step, int direction, double least, double most) {
    constexpr double kMillionth = 1e6;
    const double next = std::round((value + direction * step) * kMillionth) / kMillionth;
    return next < least ? least : next > most ? most : next;
}

double SnappedStep(double value, double step, int direction, bool roundUp) {
    const double snapped =
        sAIRealMath->AIRealMultiple(static_cast<AIReal>(value), static_cast<AIReal>(step), roundUp);
    return snapped + direction * step;
}

std::string PanelNumber(double value, int decimals) {
    return measure::FormatMeasureNumber(static_cast<float>(value), decimals, false);
}

}  // namespace ui
