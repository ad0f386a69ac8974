#include "block_store.hpp"

#include <cmath>
#include <cstring>

namespace {

index_range append_faults(index_list& order, const index_list& indices) {
    const int begin = static_cast<int>(order.size());
    order.insert(order.end(), indices.begin(), indices.end());
    return {begin, static_cast<int>(order.size())};
}

index_range append_tracers(std::vector<carried_tracer>& carried, const index_list& indices,
                           const point_list& tracers) {
    const int begin = static_cast<int>(carried.size());
    for (int t : indices)
        carried.push_back({t, {tracers[t][0], tracers[t][1], tracers[t][2]}});
    return {begin, static_cast<int>(carried.size())};
}

bool is_zero(const xyz& v) {
    return v[0] == 0.0 && v[1] == 0.0 && v[2] == 0.0;
}

// Writes the tracers of slot s, with its pending shift, into the caller's list.
void output_tracers(const block_store& store, int s, point_list& tracers) {
    const xyz& d = store.point_shift[s];
    for (int i = store.tracer_range[s][0]; i < store.tracer_range[s][1]; ++i) {
        const carried_tracer& c = store.tracers[i];
        for (int k = 0; k < 3; ++k)
            tracers[c.index][k] = c.point[k] + d[k];
    }
}

// Sizes the set's lists to hold the stored blocks exactly.
void reserve_set(block_set& set, const block_store& store) {
    std::size_t blocks = 0, vertices = 0, edges = 0, corners = 0, faces = 0;
    for (int s = 0; s >= 0; s = store.next[s]) {
        const work_block& w = store.shapes[s];
        ++blocks;
        vertices += w.vertex_count;
        edges += w.edge_count;
        corners += w.face_begin(w.face_count);
        faces += w.face_count;
    }
    set.vertices.reserve(vertices);
    set.edges.reserve(edges);
    set.corners.reserve(corners);
    set.face_begin.reserve(faces + blocks);
    set.normals.reserve(faces);
    set.face_sources.reserve(faces);
    set.fault_indices.reserve(store.fault_order.size());
    set.tracer_indices.reserve(store.tracers.size());
    for (std::vector<std::size_t>* offset :
         {&set.vertex_offset, &set.edge_offset, &set.corner_offset, &set.face_offset,
          &set.fault_offset, &set.tracer_offset})
        offset->reserve(blocks + 1);
}

void append_block(block_set& set, const block_store& store, int s) {
    const work_block& w = store.shapes[s];
    const xyz& shift = store.shift[s];
    for (int v = 0; v < w.vertex_count; ++v)
        set.vertices.push_back(
            {w.vertex(v)[0] + shift[0], w.vertex(v)[1] + shift[1], w.vertex(v)[2] + shift[2]});
    for (int e = 0; e < w.edge_count; ++e)
        set.edges.push_back({w.edge_end(e, 0), w.edge_end(e, 1)});
    const int* corners = w.ints + w.corner_offset;
    set.corners.insert(set.corners.end(), corners, corners + w.face_begin(w.face_count));
    for (int f = 0; f <= w.face_count; ++f)
        set.face_begin.push_back(w.face_begin(f));
    for (int f = 0; f < w.face_count; ++f) {
        set.normals.push_back(w.normal(f));
        set.face_sources.push_back(w.source(f));
    }
    const index_range& faults = store.fault_range[s];
    set.fault_indices.insert(set.fault_indices.end(), store.fault_order.begin() + faults[0],
                             store.fault_order.begin() + faults[1]);
    for (int i = store.tracer_range[s][0]; i < store.tracer_range[s][1]; ++i)
        set.tracer_indices.push_back(store.tracers[i].index);
    end_block(set);
}

} // namespace

block_bounds shape_bounds(const work_block& shape) {
    return shape.vertex_count > 0 ? bounds_of(shape.points, shape.vertex_count)
                                  : block_bounds{{NAN, NAN, NAN}, {}};
}

int count_blocks(const block_store& store) {
    int count = 0;
    for (int s = 0; s >= 0; s = store.next[s])
        ++count;
    return count;
}

block_store make_store(const std::vector<block>& blocks, const point_list& tracers,
                       work_block_parts& parts) {
    block_store store;
    for (const block& b : blocks) {
        const work_block shape = to_work_block(b, parts, store.arenas[0]);
        const int last = static_cast<int>(store.shapes.size()) - 1;
        add_slot(store, {last,
                         shape,
                         shape_bounds(shape),
                         {0.0, 0.0, 0.0},
                         append_faults(store.fault_order, b.fault_indices),
                         append_tracers(store.tracers, b.tracer_indices, tracers)});
    }
    return store;
}

int add_slot(block_store& store, const new_slot& block) {
    const int t = static_cast<int>(store.shapes.size());
    const int s = block.after;
    store.shapes.push_back(block.shape);
    store.bounds.push_back(block.bounds);
    store.shift.push_back(block.shift);
    store.point_shift.push_back({0.0, 0.0, 0.0});
    store.fault_range.push_back(block.faults);
    store.tracer_range.push_back(block.tracers);
    store.next.push_back(s >= 0 ? store.next[s] : -1);
    if (s >= 0)
        store.next[s] = t;
    return t;
}

void move_slot(block_store& store, int s, const xyz& slip) {
    for (int k = 0; k < 3; ++k) {
        store.shift[s][k] += slip[k];
        store.point_shift[s][k] += slip[k];
    }
}

void settle_points(block_store& store, int s) {
    xyz& d = store.point_shift[s];
    if (is_zero(d))
        return;
    for (int i = store.tracer_range[s][0]; i < store.tracer_range[s][1]; ++i)
        for (int k = 0; k < 3; ++k)
            store.tracers[i].point[k] += d[k];
    d = {0.0, 0.0, 0.0};
}

void compact_shapes(block_store& store) {
    std::size_t handed_out = 0;
    for (const shape_arena& arena : store.arenas)
        handed_out += arena.handed_out;
    if (store.dead_bytes <= handed_out - store.dead_bytes)
        return;
    shape_arena fresh;
    for (int s = 0; s >= 0; s = store.next[s]) {
        work_block& w = store.shapes[s];
        // A shape's points and ints lie back to back in one allocation.
        const std::size_t point_bytes = (w.vertex_count + w.face_count) * sizeof(xyz);
        std::byte* const copy = allocate(fresh, shape_bytes(w));
        std::memcpy(copy, w.points, shape_bytes(w));
        w.points = reinterpret_cast<xyz*>(copy);
        w.ints = reinterpret_cast<int*>(copy + point_bytes);
    }
    const std::size_t arena_count = store.arenas.size();
    store.arenas.clear();
    store.arenas.resize(arena_count);
    store.arenas[0] = std::move(fresh);
    store.dead_bytes = 0;
}

block_set stored_set(const block_store& store, point_list& tracers) {
    block_set set;
    reserve_set(set, store);
    for (int s = 0; s >= 0; s = store.next[s]) {
        append_block(set, store, s);
        output_tracers(store, s, tracers);
    }
    return set;
}

void output_tracers(const block_store& store, point_list& tracers) {
    for (int s = 0; s >= 0; s = store.next[s])
        output_tracers(store, s, tracers);
}
