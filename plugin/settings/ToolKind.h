// The five measuring tools, as the settings, the dimension styles and the tools name them.
#pragma once

#include "plugin/host/Records.h"

enum class ToolKind : ASInt32 {
    Segment = 1,
    Angle = 2,
    Circle = 3,
    Bezier = 4,
    LengthsAndAreas = 5,
};

constexpr int kToolCount = 5;
