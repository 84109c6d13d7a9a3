// The artwork of a document of the emulated host: layers holding groups and paths, with
// the attributes, names, tags and styles that the host's suites read and write.
//
// Everything is kept in paint order: the first layer, and the first art of a layer or
// group, is at the bottom. Coordinates are artwork points (y upwards).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plugin/host/Records.h"

namespace emulator {

// The element of the file that a layer or an art was read from, kept so that what the host
// does not model (ids, classes, attributes of other programs) is written back as it was.
// The document only keeps it; the file's reader and writer (emulator/svg) look inside.
// Null for what the host made.
class SourceNode {
  public:
    SourceNode() = default;
    explicit SourceNode(void* node) : node_(node) {}
    void* Get() const { return node_; }
    explicit operator bool() const { return node_ != nullptr; }
    friend bool operator==(const SourceNode&, const SourceNode&) = default;

  private:
    void* node_ = nullptr;
};

struct Paint {
    enum class Kind { None, Gray, RGB, CMYK, Custom };
    Kind kind = Kind::None;
    // Components from 0 to 1 (gray: 0 is black, as in SVG and the host's gray is not).
    double gray = 0, red = 0, green = 0, blue = 0;
    double cyan = 0, magenta = 0, yellow = 0, black = 0;
    // A custom (spot) colour: its name and its tint, with its RGB appearance above.
    std::string customName;
    double tint = 0;
    friend bool operator==(const Paint&, const Paint&) = default;
};

enum class LineCap { Butt = 0, Round = 1, Square = 2 };
enum class LineJoin { Miter = 0, Round = 1, Bevel = 2 };

struct PathStyle {
    Paint fill;
    Paint stroke;
    double strokeWidth = 1.0;
    std::vector<double> dash;  // empty: a solid line
    double dashOffset = 0.0;
    LineCap cap = LineCap::Butt;
    LineJoin join = LineJoin::Miter;
    double miterLimit = 4.0;
    bool fillOverprint = false;
    bool strokeOverprint = false;
    friend bool operator==(const PathStyle&, const PathStyle&) = default;
};

// The host's art types.
enum class ArtType { Group = 1, Path = 2, Text = 15 };

// Black, the colour of new text.
inline Paint Black() {
    Paint paint;
    paint.kind = Paint::Kind::Gray;
    return paint;
}

enum class Justification { Left = 0, Right = 1, Center = 2 };

// The character and paragraph features of a point text. The emulated host keeps one set for
// the whole text of a frame: features given to a range apply to the whole frame.
struct TextFeatures {
    // PostScript name of the font (UTF-8); empty: the first font of the host's list.
    std::string font;
    double size = 12.0;
    double baselineShift = 0.0;  // points, upwards
    double tracking = 0.0;       // thousandths of an em between characters
    Paint fill = Black();
    bool fillOverprint = false;
    Justification justification = Justification::Left;
    double firstLineIndent = 0.0;
    double startIndent = 0.0;
    double endIndent = 0.0;
    double spaceBefore = 0.0;
    double spaceAfter = 0.0;
    friend bool operator==(const TextFeatures&, const TextFeatures&) = default;
};

// A point text: its characters and where they stand. The frame's own coordinates have the
// first baseline's start at the origin, x along the baseline and y upwards; `matrix` maps
// them to artwork coordinates (a b c d tx ty: x' = a x + c y + tx, y' = b x + d y + ty), so
// (tx, ty) is the anchor and atan2(b, a) the angle of the baseline.
struct PointText {
    std::u16string text;  // paragraphs separated by carriage returns (13)
    TextFeatures features;
    double matrix[6] = {1, 0, 0, 1, 0, 0};
    friend bool operator==(const PointText&, const PointText&) = default;
};

struct Layer;

using Tags = std::map<std::string, std::string, std::less<>>;

struct Art {
    Art() = default;
    Art(const Art&) = delete;
    Art& operator=(const Art&) = delete;
    // Takes apart what the art holds without recursion, however deep its groups nest.
    ~Art();

    // What every walk of the document reads comes first, so that it shares a cache line.
    ArtType type = ArtType::Path;
    bool locked = false;
    bool hidden = false;
    bool selected = false;
    bool guide = false;
    // True for the group standing for a layer (Layer::group).
    bool isLayerGroup = false;
    bool closed = false;  // paths
    // The extent of the art's geometry as last computed (ArtBounds), kept until the art or
    // anything inside it changes (ForgetBounds).
    mutable bool boundsKnown = false;
    // The number of the handle the host gave the art (0 before it gave one).
    std::uintptr_t handleNumber = 0;
    std::vector<std::unique_ptr<Art>> children;  // groups only, in paint order
    mutable std::optional<AIRealRect> bounds;
    // String tags by name (values as the plug-in wrote them, Windows-1252), found by any
    // string type without building a std::string.
    Tags tags;
    Art* parent = nullptr;  // null for art at the top of its layer
    Layer* layer = nullptr;

    // The name the user or the plug-in gave (UTF-8); empty when it has none.
    std::string name;

    // Paths.
    std::vector<AIPathSegment> segments;
    PathStyle style;

    // Texts.
    PointText pointText;

    // Where the art was last found in the list that holds it (IndexOf starts there).
    mutable std::size_t indexHint = 0;
    // The art's place in the host's hit index (its slot; and, while the index has a change
    // of it to take in, its place in the list of those changes), or −1.
    int hitSlot = -1;
    int hitPending = -1;
    // The serials of the undo steps (UndoHistory) in which the art was placed, and in which
    // its content and its attributes were last saved: what the step in progress knows of it.
    std::uint64_t placedInStep = 0;
    std::uint64_t contentSavedInStep = 0;
    std::uint64_t attributesSavedInStep = 0;

    // The SVG element the art came from; null for new art.
    SourceNode source;
};

struct RGBColor {
    double red = 0;
    double green = 0;
    double blue = 0;
};

struct Layer {
    Layer() {
        group.type = ArtType::Group;
        group.layer = this;
        group.isLayerGroup = true;
    }
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // The title the user reads (UTF-8).
    std::string title;
    bool locked = false;
    bool visible = true;
    // The colour of the layer, in which the host draws its selections.
    RGBColor color{0.31, 0.5, 1.0};
    std::vector<std::unique_ptr<Art>> art;  // in paint order
    // The layer's group, as the host's suites show it: a group art whose contents are
    // `art` (its own `children` stay empty). It can be neither disposed of nor moved; art
    // at the top of the layer has no parent.
    Art group;
    // The SVG element the layer came from; null for a new layer.
    SourceNode source;
};

}  // namespace emulator
