#include "emulator/svg/SvgImport.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <tuple>
#include <utility>
#include <vector>

#include "emulator/core/ArtTree.h"
#include "emulator/core/Unicode.h"
#include "emulator/svg/Gzip.h"
#include "emulator/svg/SvgReader.h"

namespace emulator::svg_reader {
namespace {

// Elements nested deeper than this under the root are left to the DOM.
constexpr int kMaxDepth = 256;

constexpr std::string_view kSvgNamespace = "http://www.w3.org/2000/svg";
constexpr std::string_view kInkscapeNamespace = "http://www.inkscape.org/namespaces/inkscape";
constexpr std::string_view kSodipodiNamespace =
    "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";

// The namespace of an attribute's prefix. A file that uses the usual prefixes of the
// illustration programs (or ours) without binding them is read as if it had.
std::string_view AttributeNamespace(const Namespaces& namespaces, const std::string& prefix) {
    if (const std::string* uri = namespaces.Find(prefix)) {
        return *uri;
    }
    if (prefix == "inkscape") {
        return kInkscapeNamespace;
    }
    if (prefix == "sodipodi") {
        return kSodipodiNamespace;
    }
    if (prefix == "mesra") {
        return kTagsNamespace;
    }
    if (prefix == "mesrasub") {
        return kSubpathTagsNamespace;
    }
    if (prefix == "mesrapaint") {
        return kPaintNamespace;
    }
    if (prefix == "mesratext") {
        return kTextNamespace;
    }
    return {};
}

// The path number, the name and the value (Windows-1252) of an attribute "pN.NAME" of the
// subpath tags' namespace; nothing for another name.
std::optional<std::tuple<std::size_t, std::string, std::string>> SubpathTag(std::string_view name,
                                                                            const char* value) {
    const std::size_t dot = name.find('.');
    if (name.size() < 2 || name.front() != 'p' || dot == std::string_view::npos ||
        dot + 1 == name.size()) {
        return std::nullopt;
    }
    std::size_t index = 0;
    const char* digits = name.data() + 1;
    const auto [end, error] = std::from_chars(digits, name.data() + dot, index);
    if (error != std::errc() || end != name.data() + dot || end == digits) {
        return std::nullopt;
    }
    return std::tuple{index, std::string(name.substr(dot + 1)), Windows1252FromUtf8(value)};
}

ElementInfo ReadElementInfo(const pugi::xml_node& node, const Namespaces& namespaces) {
    ElementInfo info;
    const auto [prefix, local] = SplitName(node.name());
    info.localName = local;
    const std::string* uri = namespaces.Find(prefix);
    info.svg = uri ? *uri == kSvgNamespace : prefix.empty();
    for (const pugi::xml_attribute attribute : node.attributes()) {
        const auto [attributePrefix, name] = SplitName(attribute.name());
        if (attributePrefix.empty() || attributePrefix == "xmlns" || name.empty()) {
            continue;
        }
        const std::string_view ns = AttributeNamespace(namespaces, attributePrefix);
        if (ns == kInkscapeNamespace && name == "label") {
            info.label = attribute.value();
        } else if (ns == kInkscapeNamespace && name == "groupmode") {
            info.layer = std::string_view(attribute.value()) == "layer";
        } else if (ns == kSodipodiNamespace && name == "insensitive") {
            info.locked = IsTrue(attribute.value());
        } else if (ns == kTagsNamespace) {
            info.tags[std::string(name)] = Windows1252FromUtf8(attribute.value());
        } else if (ns == kSubpathTagsNamespace) {
            if (auto tag = SubpathTag(name, attribute.value())) {
                info.subpathTags.push_back(std::move(*tag));
            }
        } else if (ns == kPaintNamespace) {
            info.paint[std::string(name)] = attribute.value();
        } else if (ns == kTextNamespace) {
            info.text[std::string(name)] = attribute.value();
        }
    }
    return info;
}

// The id that a `sodipodi:namedview` names in `inkscape:current-layer`, if the element is
// one that names it.
std::optional<std::string_view> CurrentLayerId(const pugi::xml_node& node,
                                               const Namespaces& namespaces) {
    const auto [prefix, local] = SplitName(node.name());
    if (local != "namedview" || AttributeNamespace(namespaces, prefix) != kSodipodiNamespace) {
        return std::nullopt;
    }
    for (const pugi::xml_attribute attribute : node.attributes()) {
        const auto [attributePrefix, name] = SplitName(attribute.name());
        if (name == "current-layer" && !attributePrefix.empty() &&
            AttributeNamespace(namespaces, attributePrefix) == kInkscapeNamespace) {
            return std::string_view(attribute.value());
        }
    }
    return std::nullopt;
}

// Gives the art and everything in it their layer and parents.
void Attach(Art& art, Layer* layer) {
    art.parent = nullptr;
    ForEachArt(art, [layer](Art& a) {
        a.layer = layer;
        for (const auto& child : a.children) {
            child->parent = &a;
        }
    });
}

}  // namespace

std::pair<std::string, std::string_view> SplitName(std::string_view name) {
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos) {
        return {std::string(), name};
    }
    return {std::string(name.substr(0, colon)), name.substr(colon + 1)};
}

