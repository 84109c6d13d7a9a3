// The emulated host's offset curves: how close the pieces stay to the true offset, the
// offsets it refuses because they fold over themselves, and the suite's answers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "emulator/core/BezierMath.h"
#include "emulator/core/BezierOffset.h"
#include "emulator/core/Host.h"
#include "emulator/core/SuiteRegistry.h"
#include "plugin/host/GeometrySuites.h"
#include "plugin/host/ResultCodes.h"
#include "tests/support/CurveReference.h"

namespace {

using emulator::OffsetBezier;
using emulator::OffsetOutcome;
using testing_support::OffsetDeviation;
using testing_support::TrueOffset;

constexpr float kHandle = 55.22847f;
// A quarter circle of radius 100 about the origin, counter-clockwise: its centre lies to the
// left, where positive distances go. Its radius of curvature is 99.2 at its tightest.
const AIRealBezier kQuarter = {{100, 0}, {100, kHandle}, {kHandle, 100}, {0, 100}};
// Its bends are 9.26 in radius at their tightest, one to each side.
const AIRealBezier kS = {{0, 0}, {200, 0}, {-100, 100}, {100, 100}};
const AIRealBezier kCusp = {{0, 0}, {100, 100}, {0, 100}, {100, 0}};
// Bends to the right, with a curvature that grows without bound toward p0.
const AIRealBezier kHandleOnStart = {{0, 0}, {0, 0}, {50, 100}, {100, 100}};

bool Same(const AIRealPoint& a, const AIRealPoint& b) {
    return a.h == b.h && a.v == b.v;
}

// Would catch pieces that stray from the offset between the points they were fitted to, ends
// elsewhere than at the offsets of p0 and p3, pieces that do not meet, an offset to the
// wrong side, and a fit that splits far more than it needs.
TEST(BezierOffset, StaysWithinTheToleranceOfTheTrueOffset) {
    const struct {
        const char* name;
        AIRealBezier curve;
        double distance;
        std::size_t mostPieces;
    } cases[] = {
        {"quarter circle, outward", kQuarter, -20, 1},
        {"quarter circle, inward", kQuarter, 50, 1},
        {"quarter circle, inward almost to its tightest radius", kQuarter, 99, 1},
        {"S curve, to the left", kS, 5, 8},
        {"S curve, to the right", kS, -5, 8},
        {"straight", {{0, 0}, {10, 0}, {20, 0}, {30, 0}}, 7, 1},
        {"straight, handles on their anchors", {{10, 10}, {10, 10}, {40, 50}, {40, 50}}, -3, 1},
        {"handle on its anchor, outside", kHandleOnStart, 10, 2},
        // The offset folds over less than a hundredth of a point near p0: the pieces cover it.
        {"handle on its anchor, inside", kHandleOnStart, -10, 3},
        {"handle on the end anchor", {{0, 0}, {0, 60}, {40, 100}, {40, 100}}, 10, 1},
        {"loop, outside", {{0, 0}, {150, 100}, {-50, 100}, {100, 0}}, -5, 4},
        {"round a near cusp", {{0, 0}, {100, 100}, {0, 100}, {100.5f, 0}}, 5, 6},
        {"long wave", {{0, 0}, {300, 400}, {700, -400}, {1000, 0}}, 15, 6},
        {"far from the origin",
         {{100000, -50000}, {100080, -50000}, {100100, -49950}, {100100, -49900}},
         12,
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const emulator::OffsetResult result = OffsetBezier(c.curve, c.distance, kOffsetTolerance);
        ASSERT_EQ(result.outcome, OffsetOutcome::kDone);
        const std::vector<AIRealBezier>& pieces = result.pieces;
        ASSERT_FALSE(pieces.empty());
        EXPECT_LE(pieces.size(), c.mostPieces);
        for (const auto& [point, t] :
             {std::pair{pieces.front().p0, 0.0}, {pieces.back().p3, 1.0}}) {
            const testing_support::XY expected = TrueOffset(c.curve, c.distance, t);
            EXPECT_NEAR(point.h, expected.x, 1e-6 + 1e-7 * std::fabs(expected.x)) << t;
            EXPECT_NEAR(point.v, expected.y, 1e-6 + 1e-7 * std::fabs(expected.y)) << t;
        }
        for (std::size_t i = 1; i < pieces.size(); ++i) {
            EXPECT_TRUE(Same(pieces[i - 1].p3, pieces[i].p0)) << i;
        }
        EXPECT_LE(OffsetDeviation(c.curve, c.distance, pieces), kOffsetTolerance);
    }
}

// Would catch an offset drawn across a bend tighter than the distance (the dimension line
// would loop), across a cusp (it would jump across the curve), or along a straight curve
// that turns back, and a small fold at an end forgiven however large it grows.
TEST(BezierOffset, RefusesOffsetsThatFold) {
    const struct {
        const char* name;
        AIRealBezier curve;
        double distance;
    } cases[] = {
        {"quarter circle, inward past its tightest radius", kQuarter, 100},
        {"quarter circle, inward past its centre", kQuarter, 150},
        {"S curve, left bend", kS, 10},
        {"S curve, right bend", kS, -10},
        {"cusp, one side", kCusp, 10},
        {"cusp, other side", kCusp, -0.5},
        {"straight, turning back", {{0, 0}, {60, 0}, {-20, 0}, {40, 0}}, 5},
        {"straight, out and back", {{0, 0}, {10, 0}, {5, 0}, {0, 0}}, -5},
        {"handle on its anchor, far inside", kHandleOnStart, -40},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OffsetBezier(c.curve, c.distance, kOffsetTolerance).outcome,
                  OffsetOutcome::kFolds)
            << c.name;
    }
}

// The suite as the plug-in holds it.
class OffsetSuiteTest : public testing::Test {
  protected:
    void SetUp() override {
        const void* table = nullptr;
        ASSERT_EQ(
            host_.Suites().Acquire(AIRealBezierSuite::kName, AIRealBezierSuite::kVersion, &table),
            0);
        bezier_ = static_cast<const AIRealBezierSuite*>(table);
    }
    void TearDown() override {
        host_.Suites().Release(AIRealBezierSuite::kName, AIRealBezierSuite::kVersion);
        EXPECT_TRUE(host_.Violations().empty());
    }

