// The JSON dump of a document: what the `--dump` option of `mesra run` writes, for tests and
// for people who check what a session left in the document.
//
// {"layers":[{"title","locked","visible","art":[ART…]}]}, layers and art top first (the
// reverse of paint order). ART is {"type","name","tags":{KEY:VALUE}} and:
// - for a group, "children": [ART…];
// - for a path, "closed", "segments": [[px,py, inx,iny, outx,outy, corner]…] (corner a
//   boolean), "stroke" and "fill";
// - for a text, "text" (paragraphs joined by line feeds), "font" (PostScript name), "size",
//   "anchor": [x,y] (the frame's origin, where the first line is anchored before the
//   baseline shift), "angle" (of the baseline, degrees counter-clockwise on the page, from
//   -180 to 180), "baselineShift" (upwards), "justification" ("left", "center" or
//   "right") and "fill".
// A paint is null for none, else an object by kind: {"kind":"gray","gray"},
// {"kind":"rgb","r","g","b"}, {"kind":"cmyk","c","m","y","k"} or
// {"kind":"custom","name","tint","r","g","b"} (components from 0 to 1); the stroke's object
// also holds "width" and "dash": [..]. Coordinates and lengths are in SVG user units (y
// downwards); numbers have at most 6 decimals; strings are UTF-8 (tags converted from
// Windows-1252). The text ends with a line feed.
#pragma once

#include <string>
#include <string_view>

#include "emulator/core/Document.h"

namespace emulator {

std::string DumpJson(const Document& document);

// `text` (UTF-8) as a quoted JSON string.
std::string JsonQuoted(std::string_view text);

}  // namespace emulator
