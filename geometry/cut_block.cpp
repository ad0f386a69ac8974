#include "cut_block.hpp"

#include "block_store.hpp"
#include "cut_tables.hpp"
#include "erase_vertices.hpp"

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
    xyz slip;
    bounds_plane bounds;

    // Signed distance, not divided by |n|; positive on the side n points to.
    double distance(const vec3& x) const {
        return n[0] * (x[0] - p[0]) + n[1] * (x[1] - p[1]) + n[2] * (x[2] - p[2]);
    }
    double distance(const xyz& x) const {
        return n[0] * (x[0] - p[0]) + n[1] * (x[1] - p[1]) + n[2] * (x[2] - p[2]);
    }
};

cutting_plane plane_of(const fault& f) {
    cutting_plane plane{f.normal, f.point, {}, {}};
    xyz n, p;
    for (int k = 0; k < 3; ++k) {
        plane.slip[k] = f.slip_dir[k] * f.slip_mag;
        n[k] = f.normal[k];
        p[k] = f.point[k];
    }
    plane.bounds = make_bounds_plane(n, p);
    return plane;
}

// Whether some vertex lies strictly on the positive, on the negative side.
struct occupied_sides {
    bool positive = false;
    bool negative = false;
};

// Fills the per-vertex tables of ws for the block in slot s, whose vertices stand shifted by the
// slot's pending move: the plane is moved back by it instead, so the vertices are not touched.
occupied_sides classify_vertices(cut_workspace& ws, const block_store& store, int s,
                                 const cutting_plane& plane) {
    const work_block& w = store.shapes[s];
    const std::size_t nv = w.vertex_count;
    if (nv == 0)
        return {};
    const xyz& h = store.bounds[s].half_size;
    const double tolerance = on_plane_tolerance * std::hypot(plane.n[0], plane.n[1], plane.n[2]) *
                             std::hypot(2 * h[0], 2 * h[1], 2 * h[2]);
    const xyz& shift = store.shift[s];
    const xyz p{plane.p[0] - shift[0], plane.p[1] - shift[1], plane.p[2] - shift[2]};
    const vec3& n = plane.n;
    ws.vertex_distance.resize(nv);
    ws.vertex_side.resize(nv);
    occupied_sides sides;
    for (std::size_t v = 0; v < nv; ++v) {
        const xyz& x = w.points[v];
        const double d = n[0] * (x[0] - p[0]) + n[1] * (x[1] - p[1]) + n[2] * (x[2] - p[2]);
        const signed char side = d > tolerance ? 1 : d < -tolerance ? -1 : 0;
        ws.vertex_distance[v] = d;
        ws.vertex_side[v] = side;
        sides.positive = sides.positive || side > 0;
        sides.negative = sides.negative || side < 0;
    }
    return sides;
}

// Splits the block in slot s, whose vertex tables are filled, into its positive half (left in s
// and set to move) and its negative half (in a new slot after it in the list). Returns false,
// changing nothing, when the plane's sides of the block do not close into a cut face.
bool split(cut_workspace& ws, block_store& store, int s, const cutting_plane& plane,
           std::vector<fault>& faults) {
    const work_block& w = store.shapes[s];
    if (!w.sides_are_edges)
        throw std::invalid_argument("a face side is not an edge of the block");
    for (;;) {
        if (!fill_cut_tables(ws, w))
            return false;
        if (order_cut_polygon(ws, w, plane.n))
            break;
        if (!take_sides_of_doubtful_vertices(ws, w))
            return false;
    }
    settle_points(store, s, faults);
    work_block positive;
    erase_vertices(ws, w, 1, plane.n, positive);
    // The negative half takes the place of the cut block, reusing its storage.
    work_block negative = std::move(store.shapes[s]);
    erase_vertices(ws, negative, -1, plane.n, negative);
    store.shapes[s] = std::move(positive);
    const int t = add_slot_after(store, s, std::move(negative));
    // Both halves were cut where the block's vertices are stored, so the negative one keeps the
    // move not yet applied to them.
    store.shift[t] = store.shift[s];
    share_indices(store.fault_order, store.fault_range, s, t, store.negative_faults,
                  [&](int f) { return plane.distance(faults[f].point) >= 0; });
    for (int i = store.fault_range[t][0]; i < store.fault_range[t][1]; ++i)
        store.fault_slot[store.fault_order[i]] = t;
    share_indices(store.tracers, store.tracer_range, s, t, store.negative_tracers,
                  [&](const carried_tracer& c) { return plane.distance(c.point) >= 0; });
    store.bounds[s] = bounds_of(store.shapes[s].points.data(), store.shapes[s].vertex_count);
    move_slot(store, s, plane.slip);
    return true;
}

