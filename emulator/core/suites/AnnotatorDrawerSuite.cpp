// The annotator drawer suite: what the annotators draw over the view goes into the display
// list of the redraw in progress, each item with the drawer's state at the time.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "emulator/core/SuiteSupport.h"
#include "emulator/core/Unicode.h"
#include "plugin/host/InterfaceSuites.h"

namespace emulator {
namespace {

// The drawing of `drawer`, after the check of Enter; null, with the misuse recorded, when
// `drawer` is not the drawer of the draw in progress.
Host::Drawing* EnterDrawing(AIAnnotatorDrawer* drawer) {
    Host* host = Enter<AIAnnotatorDrawerSuite>();
    if (host == nullptr) {
        return nullptr;
    }
    Host::Drawing* drawing = host->FindDrawing(drawer);
    if (drawing == nullptr) {
        host->RecordViolation(drawer == nullptr ? "null annotator drawer"
                                                : "annotator drawer used outside its draw message");
    }
    return drawing;
}

ViewPoint Pixel(const AIPoint& point) {
    return {static_cast<double>(point.h), static_cast<double>(point.v)};
}

// Adds an item of `kind` through `points` in the drawer's current state.
void Add(Host::Drawing& drawing, DisplayKind kind, std::vector<ViewPoint> points) {
    DisplayItem item;
    item.kind = kind;
    item.style = drawing.style;
    item.points = std::move(points);
    drawing.list->items.push_back(std::move(item));
}

ASErr SetColor(AIAnnotatorDrawer* drawer, const AIRGBColor* color) {
    Host::Drawing* drawing = EnterDrawing(drawer);
    if (drawing == nullptr || color == nullptr) {
        return kBadParameterErr;
    }
    drawing->style.color = *color;
    return 0;
}

ASErr SetOpacity(AIAnnotatorDrawer* drawer, AIReal opacity) {
    Host::Drawing* drawing = EnterDrawing(drawer);
    if (drawing == nullptr || std::isnan(opacity)) {
        return kBadParameterErr;
    }
    drawing->style.opacity = std::clamp(static_cast<double>(opacity), 0.0, 1.0);
    return 0;
}

ASErr SetLineWidth(AIAnnotatorDrawer* drawer, AIReal width) {
    Host::Drawing* drawing = EnterDrawing(drawer);
    if (drawing == nullptr || !std::isfinite(width) || width < 0) {
        return kBadParameterErr;
    }
    drawing->style.lineWidth = width;
    return 0;
}

ASErr SetFontPreset(AIAnnotatorDrawer* drawer, ASInt32 preset) {
    Host::Drawing* drawing = EnterDrawing(drawer);
    if (drawing == nullptr || (preset != kAnnotatorFontSmall && preset != kAnnotatorFontMedium &&
                               preset != kAnnotatorFontLarge)) {
        return kBadParameterErr;
    }
    drawing->style.fontPreset = preset;
    return 0;
}

ASErr DrawText(AIAnnotatorDrawer* drawer, const ASUnicode* text, const AIPoint* point) {
    Host::Drawing* drawing = EnterDrawing(drawer);
    if (drawing == nullptr || text == nullptr || point == nullptr) {
        return kBadParameterErr;
    }
    const std::u16string characters(text);
    Add(*drawing, DisplayKind::Text, {Pixel(*point)});
    DisplayItem& item = drawing->list->items.back();
    item.text = Utf8FromUtf16(characters);
    item.fontSize = AnnotationFontSize(item.style.fontPreset);
    item.textWidth = AnnotationTextWidth(item.style.fontPreset, characters);
    return 0;
}

ASErr GetTextWidth(AIAnnotatorDrawer* drawer, const ASUnicode* text, ASInt32* width) {
    Host::Drawing* drawing = EnterDrawing(drawer);
    if (drawing == nullptr || text == nullptr || width == nullptr) {
        return kBadParameterErr;
    }
    *width =
        static_cast<ASInt32>(std::lround(AnnotationTextWidth(drawing->style.fontPreset, text)));
    return 0;
}

ASErr DrawLine(AIAnnotatorDrawer* drawer, const AIPoint* start, const AIPoint* end) {
    Host::Drawing* drawing = EnterDrawing(drawer);
    if (drawing == nullptr || start == nullptr || end == nullptr) {
        return kBadParameterErr;
    }
    Add(*drawing, DisplayKind::Line, {Pixel(*start), Pixel(*end)});
    return 0;
}

// A rectangle or an ellipse in `rect`, whichever way round its sides are given.
ASErr DrawInRect(AIAnnotatorDrawer* drawer, DisplayKind kind, const AIRect* rect, AIBoolean fill) {
    Host::Drawing* drawing = EnterDrawing(drawer);
    if (drawing == nullptr || rect == nullptr) {
        return kBadParameterErr;
    }
    const ViewPoint topLeft{static_cast<double>(std::min(rect->left, rect->right)),
                            static_cast<double>(std::min(rect->top, rect->bottom))};
    const ViewPoint bottomRight{static_cast<double>(std::max(rect->left, rect->right)),
                                static_cast<double>(std::max(rect->top, rect->bottom))};
    Add(*drawing, kind, {topLeft, bottomRight});
    drawing->list->items.back().fill = fill != 0;
    return 0;
}

ASErr DrawRect(AIAnnotatorDrawer* drawer, const AIRect* rect, AIBoolean fill) {
    return DrawInRect(drawer, DisplayKind::Rect, rect, fill);
}

ASErr DrawEllipse(AIAnnotatorDrawer* drawer, const AIRect* rect, AIBoolean fill) {
    return DrawInRect(drawer, DisplayKind::Ellipse, rect, fill);
}

ASErr DrawPolyLine(AIAnnotatorDrawer* drawer, const AIPoint* points, ASInt32 count) {
    Host::Drawing* drawing = EnterDrawing(drawer);
    if (drawing == nullptr || points == nullptr || count < 2) {
        return kBadParameterErr;
    }
    std::vector<ViewPoint> line;
    for (ASInt32 i = 0; i < count; ++i) {
        line.push_back(Pixel(points[i]));
    }
    Add(*drawing, DisplayKind::PolyLine, std::move(line));
    return 0;
}

ASErr DrawBezierOutline(AIAnnotatorDrawer* drawer, const AIRealPoint* points, ASInt32 count,
                        AIBoolean closed) {
    Host::Drawing* drawing = EnterDrawing(drawer);
    // The first anchor, then three points a piece, and at least one piece.
    if (drawing == nullptr || points == nullptr || count < 4 || (count - 1) % 3 != 0) {
        return kBadParameterErr;
    }
    std::vector<ViewPoint> outline;
    for (ASInt32 i = 0; i < count; ++i) {
        if (!std::isfinite(points[i].h) || !std::isfinite(points[i].v)) {
            return kBadParameterErr;
        }
        outline.push_back({points[i].h, points[i].v});
    }
    Add(*drawing, DisplayKind::BezierOutline, std::move(outline));
    drawing->list->items.back().closed = closed != 0;
    return 0;
}

constexpr AIAnnotatorDrawerSuite kAnnotatorDrawer{
    SetColor, SetOpacity, SetLineWidth, SetFontPreset, DrawText,         GetTextWidth,
    DrawLine, DrawRect,   DrawEllipse,  DrawPolyLine,  DrawBezierOutline};

}  // namespace

void OfferAnnotatorDrawerSuite(SuiteRegistry& registry) {
    Offer(registry, kAnnotatorDrawer);
}

}  // namespace emulator
