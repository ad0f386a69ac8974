#include "geometry/detail/cut_pass.hpp"

#include "geometry/detail/cut_tables.hpp"
#include "geometry/detail/cut_walk.hpp"
#include "geometry/detail/erase_vertices.hpp"
#include "geometry/detail/plane_side.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <thread>

namespace {

// Fewer blocks than this to a thread cost more in starting it than they save.
constexpr int min_slots_per_thread = 512;

// Whether some vertex lies strictly on the positive, on the negative side, on the plane.
struct occupied_sides {
    bool positive = false;
    bool negative = false;
    bool on_plane = false;
};

// Which half of a cut block takes its place, of room bytes: the larger one that fits there, as one
// mostly does, so that most cuts leave few dead bytes behind, or 0 for neither. bytes holds the
// negative half's, then the positive half's.
int half_in_place(std::size_t room, const std::array<std::size_t, 2>& bytes) {
    const int larger = bytes[0] > bytes[1] ? -1 : 1;
    if (bytes[larger > 0] <= room)
        return larger;
    return bytes[larger < 0] <= room ? -larger : 0;
}

// The distance of x from the plane through p with normal n, not divided by |n|; positive on the
// side n points to.
double signed_distance(const vec3& n, const xyz& p, const xyz& x) {
    return n[0] * (x[0] - p[0]) + n[1] * (x[1] - p[1]) + n[2] * (x[2] - p[2]);
}

// One thread's share of a pass: the slots [begin, end) of the store.
struct pass_share {
    block_store& store;
    cut_worker& worker;
    shape_arena& arena;
    const cutting_plane& plane;
    const bounds_plane& box_plane;
    const fault_point_sides& fault_sides;

    // The plane's point moved back by the pending move of slot s, where its vertices and tracers
    // are stored.
    xyz point_moved_back(int s) const {
        const xyz& shift = store.shift[s];
        return {plane.p[0] - shift[0], plane.p[1] - shift[1], plane.p[2] - shift[2]};
    }

    // Fills the per-vertex tables for the block in slot s, whose vertices stand shifted by the
    // slot's pending move: the plane is moved back by it instead, so the vertices are not touched.
    occupied_sides classify_vertices(int s) {
        cut_workspace& ws = worker.ws;
        const work_block& w = store.shapes[s];
        const std::size_t nv = w.vertex_count;
        if (nv == 0)
            return {};
        const double tolerance = on_plane_distance(plane.n_length, box_of(store.boxes, s));
        const xyz p = point_moved_back(s);
        const double px = p[0];
        const double py = p[1];
        const double pz = p[2];
        const double nx = plane.n[0];
        const double ny = plane.n[1];
        const double nz = plane.n[2];
        ws.vertex_distance.resize(nv);
        ws.vertex_side.resize(nv);
        // Through locals and without a branch on the side: a store of a side may alias anything,
        // so the compiler would read the lists and the plane again after each.
        double* const distance = ws.vertex_distance.data();
        signed char* const side = ws.vertex_side.data();
        const xyz* const points = w.points;
        bool above_any = false;
        bool below_any = false;
        bool on_any = false;
        for (std::size_t v = 0; v < nv; ++v) {
            const xyz& x = points[v];
            const double d = nx * (x[0] - px) + ny * (x[1] - py) + nz * (x[2] - pz);
            // As side_of gives it.
            const bool above = d > tolerance;
            const bool below = d < -tolerance;
            distance[v] = d;
            side[v] = static_cast<signed char>(above - below);
            above_any |= above;
            below_any |= below;
            on_any |= !(above || below);
        }
        return {above_any, below_any, on_any};
    }

    // Builds both halves of w, whose vertex tables are filled and some lie on the plane, in the
    // workspace's parts through the cut tables, which settle such vertices. Returns false when the
    // plane's sides of the block do not close into a cut face.
    bool build_halves(const work_block& w) {
        cut_workspace& ws = worker.ws;
        for (;;) {
            if (!fill_cut_tables(ws, w))
                return false;
            if (order_cut_polygon(ws, w, plane.n))
                break;
            if (!take_sides_of_doubtful_vertices(ws, w))
                return false;
        }
        erase_vertices(ws, w, 1, plane.source);
        erase_vertices(ws, w, -1, plane.source);
        return true;
    }

    // w, copied aside so that a half can be written in its place while it is read.
    work_block copied(const work_block& w) {
        flat_list<xyz>& copy = worker.ws.block_copy;
        const std::size_t bytes = shape_bytes(w);
        copy.resize((bytes + sizeof(xyz) - 1) / sizeof(xyz));
        std::memcpy(copy.data(), w.points, bytes);
        return moved_to(w, reinterpret_cast<std::byte*>(copy.data()));
    }

