#include "plugin/ui/PanelDrawer.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"

namespace ui {
namespace {

// How far the small font reaches above and below its baseline, pixels, rounded up, and the
// room a text keeps on either side.
constexpr double kTextAbove = 9;
constexpr double kTextBelow = 3;
constexpr double kTextSide = 6;
// The steps of a cubic piece when it is filled.
constexpr int kFillSteps = 12;

AIRealPoint CubicAt(const AIRealPoint& p0, const AIRealPoint& p1, const AIRealPoint& p2,
                    const AIRealPoint& p3, double t) {
    const double u = 1 - t;
    const double a = u * u * u;
    const double b = 3 * u * u * t;
    const double c = 3 * u * t * t;
    const double d = t * t * t;
    return {static_cast<AIReal>(a * p0.h + b * p1.h + c * p2.h + d * p3.h),
            static_cast<AIReal>(a * p0.v + b * p1.v + c * p2.v + d * p3.v)};
}

}  // namespace

PanelDrawer::PanelDrawer(AIAnnotatorDrawer* drawer, AIPoint origin)
    : drawer_(drawer), origin_(origin) {}

AIPoint PanelDrawer::At(double x, double y) const {
    return {origin_.h + static_cast<ASInt32>(std::lround(x)),
            origin_.v + static_cast<ASInt32>(std::lround(y))};
}

void PanelDrawer::Keep(ASErr error) {
    if (error != 0) {
        error_ = error;
    }
}

void PanelDrawer::Cover(double left, double top, double right, double bottom, double margin) {
    const PanelRect r{std::min(left, right) - margin, std::min(top, bottom) - margin,
                      std::max(left, right) + margin, std::max(top, bottom) + margin};
    if (!measured_) {
        measured_ = r;
        return;
    }
    measured_->left = std::min(measured_->left, r.left);
    measured_->top = std::min(measured_->top, r.top);
    measured_->right = std::max(measured_->right, r.right);
    measured_->bottom = std::max(measured_->bottom, r.bottom);
}

void PanelDrawer::CoverPoints(const std::vector<AIRealPoint>& points) {
    for (const AIRealPoint& p : points) {
        Cover(p.h, p.v, p.h, p.v, lineWidth_ / 2);
    }
}

void PanelDrawer::BeginMeasure() {
    measuring_ = true;
    measured_.reset();
}

std::optional<PanelRect> PanelDrawer::EndMeasure() {
    measuring_ = false;
    return std::exchange(measured_, std::nullopt);
}

void PanelDrawer::Color(const AIRGBColor& color) {
    if (!measuring_) {
        Keep(sAIAnnotatorDrawer->SetColor(drawer_, &color));
    }
}

void PanelDrawer::Opacity(double opacity) {
    if (!measuring_) {
        Keep(sAIAnnotatorDrawer->SetOpacity(drawer_, static_cast<AIReal>(opacity)));
    }
}

void PanelDrawer::LineWidth(double width) {
    lineWidth_ = width;
    if (!measuring_) {
        Keep(sAIAnnotatorDrawer->SetLineWidth(drawer_, static_cast<AIReal>(width)));
    }
}

void PanelDrawer::Font(ASInt32 preset) {
    Keep(sAIAnnotatorDrawer->SetFontPreset(drawer_, preset));
}

void PanelDrawer::Text(double x, double y, const std::string& text) {
    if (measuring_) {
        // The width comes in whole pixels: one more keeps the rounding inside.
        Cover(x - kTextSide, y - kTextAbove, x + TextWidth(text) + 1 + kTextSide, y + kTextBelow,
              0);
        return;
    }
    const AIPoint at = At(x, y);
    Keep(sAIAnnotatorDrawer->DrawText(drawer_, text::ToHostUnicode(text).c_str(), &at));
}

double PanelDrawer::TextWidth(const std::string& text) {
    ASInt32 width = 0;
    Keep(sAIAnnotatorDrawer->GetTextWidth(drawer_, text::ToHostUnicode(text).c_str(), &width));
    return width;
}

void PanelDrawer::Line(double x1, double y1, double x2, double y2) {
    if (measuring_) {
        Cover(x1, y1, x2, y2, lineWidth_ / 2);
        return;
    }
    const AIPoint a = At(x1, y1);
    const AIPoint b = At(x2, y2);
    Keep(sAIAnnotatorDrawer->DrawLine(drawer_, &a, &b));
}

void PanelDrawer::Rect(double left, double top, double right, double bottom, bool fill) {
    if (measuring_) {
        Cover(left, top, right, bottom, fill ? 0 : lineWidth_ / 2);
        return;
    }
    const AIPoint a = At(left, top);
    const AIPoint b = At(right, bottom);
    const AIRect rect{a.h, a.v, b.h, b.v};
    Keep(sAIAnnotatorDrawer->DrawRect(drawer_, &rect, fill));
}

void PanelDrawer::Ellipse(double left, double top, double right, double bottom, bool fill) {
    if (measuring_) {
        Cover(left, top, right, bottom, fill ? 0 : lineWidth_ / 2);
        return;
    }
    const AIPoint a = At(left, top);
    const AIPoint b = At(right, bottom);
    const AIRect rect{a.h, a.v, b.h, b.v};
    Keep(sAIAnnotatorDrawer->DrawEllipse(drawer_, &rect, fill));
}

void PanelDrawer::Polyline(const std::vector<AIRealPoint>& points) {
    if (measuring_) {
        CoverPoints(points);
        return;
    }
    std::vector<AIPoint> view;
    for (const AIRealPoint& p : points) {
        view.push_back(At(p.h, p.v));
    }
    Keep(sAIAnnotatorDrawer->DrawPolyLine(drawer_, view.data(), static_cast<ASInt32>(view.size())));
}

void PanelDrawer::BezierOutline(const std::vector<AIRealPoint>& points, bool closed) {
    if (measuring_) {
        // A piece lies within the hull of its anchors and handles.
        CoverPoints(points);
        return;
    }
    std::vector<AIRealPoint> view;
    for (const AIRealPoint& p : points) {
        view.push_back(
            {static_cast<AIReal>(origin_.h + p.h), static_cast<AIReal>(origin_.v + p.v)});
    }
    Keep(sAIAnnotatorDrawer->DrawBezierOutline(drawer_, view.data(),
                                               static_cast<ASInt32>(view.size()), closed));
}

void PanelDrawer::FillBezier(const std::vector<AIRealPoint>& points) {
    if (points.size() < 4) {
        return;
    }
    // The outline as a polygon: each piece in short straight steps, closed back.
    std::vector<AIRealPoint> polygon = {points.front()};
    for (std::size_t k = 0; k + 3 < points.size(); k += 3) {
        for (int step = 1; step <= kFillSteps; ++step) {
            polygon.push_back(CubicAt(points[k], points[k + 1], points[k + 2], points[k + 3],
                                      static_cast<double>(step) / kFillSteps));
        }
    }
    double top = polygon.front().v;
    double bottom = top;
    for (const AIRealPoint& p : polygon) {
        top = std::min(top, static_cast<double>(p.v));
        bottom = std::max(bottom, static_cast<double>(p.v));
    }
    const double width = lineWidth_;
    LineWidth(1);
    // Each pixel row through the middle of its height: the polygon's crossings, in pairs.
    for (double y = std::floor(top) + 0.5; y < bottom; y += 1) {
        std::vector<double> crossings;
        for (std::size_t k = 0; k < polygon.size(); ++k) {
            const AIRealPoint& a = polygon[k];
            const AIRealPoint& b = polygon[(k + 1) % polygon.size()];
            if ((a.v <= y) != (b.v <= y)) {
                crossings.push_back(a.h + (y - a.v) * (b.h - a.h) / (b.v - a.v));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            Line(crossings[k], y, crossings[k + 1], y);
        }
    }
    LineWidth(width);
}

}  // namespace ui
