// The sine and cosine of an angle, the same to the last bit on every system the plug-in is
// built for.
#pragma once

namespace geometry {

struct SineCosine {
    double sine = 0;
    double cosine = 1;
};

// The sine and cosine of `angle` (radians). They are the maths library's, except within
// 1e-9 of a multiple of a quarter turn (up to 16 turns either way): there the angle's
// distance r to that multiple, taken with a quarter turn of 125 bits, gives them as ±r and
// ±1, which is what they are to the last bit at that size. A maths library that reduces
// the angle with a shorter π (the x87 instructions that MinGW's uses) gives 6.1230e-17 for
// the cosine of a quarter turn instead of 6.1232e-17, and so writes other matrices for
// texts set upright or upside down. A value that is not finite gives the library's NaNs.
SineCosine SinCos(double angle);

}  // namespace geometry
