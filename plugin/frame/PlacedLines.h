// The ends of the dimension lines the Segment tool placed last, newest first, to which a
// new dimension line snaps while it is dragged.
#pragma once

#include <deque>
#include <optional>
#include <utility>

#include "plugin/host/Records.h"

class PlacedLines {
  public:
    // The number of points (two a line) the memory holds: ten lines.
    static constexpr int kLimit = 20;

    // Remembers the line a–b in front, unless a line with the same two ends (in either
    // order, exactly) is already remembered; the oldest line goes when ten are kept.
    void Remember(AIRealPoint a, AIRealPoint b);

    // The first remembered end within `radius` of `point`, newest line first; nothing when
    // none is that near.
    std::optional<AIRealPoint> Snap(AIRealPoint point, double radius) const;

    const std::deque<std::pair<AIRealPoint, AIRealPoint>>& Lines() const { return lines_; }

  private:
    std::deque<std::pair<AIRealPoint, AIRealPoint>> lines_;
};
