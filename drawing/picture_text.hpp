// Text written over a rendered picture's pixels with cairo, in a monospaced face named by its
// family, so a saved picture's label, triad letters and scale length need no window system's
// font.
#pragma once

#include "io/png_file.hpp"

#include <string>
#include <vector>

namespace tolvex {

// The face's characters advance this many pixels; its lines lie this far apart.
constexpr int picture_char_width = 9;
constexpr int picture_line_height = 16;

// One line of text: the left end of its baseline in pixels from the picture's lower left corner
// (as GL counts a window's pixels) and its characters in Latin-1.
struct picture_text {
    int x = 0;
    int y = 0;
    std::string latin1;
};

// Draws texts onto pixels in grey (0 black to 1 white), each pixel keeping its alpha. Throws
// std::runtime_error when cairo cannot draw.
void draw_picture_texts(scene_pixels& pixels, const std::vector<picture_text>& texts, double grey);

} // namespace tolvex
