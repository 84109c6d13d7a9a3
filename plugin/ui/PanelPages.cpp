#include "plugin/ui/PanelPages.h"

#include <utility>
#include <vector>

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

void DrawArrowSample(PanelDrawer& drawer, const drawing::ArrowTemplate& shape, double x, double y,
                     double scale) {
    const auto at = [&](AIRealPoint p) {
        return AIRealPoint{static_cast<AIReal>(x + scale * p.h),
                           static_cast<AIReal>(y - scale * p.v)};
    };
    std::vector<AIRealPoint> points;
    for (int k = 0; k < shape.segmentCount; ++k) {
        const AIPathSegment& from = shape.segments[static_cast<std::size_t>(k)];
        if (k == 0) {
            points.push_back(at(from.p));
        }
        const bool last = k + 1 == shape.segmentCount;
        if (last && !shape.closed) {
            break;
        }
        const AIPathSegment& to = shape.segments[static_cast<std::size_t>(last ? 0 : k + 1)];
        points.push_back(at(from.out));
        points.push_back(at(to.in));
        points.push_back(at(to.p));
    }
    if (!shape.stroked && shape.closed) {
        drawer.FillBezier(points);
    }
    drawer.BezierOutline(points, false);
}

}  // namespace ui
