// Pixels written to a PNG file atomically: the picture is encoded in memory and then written
// with the shared whole-file writer, so an old file is replaced only by a complete one.
#pragma once

#include "viewer/offscreen_render.hpp"

#include <string>

namespace tolvex {

// pixels as the bytes of an 8-bit RGBA PNG file. Throws output_error naming path when they
// cannot be encoded.
std::string png_bytes(const scene_pixels& pixels, const std::string& path);

// Writes png_bytes at path. Throws output_error naming path when it cannot be
// written; then no file (partial or temporary) is left and an existing file at path is untouched.
void write_png_file(const std::string& path, const scene_pixels& pixels);

} // namespace tolvex
