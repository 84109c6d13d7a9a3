// The paints and styles of the SVG writer: the SVG colour the host shows for a paint, what
// it cannot hold kept in the paint namespace, and the style attribute edited one property
// at a time.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "emulator/svg/SvgExport.h"
#include "emulator/svg/SvgImport.h"
#include "emulator/svg/SvgWriter.h"

namespace emulator::svg_writer {
namespace {

std::string Component(double value) {
    return FormatDecimal(std::clamp(value, 0.0, 1.0));
}

// The SVG colour of components from 0 to 1: #rrggbb when each is a whole number of 255ths
// (so that it reads back as it was), else rgb() in percentages.
std::string ColorText(double red, double green, double blue) {
    const double components[] = {std::clamp(red, 0.0, 1.0), std::clamp(green, 0.0, 1.0),
                                 std::clamp(blue, 0.0, 1.0)};
    bool exact = true;
    for (const double c : components) {
        exact = exact && std::fabs(c * 255 - std::round(c * 255)) < 1e-9;
    }
    if (exact) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x",
                      static_cast<unsigned>(std::lround(components[0] * 255)),
                      static_cast<unsigned>(std::lround(components[1] * 255)),
                      static_cast<unsigned>(std::lround(components[2] * 255)));
        return hex;
    }
    return "rgb(" + FormatDecimal(components[0] * 100) + "%," + FormatDecimal(components[1] * 100) +
           "%," + FormatDecimal(components[2] * 100) + "%)";
}

// ---- The style attribute -----------------------------------------------------------------

// The declarations of a style attribute, in order, edited one property at a time.
class StyleDeclarations {
  public:
    explicit StyleDeclarations(std::string_view text) {
        while (!text.empty()) {
            const std::size_t end = std::min(text.find(';'), text.size());
            const std::string_view declaration = Trim(text.substr(0, end));
            text.remove_prefix(std::min(end + 1, text.size()));
            const std::size_t colon = declaration.find(':');
            if (colon == std::string_view::npos) {
                continue;
            }
            declarations_.emplace_back(std::string(Trim(declaration.substr(0, colon))),
                                       std::string(Trim(declaration.substr(colon + 1))));
        }
    }

    void Set(const std::string& name, const std::string& value) {
        Remove(name);
        declarations_.emplace_back(name, value);
    }

    void Remove(const std::string& name) {
        std::erase_if(declarations_, [&](const auto& d) { return d.first == name; });
    }

    std::string Text() const {
        std::string text;
        for (const auto& [name, value] : declarations_) {
            text += (text.empty() ? "" : ";") + name + ":" + value;
        }
        return text;
    }

  private:
    std::vector<std::pair<std::string, std::string>> declarations_;
};

const char* CapText(LineCap cap) {
    switch (cap) {
        case LineCap::Round:
            return "round";
        case LineCap::Square:
            return "square";
        case LineCap::Butt:
            break;
    }
    return "butt";
}

const char* JoinText(LineJoin join) {
    switch (join) {
        case LineJoin::Round:
            return "round";
        case LineJoin::Bevel:
            return "bevel";
        case LineJoin::Miter:
            break;
    }
    return "miter";
}

}  // namespace

// The SVG paint the host shows for a paint: CMYK converted for display, a custom colour
// by its RGB appearance.
std::string PaintText(const Paint& paint) {
    switch (paint.kind) {
        case Paint::Kind::None:
            return "none";
        case Paint::Kind::Gray:
            return ColorText(paint.gray, paint.gray, paint.gray);
        case Paint::Kind::CMYK:
            return ColorText((1 - paint.cyan) * (1 - paint.black),
                             (1 - paint.magenta) * (1 - paint.black),
                             (1 - paint.yellow) * (1 - paint.black));
        case Paint::Kind::RGB:
        case Paint::Kind::Custom:
            break;
    }
    return ColorText(paint.red, paint.green, paint.blue);
}

