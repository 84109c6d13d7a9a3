// The view picture's renderer: librsvg draws the document's SVG, cairo the annotation over
// it and writes the PNG or SVG. Built as the module mesra-picture.so.
#include "emulator/picture/PictureRenderer.h"

#include <cairo-svg.h>
#include <cairo.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <memory>
#include <utility>

namespace emulator {
namespace {

// Owners of the libraries' objects.
struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};
struct HandleDeleter {
    void operator()(RsvgHandle* handle) const { g_object_unref(handle); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;
using SvgHandle = std::unique_ptr<RsvgHandle, HandleDeleter>;

// The message of a GError, which it frees.
std::string TakeMessage(GError* error, const char* otherwise) {
    if (error == nullptr) {
        return otherwise;
    }
    std::string message = error->message != nullptr ? error->message : otherwise;
    g_error_free(error);
    return message;
}

// Renders the document's SVG on `cr` at the view's zoom and origin.
bool DrawArtwork(cairo_t* cr, const PictureRequest& request, std::string* error) {
    const std::string& svg = request.svg;
    GError* failure = nullptr;
    SvgHandle handle(rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()),
                                               svg.size(), &failure));
    if (handle == nullptr) {
        *error = "the document cannot be rendered: " + TakeMessage(failure, "unknown reason");
        return false;
    }
    // An SVG point (x, y) is the artwork point (x·k, −y·k), and an artwork point p the view
    // pixel ((p.h − origin.h)·zoom, (origin.v − p.v)·zoom).
    const View& view = request.view;
    const double scale = view.zoom * request.unitScale;
    cairo_save(cr);
    cairo_translate(cr, -view.origin.h * view.zoom, view.origin.v * view.zoom);
    cairo_scale(cr, scale, scale);
    // Rendered into a viewport that is its own viewBox, the document keeps its user units;
    // without a viewBox it has no other units than those.
    gboolean hasViewBox = FALSE;
    RsvgRectangle viewBox{};
    rsvg_handle_get_intrinsic_dimensions(handle.get(), nullptr, nullptr, nullptr, nullptr,
                                         &hasViewBox, &viewBox);
    const RsvgRectangle viewport =
        hasViewBox ? viewBox : RsvgRectangle{0, 0, request.width, request.height};
    const bool rendered =
        rsvg_handle_render_document(handle.get(), cr, &viewport, &failure) != FALSE;
    cairo_restore(cr);
    if (!rendered) {
        *error = "the document cannot be rendered: " + TakeMessage(failure, "unknown reason");
    }
    return rendered;
}

// The path of a stroked item, through the centres of the pixels it names.
void OutlinePath(cairo_t* cr, const DisplayItem& item) {
    const auto& p = item.points;
    const auto at = [&](std::size_t i) { return std::pair{p[i].x + 0.5, p[i].y + 0.5}; };
    switch (item.kind) {
        case DisplayKind::Line:
        case DisplayKind::PolyLine:
            for (std::size_t i = 0; i < p.size(); ++i) {
                const auto [x, y] = at(i);
                i == 0 ? cairo_move_to(cr, x, y) : cairo_line_to(cr, x, y);
            }
            break;
        case DisplayKind::BezierOutline:
            cairo_move_to(cr, at(0).first, at(0).second);
            for (std::size_t i = 1; i + 2 < p.size(); i += 3) {
                cairo_curve_to(cr, at(i).first, at(i).second, at(i + 1).first, at(i + 1).second,
                               at(i + 2).first, at(i + 2).second);
            }
            if (item.closed) {
                cairo_close_path(cr);
            }
            break;
        default:
            break;
    }
}

// The rectangle or the ellipse of an item in the box (x, y, w, h).
void BoxPath(cairo_t* cr, DisplayKind kind, double x, double y, double w, double h) {
    if (kind == DisplayKind::Rect) {
        cairo_rectangle(cr, x, y, w, h);
        return;
    }
    if (w <= 0 || h <= 0) {
        return;
    }
    cairo_save(cr);
    cairo_translate(cr, x + w / 2, y + h / 2);
    cairo_scale(cr, w / 2, h / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * G_PI);
    cairo_restore(cr);
}

void DrawItem(cairo_t* cr, const DisplayItem& item) {
    const DrawStyle& s = item.style;
    if (s.opacity <= 0 || item.points.empty()) {
        return;
    }
    cairo_set_source_rgba(cr, s.color.red / 65535.0, s.color.green / 65535.0,
                          s.color.blue / 65535.0, s.opacity);
    cairo_new_path(cr);
    if (item.kind == DisplayKind::Text) {
        cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, item.fontSize);
        cairo_move_to(cr, item.points[0].x, item.points[0].y);
        cairo_show_text(cr, item.text.c_str());
        return;
    }
    if (item.kind == DisplayKind::Rect || item.kind == DisplayKind::Ellipse) {
        const ViewPoint a = item.points[0];
        const ViewPoint b = item.points[1];
        if (item.fill) {
            BoxPath(cr, item.kind, a.x, a.y, b.x - a.x, b.y - a.y);
            cairo_fill(cr);
            return;
        }
        BoxPath(cr, item.kind, a.x + 0.5, a.y + 0.5, b.x - a.x - 1, b.y - a.y - 1);
    } else {
        OutlinePath(cr, item);
    }
    if (s.lineWidth > 0) {
        cairo_set_line_width(cr, s.lineWidth);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
}

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

bool RenderPicture(const PictureRequest& request, std::string* out, std::string* error) {
    std::string& reason = *error;
    const PictureFormat format = request.format;
    const int width = std::max(1, request.view.widthPixels);
    const int height = std::max(1, request.view.heightPixels);
    std::string bytes;
    Surface surface(format == PictureFormat::Png
                        ? cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)
                        : cairo_svg_surface_create_for_stream(Append, &bytes, width, height));
    if (format == PictureFormat::Svg) {
        cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PX);
    }
    Context cr(cairo_create(surface.get()));
    // Texts advance by their unhinted widths, as the drawer suite measures them.
    cairo_font_options_t* fontOptions = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(fontOptions, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(fontOptions, CAIRO_HINT_STYLE_NONE);
    cairo_set_font_options(cr.get(), fontOptions);
    cairo_font_options_destroy(fontOptions);
    cairo_set_source_rgb(cr.get(), 1, 1, 1);
    cairo_paint(cr.get());
    if (!DrawArtwork(cr.get(), request, &reason)) {
        return false;
    }
    for (const DisplayItem& item : request.drawing->items) {
        DrawItem(cr.get(), item);
    }
    cr.reset();
    cairo_surface_flush(surface.get());
    cairo_status_t status = CAIRO_STATUS_SUCCESS;
    if (format == PictureFormat::Png) {
        status = cairo_surface_write_to_png_stream(surface.get(), Append, &bytes);
    }
    cairo_surface_finish(surface.get());
    if (status == CAIRO_STATUS_SUCCESS) {
        status = cairo_surface_status(surface.get());
    }
    if (status != CAIRO_STATUS_SUCCESS) {
        reason = std::string("the picture cannot be made: ") + cairo_status_to_string(status);
        return false;
    }
    *out = std::move(bytes);
    return true;
}

}  // namespace

}  // namespace emulator

extern "C" __attribute__((visibility("default"))) emulator::RenderPictureFunction
MesraPictureRenderer() {
    return &emulator::RenderPicture;
}
