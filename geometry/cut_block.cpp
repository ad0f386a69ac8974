#include "cut_block.hpp"

#include "cut_tables.hpp"
#include "erase_vertices.hpp"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

// A vertex closer to the plane than this fraction of |n| times the block's size (the diagonal of
// its bounding box) lies on the plane: centring and moving leave rounding noise of a few units in
// the last place, far below it.
constexpr double on_plane_tolerance = 1e-9;

// One fault's plane and slip as they stand at the start of its pass.
struct cutting_plane {
    vec3 n;
    vec3 p;
    vec3 slip;

    // Signed distance, not divided by |n|; positive on the side n points to.
    double distance(const vec3& x) const {
        return n[0] * (x[0] - p[0]) + n[1] * (x[1] - p[1]) + n[2] * (x[2] - p[2]);
    }
};

cutting_plane plane_of(const fault& f) {
    cutting_plane plane{f.normal, f.point, f.slip_dir};
    for (int k = 0; k < 3; ++k)
        plane.slip[k] = f.slip_dir[k] * f.slip_mag;
    return plane;
}

// Per-vertex working data of the block being processed; capacity is kept between blocks.
std::vector<double> vertex_distance;
side_list vertex_side;
vertex_mask positive_set;
vertex_mask negative_set;

double bounding_box_diagonal(const point_list& vertices) {
    if (vertices.empty())
        return 0.0;
    vec3 lo = vertices.front();
    vec3 hi = vertices.front();
    for (const vec3& v : vertices)
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], v[k]);
            hi[k] = std::max(hi[k], v[k]);
        }
    return std::hypot(hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]);
}

// Whether some vertex lies strictly on the positive, on the negative side.
struct occupied_sides {
    bool positive = false;
    bool negative = false;
};

// Fills the per-vertex tables for b.
occupied_sides classify_vertices(const block& b, const cutting_plane& plane) {
    const std::size_t nv = b.vertices.size();
    const double tolerance = on_plane_tolerance * std::hypot(plane.n[0], plane.n[1], plane.n[2]) *
                             bounding_box_diagonal(b.vertices);
    vertex_distance.resize(nv);
    vertex_side.resize(nv);
    positive_set.assign(nv, 0);
    negative_set.assign(nv, 0);
    occupied_sides sides;
    for (std::size_t v = 0; v < nv; ++v) {
        const double d = plane.distance(b.vertices[v]);
        vertex_distance[v] = d;
        vertex_side[v] = d > tolerance ? 1 : d < -tolerance ? -1 : 0;
        positive_set[v] = vertex_side[v] > 0;
        negative_set[v] = vertex_side[v] < 0;
        sides.positive = sides.positive || vertex_side[v] > 0;
        sides.negative = sides.negative || vertex_side[v] < 0;
    }
    return sides;
}

void move_block(block& b, const cutting_plane& plane, std::vector<fault>& faults,
                point_list& tracers) {
    for (vec3& v : b.vertices)
        v += plane.slip;
    for (int f : b.fault_indices)
        faults[f].point += plane.slip;
    for (int t : b.tracer_indices)
        tracers[t] += plane.slip;
}

// Reference points and tracers on the plane or on its positive side go with the positive half.
void share_indices(const index_list& from, index_list& positive, index_list& negative,
                   const cutting_plane& plane, auto&& position_of) {
    for (int i : from)
        (plane.distance(position_of(i)) >= 0 ? positive : negative).push_back(i);
}

// Splits b, whose cut tables are filled, into its positive half (moved) and its negative half.
void cut_one(const block& b, const cutting_plane& plane, std::vector<fault>& faults,
             point_list& tracers, std::vector<block>& output) {
    block a = erase_vertices(b, negative_set, plane.n);
    block c = erase_vertices(b, positive_set, plane.n);
    share_indices(b.fault_indices, a.fault_indices, c.fault_indices, plane,
                  [&faults](int f) -> const vec3& { return faults[f].point; });
    share_indices(b.tracer_indices, a.tracer_indices, c.tracer_indices, plane,
                  [&tracers](int t) -> const vec3& { return tracers[t]; });
    move_block(a, plane, faults, tracers);
    output.push_back(std::move(a));
    output.push_back(std::move(c));
}

void check_indices(const index_list& indices, std::size_t size, const char* what) {
    for (int i : indices)
        if (i < 0 || static_cast<std::size_t>(i) >= size)
            throw std::out_of_range(std::string("block refers to ") + what + " " +
                                    std::to_string(i) + " of " + std::to_string(size));
}

} // namespace

std::vector<block> cut_block(std::vector<block> blocks, std::vector<fault>& faults,
                             point_list& tracers, const cut_observer& observe) {
    if (faults.empty())
        return blocks;
    // Cutting only redistributes the indices, so one check up front covers every pass and
    // leaves everything untouched when it fails.
    for (const block& b : blocks) {
        check_indices(b.fault_indices, faults.size(), "fault");
        check_indices(b.tracer_indices, tracers.size(), "tracer");
    }
    std::vector<block> output;
    for (std::size_t k = 0; k < faults.size(); ++k) {
        const cutting_plane plane = plane_of(faults[k]);
        output.clear();
        output.reserve(2 * blocks.size());
        for (block& b : blocks) {
            const occupied_sides sides = classify_vertices(b, plane);
            // A sound convex block with vertices strictly on both sides always meets the plane
            // in a polygon; a malformed one that does not is left whole.
            if (sides.positive && sides.negative &&
                fill_cut_tables(b, vertex_distance, vertex_side, plane.n)) {
                cut_one(b, plane, faults, tracers, output);
                continue;
            }
            if (sides.positive)
                move_block(b, plane, faults, tracers);
            output.push_back(std::move(b));
        }
        std::swap(blocks, output);
        if (observe)
            observe(k, blocks, faults, tracers);
    }
    return blocks;
}
