// Polygons stored one after another, as the runs make them by the thousand: the corners of every
// polygon in turn in one list, and where each polygon's corners begin.
#pragma once

#include "geometry/flat_list.hpp"
#include "geometry/xyz.hpp"

#include <cstddef>
#include <span>
#include <vector>

struct polygon_list {
    flat_list<xyz> corners;
    std::vector<std::size_t> corner_offset{0}; // per polygon and one more

    std::size_t size() const { return corner_offset.size() - 1; }
    std::span<const xyz> polygon(std::size_t p) const {
        return std::span<const xyz>(corners).subspan(corner_offset[p],
                                                     corner_offset[p + 1] - corner_offset[p]);
    }
    // Ends the polygon whose corners were added since the last one ended.
    void end_polygon() { corner_offset.push_back(corners.size()); }
};

// Appends the polygons of from to to.
void append_polygons(polygon_list& to, const polygon_list& from);

// The area of a plane polygon.
double polygon_area(std::span<const xyz> corners);
