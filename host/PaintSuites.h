// Suites of colours: custom colours, swatches and paint styles.
#pragma once

#include "host/Records.h"

struct AICustomColorSuite {
    static constexpr const char* kName = "AI Custom Color Suite";
    static constexpr ASInt32 kVersion = 7;
};

struct AISwatchListSuite {
    static constexpr const char* kName = "AI Swatch List Suite";
    static constexpr ASInt32 kVersion = 6;
};

struct AISwatchGroupSuite {
    static constexpr const char* kName = "AI Swatch Group Suite";
    static constexpr ASInt32 kVersion = 2;
};

struct AIPaintStyleSuite {
    static constexpr const char* kName = "AI Paint Style Suite";
    static constexpr ASInt32 kVersion = 8;
};

struct AIATEPaintSuite {
    static constexpr const char* kName = "AIATE Paint Suite";
    static constexpr ASInt32 kVersion = 2;
};
