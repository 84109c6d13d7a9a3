// Writing a document of the emulated host back to SVG.
//
// The writer is the reader's counterpart: what it writes reads back through ReadSvg to the
// same layers, groups, paths, texts, styles, names, tags and states. A document read from a
// file is written by editing a copy of that file, so that everything the host does not
// model (definitions, metadata, the user's text, images, ids, classes, comments, attributes
// of other programs) comes out as it went in:
// - An element whose art did not change is left untouched, attribute for attribute: the
//   writer compares each art with what reading the original element gives. An element
//   whose geometry changed gets new path data (a shape such as `rect` becomes a `path`);
//   a changed style, name, tag set, lock or visibility rewrites only what the host owns.
// - Elements of art that was disposed of are removed (with what they hold); art made by
//   the plug-in becomes new `g`, `path` and `text` elements at its place in paint order;
//   new layers become new layer groups.
// - Nothing moves that did not move in the host: the art the reader put into a layer of its
//   own because it is outside any layer goes back under the root, and the layers and that
//   art keep their order among each other. A new layer goes where the host's layer order
//   puts it among the existing ones (above them all: on top of the file).
// - Art made during the session that draws nothing (a path without anchors, a text without
//   characters, a group of nothing else, such as the paths a tool makes at a measure's
//   first click) is not written: read back, it would be a half-made dimension. Art read
//   from the file is written back even when empty.
// - Every element keeps the transform it renders with: its accumulated transform is that
//   of the original file, and an element moved under a parent with another transform has
//   its own `transform` rewritten to keep it. New geometry is written through the inverse
//   of that accumulated transform, so it renders where the model says. An element moved to
//   another parent, and everything inside it, is written with its whole style, since what
//   it inherited has changed. An element whose transform cannot be inverted (a scale of 0)
//   gets user-space geometry and a transform that undoes its parent's.
// - Colours are written as the SVG colour the host shows (#rrggbb when that is exact,
//   else rgb() in percentages); a gray, a CMYK colour, a custom colour's name and tint,
//   and overprint are kept in attributes of the namespace kPaintNamespace. The tags
//   namespace holds nothing but tags, since the reader takes every attribute there for one.
// - Every tag of every art reads back: a layer's tags are on its element, and those of the
//   paths that the reader made of an element's subpaths are on that element, in the
//   namespace kSubpathTagsNamespace (see SvgImport.h).
// - A point text is a `text` element that viewers render as the host shows it: its
//   transform is the frame's matrix (in user units, y downwards), its style the font (the
//   PostScript name, then a generic family with the weight and slant the name says), size,
//   tracking as letter-spacing, fill as for paths, no stroke and the justification as
//   text-anchor; each paragraph is a `tspan` at its baseline (the baseline shift in its
//   position). What it takes to rebuild the text exactly is kept in attributes of the
//   namespace kTextNamespace. A text whose model changed has only what changed rewritten,
//   its `tspan`s rebuilt when its lines did. Text of the file that the host does not model
//   stays as it is, its whitespace too: nothing is ever indented inside a `text` element.
// - The text is laid out two spaces a level, down to 16 levels of nesting; what an element
//   at that depth holds is written on its line, so that the text grows with the file's
//   nodes, not with the square of its depth. Reading and writing need no stack however
//   deep the file nests.
// A document without a file is written as a new SVG whose width and height are in points
// (in millimetres when a user unit is a millimetre), with a viewBox in user units, so that
// its size and its points per user unit read back.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "emulator/core/Document.h"
#include "emulator/platform/FileSave.h"

namespace emulator {

// The namespace of the paint the host models beyond the SVG colour: attributes
// fill-gray / stroke-gray (G), fill-cmyk / stroke-cmyk ("C M Y K"), fill-custom /
// stroke-custom (the custom colour's name, UTF-8), fill-tint / stroke-tint, and
// fill-overprint / stroke-overprint ("true"), each from 0 to 1.

// The SVG text (UTF-8) of the document, as the header comment describes. Never fails: a
// number that is not finite is written as 0, and a tag whose name is not an XML name is
// left out.
std::string WriteSvg(const Document& document);

// The SVG elements of `art` alone (a `g`, `path` or `text` with what it holds), written as
// new art is, in the document's user units (y downwards), for a front that draws the art
// that changes over a picture of the rest: elements and attributes of SVG only (no name,
// tag or state of the host), escaped. Empty for art that draws nothing.
std::string WriteSvgArt(const Document& document, const Art& art);

// Writes WriteSvg's text to `file` (gzip-compressed when its name ends in ".svgz") as
// WriteFileWhole saves, so that the file is either the old one or the whole new one.
// Returns false with the reason in English (naming the file) in *error (when error is not
// null) on failure, with the old file untouched and no temporary file left.
bool WriteSvgFile(const Document& document, const std::filesystem::path& file, std::string* error);

}  // namespace emulator
