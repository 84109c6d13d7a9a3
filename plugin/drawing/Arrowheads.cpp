#include "plugin/drawing/Arrowheads.h"

#include <cmath>
#include <optional>

#include "plugin/settings/DimensionSettings.h"

namespace drawing {
namespace {

constexpr float kPi = 3.14159265358979f;
// The dot shapes: a circle of radius 2.5 made of four quarter arcs with the usual
// 0.5522847 handle ratio.
constexpr float kDotRadius = 2.5f;
constexpr float kDotHandle = 1.3807119f;
// Half the slant of the "pointtrait" tick.
constexpr float kTickRise = 2.4508758f;

// The current template and the shape it was built for.
ArrowTemplate sCurrent;
std::optional<std::int32_t> sCurrentShape;

AIPathSegment Corner(float x, float y) {
    const AIRealPoint p{x, y};
    return {p, p, p, 1};
}

AIPathSegment Smooth(AIRealPoint p, AIRealPoint in, AIRealPoint out) {
    return {p, in, out, 0};
}

void Add(ArrowTemplate& t, const AIPathSegment& segment) {
    t.segments[t.segmentCount++] = segment;
}

}  // namespace

float ArrowHalfHeight() {
    // Degrees to radians, then sine over cosine, each held as the host holds it.
    const float radians = 17.0f * kPi / 180.0f;
    return static_cast<float>(9.0 * static_cast<double>(std::sin(radians)) /
                              static_cast<double>(std::cos(radians)));
}

ArrowTemplate BuildArrowTemplate(std::int32_t shape, TickForm form) {
    ArrowTemplate t;
    const float h = ArrowHalfHeight();
    switch (shape) {
        case settings::kArrowVector:
        case settings::kArrowHollow:
        case settings::kArrowSolid:
            Add(t, Corner(9, h));
            Add(t, Corner(0, 0));
            Add(t, Corner(9, -h));
            t.stroked = shape != settings::kArrowSolid;
            t.closed = shape != settings::kArrowVector;
            t.lineSetback = shape == settings::kArrowVector ? AIRealPoint{0, 0} : AIRealPoint{9, 0};
            break;
        case settings::kArrowSolidDot:
        case settings::kArrowHollowDot: {
            const float r = kDotRadius;
            const float k = kDotHandle;
            Add(t, Smooth({-r, 0}, {-r, -k}, {-r, k}));
            Add(t, Smooth({0, r}, {-k, r}, {k, r}));
            Add(t, Smooth({r, 0}, {r, k}, {r, -k}));
            Add(t, Smooth({0, -r}, {k, -r}, {-k, -r}));
            t.stroked = shape == settings::kArrowHollowDot;
            t.closed = true;
            t.lineSetback = {r, 0};
            break;
        }
        case settings::kArrowDotWithStroke: {
            const float rise = form == TickForm::AngleTool  ? 0.0f
                               : form == TickForm::Mirrored ? -kTickRise
                                                            : kTickRise;
            Add(t, Corner(-4.5f, rise));
            Add(t, Corner(4.5f, -rise));
            t.stroked = true;
            t.closed = false;
            t.lineSetback = {0, 0};
            break;
        }
        default:
            Add(t, Corner(0, 0));
            Add(t, Corner(4.890738f, 1.0395584f));
            Add(t, Corner(8.572758f, 2.602483f));
            Add(t, Corner(7, 0));
            Add(t, Corner(8.572758f, -2.602483f));
            Add(t, Corner(4.890738f, -1.0395584f));
            t.stroked = false;
            t.closed = true;
            t.lineSetback = {7, 0};
            break;
    }
    return t;
}

const ArrowTemplate& CurrentArrowTemplate() {
    const std::int32_t shape = settings::Settings().arrowShape;
    if (sCurrentShape != shape) {
        sCurrent = BuildArrowTemplate(shape);
        sCurrentShape = shape;
    }
    return sCurrent;
}

float LineSetback() {
    const AIRealPoint s = CurrentArrowTemplate().lineSetback;
    const double length =
        std::sqrt(static_cast<double>(s.h) * s.h + static_cast<double>(s.v) * s.v);
    return static_cast<float>(length * settings::Settings().arrowSize / 100.0);
}

}  // namespace drawing
