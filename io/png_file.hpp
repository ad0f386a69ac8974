// Pixels written to a PNG file atomically: the picture is encoded in memory and then written
// with the shared whole-file writer, so an old file is replaced only by a complete one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tolvex {

// RGBA pixels, 8 bits a channel, rows from the top of the picture down.
struct scene_pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    std::array<std::uint8_t, 4> at(int x, int y) const {
        const auto* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
};

// pixels as the bytes of an 8-bit RGBA PNG file. Throws output_error naming path when they
// cannot be encoded.
std::string png_bytes(const scene_pixels& pixels, const std::string& path);

// Writes png_bytes at path. Throws output_error naming path when it cannot be
// written; then no file (partial or temporary) is left and an existing file at path is untouched.
void write_png_file(const std::string& path, const scene_pixels& pixels);

} // namespace tolvex
