// The largest page a drawing may have. Past it cairo's fixed-point coordinates overflow (an
// assertion ends the process) and SVG and PDF files grow without end, so a drawing that would
// be larger is refused before anything is drawn, with the largest exaggeration that fits.
#pragma once

#include <functional>
#include <stdexcept>

namespace tolvex {

// In points (PNG pixels alike), a side: a poster's length, far below cairo's limits.
inline constexpr double largest_page_side = 20000.0;

// A drawing that would not fit the largest page.
struct page_too_large : std::invalid_argument {
    page_too_large(double height, double largest_exaggeration);
    double height;               // of the page asked for, in points (may be infinite)
    double largest_exaggeration; // the largest that fits, rounded down; 0 when none does
};

// Throws page_too_large when the page, height_at(exaggeration) points tall and width wide, is
// larger than the largest page; height_at grows with the exaggeration.
void check_page_size(double width, double exaggeration,
                     const std::function<double(double)>& height_at);

} // namespace tolvex
