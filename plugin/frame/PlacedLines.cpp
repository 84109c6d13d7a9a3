#include "plugin/frame/PlacedLines.h"

#include <cmath>

namespace {

bool Same(AIRealPoint a, AIRealPoint b) {
    return a.h == b.h && a.v == b.v;
}

}  // namespace

void PlacedLines::Remember(AIRealPoint a, AIRealPoint b) {
    for (const auto& [first, second] : lines_) {
        if ((Same(first, a) || Same(first, b)) && (Same(second, a) || Same(second, b))) {
            return;
        }
    }
    if (static_cast<int>(lines_.size()) * 2 >= kLimit) {
        lines_.pop_back();
    }
    lines_.emplace_front(a, b);
}

std::optional<AIRealPoint> PlacedLines::Snap(AIRealPoint point, double radius) const {
    auto near = [&](AIRealPoint q) {
        return std::hypot(static_cast<double>(q.h) - point.h, static_cast<double>(q.v) - point.v) <=
               radius;
    };
    for (const auto& [first, second] : lines_) {
        if (near(first)) {
            return first;
        }
        if (near(second)) {
            return second;
        }
    }
    return std::nullopt;
}