// One fault's pass over the blocks that stand at its start.
void cut_all(cut_workspace& ws, block_store& store, const cutting_plane& plane,
             std::vector<fault>& faults) {
    const int slots = static_cast<int>(store.shapes.size());
    for (int s = 0; s < slots; ++s) {
        const int quick = side_of_bounds(store.bounds[s], store.shift[s], plane.bounds);
        if (quick > 0)
            move_slot(store, s, plane.slip);
        if (quick != 0)
            continue;
        const occupied_sides sides = classify_vertices(ws, store, s, plane);
        // A sound convex block with vertices strictly on both sides always meets the plane
        // in a polygon; one that does not is left whole.
        if (sides.positive && sides.negative && split(ws, store, s, plane, faults))
            continue;
        if (sides.positive)
            move_slot(store, s, plane.slip);
    }
}

void check_indices(const index_list& indices, std::size_t size, const char* what) {
    for (int i : indices)
        if (i < 0 || static_cast<std::size_t>(i) >= size)
            throw std::out_of_range(std::string("block refers to ") + what + " " +
                                    std::to_string(i) + " of " + std::to_string(size));
}

// Every fault's pass over the blocks; the result stays in working form.
block_store cut_store(const std::vector<block>& blocks, std::vector<fault>& faults,
                      point_list& tracers, const cut_observer& observe,
                      const cut_progress& progress) {
    // Cutting only redistributes the indices, so one check up front covers every pass and
    // leaves everything untouched when it fails.
    for (const block& b : blocks) {
        check_indices(b.fault_indices, faults.size(), "fault");
        check_indices(b.tracer_indices, tracers.size(), "tracer");
    }
    cut_workspace ws;
    block_store store = make_store(blocks, faults.size(), tracers, ws.parts);
    for (std::size_t k = 0; k < faults.size(); ++k) {
        // The fault's own point must stand where its block has moved it.
        if (store.fault_slot[k] >= 0)
            settle_points(store, store.fault_slot[k], faults);
        cut_all(ws, store, plane_of(faults[k]), faults);
        if (progress)
            progress(k, store.shapes.size());
        if (observe) {
            std::vector<fault> moved_faults = faults;
            point_list moved_tracers = tracers;
            const std::vector<block> moved = stored_blocks(store, moved_faults, moved_tracers);
            observe(k, moved, moved_faults, moved_tracers);
        }
    }
    return store;
}

} // namespace

std::vector<block> cut_block(std::vector<block> blocks, std::vector<fault>& faults,
                             point_list& tracers, const cut_observer& observe,
                             const cut_progress& progress) {
    if (faults.empty() || blocks.empty())
        return blocks;
    block_store store = cut_store(blocks, faults, tracers, observe, progress);
    blocks.clear();
    std::function<void()> poll;
    if (progress)
        poll = [&progress, &faults, count = static_cast<std::size_t>(count_blocks(store))] {
            progress(faults.size() - 1, count);
        };
    return take_blocks(store, faults, tracers, poll);
}

std::size_t cut_points(const std::vector<block>& blocks, std::vector<fault>& faults,
                       point_list& tracers, const cut_progress& progress) {
    if (faults.empty() || blocks.empty())
        return blocks.size();
    const block_store store = cut_store(blocks, faults, tracers, {}, progress);
    output_points(store, faults, tracers);
    return static_cast<std::size_t>(count_blocks(store));
}