    static emulator::HostOptions Options() {
        emulator::HostOptions options;
        options.fonts = std::vector<std::string>{"ArialMT"};
        return options;
    }

    emulator::Host host_{Options()};
    const AIRealBezierSuite* bezier_ = nullptr;
};

// Would catch pieces written into a buffer too small for them (or part of them), a count
// that does not tell the size needed, pieces or a count left behind by a refusal, and bad
// arguments taken for a curve.
TEST_F(OffsetSuiteTest, WritesThePiecesOnlyWhenTheyAllFit) {
    const AIRealBezier marker = {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}};
    std::vector<AIRealBezier> buffer(16, marker);
    ASInt32 count = -1;

    // Asked with no room, the count tells how many pieces the offset takes.
    EXPECT_EQ(bezier_->Offset(&kS, 5, nullptr, 0, &count), kBufferTooSmallErr);
    const ASInt32 needed = count;
    ASSERT_GT(needed, 1);
    ASSERT_LT(needed, 15);
    EXPECT_EQ(bezier_->Offset(&kS, 5, buffer.data(), needed - 1, &count), kBufferTooSmallErr);
    EXPECT_EQ(count, needed);
    EXPECT_TRUE(Same(buffer[0].p0, marker.p0));
    EXPECT_EQ(bezier_->Offset(&kS, 5, buffer.data(), needed + 1, &count), kNoErr);
    EXPECT_EQ(count, needed);
    EXPECT_FALSE(Same(buffer[0].p0, marker.p0));
    EXPECT_TRUE(Same(buffer[static_cast<std::size_t>(needed)].p0, marker.p0));

    buffer.assign(buffer.size(), marker);
    EXPECT_EQ(bezier_->Offset(&kQuarter, 100, buffer.data(), 16, &count), kOffsetFoldsErr);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(Same(buffer[0].p0, marker.p0));

    // No distance: the curve itself.
    EXPECT_EQ(bezier_->Offset(&kCusp, 0, buffer.data(), 16, &count), kNoErr);
    EXPECT_EQ(count, 1);
    EXPECT_TRUE(Same(buffer[0].p1, kCusp.p1));
    EXPECT_TRUE(Same(buffer[0].p3, kCusp.p3));

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const AIRealBezier broken = {{0, 0}, {nan, 0}, {1, 1}, {2, 2}};
    const AIRealBezier point = {{5, 5}, {5, 5}, {5, 5}, {5, 5}};
    const struct {
        const char* name;
        const AIRealBezier* curve;
        float distance;
        ASInt32 capacity;
        bool withPieces;
        bool withCount;
    } bad[] = {
        {"no curve", nullptr, 5, 16, true, true},
        {"no count", &kS, 5, 16, true, false},
        {"no pieces for the room claimed", &kS, 5, 16, false, true},
        {"negative room", &kS, 5, -1, true, true},
        {"NaN distance", &kS, nan, 16, true, true},
        {"infinite distance", &kS, std::numeric_limits<float>::infinity(), 16, true, true},
        {"NaN coordinate", &broken, 5, 16, true, true},
        {"a single point", &point, 5, 16, true, true},
    };
    for (const auto& c : bad) {
        EXPECT_EQ(bezier_->Offset(c.curve, c.distance, c.withPieces ? buffer.data() : nullptr,
                                  c.capacity, c.withCount ? &count : nullptr),
                  kBadParameterErr)
            << c.name;
    }
}

}  // namespace
