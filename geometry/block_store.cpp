#include "block_store.hpp"

#include <cmath>

namespace {

index_range append_indices(index_list& order, const index_list& indices) {
    const int begin = static_cast<int>(order.size());
    order.insert(order.end(), indices.begin(), indices.end());
    return {begin, static_cast<int>(order.size())};
}

bool is_zero(const xyz& v) {
    return v[0] == 0.0 && v[1] == 0.0 && v[2] == 0.0;
}

void shift_points(const block_store& store, int s, std::vector<fault>& faults,
                  point_list& tracers) {
    const xyz& d = store.point_shift[s];
    if (is_zero(d))
        return;
    for (int i = store.fault_range[s][0]; i < store.fault_range[s][1]; ++i)
        for (int k = 0; k < 3; ++k)
            faults[store.fault_order[i]].point[k] += d[k];
    for (int i = store.tracer_range[s][0]; i < store.tracer_range[s][1]; ++i)
        for (int k = 0; k < 3; ++k)
            tracers[store.tracer_order[i]][k] += d[k];
}

block output_block(const block_store& store, int s, std::vector<fault>& faults,
                   point_list& tracers) {
    block b = to_block(store.shapes[s], store.shift[s]);
    const index_range& carried = store.fault_range[s];
    const index_range& held = store.tracer_range[s];
    b.fault_indices.assign(store.fault_order.begin() + carried[0],
                           store.fault_order.begin() + carried[1]);
    b.tracer_indices.assign(store.tracer_order.begin() + held[0],
                            store.tracer_order.begin() + held[1]);
    shift_points(store, s, faults, tracers);
    return b;
}

int count_blocks(const block_store& store) {
    int count = 0;
    for (int s = 0; s >= 0; s = store.next[s])
        ++count;
    return count;
}

} // namespace

block_store make_store(const std::vector<block>& blocks, std::size_t fault_count,
                       work_block_parts& parts) {
    block_store store;
    store.fault_slot.assign(fault_count, -1);
    for (const block& b : blocks) {
        const int s = add_slot_after(store, static_cast<int>(store.shapes.size()) - 1,
                                     to_work_block(b, parts));
        for (int f : b.fault_indices)
            store.fault_slot[f] = s;
        store.fault_range.back() = append_indices(store.fault_order, b.fault_indices);
        store.tracer_range.back() = append_indices(store.tracer_order, b.tracer_indices);
    }
    return store;
}

int add_slot_after(block_store& store, int s, work_block shape) {
    const int t = static_cast<int>(store.shapes.size());
    // A block without vertices gets a box that tells nothing, so every plane looks at it and
    // finds it on neither side.
    store.bounds.push_back(shape.vertex_count > 0 ? bounds_of(shape.points, shape.vertex_count)
                                                  : block_bounds{{NAN, NAN, NAN}, {}});
    store.shapes.push_back(std::move(shape));
    store.shift.push_back({0.0, 0.0, 0.0});
    store.point_shift.push_back({0.0, 0.0, 0.0});
    store.fault_range.push_back({0, 0});
    store.tracer_range.push_back({0, 0});
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

void settle_vertices(block_store& store, int s) {
    xyz& d = store.shift[s];
    if (is_zero(d))
        return;
    work_block& w = store.shapes[s];
    for (int v = 0; v < w.vertex_count; ++v)
        for (int k = 0; k < 3; ++k)
            w.points[v][k] += d[k];
    d = {0.0, 0.0, 0.0};
    if (w.vertex_count > 0)
        store.bounds[s] = bounds_of(w.points, w.vertex_count);
}

void settle_points(block_store& store, int s, std::vector<fault>& faults, point_list& tracers) {
    shift_points(store, s, faults, tracers);
    store.point_shift[s] = {0.0, 0.0, 0.0};
}

std::vector<block> stored_blocks(const block_store& store, std::vector<fault>& faults,
                                 point_list& tracers) {
    std::vector<block> out;
    out.reserve(count_blocks(store));
    for (int s = 0; s >= 0; s = store.next[s])
        out.push_back(output_block(store, s, faults, tracers));
    return out;
}

std::vector<block> take_blocks(block_store& store, std::vector<fault>& faults,
                               point_list& tracers) {
    std::vector<block> out;
    out.reserve(count_blocks(store));
    for (int s = 0; s >= 0; s = store.next[s]) {
        out.push_back(output_block(store, s, faults, tracers));
        store.shapes[s] = work_block{};
    }
    return out;
}