bool IsTrue(std::string_view value) {
    return value == "true" || value == "1";
}

// ---- The reader --------------------------------------------------------------------------

void Importer::Read(const pugi::xml_node& root) {
    const std::vector<std::string> bound = namespaces_.Enter(root);
    ReadSize(root);
    Context context;
    context.style = ComputeStyle(root, ComputedStyle{}, viewport_);
    context.style.displayNone = false;
    int layerNumber = 0;
    std::optional<std::string_view> currentLayerId;
    for (const pugi::xml_node child : root.children()) {
        if (child.type() != pugi::node_element) {
            continue;
        }
        const std::vector<std::string> childBound = namespaces_.Enter(child);
        const ElementInfo info = ReadElementInfo(child, namespaces_);
        if (const auto id = CurrentLayerId(child, namespaces_); id && !currentLayerId) {
            currentLayerId = id;
        }
        if (info.svg && info.localName == "g" && info.layer) {
            ReadLayer(child, info, context, ++layerNumber);
        } else if (auto art = ReadArt(child, info, context)) {
            StrayLayer().art.push_back(std::move(art));
        }
        namespaces_.Leave(childBound);
    }
    namespaces_.Leave(bound);
    if (document_.layers.empty()) {
        StrayLayer();
    }
    for (const auto& layer : document_.layers) {
        for (const auto& art : layer->art) {
            Attach(*art, layer.get());
        }
    }
    document_.currentLayer = CurrentLayer(root, currentLayerId);
    FillSizeFromBounds();
}

// The layer whose element (or an element inside it) has the id that the file names as its
// current layer; else the topmost layer that is unlocked and visible; else the topmost.
Layer* Importer::CurrentLayer(const pugi::xml_node& root, std::optional<std::string_view> id) {
    if (id && !id->empty()) {
        const pugi::xml_node named = root.find_node([&](const pugi::xml_node& node) {
            return node.type() == pugi::node_element && *id == node.attribute("id").value();
        });
        for (pugi::xml_node node = named; node && node != root; node = node.parent()) {
            for (const auto& layer : document_.layers) {
                if (layer->source == SourceOf(node)) {
                    return layer.get();
                }
            }
        }
    }
    for (auto layer = document_.layers.rbegin(); layer != document_.layers.rend(); ++layer) {
        if (!(*layer)->locked && (*layer)->visible) {
            return layer->get();
        }
    }
    return document_.layers.back().get();
}

// The layer of the art outside any layer, made at the bottom the first time.
Layer& Importer::StrayLayer() {
    if (!strayLayer_) {
        auto layer = std::make_unique<Layer>();
        layer->title = "Calque 1";
        strayLayer_ = layer.get();
        document_.layers.insert(document_.layers.begin(), std::move(layer));
    }
    return *strayLayer_;
}

