// The host's numeric services: real maths and Bézier computations.
#pragma once

#include "host/Records.h"

struct AIRealMathSuite {
    static constexpr const char* kName = "AI Real Math Suite";
    static constexpr ASInt32 kVersion = 2;
};

struct AIRealBezierSuite {
    static constexpr const char* kName = "AI Real Bezier Suite";
    static constexpr ASInt32 kVersion = 3;
};
