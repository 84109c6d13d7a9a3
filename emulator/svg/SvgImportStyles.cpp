// The paints and styles of the SVG reader: colours, the inherited properties of SVG, and
// the host's paints and path styles they give.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "emulator/svg/SvgReader.h"

namespace emulator::svg_reader {
namespace {

struct NamedColor {
    std::string_view name;
    unsigned rgb;
};

constexpr NamedColor kNamedColors[] = {
    {"aqua", 0x00FFFF},      {"beige", 0xF5F5DC},     {"black", 0x000000},
    {"blue", 0x0000FF},      {"brown", 0xA52A2A},     {"crimson", 0xDC143C},
    {"cyan", 0x00FFFF},      {"darkblue", 0x00008B},  {"darkgray", 0xA9A9A9},
    {"darkgreen", 0x006400}, {"darkgrey", 0xA9A9A9},  {"darkred", 0x8B0000},
    {"dimgray", 0x696969},   {"dimgrey", 0x696969},   {"fuchsia", 0xFF00FF},
    {"gold", 0xFFD700},      {"gray", 0x808080},      {"green", 0x008000},
    {"grey", 0x808080},      {"indigo", 0x4B0082},    {"khaki", 0xF0E68C},
    {"lightblue", 0xADD8E6}, {"lightgray", 0xD3D3D3}, {"lightgrey", 0xD3D3D3},
    {"lime", 0x00FF00},      {"magenta", 0xFF00FF},   {"maroon", 0x800000},
    {"navy", 0x000080},      {"olive", 0x808000},     {"orange", 0xFFA500},
    {"pink", 0xFFC0CB},      {"purple", 0x800080},    {"red", 0xFF0000},
    {"salmon", 0xFA8072},    {"silver", 0xC0C0C0},    {"skyblue", 0x87CEEB},
    {"steelblue", 0x4682B4}, {"teal", 0x008080},      {"tomato", 0xFF6347},
    {"turquoise", 0x40E0D0}, {"violet", 0xEE82EE},    {"white", 0xFFFFFF},
    {"yellow", 0xFFFF00},
};

Rgb FromHex(unsigned rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

int HexDigit(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    c = Lower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// One component of rgb(): a number from 0 to 255 or a percentage, clamped.
std::optional<double> ColorComponent(Scanner& s) {
    double value = 0;
    if (!s.Number(value)) {
        return std::nullopt;
    }
    double unit = 255;
    if (s.Peek() == '%') {
        s.Advance();
        unit = 100;
    }
    return std::clamp(value / unit, 0.0, 1.0);
}

// A colour: #rgb, #rrggbb, rgb(r, g, b) (rgba's alpha ignored) or a CSS colour name.
std::optional<Rgb> ParseColor(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '#') {
        const std::string_view hex = text.substr(1);
        unsigned value = 0;
        for (const char c : hex) {
            const int digit = HexDigit(c);
            if (digit < 0) {
                return std::nullopt;
            }
            value = value * 16 + static_cast<unsigned>(digit);
        }
        if (hex.size() == 3) {
            return FromHex(((value >> 8) & 0xF) * 0x110000 + ((value >> 4) & 0xF) * 0x1100 +
                           (value & 0xF) * 0x11);
        }
        if (hex.size() == 6) {
            return FromHex(value);
        }
        return std::nullopt;
    }
    const bool rgba = StartsWithIgnoringCase(text, "rgba(");
    if (rgba || StartsWithIgnoringCase(text, "rgb(")) {
        Scanner s(text.substr(rgba ? 5 : 4));
        s.SkipSpaces();
        double components[3] = {};
        for (double& component : components) {
            const auto value = ColorComponent(s);
            if (!value) {
                return std::nullopt;
            }
            component = *value;
            s.SkipSeparator();
        }
        double alpha = 0;
        if (rgba && s.Number(alpha)) {
            if (s.Peek() == '%') {
                s.Advance();
            }
            s.SkipSpaces();
        }
        if (s.Rest() != ")") {
            return std::nullopt;
        }
        return Rgb{components[0], components[1], components[2]};
    }
    for (const NamedColor& named : kNamedColors) {
        if (EqualsIgnoringCase(text, named.name)) {
            return FromHex(named.rgb);
        }
    }
    return std::nullopt;
}

// A fill or stroke: none, a colour or currentColor; references (gradients, patterns) and
// anything unknown paint nothing in the model.
PaintValue ParsePaint(std::string_view text) {
    text = Trim(text);
    if (EqualsIgnoringCase(text, "currentColor")) {
        return {PaintValue::Kind::CurrentColor, {}};
    }
    if (const auto rgb = ParseColor(text)) {
        return {PaintValue::Kind::Color, *rgb};
    }
    return {};
}

// A dash array: "none", or lengths separated by commas or spaces (an odd count repeated
// once, as SVG does). Dashes that add up to nothing give a solid line; a negative or
// malformed length, nothing.
std::optional<std::vector<double>> ParseDashArray(std::string_view text, Vec viewport) {
    text = Trim(text);
    if (text == "none") {
        return std::vector<double>{};
    }
    std::vector<double> dash;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of(" \t\r\n\f,"), text.size());
        const auto length = ParseLength(text.substr(0, end), Axis::Diagonal, viewport);
        if (!length || *length < 0) {
            return std::nullopt;
        }
        dash.push_back(*length);
        text = Trim(text.substr(end));
        if (!text.empty() && text.front() == ',') {
            text = Trim(text.substr(1));
        }
    }
    double total = 0;
    for (const double d : dash) {
        total += d;
    }
    if (dash.empty() || !std::isfinite(total)) {
        return std::nullopt;
    }
    if (total == 0) {
        return std::vector<double>{};
    }
    if (dash.size() % 2 == 1) {
        const std::vector<double> once = dash;
        dash.insert(dash.end(), once.begin(), once.end());
    }
    return dash;
}

constexpr std::string_view kStyleProperties[] = {
    "color",
    "fill",
    "stroke",
    "stroke-width",
    "stroke-dasharray",
    "stroke-dashoffset",
    "stroke-linecap",
    "stroke-linejoin",
    "stroke-miterlimit",
    "display",
    "visibility",
};

// Applies one declaration; a value that does not read leaves the property as it was, as a
// CSS declaration in error is dropped (an unknown paint is an exception: it paints nothing).
void ApplyProperty(std::string_view name, std::string_view value, const ComputedStyle& parent,
                   Vec viewport, ComputedStyle& out) {
    value = Trim(value);
    Style& style = out.inherited;
    const Style& from = parent.inherited;
    const bool inherit = value == "inherit";
    if (name == "display") {
        out.displayNone = inherit ? parent.displayNone : value == "none";
    } else if (name == "visibility") {
        if (inherit) {
            style.visibilityHidden = from.visibilityHidden;
        } else if (value == "hidden" || value == "collapse") {
            style.visibilityHidden = true;
        } else if (value == "visible") {
            style.visibilityHidden = false;
        }
    } else if (name == "color") {
        if (inherit || EqualsIgnoringCase(value, "currentColor")) {
            style.color = from.color;
        } else if (const auto rgb = ParseColor(value)) {
            style.color = *rgb;
        }
    } else if (name == "fill") {
        style.fill = inherit ? from.fill : ParsePaint(value);
    } else if (name == "stroke") {
        style.stroke = inherit ? from.stroke : ParsePaint(value);
    } else if (name == "stroke-width") {
        const auto width = ParseLength(value, Axis::Diagonal, viewport);
        if (inherit) {
            style.strokeWidth = from.strokeWidth;
        } else if (width && *width >= 0) {
            style.strokeWidth = *width;
        }
    } else if (name == "stroke-dasharray") {
        if (inherit) {
            style.dash = from.dash;
        } else if (auto dash = ParseDashArray(value, viewport)) {
            style.dash = std::move(*dash);
        }
    } else if (name == "stroke-dashoffset") {
        if (inherit) {
            style.dashOffset = from.dashOffset;
        } else if (const auto offset = ParseLength(value, Axis::Diagonal, viewport)) {
            style.dashOffset = *offset;
        }
    } else if (name == "stroke-linecap") {
        if (inherit) {
            style.cap = from.cap;
        } else if (value == "butt" || value == "round" || value == "square") {
            style.cap = value == "butt"    ? LineCap::Butt
                        : value == "round" ? LineCap::Round
                                           : LineCap::Square;
        }
    } else if (name == "stroke-linejoin") {
        if (inherit) {
            style.join = from.join;
        } else if (value == "miter" || value == "round" || value == "bevel") {
            style.join = value == "miter"   ? LineJoin::Miter
                         : value == "round" ? LineJoin::Round
                                            : LineJoin::Bevel;
        }
    } else if (name == "stroke-miterlimit") {
        double limit = 0;
        Scanner s(value);
        if (inherit) {
            style.miterLimit = from.miterLimit;
        } else if (s.Number(limit) && s.AtEnd() && limit >= 1) {
            style.miterLimit = limit;
        }
    }
}

}  // namespace

