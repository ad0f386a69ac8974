#include "geometry/fault_surfaces.hpp"

#include "geometry/detail/block_faces.hpp"
#include "geometry/stop_point.hpp"

#include <algorithm>

namespace {

template <class Faces> void add_walls(const Faces& b, int block_number, fault_surfaces& out) {
    stop_point();
    const xyz centre = vertex_mean(b);
    for (std::size_t f = 0; f < b.face_count(); ++f) {
        const std::span<const int> corners = b.corners(f);
        if (!face_source_is_cut(b.source(f)) || corners.size() < 3)
            continue;
        // Both halves keep the fault's normal on their cut face; the one it points into lies on
        // the positive side.
        const xyz n = b.normal(f);
        const bool positive = dot(n, minus(centre, b.vertex(corners[0]))) > 0;
        const std::size_t start = out.polygons.corners.size();
        for (const int c : corners)
            out.polygons.corners.push_back(b.vertex(c));
        const std::span<xyz> polygon = std::span<xyz>(out.polygons.corners).subspan(start);
        // Outward is against n on the positive wall and along it on the other.
        if ((dot(newell_normal(polygon), n) > 0) == positive)
            std::reverse(polygon.begin(), polygon.end());
        out.polygons.end_polygon();
        out.fault.push_back(cut_fault(b.source(f)));
        out.side.push_back(positive ? 1 : -1);
        out.block.push_back(block_number);
    }
}

} // namespace

fault_surfaces fault_surfaces_of(const block_set& blocks) {
    fault_surfaces out;
    for (std::size_t b = 0; b < block_count(blocks); ++b)
        add_walls(view_faces{view_of(blocks, b)}, static_cast<int>(b), out);
    return out;
}

fault_surfaces fault_surfaces_of(std::span<const block> blocks) {
    fault_surfaces out;
    for (std::size_t b = 0; b < blocks.size(); ++b)
        add_walls(record_faces{blocks[b]}, static_cast<int>(b), out);
    return out;
}

void add_fault_surfaces(const block& b, int block_number, fault_surfaces& out) {
    add_walls(record_faces{b}, block_number, out);
}

void add_fault_surfaces(const block_view& b, int block_number, fault_surfaces& out) {
    add_walls(view_faces{b}, block_number, out);
}
