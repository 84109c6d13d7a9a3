// PNG pictures read back with cairo, for the tests of what the view shows.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// A PNG image read back: its size and its pixels as 0xAARRGGBB, row by row.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[y * width + x] & 0xFFFFFF; }
};

inline Image ReadPng(const std::string& bytes) {
    struct Reader {
        const std::string& bytes;
        std::size_t at = 0;
    } reader{bytes};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* data, unsigned int length) {
            auto* r = static_cast<Reader*>(closure);
            if (r->bytes.size() - r->at < length) {
                return CAIRO_STATUS_READ_ERROR;
            }
            r->bytes.copy(reinterpret_cast<char*>(data), length, r->at);
            r->at += length;
            return CAIRO_STATUS_SUCCESS;
        },
        &reader);
    Image image;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        image.width = cairo_image_surface_get_width(surface);
        image.height = cairo_image_surface_get_height(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        for (int y = 0; y < image.height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
            image.pixels.insert(image.pixels.end(), row, row + image.width);
        }
    }
    cairo_surface_destroy(surface);
    return image;
}

}  // namespace testing_support
