// The numbers and lengths of the SVG reader: number lists, the root's width, height and
// viewBox (the points per user unit and the document's size), and the lengths inside the
// drawing.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "emulator/core/ArtTree.h"
#include "emulator/svg/SvgReader.h"

namespace emulator::svg_reader {
namespace {

constexpr double kPointsPerInch = 72.0;
// CSS pixels per inch: the lengths of style values and geometry attributes in user units.
constexpr double kCssPixelsPerInch = 96.0;

// Points per unit of the root's width and height, which with a viewBox give the points per
// user unit: pixels and plain numbers are points, as illustration programs write them.
std::optional<double> PointsPerRootUnit(std::string_view unit) {
    if (unit.empty() || unit == "px" || unit == "pt") {
        return 1.0;
    }
    if (unit == "pc") {
        return 12.0;
    }
    if (unit == "in") {
        return kPointsPerInch;
    }
    if (unit == "cm") {
        return kPointsPerInch / 2.54;
    }
    if (unit == "mm") {
        return kPointsPerInch / 25.4;
    }
    return std::nullopt;
}

struct RootLength {
    double value = 0;
    double pointsPerUnit = 1;
    bool physical = false;  // in mm, cm, in, pt or pc
};

// The root's width or height: a positive number with an optional absolute unit (a
// percentage or a relative unit gives nothing).
std::optional<RootLength> ParseRootLength(std::string_view text) {
    Scanner s(Trim(text));
    RootLength length;
    if (!s.Number(length.value) || !(length.value > 0)) {
        return std::nullopt;
    }
    const std::string_view word = s.Word();
    const auto unit = PointsPerRootUnit(word);
    if (!unit || !s.AtEnd()) {
        return std::nullopt;
    }
    length.pointsPerUnit = *unit;
    length.physical = !word.empty() && word != "px";
    return length;
}

}  // namespace

// ---- Scanning numbers --------------------------------------------------------------------

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// Numbers separated by commas or spaces, up to the first that does not read; with the
// whole text read only when `complete` is set.
std::vector<double> NumberList(std::string_view text, bool* complete) {
    Scanner s(text);
    std::vector<double> numbers;
    s.SkipSpaces();
    double value = 0;
    while (s.Number(value)) {
        numbers.push_back(value);
        s.SkipSeparator();
    }
    if (complete) {
        *complete = s.AtEnd();
    }
    return numbers;
}

// ---- Lengths -----------------------------------------------------------------------------

// A length inside the drawing (geometry attributes, stroke widths) in user units: CSS
// units count 96 pixels to the inch, a percentage is of the viewport along the axis.
std::optional<double> ParseLength(std::string_view text, Axis axis, Vec viewport) {
    Scanner s(Trim(text));
    double value = 0;
    if (!s.Number(value)) {
        return std::nullopt;
    }
    double scale = 1;
    if (s.Peek() == '%') {
        s.Advance();
        const double reference =
            axis == Axis::X   ? viewport.x
            : axis == Axis::Y ? viewport.y
                              : std::sqrt((viewport.x * viewport.x + viewport.y * viewport.y) / 2);
        scale = reference / 100;
    } else {
        const std::string_view unit = s.Word();
        if (unit == "in") {
            scale = kCssPixelsPerInch;
        } else if (unit == "cm") {
            scale = kCssPixelsPerInch / 2.54;
        } else if (unit == "mm") {
            scale = kCssPixelsPerInch / 25.4;
        } else if (unit == "pt") {
            scale = kCssPixelsPerInch / kPointsPerInch;
        } else if (unit == "pc") {
            scale = kCssPixelsPerInch / 6;
        } else if (!unit.empty() && unit != "px") {
            return std::nullopt;
        }
    }
    const double length = value * scale;
    if (!s.AtEnd() || !std::isfinite(length)) {
        return std::nullopt;
    }
    return length;
}

// ---- The document's scale and size -------------------------------------------------------

// The scale and the size from the root's width, height and viewBox.
void Importer::ReadSize(const pugi::xml_node& root) {
    const auto width = ParseRootLength(root.attribute("width").value());
    const auto height = ParseRootLength(root.attribute("height").value());
    bool complete = false;
    const std::vector<double> box = NumberList(root.attribute("viewBox").value(), &complete);
    double k = 1;
    if (complete && box.size() == 4 && box[2] > 0 && box[3] > 0) {
        document_.width = box[2];
        document_.height = box[3];
        // The points per user unit that the width and the height each give (0: none).
        const double kx = width ? width->value * width->pointsPerUnit / box[2] : 0;
        const double ky = height ? height->value * height->pointsPerUnit / box[3] : 0;
        const std::string_view aspect = Trim(root.attribute("preserveAspectRatio").value());
        if (kx > 0 && ky > 0) {
            // Uniform, as the default "meet" fits the box in the viewport.
            k = aspect.find("slice") != std::string_view::npos ? std::max(kx, ky)
                : aspect == "none"                             ? kx
                                                               : std::min(kx, ky);
        } else if (kx > 0 || ky > 0) {
            k = std::max(kx, ky);
        }
    } else if (width || height) {
        // Without a viewBox a user unit is a CSS pixel, as SVG has it, when the width or the
        // height is in a physical unit; otherwise it is a point, as illustration programs
        // write plain numbers.
        const bool physical = (width && width->physical) || (height && height->physical);
        k = physical ? kPointsPerInch / kCssPixelsPerInch : 1;
        // A plain number or pixels is in user units already.
        const auto userUnits = [k](const RootLength& length) {
            return length.physical ? length.value * (length.pointsPerUnit / k) : length.value;
        };
        if (width) {
            document_.width = userUnits(*width);
        }
        if (height) {
            document_.height = userUnits(*height);
        }
        if (!std::isfinite(document_.width) || !std::isfinite(document_.height)) {
            document_.width = document_.height = 0;
        }
    }
    document_.unitScale = std::isfinite(k) && k > 0 ? k : 1;
    viewport_ = {document_.width, document_.height};
    toArtwork_ = {document_.unitScale, 0, 0, -document_.unitScale, 0, 0};
}

// A size the root did not give is the extent of the art from the origin.
void Importer::FillSizeFromBounds() {
    if (document_.width > 0 && document_.height > 0) {
        return;
    }
    Vec extent;
    for (const auto& layer : document_.layers) {
        for (const auto& art : layer->art) {
            ForEachArt(*art, [&extent](const Art& a) { Extend(a, extent); });
        }
    }
    if (document_.width <= 0) {
        document_.width = extent.x / document_.unitScale;
    }
    if (document_.height <= 0) {
        document_.height = extent.y / document_.unitScale;
    }
}

void Importer::Extend(const Art& art, Vec& extent) {
    for (const AIPathSegment& s : art.segments) {
        for (const AIRealPoint& p : {s.p, s.in, s.out}) {
            extent.x = std::max(extent.x, static_cast<double>(p.h));
            extent.y = std::max(extent.y, -static_cast<double>(p.v));
        }
    }
    if (art.type == ArtType::Text) {
        extent.x = std::max(extent.x, art.pointText.matrix[4]);
        extent.y = std::max(extent.y, -art.pointText.matrix[5]);
    }
}

}  // namespace emulator::svg_reader