Context Importer::ChildContext(const pugi::xml_node& node, const Context& parent) const {
    Context context;
    context.ctm = parent.ctm;
    if (const pugi::xml_attribute transform = node.attribute("transform")) {
        if (const auto own = ParseTransform(transform.value())) {
            context.ctm = Compose(parent.ctm, *own);
        }
    }
    context.style = ComputeStyle(node, parent.style, viewport_);
    context.depth = parent.depth + 1;
    return context;
}

void Importer::ReadLayer(const pugi::xml_node& node, const ElementInfo& info, const Context& parent,
                         int number) {
    const Context context = ChildContext(node, parent);
    auto layer = std::make_unique<Layer>();
    if (info.label) {
        layer->title = std::string(*info.label);
    } else if (const pugi::xml_attribute id = node.attribute("id")) {
        layer->title = id.value();
    } else {
        layer->title = "Calque " + std::to_string(number);
    }
    layer->locked = info.locked;
    layer->group.tags = info.tags;
    layer->visible = !context.style.displayNone;
    layer->source = SourceOf(node);
    ReadChildren(node, context, layer->art);
    document_.layers.push_back(std::move(layer));
}

// Reads the elements inside `node` (whose context is `context`) into `into`, and what the
// groups among them hold, depth first. The groups being read wait on a stack of their own,
// so that however deep the file nests, the reader needs none of the thread's.
void Importer::ReadChildren(const pugi::xml_node& node, const Context& context,
                            std::vector<std::unique_ptr<Art>>& into) {
    struct Level {
        pugi::xml_node next;  // the next node to read in the element
        Context context;      // the element's
        std::vector<std::unique_ptr<Art>>* into;
        std::vector<std::string> bound;  // the namespaces the element binds
    };
    std::vector<Level> stack;
    stack.push_back({node.first_child(), context, &into, {}});
    while (!stack.empty()) {
        Level& level = stack.back();
        if (!level.next) {
            namespaces_.Leave(level.bound);
            stack.pop_back();
            continue;
        }
        const pugi::xml_node child = level.next;
        level.next = child.next_sibling();
        if (child.type() != pugi::node_element || level.context.depth + 1 > kMaxDepth) {
            continue;
        }
        std::vector<std::string> bound = namespaces_.Enter(child);
        const ElementInfo info = ReadElementInfo(child, namespaces_);
        std::unique_ptr<Art> art;
        Context childContext;
        if (info.svg) {
            childContext = ChildContext(child, level.context);
            art = ReadOne(child, info, childContext);
        }
        if (art && art->type == ArtType::Group && info.localName == "g") {
            std::vector<std::unique_ptr<Art>>* children = &art->children;
            level.into->push_back(std::move(art));
            // The namespaces stay bound while what the group holds is read.
            stack.push_back(
                {child.first_child(), std::move(childContext), children, std::move(bound)});
            continue;
        }
        if (art) {
            level.into->push_back(std::move(art));
        }
        namespaces_.Leave(bound);
    }
}

// The art of an element (with its namespaces entered) and what it holds, or null when it
// is not modelled or draws nothing.
std::unique_ptr<Art> Importer::ReadArt(const pugi::xml_node& node, const ElementInfo& info,
                                       const Context& parent) {
    if (!info.svg) {
        return nullptr;
    }
    const Context context = ChildContext(node, parent);
    std::unique_ptr<Art> art = ReadOne(node, info, context);
    if (art && art->type == ArtType::Group && info.localName == "g") {
        ReadChildren(node, context, art->children);
    }
    return art;
}

