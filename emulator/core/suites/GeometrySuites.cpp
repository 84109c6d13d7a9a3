// The host's numeric suites: real maths and Bézier computations.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "emulator/core/BezierMath.h"
#include "emulator/core/BezierOffset.h"
#include "emulator/core/SuiteSupport.h"
#include "plugin/host/GeometrySuites.h"

namespace emulator {
namespace {

// ---- AI Real Math Suite ------------------------------------------------------------------

AIReal PointAngle(const AIRealPoint* a, const AIRealPoint* b) {
    Enter<AIRealMathSuite>();
    if (a == nullptr || b == nullptr) {
        return 0;
    }
    return StoreFloat(
        std::atan2(static_cast<double>(b->v) - a->v, static_cast<double>(b->h) - a->h));
}

AIReal PointDistance(const AIRealPoint* a, const AIRealPoint* b) {
    Enter<AIRealMathSuite>();
    if (a == nullptr || b == nullptr) {
        return 0;
    }
    const double dx = static_cast<double>(b->h) - a->h;
    const double dy = static_cast<double>(b->v) - a->v;
    return StoreFloat(std::sqrt(dx * dx + dy * dy));
}

void PointAtLengthAndAngle(const AIRealPoint* from, AIReal length, AIReal angle,
                           AIRealPoint* result) {
    Enter<AIRealMathSuite>();
    if (from == nullptr || result == nullptr) {
        return;
    }
    const double h = from->h + static_cast<double>(length) * std::cos(static_cast<double>(angle));
    const double v = from->v + static_cast<double>(length) * std::sin(static_cast<double>(angle));
    *result = {StoreFloat(h), StoreFloat(v)};
}

void AddPoints(const AIRealPoint* a, const AIRealPoint* b, AIRealPoint* result) {
    Enter<AIRealMathSuite>();
    if (a == nullptr || b == nullptr || result == nullptr) {
        return;
    }
    *result = {StoreFloat(static_cast<double>(a->h) + b->h),
               StoreFloat(static_cast<double>(a->v) + b->v)};
}

AIReal RadiansToDegrees(AIReal radians) {
    Enter<AIRealMathSuite>();
    return StoreFloat(radians * (180.0 / std::numbers::pi));
}

AIReal DegreesToRadians(AIReal degrees) {
    Enter<AIRealMathSuite>();
    return StoreFloat(degrees * (std::numbers::pi / 180.0));
}

AIReal Sin(AIReal radians) {
    Enter<AIRealMathSuite>();
    return StoreFloat(std::sin(static_cast<double>(radians)));
}

AIReal Cos(AIReal radians) {
    Enter<AIRealMathSuite>();
    return StoreFloat(std::cos(static_cast<double>(radians)));
}

AIReal ATan2(AIReal y, AIReal x) {
    Enter<AIRealMathSuite>();
    if (y == 0 && x == 0) {
        // No direction at all, whatever the signs of the zeros.
        return 0;
    }
    return StoreFloat(std::atan2(static_cast<double>(y), static_cast<double>(x)));
}

AIReal RealMultiple(AIReal value, AIReal multiple, AIBoolean roundUp) {
    Enter<AIRealMathSuite>();
    return StoreFloat(RoundToMultiple(value, multiple, roundUp != 0));
}

AIBoolean PointsCloseWithin(const AIRealPoint* a, const AIRealPoint* b, AIReal tolerance) {
    Enter<AIRealMathSuite>();
    return a != nullptr && b != nullptr && PointsClose(*a, *b, tolerance) ? 1 : 0;
}

constexpr AIRealMathSuite kRealMath{PointAngle,
                                    PointDistance,
                                    PointAtLengthAndAngle,
                                    AddPoints,
                                    RadiansToDegrees,
                                    DegreesToRadians,
                                    Sin,
                                    Cos,
                                    ATan2,
                                    RealMultiple,
                                    PointsCloseWithin};

// ---- AI Real Bezier Suite ----------------------------------------------------------------

void PointAt(const AIRealBezier* bezier, AIReal t, AIRealPoint* point) {
    Enter<AIRealBezierSuite>();
    if (bezier != nullptr && point != nullptr) {
        *point = BezierPoint(*bezier, t);
    }
}

void PointAndTangentAt(const AIRealBezier* bezier, AIReal t, AIRealPoint* point,
                       AIRealPoint* tangent) {
    Enter<AIRealBezierSuite>();
    if (bezier == nullptr) {
        return;
    }
    if (point != nullptr) {
        *point = BezierPoint(*bezier, t);
    }
    if (tangent != nullptr) {
        *tangent = BezierTangent(*bezier, t);
    }
}

AIReal Length(const AIRealBezier* bezier, AIReal flatness) {
    Enter<AIRealBezierSuite>();
    return bezier != nullptr ? StoreFloat(BezierLength(*bezier, flatness)) : 0;
}

ASErr ParameterAtLength(const AIRealBezier* bezier, AIReal length, AIReal flatness, AIReal* t) {
    Enter<AIRealBezierSuite>();
    if (bezier == nullptr || t == nullptr) {
        return kBadParameterErr;
    }
    const auto parameter = BezierParameterAtLength(*bezier, length, flatness);
    *t = parameter ? StoreFloat(*parameter) : 0;
    return parameter ? kNoErr : kBadParameterErr;
}

ASErr Divide(const AIRealBezier* bezier, AIReal t, AIRealBezier* first, AIRealBezier* second) {
    Enter<AIRealBezierSuite>();
    if (bezier == nullptr || first == nullptr || second == nullptr) {
        return kBadParameterErr;
    }
    const auto halves = DivideBezier(*bezier, t);
    if (!halves) {
        return kBadParameterErr;
    }
    *first = halves->first;
    *second = halves->second;
    return kNoErr;
}

ASErr Offset(const AIRealBezier* bezier, AIReal distance, AIRealBezier* pieces, ASInt32 capacity,
             ASInt32* count) {
    Enter<AIRealBezierSuite>();
    // As for the host's other buffers, `pieces` may be null when there is no room at all:
    // the call then only tells how many pieces the offset takes.
    if (bezier == nullptr || count == nullptr || capacity < 0 ||
        (capacity > 0 && pieces == nullptr)) {
        return kBadParameterErr;
    }
    *count = 0;
    const OffsetResult result = OffsetBezier(*bezier, distance, kOffsetTolerance);
    if (result.outcome == OffsetOutcome::kBadCurve) {
        return kBadParameterErr;
    }
    if (result.outcome == OffsetOutcome::kFolds) {
        return kOffsetFoldsErr;
    }
    *count = static_cast<ASInt32>(result.pieces.size());
    if (result.pieces.size() > static_cast<std::size_t>(capacity)) {
        return kBufferTooSmallErr;
    }
    std::copy(result.pieces.begin(), result.pieces.end(), pieces);
    return kNoErr;
}

constexpr AIRealBezierSuite kRealBezier{
    PointAt, PointAndTangentAt, Length, ParameterAtLength, Divide, Offset};

}  // namespace

void OfferGeometrySuites(SuiteRegistry& registry) {
    Offer(registry, kRealMath);
    Offer(registry, kRealBezier);
}

}  // namespace emulator
