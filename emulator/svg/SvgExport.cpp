#include "emulator/svg/SvgExport.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <optional>
#include <set>
#include <sstream>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "emulator/core/Unicode.h"
#include "emulator/svg/Gzip.h"
#include "emulator/svg/SvgImport.h"
#include "emulator/svg/SvgWriter.h"

namespace emulator::svg_writer {
namespace {

constexpr double kPointsPerMm = 72 / 25.4;
// A document's points per user unit is taken for a millimetre when it is this close.
constexpr double kSameScale = 1e-7;

// The map of a transform attribute, read as the reader reads it: a malformed list is
// ignored (the identity), as SVG renderers do.
Affine ParseTransform(std::string_view text) {
    return svg::ParseTransform(text).value_or(Affine{});
}

// Records, for each node of `from`, the node of `to` at the same place; the two trees have
// the same shape (one is the other written out and read again), and where they do not the
// walk of that list of children stops. The lists being walked wait on a stack of their own,
// however deep the file nests.
void MapNodes(const pugi::xml_node& from, const pugi::xml_node& to,
              std::unordered_map<NodeKey, pugi::xml_node>& map) {
    map[from.internal_object()] = to;
    std::vector<std::pair<pugi::xml_node, pugi::xml_node>> stack = {
        {from.first_child(), to.first_child()}};
    while (!stack.empty()) {
        const auto [a, b] = stack.back();
        if (!a || !b || a.type() != b.type() || std::string_view(a.name()) != b.name()) {
            stack.pop_back();
            continue;
        }
        stack.back() = {a.next_sibling(), b.next_sibling()};
        map[a.internal_object()] = b;
        stack.emplace_back(a.first_child(), b.first_child());
    }
}

// The layers' elements and the art outside any layer, each in paint order, merged into the
// order of the root's children. Elements already under the root keep the order they have
// there; a new one goes right above the element before it in its own list (a new layer
// above every existing one goes on top of everything, as the host shows layers above the
// art outside them), or right below the element after it when it is the first.
std::vector<pugi::xml_node> Interleave(const pugi::xml_node& root,
                                       const std::vector<pugi::xml_node>& layers,
                                       const std::vector<pugi::xml_node>& loose) {
    std::unordered_map<NodeKey, double> ordinal;
    double n = 0;
    for (const pugi::xml_node child : root.children()) {
        ordinal[child.internal_object()] = n++;
    }
    constexpr double kTop = std::numeric_limits<double>::infinity();
    const auto keys = [&](const std::vector<pugi::xml_node>& items, bool newOnTop) {
        std::vector<double> key(items.size(), kTop);
        std::optional<double> previous;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const auto it = ordinal.find(items[i].internal_object());
            if (it != ordinal.end()) {
                key[i] = it->second;
                previous = it->second;
            } else if (previous) {
                key[i] = *previous + 0.5;
            }
        }
        // New items before the first existing one go right below it; those after the last
        // one on top, when asked.
        std::optional<double> next;
        for (std::size_t i = items.size(); i-- > 0;) {
            if (ordinal.count(items[i].internal_object()) != 0) {
                next = key[i];
            } else if (!next && newOnTop) {
                key[i] = kTop;
            } else if (next && key[i] == kTop) {
                key[i] = *next - 0.5;
            }
        }
        return key;
    };
    const std::vector<double> layerKeys = keys(layers, true);
    const std::vector<double> looseKeys = keys(loose, false);
    std::vector<pugi::xml_node> merged;
    std::size_t i = 0, j = 0;
    while (i < layers.size() || j < loose.size()) {
        // On a tie the art outside the layers goes first, as it is below them in the host.
        if (j < loose.size() && (i == layers.size() || looseKeys[j] <= layerKeys[i])) {
            merged.push_back(loose[j++]);
        } else {
            merged.push_back(layers[i++]);
        }
    }
    return merged;
}

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

std::string_view LocalName(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// ---- The writer --------------------------------------------------------------------------

// `out` is the tree to edit; `baseline` the document read from it before any edit
// (null for a new document), whose art and layers point into `out`; `original` maps
// the nodes of the written document's file to those of `out`.
Writer::Writer(const Document& document, pugi::xml_document& out, const Document* baseline,
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
                baselineLayers_[XmlNode(layer->source).internal_object()] = layer.get();
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

void Writer::Write() {
    // The art of a layer without an element of its own stands for the art the file has
    // outside any layer: it goes back to the root, among the layers, where it was.
    const Layer* stray = nullptr;
    for (const auto& layer : document_.layers) {
        if (strayTitle_ && !ClaimedLayer(*layer) && layer->title == *strayTitle_ &&
            !layer->locked && layer->visible) {
            stray = layer.get();
            break;
        }
    }
    std::vector<pugi::xml_node> loose;
    if (stray != nullptr) {
        WriteList(stray->art, root_, Affine{}, false, &loose);
    }
    std::vector<std::pair<const Layer*, pugi::xml_node>> layers;
    std::vector<pugi::xml_node> layerNodes;
    for (const auto& layer : document_.layers) {
        if (layer.get() != stray && !HoldsNothingNew(*layer)) {
            const pugi::xml_node node = PrepareLayer(*layer);
            layers.emplace_back(layer.get(), node);
            layerNodes.push_back(node);
        }
    }
    Place(root_, Interleave(root_, layerNodes, loose));
    for (const auto& [layer, node] : layers) {
        WriteList(layer->art, node, fullTransform_[node.internal_object()], false, nullptr);
    }
    RemoveDisposed();
}

void Writer::WriteAlone(const Art& art) {
    Inside inside;
    const pugi::xml_node node = WriteArt(art, root_, Affine{}, true, inside);
    if (node && inside.list != nullptr) {
        WriteList(*inside.list, node, inside.ctm, inside.wholeStyle, nullptr);
        if (inside.newGroup != nullptr) {
            WriteStates(*inside.newGroup, nullptr, node);
        }
    }
}

void Writer::IndexArt(const Art& art) {
    std::vector<const Art*> stack = {&art};
    while (!stack.empty()) {
        const Art& next = *stack.back();
        stack.pop_back();
        if (next.source) {
            baselineArt_[XmlNode(next.source).internal_object()] = &next;
        }
        for (const auto& child : next.children) {
            stack.push_back(child.get());
        }
    }
}

// The accumulated transform of every element under `node` and of its parent, the outer
// ones first, with a stack of its own.
void Writer::RecordTransforms(const pugi::xml_node& node, const Affine& ctm) {
    std::vector<std::pair<pugi::xml_node, Affine>> stack = {{node, ctm}};
    while (!stack.empty()) {
        const auto [parent, parentFull] = stack.back();
        stack.pop_back();
        for (const pugi::xml_node child : parent.children()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            Affine full = parentFull;
            if (const pugi::xml_attribute transform = child.attribute("transform")) {
                full = Compose(parentFull, ParseTransform(transform.value()));
            }
            parentTransform_[child.internal_object()] = parentFull;
            fullTransform_[child.internal_object()] = full;
            stack.emplace_back(child, full);
        }
    }
}

// The node of `out` standing for a model node of the document's file, when it has one
// not claimed by other art yet.
pugi::xml_node Writer::Claim(const pugi::xml_node& source) {
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

bool Writer::ClaimedLayer(const Layer& layer) const {
    if (!layer.source) {
        return false;
    }
    const auto it = original_.find(XmlNode(layer.source).internal_object());
    return it != original_.end() && baselineLayers_.count(it->second.internal_object()) != 0;
}

// ---- Namespaces --------------------------------------------------------------------------

// The prefix bound on the root to `uri`, if any.
std::optional<std::string> Writer::BoundPrefix(const char* uri) const {
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
std::string Writer::Prefix(const char* uri, const std::string& preferred) {
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

void Writer::SetAttribute(pugi::xml_node node, const std::string& name, const std::string& value) {
    pugi::xml_attribute attribute = node.attribute(name.c_str());
    if (!attribute) {
        attribute = node.append_attribute(name.c_str());
    }
    attribute.set_value(value.c_str());
}

// Drops the attributes whose prefix is `prefix`, or the unbound `fallback` that the
// reader takes for the same namespace.
void Writer::RemovePrefixed(pugi::xml_node node, const std::string& prefix,
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

// ---- Layers ------------------------------------------------------------------------------

pugi::xml_node Writer::PrepareLayer(const Layer& layer) {
    pugi::xml_node node = Claim(XmlNode(layer.source));
    const auto known = node ? baselineLayers_.find(node.internal_object()) : baselineLayers_.end();
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
    if (before == nullptr ? !layer.group.tags.empty() : before->group.tags != layer.group.tags) {
        WriteTags(layer.group.tags, node);
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

// True for a layer the file did not have that holds nothing drawn (its art, if any, all
// DrawsNothingNew): the layer a tool made for a measure whose second point is not taken
// yet, or whose unfinished measure was given up, left out with that measure's art.
bool Writer::HoldsNothingNew(const Layer& layer) {
    if (layer.source && original_.count(XmlNode(layer.source).internal_object()) != 0) {
        return false;
    }
    return std::all_of(layer.art.begin(), layer.art.end(),
                       [this](const auto& art) { return DrawsNothingNew(*art); });
}

// ---- Order and removal -------------------------------------------------------------------

// Puts `items` into `container` in this order. Items already there in an order that
// agrees are left where they are, between the nodes the host does not model; the others
// go right above the item before them (the first below the lowest item kept).
void Writer::Place(pugi::xml_node container, const std::vector<pugi::xml_node>& items) {
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
                const auto lowest = std::find_if(items.begin(), items.end(), [&](const auto& i) {
                    return kept.count(i.internal_object()) != 0;
                });
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
void Writer::RemoveDisposed() {
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

}  // namespace emulator::svg_writer

namespace emulator {

namespace {

// `text` without the characters XML 1.0 forbids: the controls other than tab, line feed and
// carriage return, and U+FFFE and U+FFFF (UTF-8). Nothing when it holds none.
std::optional<std::string> WithoutForbiddenCharacters(std::string_view text) {
    const auto forbiddenAt = [&text](std::size_t i) -> std::size_t {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            return 1;
        }
        if (c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
            (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xBE) {
            return 3;
        }
        return 0;
    };
    std::optional<std::string> kept;
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t n = forbiddenAt(i)) {
            if (!kept) {
                kept = std::string(text.substr(0, i));
            }
            i += n;
            continue;
        }
        if (kept) {
            kept->push_back(text[i]);
        }
        ++i;
    }
    return kept;
}

// Takes the characters XML forbids out of every attribute value and text below `node`: a
// file holding one, even as a character reference, is refused by XML readers. The parser's
// own walk, which needs no stack however deep the document nests.
void DropForbiddenCharacters(pugi::xml_node node) {
    struct Walker : pugi::xml_tree_walker {
        bool for_each(pugi::xml_node& n) override {
            for (pugi::xml_attribute attribute : n.attributes()) {
                if (auto kept = WithoutForbiddenCharacters(attribute.value())) {
                    attribute.set_value(kept->c_str());
                }
            }
            // Texts, comments, processing instructions and the document type alike.
            if (*n.value() != '\0') {
                if (auto kept = WithoutForbiddenCharacters(n.value())) {
                    n.set_value(kept->c_str());
                }
            }
            return true;
        }
    } walker;
    node.traverse(walker);
}

}  // namespace

std::string WriteSvg(const Document& document) {
    std::unique_ptr<Document> baseline;
    const pugi::xml_document* source = SourceXml(document);
    if (source != nullptr && source->document_element()) {
        std::ostringstream text;
        // With a byte-order mark, which the reader trusts over an encoding the declaration
        // names: the tree holds UTF-8 whatever the file was. Without a declaration the
        // file did not have, which would put the copy's nodes out of step with the file's.
        source->save(text, "",
                     pugi::format_raw | pugi::format_write_bom | pugi::format_no_declaration,
                     pugi::encoding_utf8);
        baseline = ReadSvg(text.str(), nullptr);
    }
    pugi::xml_document fresh;
    pugi::xml_document& out = baseline ? *SourceXml(*baseline) : fresh;
    std::unordered_map<svg_writer::NodeKey, pugi::xml_node> original;
    if (baseline) {
        svg_writer::MapNodes(*source, out, original);
    } else {
        svg_writer::StartNewSvg(document, out);
    }
    svg_writer::Writer(document, out, baseline.get(), std::move(original)).Write();
    // The text is written in UTF-8 whatever the file it came from was.
    for (pugi::xml_node node : out.children()) {
        if (node.type() == pugi::node_declaration && node.attribute("encoding")) {
            node.attribute("encoding").set_value("UTF-8");
        }
    }
    std::ostringstream text;
    svg_writer::KeepUnindented(out);
    DropForbiddenCharacters(out);
    out.save(text, "  ", pugi::format_indent, pugi::encoding_utf8);
    return text.str();
}

std::string WriteSvgArt(const Document& document, const Art& art) {
    pugi::xml_document out;
    svg_writer::StartNewSvg(document, out);
    svg_writer::Writer(document, out, nullptr, {}).WriteAlone(art);
    // Only what draws goes out: the elements of art and the attributes of SVG itself (no
    // name, tag or state of another namespace but xml:space, which texts need).
    struct Drawing : pugi::xml_tree_walker {
        std::vector<pugi::xml_node> strays;
        bool for_each(pugi::xml_node& node) override {
            static const std::set<std::string_view> kElements = {"g", "path", "text", "tspan"};
            if (node.type() == pugi::node_element && kElements.count(node.name()) == 0) {
                strays.push_back(node);
                return true;
            }
            for (pugi::xml_attribute attribute = node.first_attribute(); attribute;) {
                const pugi::xml_attribute next = attribute.next_attribute();
                const std::string_view name = attribute.name();
                if ((name.find(':') != std::string_view::npos && name != "xml:space") ||
                    name.substr(0, 2) == "on" || name.find("href") != std::string_view::npos) {
                    node.remove_attribute(attribute);
                }
                attribute = next;
            }
            return true;
        }
    } walker;
    pugi::xml_node root = out.document_element();
    root.traverse(walker);
    for (pugi::xml_node& stray : walker.strays) {
        stray.parent().remove_child(stray);
    }
    DropForbiddenCharacters(root);
    std::ostringstream text;
    for (const pugi::xml_node child : root.children()) {
        child.print(text, "", pugi::format_raw, pugi::encoding_utf8);
    }
    return text.str();
}

bool WriteSvgFile(const Document& document, const std::filesystem::path& file, std::string* error) {
    std::string extension = Utf8FromPath(file.extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return WriteFileWhole(
        file, extension == ".svgz" ? GzipDeflate(WriteSvg(document)) : WriteSvg(document), error);
}

}  // namespace emulator