    // Splits the block in slot s, whose vertex tables are filled, into its positive half (left in
    // s and set to move) and its negative half (kept aside for a new slot after s). Returns false,
    // changing nothing, when the plane's sides of the block do not close into a cut face. A block
    // none of whose vertices lies on the plane is cut in one walk, else through the cut tables.
    bool split(int s, bool on_plane) {
        cut_workspace& ws = worker.ws;
        const work_block w = store.shapes[s];
        if (!w.sides_are_edges)
            throw std::invalid_argument("a face side is not an edge of the block");
        const bool walk = !on_plane && plan_one_walk(ws, w, plane.n);
        if (!walk && !build_halves(w))
            return false;
        const std::size_t room = allocated_size(shape_bytes(w));
        const std::array<std::size_t, 2> bytes =
            walk ? std::array{packed_bytes(ws.walk_counts[0]), packed_bytes(ws.walk_counts[1])}
                 : std::array{ws.negative_parts.bytes(), ws.parts.bytes()};
        const int in_place = half_in_place(room, bytes);
        auto storage = [&](int half) {
            return half == in_place ? reinterpret_cast<std::byte*>(w.points)
                                    : allocate(arena, bytes[half > 0]);
        };
        work_block halves[2];
        std::array<block_bounds, 2> boxes;
        if (walk) {
            halves[1] = lay_out(ws.walk_counts[1], storage(1));
            halves[0] = lay_out(ws.walk_counts[0], storage(-1));
            boxes = write_one_walk(ws, in_place == 0 ? w : copied(w), plane.source, halves);
        } else {
            halves[1] = ws.parts.pack_at(storage(1));
            halves[0] = ws.negative_parts.pack_at(storage(-1));
            boxes = {shape_bounds(halves[0]), shape_bounds(halves[1])};
        }
        store.shapes[s] = halves[1];
        const work_block negative = halves[0];
        worker.dead_bytes += room - (in_place == 0 ? 0 : allocated_size(bytes[in_place > 0]));
        const auto [positive_faults, negative_faults] =
            share_indices(store.fault_order, store.fault_range[s], worker.negative_faults,
                          [&](int f) { return fault_sides.positive[f] != 0; });
        const xyz p = point_moved_back(s);
        const auto [positive_tracers, negative_tracers] = share_tracers(
            store, s, [&](const xyz& x) { return signed_distance(plane.n, p, x) >= 0; },
            worker.tracer_places);
        store.fault_range[s] = positive_faults;
        store.tracer_range[s] = positive_tracers;
        // Both halves were cut where the block's vertices are stored, so the negative one keeps
        // the move not yet applied to them.
        worker.made.push_back({s, negative, pending_box_of(boxes[0], store.shift[s]),
                               store.shift[s], negative_faults, negative_tracers, store.origin[s]});
        set_box(store.boxes, s, pending_box_of(boxes[1], store.shift[s]));
        move_slot(store, s, plane.slip);
        return true;
    }

    void run(int begin, int end) {
        // The boxes are tested a tile at a time, ahead of the blocks: a block's cut or move
        // changes its own box only.
        constexpr int tile = 512;
        std::array<double, tile> quick;
        for (int first = begin; first < end; first += tile) {
            const int last = std::min(end, first + tile);
            sides_of_boxes(store.boxes, first, last, box_plane, quick.data());
            for (int s = first; s < last; ++s) {
                // The side's bits as an integer, which is cheaper to test: 0 only for 0.0, and
                // positive only for 1.0.
                const auto side = std::bit_cast<std::int64_t>(quick[s - first]);
                if (side > 0)
                    moved(s);
                if (side != 0)
                    continue;
                const occupied_sides sides = classify_vertices(s);
                // A sound convex block with vertices strictly on both sides always meets the
                // plane in a polygon; one that does not is left whole.
                if (sides.positive && sides.negative && split(s, sides.on_plane))
                    continue;
                if (sides.positive)
                    moved(s);
            }
        }
    }

    void moved(int s) {
        move_slot(store, s, plane.slip);
        if (worker.record_moves)
            worker.moved.push_back(s);
    }
};

} // namespace

cutting_plane plane_of(const fault& f, int k) {
    cutting_plane plane;
    plane.n = f.normal;
    plane.p = f.point;
    plane.n_length = std::hypot(f.normal[0], f.normal[1], f.normal[2]);
    plane.source = cut_face_source(k);
    for (int i = 0; i < 3; ++i)
        plane.slip[i] = f.slip_dir[i] * f.slip_mag;
    return plane;
}

void cut_pass(block_store& store, std::vector<cut_worker>& workers, const cutting_plane& plane,
              const fault_point_sides& fault_sides) {
    const int slots = static_cast<int>(store.shapes.size());
    const int threads =
        std::clamp(slots / min_slots_per_thread, 1, static_cast<int>(workers.size()));
    const bounds_plane box_plane = make_bounds_plane({plane.n[0], plane.n[1], plane.n[2]},
                                                     {plane.p[0], plane.p[1], plane.p[2]},
                                                     store.coordinate_reach, store.passes);
    auto share = [&](int t) {
        pass_share{store, workers[t], store.arenas[t], plane, box_plane, fault_sides}.run(
            static_cast<int>(static_cast<long long>(slots) * t / threads),
            static_cast<int>(static_cast<long long>(slots) * (t + 1) / threads));
    };
    for (cut_worker& worker : workers) {
        worker.made.clear();
        worker.moved.clear();
    }
    std::vector<std::exception_ptr> failures(threads);
    {
        std::vector<std::jthread> helpers;
        for (int t = 1; t < threads; ++t)
            helpers.emplace_back([&, t] {
                try {
                    share(t);
                } catch (...) {
                    failures[t] = std::current_exception();
                }
            });
        share(0);
    }
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
    for (int t = 0; t < threads; ++t) {
        for (const new_slot& made : workers[t].made)
            add_slot(store, made);
        store.dead_bytes += workers[t].dead_bytes;
        workers[t].dead_bytes = 0;
    }
    ++store.passes;
    store.coordinate_reach +=
        std::max({std::abs(plane.slip[0]), std::abs(plane.slip[1]), std::abs(plane.slip[2])});
}
