#include "plugin/ui/PanelPages.h"

#include <utility>

namespace ui {

double TitleY(double row) {
    constexpr double kAboveRow = 4;
    return row * kRowPixels - kAboveRow;
}

double RowY(double bottomRow) {
    constexpr double kAboveBottom = 5;
    return bottomRow * kRowPixels - kAboveBottom;
}

double StepFor(const PanelKeys& keys, double plain, double alt, double shift) {
    return keys.shift ? shift : keys.alt ? alt : plain;
}

Control Switch(double left, double right, double top, double split, double bottom,
               std::vector<std::string> labels, std::int32_t settings::DimensionSettings::*field,
               std::int32_t first, std::int32_t second) {
    using settings::Settings;
    return Choice(
        left, right, {top, split, bottom}, std::move(labels),
        [field, first] { return Settings().*field == first ? 0 : 1; },
        [field, first, second](int k) { Settings().*field = k == 0 ? first : second; });
}

}  // namespace ui
