// The point texts of the SVG writer: `text` elements that viewers render as the host shows
// them, with what it takes to rebuild them exactly in the text namespace, and nothing ever
// indented inside a `text` element.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "emulator/core/TextLayout.h"
#include "emulator/core/Unicode.h"
#include "emulator/svg/SvgExport.h"
#include "emulator/svg/SvgImport.h"
#include "emulator/svg/SvgWriter.h"

namespace emulator::svg_writer {
namespace {

// A value of the text namespace: the shortest text that reads back to the same double.
std::string ExactNumber(double value) {
    if (!std::isfinite(value) || value == 0) {
        return "0";
    }
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : "0";
}

const char* JustificationText(Justification justification) {
    switch (justification) {
        case Justification::Center:
            return "center";
        case Justification::Right:
            return "right";
        case Justification::Left:
            break;
    }
    return "left";
}

// The text-anchor that puts each line where the justification anchors it.
const char* AnchorText(Justification justification) {
    switch (justification) {
        case Justification::Center:
            return "middle";
        case Justification::Right:
            return "end";
        case Justification::Left:
            break;
    }
    return "start";
}

bool SameMatrix(const double (&a)[6], const double (&b)[6]) {
    return std::equal(std::begin(a), std::end(a), std::begin(b));
}

bool SameFeatures(const TextFeatures& a, const TextFeatures& b) {
    return a.font == b.font && a.size == b.size && a.baselineShift == b.baselineShift &&
           a.tracking == b.tracking && SamePaint(a.fill, b.fill) &&
           a.fillOverprint == b.fillOverprint && a.justification == b.justification &&
           a.firstLineIndent == b.firstLineIndent && a.startIndent == b.startIndent &&
           a.endIndent == b.endIndent && a.spaceBefore == b.spaceBefore &&
           a.spaceAfter == b.spaceAfter;
}

bool SamePointText(const PointText& a, const PointText& b) {
    return a.text == b.text && SameFeatures(a.features, b.features) &&
           SameMatrix(a.matrix, b.matrix);
}

// What the text namespace records of a point text, by attribute name: everything it takes
// to rebuild it exactly but its characters and its fill.
std::vector<std::pair<const char*, std::string>> TextRecord(const PointText& text) {
    const TextFeatures& f = text.features;
    std::string matrix;
    for (const double v : text.matrix) {
        matrix += matrix.empty() ? "" : " ";
        matrix += ExactNumber(v);
    }
    return {
        {"matrix", matrix},
        {"font", f.font},
        {"size", ExactNumber(f.size)},
        {"baseline-shift", ExactNumber(f.baselineShift)},
        {"tracking", ExactNumber(f.tracking)},
        {"justification", JustificationText(f.justification)},
        {"first-line-indent", ExactNumber(f.firstLineIndent)},
        {"start-indent", ExactNumber(f.startIndent)},
        {"end-indent", ExactNumber(f.endIndent)},
        {"space-before", ExactNumber(f.spaceBefore)},
        {"space-after", ExactNumber(f.spaceAfter)},
    };
}

// A paragraph as a `tspan` shows it: the height of its baseline in the text element's user
// units (y downwards; x is 0, where the line is anchored), and its characters in UTF-8.
struct Tspan {
    std::string y;
    std::string text;
    bool operator==(const Tspan&) const = default;
};

// The paragraphs of a point text in an element whose user units are document user units of
// k points, placed as the host sets them: each anchored (at its start, middle or end, as
// text-anchor says) on the frame's y axis, its baseline a leading plus the paragraph spacing
// below the one before, all raised by the baseline shift. The shift is in the positions so
// that viewers without baseline-shift place it too.
std::vector<Tspan> Tspans(const PointText& text, double k) {
    const TextFeatures& f = text.features;
    const double advance = Leading(f.size) + f.spaceAfter + f.spaceBefore;
    std::vector<Tspan> lines;
    std::u16string_view rest = text.text;
    for (std::size_t i = 0;; ++i) {
        const std::size_t separator = rest.find(u'\r');
        const double baseline = f.baselineShift - static_cast<double>(i) * advance;
        lines.push_back({FormatDecimal(-baseline / k), Utf8FromUtf16(rest.substr(0, separator))});
        if (separator == std::u16string_view::npos) {
            return lines;
        }
        rest.remove_prefix(separator + 1);
    }
}

// The font-family of a PostScript name: the name as a CSS string, for viewers that know
// the font by it, then a generic family for those that do not.
std::string FontFamilyText(const std::string& font) {
    if (font.empty()) {
        return "sans-serif";
    }
    std::string quoted = "'";
    for (const char ch : font) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || ch == '\'' || ch == '"' || ch == '\\' || ch == ';') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\%x ", static_cast<unsigned>(c));
            quoted += escaped;
        } else {
            quoted.push_back(ch);
        }
    }
    return quoted + "', sans-serif";
}

