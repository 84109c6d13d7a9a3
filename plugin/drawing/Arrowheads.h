// The arrowhead template: the shape of one arrowhead at 100 %, its tip at the origin and
// its body along +x, from which every arrowhead of every dimension is copied.
#pragma once

#include <array>
#include <cstdint>

#include "plugin/host/Records.h"

namespace drawing {

// The forms of the slanted tick ("pointtrait"): as drawn on straight dimensions, mirrored
// (when a construction asks for it), and straight across for the Angle tool.
enum class TickForm { Normal, Mirrored, AngleTool };

constexpr int kMaxTemplateSegments = 20;

struct ArrowTemplate {
    std::int16_t segmentCount = 0;
    std::array<AIPathSegment, kMaxTemplateSegments> segments{};
    // Painted with the solid line style rather than the arrowhead fill style.
    bool stroked = false;
    bool closed = false;
    // How far back from the tip the dimension line stops, at 100 % (its length is used).
    AIRealPoint lineSetback{0.0f, 0.0f};
};

// The template of `shape` (0..6; another value gives the elegant shape).
ArrowTemplate BuildArrowTemplate(std::int32_t shape, TickForm form = TickForm::Normal);

// The template of the live settings' `arrowShape`, built again the first time it is asked
// for after the shape has changed (from the file, a preference group or the settings
// panel), so that it never lags behind the settings.
const ArrowTemplate& CurrentArrowTemplate();

// How far the dimension line stops short of a tip: the length of the template's setback
// scaled by the arrowhead size (percent).
float LineSetback();

// The height of the V shapes at 100 %: 9 × tan 17°.
float ArrowHalfHeight();

}  // namespace drawing