// The art of an SVG element in its context, without what a `g` holds (an empty group);
// null when it is not modelled or draws nothing.
std::unique_ptr<Art> Importer::ReadOne(const pugi::xml_node& node, const ElementInfo& info,
                                       const Context& context) const {
    std::unique_ptr<Art> art;
    if (info.localName == "g") {
        art = std::make_unique<Art>();
        art->type = ArtType::Group;
    } else if (info.localName == "text") {
        art = ReadText(node, info, context);
    } else {
        art = ReadShape(node, info.localName, context);
    }
    if (!art) {
        return nullptr;
    }
    if (info.label) {
        art->name = std::string(*info.label);
    }
    art->hidden = context.style.displayNone || context.style.inherited.visibilityHidden;
    art->locked = info.locked;
    art->tags = info.tags;
    // The tags of its paths, for an element of several subpaths; an element that reads as
    // one path takes those of its first (when it does not give the same tags itself).
    for (const auto& [index, name, value] : info.subpathTags) {
        if (info.localName == "g") {
            break;
        }
        if (art->type == ArtType::Group && index < art->children.size()) {
            art->children[index]->tags[name] = value;
        } else if (art->type == ArtType::Path && index == 0) {
            art->tags.emplace(name, value);
        }
    }
    ApplyPaintExtras(*art, info.paint);
    art->source = SourceOf(node);
    return art;
}

}  // namespace emulator::svg_reader

