#include "view_math/scene_parts.hpp"

#include <algorithm>

std::vector<scene_part> parts_of(const block_set& blocks, const point_list& tracers) {
    std::vector<scene_part> parts;
    parts.reserve(block_count(blocks) + 1);
    for (std::size_t b = 0; b < block_count(blocks); ++b)
        parts.push_back({.shape = view_of(blocks, b), .number = b});
    parts.push_back({.tracers = &tracers});
    return parts;
}

namespace {

template <class Point> void grow(scene_box& box, const Point& p, const xyz& offset) {
    for (int k = 0; k < 3; ++k) {
        const double x = p[k] + offset[k];
        box.lo[k] = std::min(box.lo[k], x);
        box.hi[k] = std::max(box.hi[k], x);
    }
}

} // namespace

void add_point(scene_box& box, const vec3& p, const xyz& offset) {
    grow(box, p, offset);
}

void add_point(scene_box& box, const xyz& p, const xyz& offset) {
    grow(box, p, offset);
}

void add_parts(scene_box& box, const std::vector<scene_part>& parts) {
    for (const scene_part& part : parts) {
        if (part.shape)
            for (const xyz& v : part.shape->vertices)
                add_point(box, v, part.offset);
        if (part.tracers)
            for (const vec3& t : *part.tracers)
                add_point(box, t, part.offset);
        if (part.walls)
            for (const xyz& c : part.walls->polygons.corners)
                add_point(box, c, part.offset);
        if (part.horizons)
            for (const xyz& c : part.horizons->polygons.corners)
                add_point(box, c, part.offset);
    }
}
