// The objects behind the references that the emulated host's text engine hands out: text
// ranges, feature sets, paints and fonts. Each reference is a handle of its own that the
// plug-in releases once; the host drops those left at the end of a message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "emulator/core/Artwork.h"
#include "plugin/host/Records.h"

namespace emulator {

// The features a feature set holds (bits of TextRef::set).
enum TextFeature : std::uint32_t {
    kFeatureFont = 1u << 0,
    kFeatureSize = 1u << 1,
    kFeatureBaselineShift = 1u << 2,
    kFeatureTracking = 1u << 3,
    kFeatureFill = 1u << 4,
    kFeatureFillOverprint = 1u << 5,
    kFeatureJustification = 1u << 6,
    kFeatureFirstLineIndent = 1u << 7,
    kFeatureStartIndent = 1u << 8,
    kFeatureEndIndent = 1u << 9,
    kFeatureSpaceBefore = 1u << 10,
    kFeatureSpaceAfter = 1u << 11,
};

struct TextRef {
    enum class Kind { Range, CharFeatures, ParaFeatures, Paint, Font };
    Kind kind = Kind::Range;

    // A range: the characters [start, end) of the text art `art`. The range does not follow
    // edits made through other ranges; it is cut to the text's length when used.
    AIArtHandle art = nullptr;
    std::size_t start = 0;
    std::size_t end = 0;

    // A feature set: the values in `features` whose bits are in `set`.
    TextFeatures features;
    std::uint32_t set = 0;

    // A paint.
    Paint paint;

    // A font: its PostScript name (UTF-8).
    std::string font;
};

// Handles of text-engine references; their pointer types are the suites' own, cast.
struct TextRefOpaque;
using TextRefHandle = TextRefOpaque*;

}  // namespace emulator
