// The arrowhead templates: their shapes, paint, closure and setbacks.
#include <gtest/gtest.h>

#include <cmath>

#include "plugin/drawing/Arrowheads.h"
#include "plugin/settings/DimensionSettings.h"

namespace {

using drawing::ArrowTemplate;
using drawing::BuildArrowTemplate;
using drawing::TickForm;

TEST(Arrowheads, SevenShapes) {
    const float h = drawing::ArrowHalfHeight();
    EXPECT_NEAR(h, 2.7516, 1e-4);  // 9 tan 17°
    const struct {
        std::int32_t shape;
        int segments;
        bool stroked;
        bool closed;
        float setback;
        AIRealPoint second;  // the second anchor, where shapes differ most
    } cases[] = {
        {settings::kArrowElegant, 6, false, true, 7, {4.890738f, 1.0395584f}},
        {settings::kArrowVector, 3, true, false, 0, {0, 0}},
        {settings::kArrowHollow, 3, true, true, 9, {0, 0}},
        {settings::kArrowSolid, 3, false, true, 9, {0, 0}},
        {settings::kArrowSolidDot, 4, false, true, 2.5f, {0, 2.5f}},
        {settings::kArrowHollowDot, 4, true, true, 2.5f, {0, 2.5f}},
        {settings::kArrowDotWithStroke, 2, true, false, 0, {4.5f, -2.4508758f}},
    };
    for (const auto& c : cases) {
        const ArrowTemplate t = BuildArrowTemplate(c.shape);
        EXPECT_EQ(t.segmentCount, c.segments) << c.shape;
        EXPECT_EQ(t.stroked, c.stroked) << c.shape;
        EXPECT_EQ(t.closed, c.closed) << c.shape;
        EXPECT_FLOAT_EQ(std::hypot(t.lineSetback.h, t.lineSetback.v), c.setback) << c.shape;
        EXPECT_FLOAT_EQ(t.segments[1].p.h, c.second.h) << c.shape;
        EXPECT_FLOAT_EQ(t.segments[1].p.v, c.second.v) << c.shape;
    }
    // The V shapes open symmetrically about the line.
    const ArrowTemplate v = BuildArrowTemplate(settings::kArrowSolid);
    EXPECT_FLOAT_EQ(v.segments[0].p.v, h);
    EXPECT_FLOAT_EQ(v.segments[2].p.v, -h);
}

// The dots are a true circle of radius 2.5: each handle lies on the tangent at its anchor,
// 1.3807119 from it.
TEST(Arrowheads, DotsAreCircles) {
    const ArrowTemplate t = BuildArrowTemplate(settings::kArrowSolidDot);
    for (int i = 0; i < 4; ++i) {
        const AIPathSegment& s = t.segments[i];
        EXPECT_FLOAT_EQ(std::hypot(s.p.h, s.p.v), 2.5f) << i;
        EXPECT_FLOAT_EQ(std::hypot(s.out.h - s.p.h, s.out.v - s.p.v), 1.3807119f) << i;
        EXPECT_FLOAT_EQ(std::hypot(s.in.h - s.p.h, s.in.v - s.p.v), 1.3807119f) << i;
        // Tangent: the handle is perpendicular to the radius.
        EXPECT_NEAR(s.p.h * (s.out.h - s.p.h) + s.p.v * (s.out.v - s.p.v), 0, 1e-6) << i;
        EXPECT_FALSE(s.corner);
    }
}

TEST(Arrowheads, TickForms) {
    const struct {
        TickForm form;
        float rise;
    } cases[] = {{TickForm::Normal, 2.4508758f},
                 {TickForm::Mirrored, -2.4508758f},
                 {TickForm::AngleTool, 0.0f}};
    for (const auto& c : cases) {
        const ArrowTemplate t = BuildArrowTemplate(settings::kArrowDotWithStroke, c.form);
        EXPECT_FLOAT_EQ(t.segments[0].p.h, -4.5f);
        EXPECT_FLOAT_EQ(t.segments[0].p.v, c.rise);
        EXPECT_FLOAT_EQ(t.segments[1].p.v, -c.rise);
    }
}

// The setback at each size is read from the dimensions drawn (the linear dimension tests);
// an unknown shape must fall back on the elegant one rather than an empty template.
TEST(Arrowheads, LineSetbackScalesWithTheSize) {
    settings::DimensionSettings& s = settings::Settings();
    const settings::DimensionSettings saved = s;
    s.arrowShape = 42;
    s.arrowSize = 200;
    EXPECT_EQ(drawing::CurrentArrowTemplate().segmentCount, 6);
    EXPECT_FLOAT_EQ(drawing::LineSetback(), 14);
    s = saved;
}

}  // namespace
