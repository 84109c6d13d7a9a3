// The host's numeric services: real maths and Bézier computations.
//
// Every operation computes in double precision and hands back single-precision reals (a
// value beyond the float range becomes the infinity of its sign). None of them keeps
// state; they may be called at any time while the suite is held. A null pointer argument
// makes an operation answer 0 (or do nothing, for those that only write through
// pointers); the Bézier suite's operations with a status answer kBadParameterErr.
#pragma once

#include "plugin/host/Records.h"

struct AIRealMathSuite {
    static constexpr const char* kName = "AI Real Math Suite";
    static constexpr ASInt32 kVersion = 2;
    // Angle of the vector a→b in radians, atan2(b.v − a.v, b.h − a.h), in [−π, π]; 0 when
    // the points coincide. Non-finite coordinates give a non-finite angle.
    AIReal (*PointAngle)(const AIRealPoint* a, const AIRealPoint* b);
    // Distance between a and b (not negative). Non-finite coordinates give a non-finite
    // distance.
    AIReal (*PointDistance)(const AIRealPoint* a, const AIRealPoint* b);
    // Writes into *result the point at `length` from `from` in the direction `angle`
    // (radians): from + length·(cos angle, sin angle). `result` may be `from`.
    void (*PointAtLengthAndAngle)(const AIRealPoint* from, AIReal length, AIReal angle,
                                  AIRealPoint* result);
    // Writes a + b into *result, coordinate by coordinate; `result` may be a or b.
    void (*AddPoints)(const AIRealPoint* a, const AIRealPoint* b, AIRealPoint* result);
    // Radians to degrees: radians × 180/π.
    AIReal (*RadiansToDegrees)(AIReal radians);
    // Degrees to radians: degrees × π/180.
    AIReal (*DegreesToRadians)(AIReal degrees);
    // Sine and cosine of an angle in radians.
    AIReal (*Sin)(AIReal radians);
    AIReal (*Cos)(AIReal radians);
    // atan2(y, x) in radians, in [−π, π]; 0 for (0, 0), whatever the signs of the zeros.
    AIReal (*ATan2)(AIReal y, AIReal x);
    // `value` moved to a whole multiple of |multiple|, as a dragged distance snaps to its
    // step: with `roundUp`, to the next multiple away from zero (7 by 5 gives 10, −7 gives
    // −10); without, to the multiple toward zero (7 by 5 gives 5, −7 gives −5). A value
    // within a millionth of a multiple (of a step, near zero) counts as that multiple and
    // stays on it, so that a value already snapped, once held in a float, does not move a
    // step further. A multiple of 0 or a non-finite value or multiple leaves `value`
    // unchanged.
    AIReal (*AIRealMultiple)(AIReal value, AIReal multiple, AIBoolean roundUp);
    // True when a and b are at most `tolerance` apart (Euclidean distance); false for a
    // negative tolerance and for any non-finite coordinate.
    AIBoolean (*PointsClose)(const AIRealPoint* a, const AIRealPoint* b, AIReal tolerance);
};

// The curves of the Bézier suite are cubic: p0 and p3 are the ends, p1 and p2 the control
// points, and the parameter t runs from 0 at p0 to 1 at p3. A parameter outside [0, 1] is
// clamped to it and a NaN parameter counts as 0. A curve with a non-finite coordinate is
// degenerate: its points and tangents are (0, 0), its length 0, the parameter at any
// length 0, and it cannot be divided.
//
// Lengths are measured by adaptive subdivision: a piece of the curve is measured once its
// control polygon exceeds its chord by no more than the flatness, each flat piece by
// Gauss-Legendre quadrature of the curve's speed. The flatness is held between 0.0001 and
// 0.01 pt, so that the usual flatness of 1.0 still gives lengths accurate to far better
// than a hundredth of a point; one that is not positive or not finite counts as 0.01. On
// a very large curve the pieces stop at a ten-millionth of its control polygon's length.
struct AIRealBezierSuite {
    static constexpr const char* kName = "AI Real Bezier Suite";
    static constexpr ASInt32 kVersion = 3;
    // Writes into *point the point of the curve at `t`: exactly p0 at 0 and p3 at 1.
    void (*PointAt)(const AIRealBezier* bezier, AIReal t, AIRealPoint* point);
    // Writes the point at `t` and the tangent there: the derivative of the curve in t.
    // Where the derivative vanishes (a handle lying on its anchor, a cusp), the tangent is
    // the second derivative (reversed at t = 1), so that it still points the way the curve
    // runs; where that vanishes too, the chord p0→p3; (0, 0) for a curve that is a single
    // point. Either output may be null.
    void (*PointAndTangentAt)(const AIRealBezier* bezier, AIReal t, AIRealPoint* point,
                              AIRealPoint* tangent);
    // The length of the curve, measured with `flatness` (see above). 0 for a curve that is
    // a single point.
    AIReal (*Length)(const AIRealBezier* bezier, AIReal flatness);
    // Writes into *t the parameter at which the length along the curve from p0 reaches
    // `length`, measured with `flatness`. A length of 0 or less gives 0 and one of the
    // curve's length or more gives 1; a curve that is a single point gives 0. Answers 0,
    // or kBadParameterErr with *t = 0 for a NaN length or a degenerate curve (and with *t
    // untouched when a pointer is null).
    ASErr (*ParameterAtLength)(const AIRealBezier* bezier, AIReal length, AIReal flatness,
                               AIReal* t);
    // Splits the curve at `t` into the part before (*first, from p0) and the part after
    // (*second, to p3); first->p3 and second->p0 are the same point and the two parts
    // together trace the curve. At 0 the first part is the single point p0, at 1 the
    // second is p3. Answers kBadParameterErr, writing nothing, for a degenerate curve.
    ASErr (*Divide)(const AIRealBezier* bezier, AIReal t, AIRealBezier* first,
                    AIRealBezier* second);
    // Offsets the curve by `distance`: to the left of the way it runs from p0 to p3 (its
    // tangent turned counter-clockwise, y upwards) when positive, to the right when
    // negative. Writes the offset curve as cubic pieces, in order from the side of p0, into
    // `pieces` (room for `capacity` of them) and their number into *count; every point of
    // the pieces lies within kOffsetTolerance of the true offset and the true offset within
    // kOffsetTolerance of the pieces, each piece starts where the one before ends, and the
    // first starts (the last ends) exactly at the offset of p0 (of p3) along the normal
    // there. A distance of 0 gives the curve itself as one piece. Answers, writing no
    // piece:
    //  - kOffsetFoldsErr where the offset folds over itself: on the inner side of a bend
    //    whose radius of curvature is not larger than |distance|, at a cusp, or where the
    //    curve turns back on itself. A fold confined to an end, where the offset runs back
    //    by no more than half of kOffsetTolerance (as beside an anchor whose handle lies on
    //    it, where the curvature grows without bound), is accepted: the pieces stay within
    //    kOffsetTolerance of the true offset all the same;
    //  - kBufferTooSmallErr when more than `capacity` pieces are needed, with *count set to
    //    the number needed (`pieces` may be null with a capacity of 0, to ask the number);
    //  - kBadParameterErr for a null pointer, a negative capacity, a non-finite distance,
    //    or a degenerate curve or one that is a single point.
    ASErr (*Offset)(const AIRealBezier* bezier, AIReal distance, AIRealBezier* pieces,
                    ASInt32 capacity, ASInt32* count);
};

// How far the pieces of an offset curve may stray from the true offset, in points.
constexpr AIReal kOffsetTolerance = 0.05f;