bool SamePaint(const Paint& a, const Paint& b) {
    if (a.kind != b.kind) {
        return false;
    }
    switch (a.kind) {
        case Paint::Kind::None:
            return true;
        case Paint::Kind::Gray:
            return a.gray == b.gray;
        case Paint::Kind::CMYK:
            return a.cyan == b.cyan && a.magenta == b.magenta && a.yellow == b.yellow &&
                   a.black == b.black;
        case Paint::Kind::Custom:
            if (a.customName != b.customName || a.tint != b.tint) {
                return false;
            }
            break;
        case Paint::Kind::RGB:
            break;
    }
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

bool SameStyle(const PathStyle& a, const PathStyle& b) {
    return SamePaint(a.fill, b.fill) && SamePaint(a.stroke, b.stroke) &&
           a.strokeWidth == b.strokeWidth && a.dash == b.dash && a.dashOffset == b.dashOffset &&
           a.cap == b.cap && a.join == b.join && a.miterLimit == b.miterLimit &&
           a.fillOverprint == b.fillOverprint && a.strokeOverprint == b.strokeOverprint;
}

// Sets a style property of an element: in its style attribute, with the presentation
// attribute of the same name (which the style attribute would override anyway) dropped.
void SetProperty(pugi::xml_node node, const std::string& name, const std::string& value) {
    node.remove_attribute(name.c_str());
    StyleDeclarations style(node.attribute("style").value());
    style.Set(name, value);
    pugi::xml_attribute attribute = node.attribute("style");
    if (!attribute) {
        attribute = node.append_attribute("style");
    }
    attribute.set_value(style.Text().c_str());
}

void RemoveProperty(pugi::xml_node node, const std::string& name) {
    node.remove_attribute(name.c_str());
    if (pugi::xml_attribute attribute = node.attribute("style")) {
        StyleDeclarations style(attribute.value());
        style.Remove(name);
        const std::string text = style.Text();
        if (text.empty()) {
            node.remove_attribute(attribute);
        } else {
            attribute.set_value(text.c_str());
        }
    }
}

// ---- Path styles -------------------------------------------------------------------------

// The style properties of a path that differ from `before` (all of them without it),
// lengths in the user units of the accumulated transform `full`.
void Writer::WriteStyle(const PathStyle& style, const PathStyle* before, pugi::xml_node node,
                        const Affine& full) {
    const double scale = document_.unitScale * LengthScale(full);
    const auto length = [&](double points) {
        return FormatDecimal(scale > 0 ? points / scale : points);
    };
    if (before == nullptr || !SamePaint(before->fill, style.fill) ||
        before->fillOverprint != style.fillOverprint) {
        SetProperty(node, "fill", PaintText(style.fill));
        WritePaintExtras(node, "fill", style.fill, style.fillOverprint);
    }
    if (before == nullptr || !SamePaint(before->stroke, style.stroke) ||
        before->strokeOverprint != style.strokeOverprint) {
        SetProperty(node, "stroke", PaintText(style.stroke));
        WritePaintExtras(node, "stroke", style.stroke, style.strokeOverprint);
    }
    if (before == nullptr || before->strokeWidth != style.strokeWidth) {
        SetProperty(node, "stroke-width", length(style.strokeWidth));
    }
    if (before == nullptr || before->dash != style.dash) {
        std::string dash;
        for (const double d : style.dash) {
            dash += dash.empty() ? "" : ",";
            dash += length(d);
        }
        SetProperty(node, "stroke-dasharray", dash.empty() ? "none" : dash);
    }
    if (before == nullptr || before->dashOffset != style.dashOffset) {
        SetProperty(node, "stroke-dashoffset", length(style.dashOffset));
    }
    if (before == nullptr || before->cap != style.cap) {
        SetProperty(node, "stroke-linecap", CapText(style.cap));
    }
    if (before == nullptr || before->join != style.join) {
        SetProperty(node, "stroke-linejoin", JoinText(style.join));
    }
    if (before == nullptr || before->miterLimit != style.miterLimit) {
        SetProperty(node, "stroke-miterlimit", FormatDecimal(style.miterLimit));
    }
}

void Writer::WritePaintExtras(pugi::xml_node node, const std::string& which, const Paint& paint,
                              bool overprint) {
    const auto set = [&](const char* suffix, const std::string& value) {
        const std::string name = PaintAttribute(which + suffix);
        if (value.empty()) {
            node.remove_attribute(name.c_str());
        } else {
            SetAttribute(node, name, value);
        }
    };
    const bool gray = paint.kind == Paint::Kind::Gray;
    const bool cmyk = paint.kind == Paint::Kind::CMYK;
    const bool custom = paint.kind == Paint::Kind::Custom;
    // Without the namespace bound the element has none of these attributes to update.
    if (!gray && !cmyk && !custom && !overprint && !BoundPrefix(kPaintNamespace)) {
        return;
    }
    set("-gray", gray ? Component(paint.gray) : "");
    set("-cmyk", cmyk ? Component(paint.cyan) + " " + Component(paint.magenta) + " " +
                            Component(paint.yellow) + " " + Component(paint.black)
                      : "");
    set("-custom", custom ? paint.customName : "");
    set("-tint", custom ? Component(paint.tint) : "");
    set("-overprint", overprint ? "true" : "");
}

}  // namespace emulator::svg_writer
