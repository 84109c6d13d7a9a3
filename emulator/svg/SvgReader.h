// The parts of the SVG reader (see SvgImport.h) that its source files share. The reader
// walks the tree in SvgImport.cpp (the file's bytes, namespaces, layers, groups, the
// document); its other parts are in SvgImportEntities.cpp (the DOCTYPE's entities),
// SvgImportUnits.cpp (numbers, lengths, the document's scale and size), SvgImportPaths.cpp
// (path data, shapes and the host's segments), SvgImportStyles.cpp (colours, paints and
// styles) and SvgImportText.cpp (point text).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "emulator/core/Document.h"
#include "emulator/svg/SvgSource.h"
#include "emulator/svg/SvgSyntax.h"

namespace emulator::svg_reader {

using svg::Affine;
using svg::Apply;
using svg::Compose;
using svg::IsAlpha;
using svg::IsDigit;
using svg::IsFinite;
using svg::IsSpace;
using svg::ParseTransform;
using svg::Radians;
using svg::Scanner;
using svg::Trim;
using svg::Vec;

// ---- Numbers and lengths (SvgImportUnits.cpp) --------------------------------------------

char Lower(char c);
char Upper(char c);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);
std::vector<double> NumberList(std::string_view text, bool* complete = nullptr);

enum class Axis { X, Y, Diagonal };

std::optional<double> ParseLength(std::string_view text, Axis axis, Vec viewport);

// ---- Path geometry (SvgImportPaths.cpp) --------------------------------------------------

// A cubic from the end of the previous one (or the subpath's start). A straight segment
// has its control points on its ends.
struct Curve {
    Vec c1;
    Vec c2;
    Vec end;
};

struct Subpath {
    Vec start;
    std::vector<Curve> curves;
    bool closed = false;
};

// ---- Colours and styles (SvgImportStyles.cpp) --------------------------------------------

struct Rgb {
    double red = 0, green = 0, blue = 0;
};

struct PaintValue {
    enum class Kind { None, Color, CurrentColor };
    Kind kind = Kind::None;
    Rgb rgb;
};

// The inherited properties of an element, in its user units.
struct Style {
    PaintValue fill{PaintValue::Kind::Color, {}};
    PaintValue stroke;
    Rgb color;
    double strokeWidth = 1;
    std::vector<double> dash;
    double dashOffset = 0;
    LineCap cap = LineCap::Butt;
    LineJoin join = LineJoin::Miter;
    double miterLimit = 4;
    bool visibilityHidden = false;
};

// What an element's properties give it and its children: the inherited style, and its own
// display (which children do not inherit).
struct ComputedStyle {
    Style inherited;
    bool displayNone = false;
};

ComputedStyle ComputeStyle(const pugi::xml_node& node, const ComputedStyle& parent, Vec viewport);
Paint ModelPaint(const PaintValue& value, const Rgb& color);
std::optional<PathStyle> ModelStyle(const Style& style, double scale);
void ApplyPaintExtras(Art& art, const std::map<std::string, std::string, std::less<>>& extras);

// ---- Entities (SvgImportEntities.cpp) ----------------------------------------------------

// The text with the general entities of its DOCTYPE's internal subset expanded (and their
// declarations taken out) in `expanded`; left empty when the text declares none. Returns
// false, with the reason in English, for an entity that refers to itself or an expansion
// that runs away.
bool ExpandEntities(std::string_view text, std::optional<std::string>& expanded,
                    std::string& reason);

// ---- Namespaces and names (SvgImport.cpp) ------------------------------------------------

// The namespace prefixes bound where the reader stands in the tree.
class Namespaces {
  public:
    // Binds the element's xmlns attributes until the returned count of them is released.
    std::vector<std::string> Enter(const pugi::xml_node& node) {
        std::vector<std::string> bound;
        for (const pugi::xml_attribute attribute : node.attributes()) {
            const std::string_view name = attribute.name();
            if (name == "xmlns") {
                bound.emplace_back();
            } else if (name.substr(0, 6) == "xmlns:") {
                bound.emplace_back(name.substr(6));
            } else {
                continue;
            }
            bindings_[bound.back()].emplace_back(attribute.value());
        }
        return bound;
    }

    void Leave(const std::vector<std::string>& bound) {
        for (const std::string& prefix : bound) {
            auto it = bindings_.find(prefix);
            it->second.pop_back();
            if (it->second.empty()) {
                bindings_.erase(it);
            }
        }
    }

    // The namespace of a prefix ("" for the default); null when it is not bound.
    const std::string* Find(const std::string& prefix) const {
        const auto it = bindings_.find(prefix);
        return it == bindings_.end() ? nullptr : &it->second.back();
    }

  private:
    std::unordered_map<std::string, std::vector<std::string>> bindings_;
};

// What the reader needs of an element's name and of its attributes in other namespaces.
struct ElementInfo {
    std::string_view localName;
    bool svg = false;  // in the SVG namespace, or in none
    std::optional<std::string_view> label;
    bool layer = false;
    bool locked = false;
    Tags tags;
    // The tags of the paths of an element of several subpaths: path number, name, value.
    std::vector<std::tuple<std::size_t, std::string, std::string>> subpathTags;
    // What the paint namespace says of the element's paints, by attribute name.
    std::map<std::string, std::string, std::less<>> paint;
    // What the text namespace says of a point text, by attribute name.
    std::map<std::string, std::string, std::less<>> text;
};

std::pair<std::string, std::string_view> SplitName(std::string_view name);
bool IsTrue(std::string_view value);

// ---- The reader --------------------------------------------------------------------------

// Where an element stands: the map from its user space to the root's, its style, and its
// depth under the root.
struct Context {
    Affine ctm;
    ComputedStyle style;
    int depth = 0;
};

// Reads the drawing of an SVG tree into a document.
class Importer {
  public:
    explicit Importer(Document& document) : document_(document) {}

    void Read(const pugi::xml_node& root);

  private:
    // The root's scale and size (SvgImportUnits.cpp).
    void ReadSize(const pugi::xml_node& root);
    void FillSizeFromBounds();
    // Grows `extent` to hold the art's own anchors, handles and text anchor.
    static void Extend(const Art& art, Vec& extent);

    // The tree (SvgImport.cpp).
    Layer& StrayLayer();
    Layer* CurrentLayer(const pugi::xml_node& root, std::optional<std::string_view> id);
    Context ChildContext(const pugi::xml_node& node, const Context& parent) const;
    void ReadLayer(const pugi::xml_node& node, const ElementInfo& info, const Context& parent,
                   int number);
    void ReadChildren(const pugi::xml_node& node, const Context& context,
                      std::vector<std::unique_ptr<Art>>& into);
    std::unique_ptr<Art> ReadArt(const pugi::xml_node& node, const ElementInfo& info,
                                 const Context& parent);
    std::unique_ptr<Art> ReadOne(const pugi::xml_node& node, const ElementInfo& info,
                                 const Context& context) const;

    // Shapes (SvgImportPaths.cpp).
    std::optional<std::vector<Subpath>> Geometry(const pugi::xml_node& node,
                                                 std::string_view name) const;
    std::unique_ptr<Art> ReadShape(const pugi::xml_node& node, std::string_view name,
                                   const Context& context) const;

    // Point text (SvgImportText.cpp).
    std::unique_ptr<Art> ReadText(const pugi::xml_node& node, const ElementInfo& info,
                                  const Context& context) const;

    Document& document_;
    Namespaces namespaces_;
    Vec viewport_;
    Affine toArtwork_;
    Layer* strayLayer_ = nullptr;
};

}  // namespace emulator::svg_reader
