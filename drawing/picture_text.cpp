#include "drawing/picture_text.hpp"

#include "drawing/detail/cairo_status.hpp"

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace tolvex {
namespace {

using surface_ptr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using context_ptr = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

// Cairo takes UTF-8; every Latin-1 byte is the character of the same number.
std::string utf8_of(const std::string& latin1) {
    std::string out;
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

} // namespace

void draw_picture_texts(scene_pixels& pixels, const std::vector<picture_text>& texts, double grey) {
    if (texts.empty() || pixels.width < 1 || pixels.height < 1)
        return;
    // Cairo's RGB24 is one native 32-bit word a pixel, 0x00RRGGBB; rows keep their order.
    const surface_ptr surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels.width, pixels.height),
        cairo_surface_destroy);
    check_cairo(cairo_surface_status(surface.get()), "the picture's text");
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    const auto pixel = [&](int x, int y) {
        return reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride) + x;
    };
    const auto rgba = [&](int x, int y) {
        return &pixels.rgba[(static_cast<std::size_t>(y) * pixels.width + x) * 4];
    };
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x) {
            const std::uint8_t* p = rgba(x, y);
            *pixel(x, y) = std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
        }
    cairo_surface_mark_dirty(surface.get());
    {
        const context_ptr cr(cairo_create(surface.get()), cairo_destroy);
        cairo_select_font_face(cr.get(), "DejaVu Sans Mono", CAIRO_FONT_SLANT_NORMAL,
                               CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr.get(), 15.0); // about 9 pixels a character
        cairo_set_source_rgb(cr.get(), grey, grey, grey);
        for (const picture_text& text : texts) {
            cairo_move_to(cr.get(), text.x, pixels.height - text.y);
            cairo_show_text(cr.get(), utf8_of(text.latin1).c_str());
        }
        check_cairo(cairo_status(cr.get()), "the picture's text");
    }
    cairo_surface_flush(surface.get());
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x) {
            const std::uint32_t word = *pixel(x, y);
            std::uint8_t* p = rgba(x, y);
            p[0] = static_cast<std::uint8_t>(word >> 16);
            p[1] = static_cast<std::uint8_t>(word >> 8);
            p[2] = static_cast<std::uint8_t>(word);
        }
}

} // namespace tolvex
