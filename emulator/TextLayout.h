// How the emulated host lays out point text: lines, widths and bounds from real font metrics.
#pragma once

#include "emulator/Artwork.h"
#include "host/Records.h"

namespace emulator {

// The extent of a point text in artwork coordinates (top above bottom).
AIRealRect PointTextBounds(const PointText& text);

}  // namespace emulator
