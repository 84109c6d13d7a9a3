#include "plugin/ui/PanelDrawer.h"

#include <cmath>

#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"

namespace ui {

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

void PanelDrawer::Color(const AIRGBColor& color) {
    Keep(sAIAnnotatorDrawer->SetColor(drawer_, &color));
}

void PanelDrawer::Opacity(double opacity) {
    Keep(sAIAnnotatorDrawer->SetOpacity(drawer_, static_cast<AIReal>(opacity)));
}

void PanelDrawer::LineWidth(double width) {
    Keep(sAIAnnotatorDrawer->SetLineWidth(drawer_, static_cast<AIReal>(width)));
}

void PanelDrawer::Font(ASInt32 preset) {
    Keep(sAIAnnotatorDrawer->SetFontPreset(drawer_, preset));
}

void PanelDrawer::Text(double x, double y, const std::string& text) {
    const AIPoint at = At(x, y);
    Keep(sAIAnnotatorDrawer->DrawText(drawer_, text::ToHostUnicode(text).c_str(), &at));
}

double PanelDrawer::TextWidth(const std::string& text) {
    ASInt32 width = 0;
    Keep(sAIAnnotatorDrawer->GetTextWidth(drawer_, text::ToHostUnicode(text).c_str(), &width));
    return width;
}

void PanelDrawer::Line(double x1, double y1, double x2, double y2) {
    const AIPoint a = At(x1, y1);
    const AIPoint b = At(x2, y2);
    Keep(sAIAnnotatorDrawer->DrawLine(drawer_, &a, &b));
}

void PanelDrawer::Rect(double left, double top, double right, double bottom, bool fill) {
    const AIPoint a = At(left, top);
    const AIPoint b = At(right, bottom);
    const AIRect rect{a.h, a.v, b.h, b.v};
    Keep(sAIAnnotatorDrawer->DrawRect(drawer_, &rect, fill));
}

void PanelDrawer::Ellipse(double left, double top, double right, double bottom, bool fill) {
    const AIPoint a = At(left, top);
    const AIPoint b = At(right, bottom);
    const AIRect rect{a.h, a.v, b.h, b.v};
    Keep(sAIAnnotatorDrawer->DrawEllipse(drawer_, &rect, fill));
}

void PanelDrawer::Polyline(const std::vector<AIRealPoint>& points) {
    std::vector<AIPoint> view;
    for (const AIRealPoint& p : points) {
        view.push_back(At(p.h, p.v));
    }
    Keep(sAIAnnotatorDrawer->DrawPolyLine(drawer_, view.data(), static_cast<ASInt32>(view.size())));
}

void PanelDrawer::BezierOutline(const std::vector<AIRealPoint>& points, bool closed) {
    std::vector<AIRealPoint> view;
    for (const AIRealPoint& p : points) {
        view.push_back(
            {static_cast<AIReal>(origin_.h + p.h), static_cast<AIReal>(origin_.v + p.v)});
    }
    Keep(sAIAnnotatorDrawer->DrawBezierOutline(drawer_, view.data(),
                                               static_cast<ASInt32>(view.size()), closed));
}

}  // namespace ui
