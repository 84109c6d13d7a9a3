// The art of the SVG writer: groups, paths and the shapes whose subpaths the reader made a
// group, new art, path data in the user units an element renders with, and the names,
// tags, locks and visibility of art.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "emulator/core/Unicode.h"
#include "emulator/svg/SvgExport.h"
#include "emulator/svg/SvgImport.h"
#include "emulator/svg/SvgWriter.h"

namespace emulator::svg_writer {
namespace {

constexpr int kDecimals = 6;

// The attributes that give the geometry of the shapes the reader knows.
constexpr const char* kGeometryAttributes[] = {"d",      "points", "x",  "y",  "width",
                                               "height", "rx",     "ry", "cx", "cy",
                                               "r",      "x1",     "y1", "x2", "y2"};

double ParseDecimal(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
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

bool SameSegments(const std::vector<AIPathSegment>& a, const std::vector<AIPathSegment>& b) {
    const auto samePoint = [](const AIRealPoint& p, const AIRealPoint& q) {
        return p.h == q.h && p.v == q.v;
    };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](const auto& s, const auto& t) {
               return samePoint(s.p, t.p) && samePoint(s.in, t.in) && samePoint(s.out, t.out);
           });
}

bool SamePath(const Art& a, const Art& b) {
    return a.type == ArtType::Path && b.type == ArtType::Path && a.closed == b.closed &&
           SameSegments(a.segments, b.segments) && SameStyle(a.style, b.style);
}

}  // namespace

// Exact: a transform carried over unchanged is the very same numbers.
bool SameAffine(const Affine& m, const Affine& n) {
    return m.a == n.a && m.b == n.b && m.c == n.c && m.d == n.d && m.e == n.e && m.f == n.f;
}

bool IsIdentity(const Affine& m) {
    return SameAffine(m, Affine{});
}

// ---- Art ---------------------------------------------------------------------------------

// Writes a list of art into `container` (whose accumulated transform is `ctm`) and puts
// the elements in paint order; with `items`, hands the elements to the caller to place.
// What groups hold is written depth first, the lists being written waiting on a stack of
// their own, so that however deep the groups nest the writer needs none of the thread's.
void Writer::WriteList(const std::vector<std::unique_ptr<Art>>& list, pugi::xml_node container,
                       const Affine& ctm, bool wholeStyle, std::vector<pugi::xml_node>* items) {
    struct Level {
        Inside inside;
        pugi::xml_node container;
        std::vector<pugi::xml_node>* items;  // null: placed in the container
        std::size_t next = 0;
        std::vector<pugi::xml_node> nodes;
    };
    std::vector<Level> stack;
    stack.push_back({Inside{&list, ctm, wholeStyle, nullptr}, container, items, 0, {}});
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.inside.list->size()) {
            if (level.items != nullptr) {
                level.items->insert(level.items->end(), level.nodes.begin(), level.nodes.end());
            } else {
                Place(level.container, level.nodes);
            }
            if (level.inside.newGroup != nullptr) {
                WriteStates(*level.inside.newGroup, nullptr, level.container);
            }
            stack.pop_back();
            continue;
        }
        const Art& art = *(*level.inside.list)[level.next++];
        Inside inside;
        const pugi::xml_node node =
            WriteArt(art, level.container, level.inside.ctm, level.inside.wholeStyle, inside);
        if (node) {
            level.nodes.push_back(node);
        }
        if (inside.list != nullptr) {
            stack.push_back({inside, node, nullptr, 0, {}});
        }
    }
}

// The element of an art, updated or made (appended to `container`, to be placed by the
// caller); null for art that is not written. For a group, what it holds is left to the
// caller, as `inside` tells.
pugi::xml_node Writer::WriteArt(const Art& art, pugi::xml_node container, const Affine& ctm,
                                bool wholeStyle, Inside& inside) {
    pugi::xml_node node = Claim(XmlNode(art.source));
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
        return DrawsNothingNew(art) ? pugi::xml_node() : WriteNewArt(art, container, ctm, inside);
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
        inside = {&art.children, full, wholeStyle, nullptr};
    } else if (art.type == ArtType::Group) {
        WriteCompound(art, *before, node, full, ctm, wholeStyle, inside);
    }
    return node;
}

// A shape element whose subpaths the reader made a group of paths.
void Writer::WriteCompound(const Art& art, const Art& before, pugi::xml_node node, Affine& full,
                           const Affine& ctm, bool wholeStyle, Inside& inside) {
    std::vector<const Art*> paths;
    for (const auto& child : art.children) {
        if (child->type == ArtType::Path && !child->source &&
            SameStyle(child->style, art.children.front()->style)) {
            paths.push_back(child.get());
        }
    }
    if (paths.empty() || paths.size() != art.children.size()) {
        // Art of other kinds or styles went into it: it becomes a group of its parts, each
        // with its own tags.
        node.set_name((elementPrefix_ + "g").c_str());
        for (const char* attribute : kGeometryAttributes) {
            node.remove_attribute(attribute);
        }
        RemovePrefixed(node, BoundPrefix(kSubpathTagsNamespace).value_or(kSubpathTagsPrefix),
                       kSubpathTagsPrefix);
        inside = {&art.children, full, true, nullptr};
        return;
    }
    WritePartTags(art, &before, node);
    const bool same = art.children.size() == before.children.size() &&
                      std::equal(art.children.begin(), art.children.end(), before.children.begin(),
                                 [](const auto& a, const auto& b) { return SamePath(*a, *b); });
    if (same && !wholeStyle) {
        return;
    }
    if (!same) {
        SetGeometry(node, PathData(paths, full, ctm, node));
    }
    const bool styleKept =
        !before.children.empty() && SameStyle(paths.front()->style, before.children.front()->style);
    WriteStyle(paths.front()->style,
               wholeStyle || !styleKept ? nullptr : &before.children.front()->style, node, full);
}

