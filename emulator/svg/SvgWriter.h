// The parts of the SVG writer (see SvgExport.h) that its source files share. The writer
// edits the tree in SvgExport.cpp (namespaces, layers, paint order, removal, the file); its
// other parts are in SvgExportArt.cpp (groups, paths and their geometry, names, tags and
// states), SvgExportStyles.cpp (colours, paints and the style attribute) and
// SvgExportText.cpp (point text).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <pugixml.hpp>

#include "emulator/core/Decimal.h"
#include "emulator/core/Document.h"
#include "emulator/svg/SvgSource.h"
#include "emulator/svg/SvgSyntax.h"

namespace emulator::svg_writer {

using svg::Affine;
using svg::Apply;
using svg::Compose;
using svg::Invert;
using svg::LengthScale;
using svg::Trim;
using svg::Vec;

inline constexpr const char* kSvgNamespace = "http://www.w3.org/2000/svg";
inline constexpr const char* kInkscapeNamespace = "http://www.inkscape.org/namespaces/inkscape";
inline constexpr const char* kSodipodiNamespace =
    "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";

using NodeKey = pugi::xml_node_struct*;

// The prefix the writer binds to the namespace of the tags of a compound path's paths.
inline constexpr const char* kSubpathTagsPrefix = "mesrasub";

// ---- Transforms and names (SvgExportArt.cpp, SvgExport.cpp) ------------------------------

bool SameAffine(const Affine& m, const Affine& n);
bool IsIdentity(const Affine& m);
std::string_view LocalName(const pugi::xml_node& node);

// ---- Paints and styles (SvgExportStyles.cpp) ---------------------------------------------

std::string PaintText(const Paint& paint);
bool SamePaint(const Paint& a, const Paint& b);
bool SameStyle(const PathStyle& a, const PathStyle& b);
void SetProperty(pugi::xml_node node, const std::string& name, const std::string& value);
void RemoveProperty(pugi::xml_node node, const std::string& name);

// ---- Point text (SvgExportText.cpp) ------------------------------------------------------

// Elements nested deeper than this are written without line breaks or indentation, so that
// the text written grows with the file's nodes and not with the square of its depth.
inline constexpr int kIndentedDepth = 16;

void KeepUnindented(pugi::xml_document& out);

// ---- The writer --------------------------------------------------------------------------

// Writes a document into an SVG tree.
class Writer {
  public:
    // `out` is the tree to edit; `baseline` the document read from it before any edit
    // (null for a new document), whose art and layers point into `out`; `original` maps
    // the nodes of the written document's file to those of `out`.
    Writer(const Document& document, pugi::xml_document& out, const Document* baseline,
           std::unordered_map<NodeKey, pugi::xml_node> original);

    void Write();
    // Writes `art` alone under the root, as new art is written: the elements a front draws
    // over a picture of the rest of the document.
    void WriteAlone(const Art& art);

  private:
    // The tree and the namespaces (SvgExport.cpp).
    void IndexArt(const Art& art);
    void RecordTransforms(const pugi::xml_node& node, const Affine& ctm);
    pugi::xml_node Claim(const pugi::xml_node& source);
    bool ClaimedLayer(const Layer& layer) const;
    std::optional<std::string> BoundPrefix(const char* uri) const;
    std::string Prefix(const char* uri, const std::string& preferred);
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
                             const std::string& value);
    static void RemovePrefixed(pugi::xml_node node, const std::string& prefix,
                               const std::string& fallback);
    pugi::xml_node NewElement(pugi::xml_node container, const char* name) {
        return container.append_child((elementPrefix_ + name).c_str());
    }
    pugi::xml_node PrepareLayer(const Layer& layer);
    bool HoldsNothingNew(const Layer& layer);
    static void Place(pugi::xml_node container, const std::vector<pugi::xml_node>& items);
    void RemoveDisposed();
    template <typename Map>
    static std::vector<NodeKey> KeysOf(const Map& map) {
        std::vector<NodeKey> keys;
        for (const auto& entry : map) {
            keys.push_back(entry.first);
        }
        return keys;
    }

    // Art (SvgExportArt.cpp).
    void WriteList(const std::vector<std::unique_ptr<Art>>& list, pugi::xml_node container,
                   const Affine& ctm, bool wholeStyle, std::vector<pugi::xml_node>* items);
    // What a group's element holds, to be written after the element: its art, the
    // accumulated transform of the element, whether its art is written with its whole style,
    // and the new group whose name, tags and states follow its art (null for others).
    struct Inside {
        const std::vector<std::unique_ptr<Art>>* list = nullptr;
        Affine ctm;
        bool wholeStyle = false;
        const Art* newGroup = nullptr;
    };
    pugi::xml_node WriteArt(const Art& art, pugi::xml_node container, const Affine& ctm,
                            bool wholeStyle, Inside& inside);
    void WriteCompound(const Art& art, const Art& before, pugi::xml_node node, Affine& full,
                       const Affine& ctm, bool wholeStyle, Inside& inside);
    void WritePartTags(const Art& art, const Art* before, pugi::xml_node node);
    bool DrawsNothingNew(const Art& art);
    pugi::xml_node WriteNewArt(const Art& art, pugi::xml_node container, const Affine& ctm,
                               Inside& inside);
    void WriteStates(const Art& art, const Art* before, pugi::xml_node node);
    void WriteTags(const Tags& tags, pugi::xml_node node);
    std::string PathData(const std::vector<const Art*>& paths, Affine& full, const Affine& parent,
                         pugi::xml_node node);
    void SetGeometry(pugi::xml_node node, const std::string& data);
    static std::string MatrixText(const Affine& m);

    // Styles (SvgExportStyles.cpp).
    void WriteStyle(const PathStyle& style, const PathStyle* before, pugi::xml_node node,
                    const Affine& full);
    void WritePaintExtras(pugi::xml_node node, const std::string& which, const Paint& paint,
                          bool overprint);

    // Point text (SvgExportText.cpp).
    double Scale() const;
    void WriteText(const PointText& text, const PointText* before, pugi::xml_node node,
                   const Affine& ctm);

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
    std::unordered_map<const Art*, bool> drawsNothing_;
};

}  // namespace emulator::svg_writer
