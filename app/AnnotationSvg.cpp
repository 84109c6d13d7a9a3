#include "app/AnnotationSvg.h"

#include <algorithm>
#include <cstdio>

#include "emulator/core/Decimal.h"
#include "emulator/svg/SvgExport.h"

namespace app {
namespace {

// View pixels to a hundredth.
std::string Number(double value) {
    return emulator::FormatDecimal(value, 2);
}

std::string Colour(const emulator::DrawStyle& style) {
    char text[32];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", style.color.red >> 8, style.color.green >> 8,
                  style.color.blue >> 8);
    return text;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// A point stroked through the centre of its pixel.
std::string At(const emulator::ViewPoint& p) {
    return Number(p.x + 0.5) + "," + Number(p.y + 0.5);
}

}  // namespace

std::string AnnotationSvg(const emulator::DisplayList& drawing) {
    using emulator::DisplayKind;
    std::string svg;
    for (const emulator::DisplayItem& item : drawing.items) {
        const std::string colour = Colour(item.style);
        const std::string opacity =
            item.style.opacity < 1 ? " opacity=\"" + Number(item.style.opacity) + "\"" : "";
        const std::string stroke = " fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"" +
                                   Number(item.style.lineWidth) + "\"" + opacity;
        const std::string paint = item.fill ? " fill=\"" + colour + "\"" + opacity : stroke;
        const auto& p = item.points;
        switch (item.kind) {
            case DisplayKind::Line:
                if (p.size() == 2) {
                    svg += "<path d=\"M" + At(p[0]) + "L" + At(p[1]) + "\"" + stroke + "/>";
                }
                break;
            case DisplayKind::Rect:
            case DisplayKind::Ellipse:
                if (p.size() == 2) {
                    // A filled shape covers its pixels; an outline runs through their centres.
                    const double inset = item.fill ? 0 : 0.5;
                    const double x = p[0].x + inset;
                    const double y = p[0].y + inset;
                    const double w = std::max(0.0, p[1].x - p[0].x - 2 * inset);
                    const double h = std::max(0.0, p[1].y - p[0].y - 2 * inset);
                    if (item.kind == DisplayKind::Rect) {
                        svg += "<rect x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" width=\"" +
                               Number(w) + "\" height=\"" + Number(h) + "\"" + paint + "/>";
                    } else {
                        svg += "<ellipse cx=\"" + Number(x + w / 2) + "\" cy=\"" +
                               Number(y + h / 2) + "\" rx=\"" + Number(w / 2) + "\" ry=\"" +
                               Number(h / 2) + "\"" + paint + "/>";
                    }
                }
                break;
            case DisplayKind::PolyLine:
                if (!p.empty()) {
                    svg += "<polyline points=\"";
                    for (const auto& point : p) {
                        svg += At(point) + " ";
                    }
                    svg += "\"" + stroke + "/>";
                }
                break;
            case DisplayKind::BezierOutline:
                if (!p.empty()) {
                    svg += "<path d=\"M" + At(p[0]);
                    for (std::size_t i = 1; i + 2 < p.size(); i += 3) {
                        svg += 'C';
                        svg += At(p[i]) + " " + At(p[i + 1]) + " " + At(p[i + 2]);
                    }
                    svg += std::string(item.closed ? "Z" : "") + "\"" + stroke + "/>";
                }
                break;
            case DisplayKind::Text:
                if (!p.empty()) {
                    svg += "<text x=\"" + Number(p[0].x) + "\" y=\"" + Number(p[0].y) +
                           "\" font-family=\"sans-serif\" font-size=\"" + Number(item.fontSize) +
                           "\" fill=\"" + colour + "\"" + opacity + " xml:space=\"preserve\">" +
                           Escaped(item.text) + "</text>";
                }
                break;
        }
    }
    return svg;
}

}  // namespace app
