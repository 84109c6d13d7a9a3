// Reading SVG artwork into a document of the emulated host.
//
// The reader turns the drawing of an SVG file into the host's model: layers, groups and
// paths of cubic segments in artwork points (y upwards), with their styles, names, tags and
// lock and visibility states. The parsed file is kept whole in Document::source, and every
// layer and art keeps the element it came from, so that what the host does not model
// (the user's text, images, definitions, metadata, attributes of other programs) can be
// written back as it was.
//
// The file may be gzip-compressed (.svgz; told by its first bytes, not by its name). The
// general entities that its DOCTYPE declares in its internal subset are expanded (see
// SvgImportEntities.cpp), within a bound that refuses a runaway expansion; external
// entities are never fetched.
//
// What becomes what:
// - The root's width, height and viewBox give Document::unitScale (points per user unit)
//   and the document's size in user units. An SVG point (x, y) becomes the artwork point
//   (x·k, −y·k) after the transforms of its element and ancestors (the viewBox's origin
//   moves nothing). With a viewBox, k is the width (or height) in points over the viewBox's
//   (pixels and plain numbers counting as points); without one, a user unit is a CSS pixel
//   (k = 0.75) when the width or height is in mm, cm, in, pt or pc, and a point otherwise.
//   A size the root does not give is the extent of the art from the origin.
// - A `g` with inkscape:groupmode="layer" directly under the root is a layer (title from
//   inkscape:label, else id, else "Calque N"; locked by sodipodi:insensitive="true"; hidden
//   by display:none). Art outside any layer goes into one layer "Calque 1" at the bottom
//   (the writer puts it back where it was); a document without layers still has
//   "Calque 1". The current layer is the one whose element's id the `sodipodi:namedview`
//   names in inkscape:current-layer, else the topmost unlocked and visible one, else the
//   topmost.
// - `g` (and a layer inside a layer) is a group; `path`, `rect`, `circle`, `ellipse`,
//   `line`, `polyline` and `polygon` are paths. An element whose geometry has several
//   subpaths is a group of paths: the group's source is the element, its paths have no
//   source of their own and carry the element's style. Subpaths of a single anchor are
//   dropped. Other elements (and everything deeper than 256 levels) are left to the DOM.
// - Arcs become cubics of at most 90° each, quadratics become cubics exactly; a closed
//   subpath whose last anchor is its first has them merged into one anchor.
// - Style comes from presentation attributes and the `style` attribute (which wins),
//   inherited as SVG inherits it; style sheets are not applied. Stroke widths and dashes
//   are in artwork points (scaled by the transforms and k). Paints the model cannot hold
//   (gradients, patterns, unknown values) are Paint::Kind::None.
// - Attributes in the namespace "urn:x-mesra:tags" become tags (values in Windows-1252),
//   those of kSubpathTagsNamespace tags of the paths of an element of several subpaths;
//   inkscape:label is the art's name. A layer's tags are those of its group.
// - A `text` element carrying a frame matrix in kTextNamespace is a point text (one
//   paragraph per child `tspan`, its features from that namespace, its fill from the style
//   and the paint namespace). The frame comes from the element's transforms (so that a text
//   another program moved is where it shows), or from the recorded matrix, exactly, when
//   the two agree to a millionth. Other text stays in the DOM, whitespace and all.
//
// Nothing the file holds makes the reader crash or hang: malformed numbers, path data or
// transforms stop or drop what they spoil, as SVG renderers do, and a subpath with a
// coordinate that is not finite (or beyond the range of the host's floats) is dropped.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "emulator/core/Document.h"

namespace emulator {

// The namespace of the tag attributes the emulated host reads and writes.
inline constexpr const char* kTagsNamespace = "urn:x-mesra:tags";

// The namespace of the tags of the paths that an element of several subpaths becomes: the
// attribute "pN.NAME" on the element is the tag NAME of its Nth path (from 0, in the order
// of the path data, counting only the subpaths that become paths).
inline constexpr const char* kSubpathTagsNamespace = "urn:x-mesra:subpath-tags";

// The namespace of what an SVG colour cannot hold of a path's paints (gray and CMYK
// colours, custom colours' names and tints, overprint), as the writer keeps it.
inline constexpr const char* kPaintNamespace = "urn:x-mesra:paint";

// The namespace of a point text's frame and features, as the host holds them: matrix
// ("a b c d tx ty", artwork points, y upwards; the mark of a point text), font (PostScript
// name, UTF-8), size, baseline-shift, first-line-indent, start-indent, end-indent,
// space-before, space-after (points), tracking (thousandths of an em) and justification
// (left, center or right).
inline constexpr const char* kTextNamespace = "urn:x-mesra:text";

// The document of the SVG text (UTF-8, or any encoding the XML declares or marks with a
// byte-order mark), or of gzip-compressed SVG text. Returns null when the bytes are not an
// SVG document (neither XML text nor gzip, damaged gzip, an XML error, a runaway entity
// expansion, or a root element other than `svg`), with the reason in English in *error
// (when error is not null); *error is left alone on success.
std::unique_ptr<Document> ReadSvg(const std::string& bytes, std::string* error);

// The document of the SVG file, as ReadSvg; the reason for a failure names the file (one
// that cannot be read, or one that is not SVG).
std::unique_ptr<Document> ReadSvgFile(const std::filesystem::path& file, std::string* error);

}  // namespace emulator
