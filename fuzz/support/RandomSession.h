// Sessions made of arbitrary bytes, for the fuzz targets and the random-session test: every
// line they hold is one the session reader accepts, and the mouse goes mostly where the
// drawing has something to point at (anchors and the middles of segments), so that the
// tools measure, draw, modify and rebuild rather than click in the void.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fuzzing {

struct Target {
    double x = 0;
    double y = 0;
};

// The points of an SVG drawing worth pointing at, in session coordinates (the SVG's user
// units): every anchor of every path and the middle between consecutive anchors. Empty for
// a text the reader refuses.
std::vector<Target> TargetsOf(const std::string& svg);

// The session script the bytes spell, one action for every few bytes: tools, modifier
// keys, moves, clicks and drags near `targets` or anywhere, zooms, notifications, colour
// picker answers, new documents and, when `document` is not empty, `doc document` lines.
std::string SessionFromBytes(std::span<const std::uint8_t> bytes,
                             const std::vector<Target>& targets, const std::string& document);

}  // namespace fuzzing
