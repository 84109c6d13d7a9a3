// A document of the emulated host and the view that shows it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "emulator/core/Artwork.h"
#include "plugin/host/Records.h"

namespace emulator {

// The view: artwork points times the zoom give view pixels, y downwards; `origin` is the
// artwork point at the view's top-left corner.
struct View {
    double zoom = 1.0;
    AIRealPoint origin{0.0f, 0.0f};
    int widthPixels = 1024;
    int heightPixels = 768;

    AIPoint ToViewPoint(const AIRealPoint& artwork) const;
    AIRealPoint ToArtworkPoint(const AIPoint& view) const;
    // The artwork the view shows (top above bottom).
    AIRealRect Bounds() const;
};

// A custom (spot) colour of a document.
struct CustomColor {
    // Unique in the document, never empty (UTF-8).
    std::string name;
    // Its definition: kind RGB or CMYK with the components of that kind.
    Paint definition;
    // The number its handle carries; never reused in the process, so that a handle of a
    // closed document is not taken for one of the current document.
    std::uint64_t id = 0;
};

// The file a document was read from, as its reader keeps it (emulator/svg: the whole SVG
// tree), so that everything the host does not model is written back as it was.
class SourceFile {
  public:
    virtual ~SourceFile() = default;
};

struct Document {
    // The size of the artboard in SVG user units.
    double width = 0.0;
    double height = 0.0;
    // Points per SVG user unit.
    double unitScale = 1.0;
    View view;

    // Layers in paint order (the first at the bottom); a new document has one, "Calque 1".
    std::vector<std::unique_ptr<Layer>> layers;
    // The layer new art goes to.
    Layer* currentLayer = nullptr;

    // The custom colours (the document's swatches), in the order they were created.
    std::vector<CustomColor> customColors;
    // The index in customColors of the document's current custom colour: the one last
    // chosen in the colour picker or last created; nothing while there is none.
    std::optional<std::size_t> currentCustomColor;

    // The SVG file the document was read from; null for a new document.
    std::unique_ptr<SourceFile> source;

    // The artwork point of the SVG point (x, y): y grows downwards in SVG, upwards in
    // artwork.
    AIRealPoint ToArtwork(double x, double y) const;
    // True when the SVG point (x, y) has an artwork point: both coordinates, in points,
    // within the host's single precision (ToArtwork of any other point is undefined).
    bool HasArtworkPoint(double x, double y) const;
};

}  // namespace emulator
