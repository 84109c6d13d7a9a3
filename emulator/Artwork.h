// The artwork of a document of the emulated host: layers holding groups and paths, with
// the attributes, names, tags and styles that the host's suites read and write.
//
// Everything is kept in paint order: the first layer, and the first art of a layer or
// group, is at the bottom. Coordinates are artwork points (y upwards).
#pragma once

#include <pugixml.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/Records.h"

namespace emulator {

struct Paint {
    enum class Kind { None, Gray, RGB, CMYK, Custom };
    Kind kind = Kind::None;
    // Components from 0 to 1 (gray: 0 is black, as in SVG and the host's gray is not).
    double gray = 0, red = 0, green = 0, blue = 0;
    double cyan = 0, magenta = 0, yellow = 0, black = 0;
    // A custom (spot) colour: its name and its tint, with its RGB appearance above.
    std::string customName;
    double tint = 0;
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
};

// The host's art types.
enum class ArtType { Group = 1, Path = 2, Text = 15 };

struct Layer;

struct Art {
    ArtType type = ArtType::Path;
    // The name the user or the plug-in gave (UTF-8); empty when it has none.
    std::string name;
    bool locked = false;
    bool hidden = false;
    bool selected = false;
    bool guide = false;
    // String tags by name (values as the plug-in wrote them, Windows-1252).
    std::map<std::string, std::string> tags;

    Art* parent = nullptr;  // null for art at the top of its layer
    Layer* layer = nullptr;
    std::vector<std::unique_ptr<Art>> children;  // groups only, in paint order

    // Paths.
    std::vector<AIPathSegment> segments;
    bool closed = false;
    PathStyle style;

    // The SVG element the art came from, kept so that what the host does not model (ids,
    // classes, attributes of other programs) is written back as it was. Empty for new art.
    pugi::xml_node source;
};

struct RGBColor {
    double red = 0;
    double green = 0;
    double blue = 0;
};

struct Layer {
    // The title the user reads (UTF-8).
    std::string title;
    bool locked = false;
    bool visible = true;
    // The colour of the layer, in which the host draws its selections.
    RGBColor color{0.31, 0.5, 1.0};
    std::vector<std::unique_ptr<Art>> art;  // in paint order
    pugi::xml_node source;
};

}  // namespace emulator
