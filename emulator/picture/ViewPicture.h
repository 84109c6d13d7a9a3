// The document view as a picture: what the user sees, the artwork at the view's zoom and
// origin with the annotators' drawing over it.
//
// The artwork is the document's SVG (as WriteSvg writes it) rendered by librsvg onto a white
// cairo surface of the view's size, its user units taken to view pixels through the
// document's points per user unit, the zoom and the origin; the display list is drawn over
// it with cairo. Stroked items go through the centres of the pixels their coordinates name,
// so that a line of width 1 covers whole pixels as it does on screen; a filled rectangle
// covers the pixels from its left to its right side and from its top to its bottom (the
// right and bottom sides excluded); texts are set in the annotation font (DisplayList.h).
// Art outside the artboard is not shown.
//
// The rendering is done by the module mesra-picture.so, loaded on the first picture from
// beside the program (or from where the build put it). The Windows build makes no pictures
// (ViewPictureUnavailable.cpp): it has neither librsvg nor cairo.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "emulator/core/DisplayList.h"
#include "emulator/core/Document.h"
#include "emulator/picture/PictureRenderer.h"

namespace emulator {

// True when this build makes view pictures (the Linux build), false when it makes none.
bool ViewPicturesAvailable();

// The format a file's extension asks for: ".png" or ".svg", in any case; nothing for
// another.
std::optional<PictureFormat> PictureFormatOf(const std::filesystem::path& file);

// The view of `document` with `drawing` over it, as the bytes of a PNG image or an SVG file
// of widthPixels × heightPixels; nothing, with the reason in *error (when not null), when the
// document's SVG cannot be rendered or the renderer cannot be loaded.
std::optional<std::string> ViewPicture(const Document& document, const DisplayList& drawing,
                                       PictureFormat format, std::string* error);

// Writes ViewPicture in the format of `file`'s extension, replacing `file` only once the
// picture is whole (as WriteSvgFile does). False with the reason, naming the file, in *error
// (when not null) on failure or for another extension.
bool WriteViewPicture(const Document& document, const DisplayList& drawing,
                      const std::filesystem::path& file, std::string* error);

}  // namespace emulator