namespace {

// The attributes that keep the tags of the paths of a compound path on its element: "pN.NAME"
// for the tag NAME of the path of the Nth subpath (from 0) that reads back. A path of fewer
// than two anchors is written but reads back as nothing, and so takes no number.
std::vector<std::pair<std::string, std::string>> PartTagAttributes(const Art& compound) {
    std::vector<std::pair<std::string, std::string>> attributes;
    std::size_t index = 0;
    for (const auto& path : compound.children) {
        if (path->segments.size() < 2) {
            continue;
        }
        const std::string prefix = "p" + std::to_string(index++) + ".";
        for (const auto& [name, value] : path->tags) {
            if (IsNcName(prefix + name)) {
                attributes.emplace_back(prefix + name, Utf8FromWindows1252(value));
            }
        }
    }
    return attributes;
}

}  // namespace

// The tags of the paths of a compound path, where they differ from those of `before` (all
// of them without `before`).
void Writer::WritePartTags(const Art& art, const Art* before, pugi::xml_node node) {
    const auto attributes = PartTagAttributes(art);
    if (before != nullptr && PartTagAttributes(*before) == attributes) {
        return;
    }
    RemovePrefixed(node, BoundPrefix(kSubpathTagsNamespace).value_or(kSubpathTagsPrefix),
                   kSubpathTagsPrefix);
    for (const auto& [name, value] : attributes) {
        SetAttribute(node, Prefix(kSubpathTagsNamespace, kSubpathTagsPrefix) + ":" + name, value);
    }
}

// True for art that the file did not have and that draws nothing: a path without anchors,
// a text without characters, a group of nothing else. It is what a tool holds between two
// clicks (the paths of a measure whose second point is not taken yet); written, it would
// read back as a half-made dimension. Every answer is kept, so that the new art inside a
// new group is looked at once in all, however deep it nests.
bool Writer::DrawsNothingNew(const Art& art) {
    if (const auto known = drawsNothing_.find(&art); known != drawsNothing_.end()) {
        return known->second;
    }
    // A group waits on the stack until what it holds is answered.
    std::vector<std::pair<const Art*, bool>> stack = {{&art, false}};
    while (!stack.empty()) {
        auto& [next, opened] = stack.back();
        const Art& a = *next;
        // Art of the file is written back even when empty.
        const bool fromFile = a.source && original_.count(XmlNode(a.source).internal_object()) != 0;
        if (!fromFile && a.type == ArtType::Group && !opened) {
            opened = true;
            for (const auto& child : a.children) {
                if (drawsNothing_.count(child.get()) == 0) {
                    stack.emplace_back(child.get(), false);
                }
            }
            continue;
        }
        bool nothing = false;
        if (!fromFile && a.type == ArtType::Path) {
            nothing = a.segments.empty();
        } else if (!fromFile && a.type == ArtType::Text) {
            nothing = a.pointText.text.empty();
        } else if (!fromFile) {
            nothing = std::all_of(a.children.begin(), a.children.end(),
                                  [this](const auto& child) { return drawsNothing_[child.get()]; });
        }
        drawsNothing_[&a] = nothing;
        stack.pop_back();
    }
    return drawsNothing_[&art];
}

// A new element for new art; a group's art is left to the caller, as `inside` tells, and
// its name, tags and states follow it.
pugi::xml_node Writer::WriteNewArt(const Art& art, pugi::xml_node container, const Affine& ctm,
                                   Inside& inside) {
    pugi::xml_node node;
    if (art.type == ArtType::Group) {
        node = NewElement(container, "g");
        fullTransform_[node.internal_object()] = ctm;
        inside = {&art.children, ctm, true, &art};
        return node;
    }
    if (art.type == ArtType::Path) {
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
void Writer::WriteStates(const Art& art, const Art* before, pugi::xml_node node) {
    if (before == nullptr ? !art.name.empty() : before->name != art.name) {
        if (!art.name.empty()) {
            SetAttribute(node, Inkscape("label"), art.name);
        } else if (const auto prefix = BoundPrefix(kInkscapeNamespace)) {
            node.remove_attribute((*prefix + ":label").c_str());
        }
    }
    if (before == nullptr ? !art.tags.empty() : before->tags != art.tags) {
        WriteTags(art.tags, node);
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

// Replaces the tags of an element (of art or of a layer) by `tags`.
void Writer::WriteTags(const Tags& tags, pugi::xml_node node) {
    RemovePrefixed(node, BoundPrefix(kTagsNamespace).value_or("mesra"), "mesra");
    for (const auto& [name, value] : tags) {
        if (IsNcName(name)) {
            SetAttribute(node, Prefix(kTagsNamespace, "mesra") + ":" + name,
                         Utf8FromWindows1252(value));
        }
    }
}

// Path data of the paths' subpaths in the user units of `full`, the accumulated transform
// of the element under a parent whose accumulated transform is `parent`. When `full`
// cannot be inverted, the element's transform is set to undo its parent's (when that can
// be undone) and the data is in user space; `full` is then the identity.
std::string Writer::PathData(const std::vector<const Art*>& paths, Affine& full,
                             const Affine& parent, pugi::xml_node node) {
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
void Writer::SetGeometry(pugi::xml_node node, const std::string& data) {
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
std::string Writer::MatrixText(const Affine& m) {
    constexpr int kMatrixDecimals = 10;
    std::string text = "matrix(";
    for (const double v : {m.a, m.b, m.c, m.d, m.e, m.f}) {
        text += text.size() > 7 ? "," : "";
        text += FormatDecimal(v, kMatrixDecimals);
    }
    return text + ")";
}

}  // namespace emulator::svg_writer
