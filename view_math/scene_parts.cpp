#include "view_math/scene_parts.hpp"

#include <algorithm>

std::vector<scene_part> parts_of(const std::vector<block>& blocks, const point_list& tracers) {
    std::vector<scene_part> parts;
    parts.reserve(blocks.size() + 1);
    for (const block& b : blocks)
        parts.push_back({&b, nullptr, {0.0, 0.0, 0.0}, parts.size()});
    parts.push_back({nullptr, &tracers});
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
            for (const vec3& v : part.shape->vertices)
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
