// Places for labels along the lines they name, so that no two labels overlap.
#pragma once

#include <array>
#include <vector>

namespace tolvex {

using page_point = std::array<double, 2>; // x right, y down

struct page_box {
    double left, top, right, bottom;
};

// A label to place: its size and the segments of the line it names, on the page.
struct label_request {
    double width = 0.0, height = 0.0;
    std::vector<std::array<page_point, 2>> segments;
};

// Where each label's box goes, in order: beside a point of one of its segments, within area and
// clear of the labels placed before it; where no such place is, where it overlaps least. A label
// without segments gets an empty box at area's corner.
std::vector<page_box> place_labels(const std::vector<label_request>& labels, const page_box& area);

} // namespace tolvex
