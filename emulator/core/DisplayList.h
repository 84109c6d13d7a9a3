// What the annotators draw over the document view at a redraw: a display list in view
// pixels, y downwards, that fronts render over the artwork (the view picture, a web page).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/Records.h"

namespace emulator {

// A point of the view, in pixels, y downwards.
struct ViewPoint {
    double x = 0;
    double y = 0;
};

enum class DisplayKind { Line, Rect, Ellipse, PolyLine, BezierOutline, Text };

// The drawer's state that an item is drawn with; a draw message starts with these values.
struct DrawStyle {
    AIRGBColor color{0, 0, 0};  // 16-bit components
    double opacity = 1;         // 0 to 1
    double lineWidth = 1;       // pixels, lines and outlines
    ASInt32 fontPreset = 0;     // kAnnotatorFontSmall, Medium or Large
};

struct DisplayItem {
    DisplayKind kind = DisplayKind::Line;
    DrawStyle style;
    // Line: its start and end. Rect, Ellipse: the top-left and bottom-right corners of the
    // rectangle (left ≤ right, top ≤ bottom). PolyLine: its points. BezierOutline: the first
    // anchor, then the two handles and the end anchor of each piece. Text: the left end of
    // its baseline.
    std::vector<ViewPoint> points;
    bool fill = false;     // Rect, Ellipse: filled rather than outlined
    bool closed = false;   // BezierOutline: closed back to its first anchor
    std::string text;      // Text: its characters, UTF-8
    double fontSize = 0;   // Text: pixels
    double textWidth = 0;  // Text: its advance width, pixels
};

struct DisplayList {
    std::vector<DisplayItem> items;  // in the order drawn, the last on top
};

// The annotation fonts are the system's default sans-serif face (the face fontconfig
// matches for "sans-serif") at 9, 11 and 13 pixels for the small, medium and large preset.
// The size of `preset` (0, 1 or 2; any other: the small size).
double AnnotationFontSize(ASInt32 preset);
// The PostScript name of the face ("" when fontconfig finds none).
const std::string& AnnotationFontName();
// The advance width in pixels of one line of `text` (UTF-16) in the font of `preset`,
// measured with FreeType.
double AnnotationTextWidth(ASInt32 preset, std::u16string_view text);

}  // namespace emulator
