// The annotators' drawing as SVG elements, for a web page that shows it over the artwork.
#pragma once

#include <string>

#include "emulator/core/DisplayList.h"

namespace app {

// The items of `drawing`, in view pixels, as SVG elements in the order drawn (the last on
// top): lines and outlines stroked through the centres of their pixels, filled rectangles
// and ellipses, texts in the annotation font. Texts are escaped.
std::string AnnotationSvg(const emulator::DisplayList& drawing);

}  // namespace app
