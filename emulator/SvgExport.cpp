#include "emulator/SvgExport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "emulator/SvgImport.h"
#include "emulator/SvgSyntax.h"
#include "emulator/TextLayout.h"
#include "emulator/Unicode.h"

namespace emulator {
namespace {

constexpr const char* kSvgNamespace = "http://www.w3.org/2000/svg";
constexpr const char* kInkscapeNamespace = "http://www.inkscape.org/namespaces/inkscape";
constexpr const char* kSodipodiNamespace = "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";

constexpr double kPointsPerMm = 72 / 25.4;
// A document's points per user unit is taken for a millimetre when it is this close.
constexpr double kSameScale = 1e-7;
constexpr int kDecimals = 6;

// The attributes that give the geometry of the shapes the reader knows.
constexpr const char* kGeometryAttributes[] = {"d",      "points", "x",  "y",  "width",
                                               "height", "rx",     "ry", "cx", "cy",
                                               "r",      "x1",     "y1", "x2", "y2"};

// ---- Transforms ----------------------------------------------------------------------------

using svg::Affine;
using svg::Apply;
using svg::Compose;
using svg::Invert;
using svg::LengthScale;
using svg::Trim;
using svg::Vec;

// Exact: a transform carried over unchanged is the very same numbers.
bool SameAffine(const Affine& m, const Affine& n) {
    return m.a == n.a && m.b == n.b && m.c == n.c && m.d == n.d && m.e == n.e && m.f == n.f;
}

bool IsIdentity(const Affine& m) {
    return SameAffine(m, Affine{});
}

// The map of a transform attribute, read as the reader reads it: a malformed list is
// ignored (the identity), as SVG renderers do.
Affine ParseTransform(std::string_view text) {
    return svg::ParseTransform(text).value_or(Affine{});
}

double ParseDecimal(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::string_view LocalName(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// An XML name without a colon, as an attribute's local name must be.
bool IsNcName(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    const auto nameStart = [](unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; };
    if (!nameStart(static_cast<unsigned char>(name.front()))) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [&](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return nameStart(c) || std::isdigit(c) || c == '-' || c == '.';
    });
}

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

bool SameSegments(const std::vector<AIPathSegment>& a, const std::vector<AIPathSegment>& b) {
    const auto samePoint = [](const AIRealPoint& p, const AIRealPoint& q) {
        return p.h == q.h && p.v == q.v;
    };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](const auto& s, const auto& t) {
               return samePoint(s.p, t.p) && samePoint(s.in, t.in) && samePoint(s.out, t.out);
           });
}

bool SameStyle(const PathStyle& a, const PathStyle& b) {
    return SamePaint(a.fill, b.fill) && SamePaint(a.stroke, b.stroke) &&
           a.strokeWidth == b.strokeWidth && a.dash == b.dash && a.dashOffset == b.dashOffset &&
           a.cap == b.cap && a.join == b.join && a.miterLimit == b.miterLimit &&
           a.fillOverprint == b.fillOverprint && a.strokeOverprint == b.strokeOverprint;
}

bool SamePath(const Art& a, const Art& b) {
    return a.type == ArtType::Path && b.type == ArtType::Path && a.closed == b.closed &&
           SameSegments(a.segments, b.segments) && SameStyle(a.style, b.style);
}

// ---- The style attribute ---------------------------------------------------------------------

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

// ---- Point text ------------------------------------------------------------------------------

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
        matrix += (matrix.empty() ? "" : " ") + ExactNumber(v);
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

// Indentation inside text is text: a line break and spaces put before a `tspan` would show
// as a space, and move a line anchored at its end or middle. pugixml adds none next to
// character data, so every node inside a `text` element gets an empty one before it, and
// every element there with children one after its last.
void KeepTextUnindented(pugi::xml_document& out) {
    struct Finder : pugi::xml_tree_walker {
        std::vector<pugi::xml_node> inside;
        int textDepth = -1;  // the depth of the `text` element the walk is in, if any
        bool for_each(pugi::xml_node& node) override {
            if (textDepth >= 0 && depth() <= textDepth) {
                textDepth = -1;
            }
            if (textDepth >= 0 && node.type() != pugi::node_pcdata &&
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

// ---- The writer ------------------------------------------------------------------------------

using NodeKey = pugi::xml_node_struct*;

// Records, for each node of `from`, the node of `to` at the same place; the two trees have
// the same shape (one is the other written out and read again), and where they do not the
// walk stops.
void MapNodes(const pugi::xml_node& from, const pugi::xml_node& to,
              std::unordered_map<NodeKey, pugi::xml_node>& map) {
    map[from.internal_object()] = to;
    pugi::xml_node a = from.first_child();
    pugi::xml_node b = to.first_child();
    for (; a && b; a = a.next_sibling(), b = b.next_sibling()) {
        if (a.type() != b.type() || std::string_view(a.name()) != b.name()) {
            return;
        }
        MapNodes(a, b, map);
    }
}

class Writer {
  public:
    // `out` is the tree to edit; `baseline` the document read from it before any edit
    // (null for a new document), whose art and layers point into `out`; `original` maps
    // the nodes of the written document's file to those of `out`.
    Writer(const Document& document, pugi::xml_document& out, const Document* baseline,
           std::unordered_map<NodeKey, pugi::xml_node> original)
        : document_(document), out_(out), root_(out.document_element()), original_(original) {
        const std::string_view rootName = root_.name();
        const std::size_t colon = rootName.find(':');
        if (colon != std::string_view::npos) {
            elementPrefix_ = std::string(rootName.substr(0, colon + 1));
        }
        if (baseline != nullptr) {
            for (const auto& layer : baseline->layers) {
                if (layer->source) {
                    baselineLayers_[layer->source.internal_object()] = layer.get();
                } else {
                    strayTitle_ = layer->title;
                }
                for (const auto& art : layer->art) {
                    IndexArt(*art);
                }
            }
        }
        RecordTransforms(root_, Affine{});
    }

    void Write() {
        // The root holds the layers, and the art of a layer without an element of its own
        // that stands for the art the file has outside any layer.
        std::vector<pugi::xml_node> rootItems;
        bool strayPlaced = false;
        std::vector<std::pair<const Layer*, pugi::xml_node>> layers;
        for (const auto& layer : document_.layers) {
            const bool stray = !strayPlaced && strayTitle_ && !ClaimedLayer(*layer) &&
                               layer->title == *strayTitle_ && !layer->locked && layer->visible;
            if (stray) {
                strayPlaced = true;
                WriteList(layer->art, root_, Affine{}, false, &rootItems);
                continue;
            }
            const pugi::xml_node node = PrepareLayer(*layer);
            layers.emplace_back(layer.get(), node);
            rootItems.push_back(node);
        }
        Place(root_, rootItems);
        for (const auto& [layer, node] : layers) {
            WriteList(layer->art, node, fullTransform_[node.internal_object()], false, nullptr);
        }
        RemoveDisposed();
    }

  private:
    void IndexArt(const Art& art) {
        if (art.source) {
            baselineArt_[art.source.internal_object()] = &art;
        }
        for (const auto& child : art.children) {
            IndexArt(*child);
        }
    }

    void RecordTransforms(const pugi::xml_node& node, const Affine& ctm) {
        for (const pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            Affine full = ctm;
            if (const pugi::xml_attribute transform = child.attribute("transform")) {
                full = Compose(ctm, ParseTransform(transform.value()));
            }
            parentTransform_[child.internal_object()] = ctm;
            fullTransform_[child.internal_object()] = full;
            RecordTransforms(child, full);
        }
    }

    // The node of `out` standing for a model node of the document's file, when it has one
    // not claimed by other art yet.
    pugi::xml_node Claim(const pugi::xml_node& source) {
        if (!source) {
            return {};
        }
        const auto it = original_.find(source.internal_object());
        if (it == original_.end() || claimed_.count(it->second.internal_object()) != 0) {
            return {};
        }
        claimed_.insert(it->second.internal_object());
        return it->second;
    }

    bool ClaimedLayer(const Layer& layer) const {
        if (!layer.source) {
            return false;
        }
        const auto it = original_.find(layer.source.internal_object());
        return it != original_.end() && baselineLayers_.count(it->second.internal_object()) != 0;
    }

    // ---- Namespaces ----

    // The prefix bound on the root to `uri`, if any.
    std::optional<std::string> BoundPrefix(const char* uri) const {
        const auto known = prefixes_.find(uri);
        if (known != prefixes_.end()) {
            return known->second;
        }
        for (const pugi::xml_attribute attribute : root_.attributes()) {
            const std::string_view name = attribute.name();
            if (name.substr(0, 6) == "xmlns:" && std::string_view(attribute.value()) == uri) {
                return std::string(name.substr(6));
            }
        }
        return std::nullopt;
    }

    // The prefix bound on the root to `uri`, bound there under `preferred` (or a variant
    // of it that is free) on first use.
    std::string Prefix(const char* uri, const std::string& preferred) {
        std::optional<std::string> prefix = BoundPrefix(uri);
        for (int n = 1; !prefix; ++n) {
            const std::string candidate = n == 1 ? preferred : preferred + std::to_string(n);
            if (!root_.attribute(("xmlns:" + candidate).c_str())) {
                root_.append_attribute(("xmlns:" + candidate).c_str()).set_value(uri);
                prefix = candidate;
            }
        }
        return prefixes_[uri] = *prefix;
    }

    std::string Inkscape(const char* name) {
        return Prefix(kInkscapeNamespace, "inkscape") + ":" + name;
    }
    std::string Sodipodi(const char* name) {
        return Prefix(kSodipodiNamespace, "sodipodi") + ":" + name;
    }
    std::string PaintAttribute(const std::string& name) {
        return Prefix(kPaintNamespace, "mesrapaint") + ":" + name;
    }

    static void SetAttribute(pugi::xml_node node, const std::string& name,
                             const std::string& value) {
        pugi::xml_attribute attribute = node.attribute(name.c_str());
        if (!attribute) {
            attribute = node.append_attribute(name.c_str());
        }
        attribute.set_value(value.c_str());
    }

    // Drops the attributes whose prefix is `prefix`, or the unbound `fallback` that the
    // reader takes for the same namespace.
    static void RemovePrefixed(pugi::xml_node node, const std::string& prefix,
                               const std::string& fallback) {
        for (pugi::xml_attribute attribute = node.first_attribute(); attribute;) {
            const pugi::xml_attribute next = attribute.next_attribute();
            const std::string_view name = attribute.name();
            const std::size_t colon = name.find(':');
            if (colon != std::string_view::npos &&
                (name.substr(0, colon) == prefix || name.substr(0, colon) == fallback)) {
                node.remove_attribute(attribute);
            }
            attribute = next;
        }
    }

    pugi::xml_node NewElement(pugi::xml_node container, const char* name) {
        return container.append_child((elementPrefix_ + name).c_str());
    }

    // ---- Layers ----

    pugi::xml_node PrepareLayer(const Layer& layer) {
        pugi::xml_node node = Claim(layer.source);
        const auto known =
            node ? baselineLayers_.find(node.internal_object()) : baselineLayers_.end();
        const Layer* before = known != baselineLayers_.end() ? known->second : nullptr;
        if (before == nullptr) {
            if (node) {
                claimed_.erase(node.internal_object());
            }
            node = NewElement(root_, "g");
            SetAttribute(node, Inkscape("groupmode"), "layer");
            fullTransform_[node.internal_object()] = Affine{};
        }
        if (before == nullptr || before->title != layer.title) {
            SetAttribute(node, Inkscape("label"), layer.title);
        }
        if (before == nullptr || before->locked != layer.locked) {
            if (layer.locked) {
                SetAttribute(node, Sodipodi("insensitive"), "true");
            } else {
                node.remove_attribute(Sodipodi("insensitive").c_str());
            }
        }
        if (before == nullptr ? !layer.visible : before->visible != layer.visible) {
            if (layer.visible) {
                RemoveProperty(node, "display");
            } else {
                SetProperty(node, "display", "none");
            }
        }
        return node;
    }

    // ---- Art ----

    // Writes a list of art into `container` (whose accumulated transform is `ctm`) and puts
    // the elements in paint order; with `items`, hands the elements to the caller to place.
    void WriteList(const std::vector<std::unique_ptr<Art>>& list, pugi::xml_node container,
                   const Affine& ctm, bool wholeStyle, std::vector<pugi::xml_node>* items) {
        std::vector<pugi::xml_node> nodes;
        for (const auto& art : list) {
            if (const pugi::xml_node node = WriteArt(*art, container, ctm, wholeStyle)) {
                nodes.push_back(node);
            }
        }
        if (items != nullptr) {
            items->insert(items->end(), nodes.begin(), nodes.end());
        } else {
            Place(container, nodes);
        }
    }

    // The element of an art, updated or made (appended to `container`, to be placed by the
    // caller); null for art that is not written.
    pugi::xml_node WriteArt(const Art& art, pugi::xml_node container, const Affine& ctm,
                            bool wholeStyle) {
        pugi::xml_node node = Claim(art.source);
        const Art* before = nullptr;
        if (node) {
            const auto known = baselineArt_.find(node.internal_object());
            if (known != baselineArt_.end() && known->second->type == art.type) {
                before = known->second;
            } else {
                claimed_.erase(node.internal_object());
                node = {};
            }
        }
        if (before == nullptr) {
            return WriteNewArt(art, container, ctm);
        }
        const bool moved = node.parent() != container;
        wholeStyle = wholeStyle || moved;
        Affine full = fullTransform_[node.internal_object()];
        if (!SameAffine(parentTransform_[node.internal_object()], ctm)) {
            // Under a parent that renders elsewhere: the element keeps where it renders.
            if (const auto inverse = Invert(ctm)) {
                const Affine own = Compose(*inverse, full);
                if (IsIdentity(own)) {
                    node.remove_attribute("transform");
                } else {
                    SetAttribute(node, "transform", MatrixText(own));
                }
            } else {
                full = ctm;
                node.remove_attribute("transform");
            }
        }
        WriteStates(art, before, node);
        if (art.type == ArtType::Path) {
            if (!SameSegments(art.segments, before->segments) || art.closed != before->closed) {
                SetGeometry(node, PathData({&art}, full, ctm, node));
            }
            WriteStyle(art.style, wholeStyle ? nullptr : &before->style, node, full);
        } else if (art.type == ArtType::Text) {
            WriteText(art.pointText, wholeStyle ? nullptr : &before->pointText, node, ctm);
        } else if (art.type == ArtType::Group && LocalName(node) == "g") {
            WriteList(art.children, node, full, wholeStyle, nullptr);
        } else if (art.type == ArtType::Group) {
            WriteCompound(art, *before, node, full, ctm, wholeStyle);
        }
        return node;
    }

    // A shape element whose subpaths the reader made a group of paths.
    void WriteCompound(const Art& art, const Art& before, pugi::xml_node node, Affine& full,
                       const Affine& ctm, bool wholeStyle) {
        const bool same =
            art.children.size() == before.children.size() &&
            std::equal(art.children.begin(), art.children.end(), before.children.begin(),
                       [](const auto& a, const auto& b) { return SamePath(*a, *b); });
        if (same && !wholeStyle) {
            return;
        }
        std::vector<const Art*> paths;
        for (const auto& child : art.children) {
            if (child->type == ArtType::Path && !child->source &&
                SameStyle(child->style, art.children.front()->style)) {
                paths.push_back(child.get());
            }
        }
        if (!paths.empty() && paths.size() == art.children.size()) {
            if (!same) {
                SetGeometry(node, PathData(paths, full, ctm, node));
            }
            const bool styleKept = !before.children.empty() &&
                                   SameStyle(paths.front()->style, before.children.front()->style);
            WriteStyle(paths.front()->style,
                       wholeStyle || !styleKept ? nullptr : &before.children.front()->style, node,
                       full);
            return;
        }
        // Art of other kinds or styles went into it: it becomes a group of its parts.
        node.set_name((elementPrefix_ + "g").c_str());
        for (const char* attribute : kGeometryAttributes) {
            node.remove_attribute(attribute);
        }
        WriteList(art.children, node, full, true, nullptr);
    }

    pugi::xml_node WriteNewArt(const Art& art, pugi::xml_node container, const Affine& ctm) {
        pugi::xml_node node;
        if (art.type == ArtType::Group) {
            node = NewElement(container, "g");
            fullTransform_[node.internal_object()] = ctm;
            WriteList(art.children, node, ctm, true, nullptr);
        } else if (art.type == ArtType::Path) {
            node = NewElement(container, "path");
            Affine full = ctm;
            SetGeometry(node, PathData({&art}, full, ctm, node));
            WriteStyle(art.style, nullptr, node, full);
        } else if (art.type == ArtType::Text) {
            node = NewElement(container, "text");
            WriteText(art.pointText, nullptr, node, ctm);
        } else {
            return {};
        }
        WriteStates(art, nullptr, node);
        return node;
    }

    // Name, tags, lock and visibility, where they differ from `before` (all of them for
    // new art).
    void WriteStates(const Art& art, const Art* before, pugi::xml_node node) {
        if (before == nullptr ? !art.name.empty() : before->name != art.name) {
            if (!art.name.empty()) {
                SetAttribute(node, Inkscape("label"), art.name);
            } else if (const auto prefix = BoundPrefix(kInkscapeNamespace)) {
                node.remove_attribute((*prefix + ":label").c_str());
            }
        }
        if (before == nullptr ? !art.tags.empty() : before->tags != art.tags) {
            RemovePrefixed(node, BoundPrefix(kTagsNamespace).value_or("mesra"), "mesra");
            for (const auto& [name, value] : art.tags) {
                if (IsNcName(name)) {
                    SetAttribute(node, Prefix(kTagsNamespace, "mesra") + ":" + name,
                                 Utf8FromWindows1252(value));
                }
            }
        }
        if (before == nullptr ? art.locked : before->locked != art.locked) {
            if (art.locked) {
                SetAttribute(node, Sodipodi("insensitive"), "true");
            } else if (const auto prefix = BoundPrefix(kSodipodiNamespace)) {
                node.remove_attribute((*prefix + ":insensitive").c_str());
            }
        }
        if (before == nullptr ? art.hidden : before->hidden != art.hidden) {
            if (art.hidden) {
                SetProperty(node, "display", "none");
            } else {
                RemoveProperty(node, "display");
                SetProperty(node, "visibility", "visible");
            }
        }
    }

    // The style properties of a path that differ from `before` (all of them without it),
    // lengths in the user units of the accumulated transform `full`.
    void WriteStyle(const PathStyle& style, const PathStyle* before, pugi::xml_node node,
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
                dash += (dash.empty() ? "" : ",") + length(d);
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

    void WritePaintExtras(pugi::xml_node node, const std::string& which, const Paint& paint,
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

    // ---- Texts ----

    // Points per user unit.
    double Scale() const {
        const double k = document_.unitScale;
        return k > 0 && std::isfinite(k) ? k : 1.0;
    }

    // What differs from `before` of a point text (all of it without `before`), written into
    // its `text` element under a parent whose accumulated transform is `ctm`. The element's
    // transform is the frame's matrix with y downwards; its user units are the document's,
    // in which its font size and its lines' positions are.
    void WriteText(const PointText& text, const PointText* before, pugi::xml_node node,
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
        if (was == nullptr || !SamePaint(was->fill, f.fill) ||
            was->fillOverprint != f.fillOverprint) {
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

    // Path data of the paths' subpaths in the user units of `full`, the accumulated transform
    // of the element under a parent whose accumulated transform is `parent`. When `full`
    // cannot be inverted, the element's transform is set to undo its parent's (when that can
    // be undone) and the data is in user space; `full` is then the identity.
    std::string PathData(const std::vector<const Art*>& paths, Affine& full, const Affine& parent,
                         pugi::xml_node node) {
        std::optional<Affine> inverse = Invert(full);
        if (!inverse) {
            const auto undo = Invert(parent);
            if (undo && !IsIdentity(*undo)) {
                SetAttribute(node, "transform", MatrixText(*undo));
            } else {
                node.remove_attribute("transform");
            }
            inverse = Affine{};
            full = Affine{};
        }
        // From artwork points (y upwards) to the element's user units, and back as the
        // reader maps them.
        const double k = document_.unitScale;
        const Affine toArtwork = Compose(Affine{k, 0, 0, -k, 0, 0}, full);
        const Affine toLocal = Compose(*inverse, Affine{1 / k, 0, 0, -1 / k, 0, 0});
        std::string data;
        // The fewest decimals that read back to the same point of the host's floats.
        const auto point = [&](const AIRealPoint& p) {
            const Vec v = Apply(toLocal, {p.h, p.v});
            std::string text;
            for (int decimals = 0; decimals <= kDecimals; ++decimals) {
                const std::string x = FormatDecimal(v.x, decimals);
                const std::string y = FormatDecimal(v.y, decimals);
                text = x + "," + y;
                const Vec back = Apply(toArtwork, {ParseDecimal(x), ParseDecimal(y)});
                if (static_cast<AIReal>(back.x) == p.h && static_cast<AIReal>(back.y) == p.v) {
                    break;
                }
            }
            return text;
        };
        const auto samePoint = [](const AIRealPoint& p, const AIRealPoint& q) {
            return p.h == q.h && p.v == q.v;
        };
        const auto curve = [&](const AIPathSegment& from, const AIPathSegment& to) {
            if (samePoint(from.out, from.p) && samePoint(to.in, to.p)) {
                data += " L " + point(to.p);
            } else {
                data += " C " + point(from.out) + " " + point(to.in) + " " + point(to.p);
            }
        };
        for (const Art* path : paths) {
            const auto& segments = path->segments;
            if (segments.empty()) {
                continue;
            }
            data += (data.empty() ? "M " : " M ") + point(segments.front().p);
            for (std::size_t i = 1; i < segments.size(); ++i) {
                curve(segments[i - 1], segments[i]);
            }
            if (path->closed) {
                // A straight closing segment is the close itself.
                const AIPathSegment& last = segments.back();
                const AIPathSegment& first = segments.front();
                if (segments.size() > 1 &&
                    !(samePoint(last.out, last.p) && samePoint(first.in, first.p))) {
                    curve(last, first);
                }
                data += " Z";
            }
        }
        return data;
    }

    // Replaces the geometry of an element by path data (a shape becomes a `path`).
    void SetGeometry(pugi::xml_node node, const std::string& data) {
        if (LocalName(node) != "path") {
            node.set_name((elementPrefix_ + "path").c_str());
            for (const char* attribute : kGeometryAttributes) {
                node.remove_attribute(attribute);
            }
        }
        SetAttribute(node, "d", data);
    }

    // A transform attribute; with more decimals than coordinates, since its error is
    // multiplied by the coordinates it maps.
    static std::string MatrixText(const Affine& m) {
        constexpr int kMatrixDecimals = 10;
        std::string text = "matrix(";
        for (const double v : {m.a, m.b, m.c, m.d, m.e, m.f}) {
            text += (text.size() > 7 ? "," : "") + FormatDecimal(v, kMatrixDecimals);
        }
        return text + ")";
    }

    // ---- Order and removal ----

    // Puts `items` into `container` in this order. Items already there in an order that
    // agrees are left where they are, between the nodes the host does not model; the others
    // go right above the item before them (the first below the lowest item kept).
    static void Place(pugi::xml_node container, const std::vector<pugi::xml_node>& items) {
        std::unordered_map<NodeKey, std::size_t> ordinal;
        std::size_t n = 0;
        for (const pugi::xml_node child : container.children()) {
            ordinal[child.internal_object()] = n++;
        }
        std::unordered_set<NodeKey> kept;
        bool any = false;
        std::size_t last = 0;
        for (const pugi::xml_node& item : items) {
            const auto it = ordinal.find(item.internal_object());
            if (it != ordinal.end() && (!any || it->second > last)) {
                kept.insert(item.internal_object());
                last = it->second;
                any = true;
            }
        }
        pugi::xml_node previous;
        for (const pugi::xml_node& item : items) {
            if (kept.count(item.internal_object()) == 0) {
                if (previous) {
                    container.insert_move_after(item, previous);
                } else {
                    const auto lowest = std::find_if(
                        items.begin(), items.end(),
                        [&](const auto& i) { return kept.count(i.internal_object()) != 0; });
                    if (lowest != items.end()) {
                        container.insert_move_before(item, *lowest);
                    } else {
                        container.append_move(item);
                    }
                }
            }
            previous = item;
        }
    }

    // Removes the elements of art and layers that the document no longer has.
    void RemoveDisposed() {
        std::unordered_set<NodeKey> gone;
        for (const auto& entries : {KeysOf(baselineArt_), KeysOf(baselineLayers_)}) {
            for (const NodeKey key : entries) {
                if (claimed_.count(key) == 0) {
                    gone.insert(key);
                }
            }
        }
        std::vector<pugi::xml_node> remove;
        for (const NodeKey key : gone) {
            const pugi::xml_node node(key);
            bool inside = false;
            for (pugi::xml_node up = node.parent(); up && !inside; up = up.parent()) {
                inside = gone.count(up.internal_object()) != 0;
            }
            if (!inside) {
                remove.push_back(node);
            }
        }
        for (const pugi::xml_node& node : remove) {
            node.parent().remove_child(node);
        }
    }

    template <typename Map>
    static std::vector<NodeKey> KeysOf(const Map& map) {
        std::vector<NodeKey> keys;
        for (const auto& entry : map) {
            keys.push_back(entry.first);
        }
        return keys;
    }

    const Document& document_;
    pugi::xml_document& out_;
    pugi::xml_node root_;
    std::unordered_map<NodeKey, pugi::xml_node> original_;
    std::string elementPrefix_;
    std::unordered_map<NodeKey, const Art*> baselineArt_;
    std::unordered_map<NodeKey, const Layer*> baselineLayers_;
    std::optional<std::string> strayTitle_;
    std::unordered_map<NodeKey, Affine> parentTransform_;
    std::unordered_map<NodeKey, Affine> fullTransform_;
    std::unordered_set<NodeKey> claimed_;
    std::unordered_map<std::string, std::string> prefixes_;
};

// The root of a document that has no file: its size in points (millimetres when a user
// unit is one), a viewBox in user units, and the namespaces the writer uses.
void StartNewSvg(const Document& document, pugi::xml_document& out) {
    pugi::xml_node declaration = out.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    declaration.append_attribute("standalone").set_value("no");
    pugi::xml_node root = out.append_child("svg");
    root.append_attribute("xmlns").set_value(kSvgNamespace);
    root.append_attribute("xmlns:inkscape").set_value(kInkscapeNamespace);
    root.append_attribute("xmlns:sodipodi").set_value(kSodipodiNamespace);
    root.append_attribute("xmlns:mesra").set_value(kTagsNamespace);
    const double k =
        document.unitScale > 0 && std::isfinite(document.unitScale) ? document.unitScale : 1.0;
    const bool millimetres = std::fabs(k - kPointsPerMm) <= kSameScale * kPointsPerMm;
    const auto size = [&](double userUnits) {
        return millimetres ? FormatDecimal(userUnits) + "mm" : FormatDecimal(userUnits * k) + "pt";
    };
    root.append_attribute("width").set_value(size(document.width).c_str());
    root.append_attribute("height").set_value(size(document.height).c_str());
    root.append_attribute("viewBox").set_value(
        ("0 0 " + FormatDecimal(document.width) + " " + FormatDecimal(document.height)).c_str());
    root.append_attribute("version").set_value("1.1");
}

}  // namespace

std::string FormatDecimal(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "0";
    }
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::fixed, std::clamp(decimals, 0, 17));
    if (ec != std::errc()) {
        return "0";
    }
    std::string text(buffer, end);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') {
            text.pop_back();
        }
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text == "-0" ? "0" : text;
}

std::string WriteSvg(const Document& document) {
    std::unique_ptr<Document> baseline;
    if (document.source && document.source->document_element()) {
        std::ostringstream text;
        // With a byte-order mark, which the reader trusts over an encoding the declaration
        // names: the tree holds UTF-8 whatever the file was. Without a declaration the
        // file did not have, which would put the copy's nodes out of step with the file's.
        document.source->save(
            text, "", pugi::format_raw | pugi::format_write_bom | pugi::format_no_declaration,
            pugi::encoding_utf8);
        baseline = ReadSvg(text.str(), nullptr);
    }
    pugi::xml_document fresh;
    pugi::xml_document& out = baseline ? *baseline->source : fresh;
    std::unordered_map<NodeKey, pugi::xml_node> original;
    if (baseline) {
        MapNodes(*document.source, out, original);
    } else {
        StartNewSvg(document, out);
    }
    Writer(document, out, baseline.get(), std::move(original)).Write();
    // The text is written in UTF-8 whatever the file it came from was.
    for (pugi::xml_node node : out.children()) {
        if (node.type() == pugi::node_declaration && node.attribute("encoding")) {
            node.attribute("encoding").set_value("UTF-8");
        }
    }
    std::ostringstream text;
    KeepTextUnindented(out);
    out.save(text, "  ", pugi::format_indent, pugi::encoding_utf8);
    return text.str();
}

bool WriteSvgFile(const Document& document, const std::filesystem::path& file, std::string* error) {
    const std::string text = WriteSvg(document);
    const auto fail = [&](const std::string& reason) {
        if (error) {
            *error = file.string() + ": " + reason;
        }
        return false;
    };
    std::random_device random;
    const std::filesystem::path temporary =
        file.parent_path() /
        ("." + file.filename().string() + ".tmp-" + std::to_string(random() % 1000000000u));
    {
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        if (!stream) {
            return fail("cannot be written (cannot create a file in its folder)");
        }
        stream.write(text.data(), static_cast<std::streamsize>(text.size()));
        stream.close();
        if (!stream) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return fail("cannot be written");
        }
    }
    std::error_code renamed;
    std::filesystem::rename(temporary, file, renamed);
    if (renamed) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return fail("cannot be written: " + renamed.message());
    }
    return true;
}

}  // namespace emulator