// The weight and the slant the style part of a PostScript name ("Arial-BoldItalicMT")
// says, for the generic family to show them.
std::pair<const char*, const char*> FontWeightAndStyle(const std::string& font) {
    const std::size_t dash = font.rfind('-');
    const std::string_view style =
        dash == std::string::npos ? std::string_view() : std::string_view(font).substr(dash);
    const auto has = [&](std::string_view word) { return style.find(word) != style.npos; };
    return {has("Bold") || has("Black") || has("Heavy") ? "bold" : "normal",
            has("Italic") || has("Oblique") ? "italic" : "normal"};
}

}  // namespace

// Indentation inside text is text: a line break and spaces put before a `tspan` would show
// as a space, and move a line anchored at its end or middle. And indentation that grows
// with depth makes a deeply nested file's text grow with the square of its depth. pugixml
// adds none next to character data, so every node inside a `text` element, or deeper than
// kIndentedDepth, gets an empty one before it, and every element there with children one
// after its last: such elements are written on one line.
void KeepUnindented(pugi::xml_document& out) {
    struct Finder : pugi::xml_tree_walker {
        std::vector<pugi::xml_node> inside;
        int textDepth = -1;  // the depth of the `text` element the walk is in, if any
        bool for_each(pugi::xml_node& node) override {
            if (textDepth >= 0 && depth() <= textDepth) {
                textDepth = -1;
            }
            if ((textDepth >= 0 || depth() > kIndentedDepth) && node.type() != pugi::node_pcdata &&
                node.type() != pugi::node_cdata) {
                inside.push_back(node);
            }
            if (textDepth < 0 && node.type() == pugi::node_element && LocalName(node) == "text") {
                textDepth = depth();
            }
            return true;
        }
    } finder;
    out.traverse(finder);
    const auto isCharacters = [](const pugi::xml_node& node) {
        return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
    };
    for (const pugi::xml_node& node : finder.inside) {
        pugi::xml_node parent = node.parent();
        if (!isCharacters(node.previous_sibling())) {
            parent.insert_child_before(pugi::node_pcdata, node);
        }
        if (!node.next_sibling()) {
            parent.append_child(pugi::node_pcdata);
        }
    }
}

// ---- Texts -------------------------------------------------------------------------------

// Points per user unit.
double Writer::Scale() const {
    const double k = document_.unitScale;
    return k > 0 && std::isfinite(k) ? k : 1.0;
}

// What differs from `before` of a point text (all of it without `before`), written into
// its `text` element under a parent whose accumulated transform is `ctm`. The element's
// transform is the frame's matrix with y downwards; its user units are the document's,
// in which its font size and its lines' positions are.
void Writer::WriteText(const PointText& text, const PointText* before, pugi::xml_node node,
                       const Affine& ctm) {
    const TextFeatures& f = text.features;
    const TextFeatures* was = before != nullptr ? &before->features : nullptr;
    const double k = Scale();
    if (before == nullptr || !SameMatrix(before->matrix, text.matrix)) {
        const double* m = text.matrix;
        const Affine frame{m[0], -m[1], -m[2], m[3], m[4] / k, -m[5] / k};
        const auto inverse = Invert(ctm);
        const Affine own = inverse ? Compose(*inverse, frame) : frame;
        if (IsIdentity(own)) {
            node.remove_attribute("transform");
        } else {
            SetAttribute(node, "transform", MatrixText(own));
        }
    }
    if (was == nullptr || was->font != f.font) {
        const auto [weight, style] = FontWeightAndStyle(f.font);
        SetProperty(node, "font-family", FontFamilyText(f.font));
        SetProperty(node, "font-weight", weight);
        SetProperty(node, "font-style", style);
    }
    if (was == nullptr || was->size != f.size) {
        SetProperty(node, "font-size", FormatDecimal(f.size / k));
    }
    if (was == nullptr || was->size != f.size || was->tracking != f.tracking) {
        SetProperty(node, "letter-spacing", FormatDecimal(f.tracking / 1000 * f.size / k));
    }
    if (was == nullptr || was->justification != f.justification) {
        SetProperty(node, "text-anchor", AnchorText(f.justification));
    }
    if (was == nullptr || !SamePaint(was->fill, f.fill) || was->fillOverprint != f.fillOverprint) {
        SetProperty(node, "fill", PaintText(f.fill));
        WritePaintExtras(node, "fill", f.fill, f.fillOverprint);
    }
    if (was == nullptr) {
        SetProperty(node, "stroke", "none");
    }
    const std::vector<Tspan> lines = Tspans(text, k);
    if (before == nullptr || lines != Tspans(*before, k)) {
        SetAttribute(node, "xml:space", "preserve");
        while (node.first_child()) {
            node.remove_child(node.first_child());
        }
        for (const Tspan& line : lines) {
            pugi::xml_node tspan = NewElement(node, "tspan");
            tspan.append_attribute("x").set_value("0");
            tspan.append_attribute("y").set_value(line.y.c_str());
            if (!line.text.empty()) {
                tspan.append_child(pugi::node_pcdata).set_value(line.text.c_str());
            }
        }
    }
    if (before == nullptr || !SamePointText(*before, text)) {
        const std::string prefix = Prefix(kTextNamespace, "mesratext") + ":";
        for (const auto& [name, value] : TextRecord(text)) {
            SetAttribute(node, prefix + name, value);
        }
    }
}

}  // namespace emulator::svg_writer