// The style of an element: its parent's inherited properties, then its presentation
// attributes, then the declarations of its style attribute.
ComputedStyle ComputeStyle(const pugi::xml_node& node, const ComputedStyle& parent, Vec viewport) {
    ComputedStyle out{parent.inherited, false};
    for (const std::string_view property : kStyleProperties) {
        const std::string name(property);
        if (const pugi::xml_attribute attribute = node.attribute(name.c_str())) {
            ApplyProperty(property, attribute.value(), parent, viewport, out);
        }
    }
    std::string_view declarations = node.attribute("style").value();
    while (!declarations.empty()) {
        const std::size_t end = std::min(declarations.find(';'), declarations.size());
        const std::string_view declaration = declarations.substr(0, end);
        declarations.remove_prefix(std::min(end + 1, declarations.size()));
        const std::size_t colon = declaration.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        std::string name(Trim(declaration.substr(0, colon)));
        std::transform(name.begin(), name.end(), name.begin(), Lower);
        std::string_view value = Trim(declaration.substr(colon + 1));
        constexpr std::string_view kImportant = "!important";
        if (value.size() >= kImportant.size() &&
            EqualsIgnoringCase(value.substr(value.size() - kImportant.size()), kImportant)) {
            value = Trim(value.substr(0, value.size() - kImportant.size()));
        }
        ApplyProperty(name, value, parent, viewport, out);
    }
    return out;
}

