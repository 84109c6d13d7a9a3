// The drawing code's way with host errors: a failed step is remembered and the next step
// runs, so that one refused call leaves the rest of a dimension in place.
#pragma once

#include "plugin/host/Records.h"

namespace drawing {

struct Steps {
    // The first error of the steps, 0 while all succeeded.
    ASErr first = 0;
    void operator+=(ASErr error) {
        if (first == 0) {
            first = error;
        }
    }
};

}  // namespace drawing
