// What the view picture's loader (ViewPicture.cpp) asks of the renderer, a module of its own
// (mesra-picture.so, with librsvg and cairo) that a program loads only when it makes a
// picture: a program that makes none never loads those libraries.
#pragma once

#include <string>

#include "emulator/core/DisplayList.h"
#include "emulator/core/Document.h"

namespace emulator {

enum class PictureFormat { Png, Svg };

// Everything the renderer needs, as plain data.
struct PictureRequest {
    std::string svg;               // the document as WriteSvg writes it
    View view;                     // zoom, origin and size in pixels
    double unitScale = 1;          // the document's points per user unit
    double width = 0, height = 0;  // the artboard in user units
    const DisplayList* drawing = nullptr;
    PictureFormat format = PictureFormat::Png;
};

// Renders the picture into *bytes; false with the reason in *error.
using RenderPictureFunction = bool (*)(const PictureRequest& request, std::string* bytes,
                                       std::string* error);

// The name of the module's one export: a function `RenderPictureFunction F()`.
inline constexpr const char* kPictureRendererEntry = "MesraPictureRenderer";

}  // namespace emulator
