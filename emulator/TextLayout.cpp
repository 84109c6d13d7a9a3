#include "emulator/TextLayout.h"

namespace emulator {

AIRealRect PointTextBounds(const PointText& text) {
    const auto x = static_cast<AIReal>(text.matrix[4]);
    const auto y = static_cast<AIReal>(text.matrix[5]);
    return {x, y, x, y};
}

}  // namespace emulator
