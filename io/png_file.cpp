#include "io/png_file.hpp"

#include "io/atomic_file.hpp"
#include "io/input_error.hpp"

#include <png.h>

#include <cstdio>
#include <string>

namespace tolvex {
namespace {

// libpng reports errors through a callback that must not return: it keeps the message and
// jumps back to encode_png, whose frame holds nothing that needs destroying.
void on_png_error(png_structp png, png_const_charp message) {
    auto* kept = static_cast<char*>(png_get_error_ptr(png));
    std::snprintf(kept, 256, "%s", message);
    png_longjmp(png, 1);
}

void on_png_warning(png_structp, png_const_charp) {}

void append_bytes(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

void no_flush(png_structp) {}

// The PNG bytes of pixels in out; empty on success, else what went wrong.
std::string encode_png(const scene_pixels& pixels, std::string& out) {
    char message[256] = "out of memory";
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, message, on_png_error, on_png_warning);
    if (!png)
        return message;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return message;
    }
    png_set_write_fn(png, &out, append_bytes, no_flush);
    png_set_IHDR(png, info, pixels.width, pixels.height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t row = static_cast<std::size_t>(pixels.width) * 4;
    for (int y = 0; y < pixels.height; ++y)
        png_write_row(png, &pixels.rgba[y * row]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return {};
}

} // namespace

std::string png_bytes(const scene_pixels& pixels, const std::string& path) {
    std::string bytes;
    const std::string problem = encode_png(pixels, bytes);
    if (!problem.empty())
        throw output_error(path + ": cannot be written: " + problem);
    return bytes;
}

void write_png_file(const std::string& path, const scene_pixels& pixels) {
    write_file_atomically(path, png_bytes(pixels, path));
}

} // namespace tolvex