namespace emulator {
namespace {

// A gzip-compressed file inflates to no more than this.
constexpr std::size_t kMaxInflated = std::size_t{256} << 20;

// True for bytes that can be XML text: markup after an optional byte-order mark and
// whitespace, or text in UTF-16 or UTF-32 (which the parser reads).
bool LooksLikeXml(std::string_view bytes) {
    const auto starts = [&](std::string_view prefix) {
        return bytes.substr(0, prefix.size()) == prefix;
    };
    using namespace std::string_view_literals;
    if (starts("\xFE\xFF") || starts("\xFF\xFE") || starts("\0\0\xFE\xFF"sv) || starts("\0<"sv) ||
        starts("<\0"sv)) {
        return true;
    }
    const std::size_t start = starts("\xEF\xBB\xBF") ? 3 : 0;
    const std::size_t markup = bytes.find_first_not_of(" \t\r\n", start);
    return markup != std::string_view::npos && bytes[markup] == '<';
}

// Removes the whitespace-only character data that only lays the file out: outside `text`
// elements, where it is not an element's only content.
void DropLayoutWhitespace(pugi::xml_document& xml) {
    struct Finder : pugi::xml_tree_walker {
        std::vector<pugi::xml_node> layout;
        int textDepth = -1;  // the depth of the `text` element the walk is in, if any
        bool for_each(pugi::xml_node& node) override {
            if (textDepth >= 0 && depth() <= textDepth) {
                textDepth = -1;
            }
            if (textDepth < 0 && node.type() == pugi::node_element &&
                svg_reader::SplitName(node.name()).second == "text") {
                textDepth = depth();
            }
            // The whitespace of XML: spaces, tabs and line breaks.
            const std::string_view value = node.value();
            if (textDepth < 0 && node.type() == pugi::node_pcdata &&
                (node.previous_sibling() || node.next_sibling()) &&
                value.find_first_not_of(" \t\r\n") == std::string_view::npos) {
                layout.push_back(node);
            }
            return true;
        }
    } finder;
    xml.traverse(finder);
    for (pugi::xml_node& node : finder.layout) {
        node.parent().remove_child(node);
    }
}

}  // namespace

namespace {

// The first attribute that an element below `node` gives twice, with where the element
// starts in the text. The parser's own walk, which needs no stack however deep the
// document nests.
std::optional<std::pair<std::string, std::ptrdiff_t>> RepeatedAttribute(pugi::xml_node node) {
    struct Walker : pugi::xml_tree_walker {
        std::optional<std::pair<std::string, std::ptrdiff_t>> found;
        bool for_each(pugi::xml_node& element) override {
            std::vector<std::string_view> names;
            for (pugi::xml_attribute a : element.attributes()) {
                names.emplace_back(a.name());
            }
            std::sort(names.begin(), names.end());
            if (const auto twice = std::adjacent_find(names.begin(), names.end());
                twice != names.end()) {
                found = std::pair{std::string(*twice), element.offset_debug()};
                return false;
            }
            return true;
        }
    } walker;
    node.traverse(walker);
    return walker.found;
}

}  // namespace

std::unique_ptr<Document> ReadSvg(const std::string& bytes, std::string* error) {
    const auto fail = [&](const std::string& reason) {
        if (error) {
            error->assign("not an SVG document");
            error->append(!reason.empty() && reason.front() == '(' ? " " : ": ").append(reason);
        }
        return nullptr;
    };
    std::string inflated;
    std::string_view text = bytes;
    if (IsGzip(text)) {
        std::string reason;
        if (!GzipInflate(text, kMaxInflated, &inflated, &reason)) {
            return fail(reason);
        }
        text = inflated;
        if (!LooksLikeXml(text)) {
            return fail("(gzip-compressed, but what it holds is not XML text)");
        }
    } else if (!LooksLikeXml(text)) {
        return fail("(neither XML text nor gzip-compressed SVG)");
    }
    std::optional<std::string> expanded;
    if (std::string reason; !svg_reader::ExpandEntities(text, expanded, reason)) {
        return fail(reason);
    }
    if (expanded) {
        text = *expanded;
    }
    auto source = std::make_unique<SvgSource>();
    pugi::xml_document* xml = &source->xml;
    // Comments, declarations and processing instructions are kept for writing back, and so
    // is the whitespace that text renders: all of it inside a `text` element, elsewhere only
    // what is an element's only content.
    const unsigned options = pugi::parse_full | pugi::parse_ws_pcdata;
    const pugi::xml_parse_result parsed =
        xml->load_buffer(text.data(), text.size(), options, pugi::encoding_auto);
    // Where an offset of the text lies, as an editor shows it (from 1).
    const auto where = [&text](std::ptrdiff_t offset) {
        const auto end = static_cast<std::size_t>(
            std::clamp<std::ptrdiff_t>(offset, 0, static_cast<std::ptrdiff_t>(text.size())));
        std::size_t line = 1, column = 1;
        for (std::size_t i = 0; i < end; ++i) {
            line += text[i] == '\n' ? 1 : 0;
            column = text[i] == '\n' ? 1 : column + 1;
        }
        return "line " + std::to_string(line) + ", column " + std::to_string(column);
    };
    if (!parsed) {
        return fail("XML error at " + where(parsed.offset) + ": " + parsed.description());
    }
    // The parser takes an attribute given twice; XML does not, nor do the readers the file
    // would go to next.
    if (const auto twice = RepeatedAttribute(xml->root())) {
        return fail("XML error at " + where(twice->second) + ": the attribute \"" + twice->first +
                    "\" is given twice");
    }
    DropLayoutWhitespace(*xml);
    const pugi::xml_node root = xml->document_element();
    const std::string_view rootName = root.name();
    const std::size_t colon = rootName.find(':');
    if (rootName.substr(colon == std::string_view::npos ? 0 : colon + 1) != "svg") {
        return fail("the root element is <" + std::string(rootName) + ">, not <svg>");
    }
    auto document = std::make_unique<Document>();
    svg_reader::Importer(*document).Read(root);
    document->source = std::move(source);
    return document;
}

std::unique_ptr<Document> ReadSvgFile(const std::filesystem::path& file, std::string* error) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    if (in) {
        text << in.rdbuf();
    }
    if (!in || in.bad()) {
        if (error) {
            *error = Utf8FromPath(file) + ": cannot be read";
        }
        return nullptr;
    }
    std::string reason;
    auto document = ReadSvg(text.str(), &reason);
    if (!document && error) {
        *error = Utf8FromPath(file) + ": " + reason;
    }
    return document;
}

}  // namespace emulator
