#include "geometry/polygon_list.hpp"

#include <cmath>

void append_polygons(polygon_list& to, const polygon_list& from) {
    const std::size_t base = to.corners.size();
    to.corners.insert(to.corners.end(), from.corners.begin(), from.corners.end());
    for (std::size_t p = 1; p < from.corner_offset.size(); ++p)
        to.corner_offset.push_back(base + from.corner_offset[p]);
}

double polygon_area(std::span<const xyz> corners) {
    const xyz twice = newell_normal(corners);
    return 0.5 * std::hypot(twice[0], twice[1], twice[2]);
}