Paint ModelPaint(const PaintValue& value, const Rgb& color) {
    Paint paint;
    if (value.kind == PaintValue::Kind::None) {
        return paint;
    }
    const Rgb& rgb = value.kind == PaintValue::Kind::CurrentColor ? color : value.rgb;
    paint.kind = Paint::Kind::RGB;
    paint.red = rgb.red;
    paint.green = rgb.green;
    paint.blue = rgb.blue;
    return paint;
}

// The path style in artwork points, lengths scaled by `scale`; nothing when a length
// overflows.
std::optional<PathStyle> ModelStyle(const Style& style, double scale) {
    PathStyle out;
    out.fill = ModelPaint(style.fill, style.color);
    out.stroke = ModelPaint(style.stroke, style.color);
    out.strokeWidth = style.strokeWidth * scale;
    out.dashOffset = style.dashOffset * scale;
    bool finite = std::isfinite(out.strokeWidth) && std::isfinite(out.dashOffset);
    for (const double d : style.dash) {
        out.dash.push_back(d * scale);
        finite = finite && std::isfinite(out.dash.back());
    }
    out.cap = style.cap;
    out.join = style.join;
    out.miterLimit = style.miterLimit;
    if (!finite) {
        return std::nullopt;
    }
    return out;
}

// Gives back to the paints of a path (or a text's fill) what an SVG colour cannot hold, as
// the writer keeps it in the paint namespace: a gray or CMYK colour, a custom colour's name
// and tint, overprint. The colour the file shows stays the appearance of a custom colour.
void ApplyPaintExtras(Art& art, const std::map<std::string, std::string, std::less<>>& extras) {
    if (extras.empty()) {
        return;
    }
    for (auto& child : art.children) {
        ApplyPaintExtras(*child, extras);
    }
    struct Target {
        std::string which;
        Paint* paint;
        bool* overprint;
    };
    std::vector<Target> targets;
    if (art.type == ArtType::Path) {
        targets = {{"fill", &art.style.fill, &art.style.fillOverprint},
                   {"stroke", &art.style.stroke, &art.style.strokeOverprint}};
    } else if (art.type == ArtType::Text) {
        TextFeatures& features = art.pointText.features;
        targets = {{"fill", &features.fill, &features.fillOverprint}};
    }
    const auto value = [&extras](const std::string& name) -> std::optional<std::string_view> {
        const auto it = extras.find(name);
        return it == extras.end() ? std::nullopt : std::optional<std::string_view>(it->second);
    };
    const auto component = [](std::string_view text) -> std::optional<double> {
        const auto numbers = NumberList(text);
        return numbers.size() == 1 && numbers[0] >= 0 && numbers[0] <= 1
                   ? std::optional<double>(numbers[0])
                   : std::nullopt;
    };
    for (const Target& target : targets) {
        const std::string& which = target.which;
        Paint& paint = *target.paint;
        if (const auto text = value(which + "-overprint")) {
            *target.overprint = IsTrue(*text);
        }
        if (paint.kind == Paint::Kind::None) {
            continue;
        }
        if (const auto gray = value(which + "-gray"); gray && component(*gray)) {
            paint.kind = Paint::Kind::Gray;
            paint.gray = *component(*gray);
        } else if (const auto cmyk = value(which + "-cmyk")) {
            const auto c = NumberList(*cmyk);
            if (c.size() == 4 &&
                std::all_of(c.begin(), c.end(), [](double v) { return v >= 0 && v <= 1; })) {
                paint.kind = Paint::Kind::CMYK;
                paint.cyan = c[0];
                paint.magenta = c[1];
                paint.yellow = c[2];
                paint.black = c[3];
            }
        } else if (const auto custom = value(which + "-custom"); custom && !custom->empty()) {
            paint.kind = Paint::Kind::Custom;
            paint.customName = std::string(*custom);
            const auto tint = value(which + "-tint");
            paint.tint = tint ? component(*tint).value_or(0) : 0;
        }
    }
}

}  // namespace emulator::svg_reader
