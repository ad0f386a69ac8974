#include "block_store.hpp"

#include <cmath>

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

void shift_faults(const block_store& store, int s, std::vector<fault>& faults) {
    const xyz& d = store.point_shift[s];
    for (int i = store.fault_range[s][0]; i < store.fault_range[s][1]; ++i)
        for (int k = 0; k < 3; ++k)
            faults[store.fault_order[i]].point[k] += d[k];
}

// Writes the fault points and tracers of slot s, with its pending shift, into the caller's lists.
void output_points(const block_store& store, int s, std::vector<fault>& faults,
                   point_list& tracers) {
    if (!is_zero(store.point_shift[s]))
        shift_faults(store, s, faults);
    const xyz& d = store.point_shift[s];
    for (int i = store.tracer_range[s][0]; i < store.tracer_range[s][1]; ++i) {
        const carried_tracer& c = store.tracers[i];
        for (int k = 0; k < 3; ++k)
            tracers[c.index][k] = c.point[k] + d[k];
    }
}

block output_block(const block_store& store, int s, std::vector<fault>& faults,
                   point_list& tracers) {
    block b = to_block(store.shapes[s], store.shift[s]);
    const index_range& carried = store.fault_range[s];
    b.fault_indices.assign(store.fault_order.begin() + carried[0],
                           store.fault_order.begin() + carried[1]);
    b.tracer_indices.reserve(store.tracer_range[s][1] - store.tracer_range[s][0]);
    for (int i = store.tracer_range[s][0]; i < store.tracer_range[s][1]; ++i)
        b.tracer_indices.push_back(store.tracers[i].index);
    output_points(store, s, faults, tracers);
    return b;
}

} // namespace

int count_blocks(const block_store& store) {
    int count = 0;
    for (int s = 0; s >= 0; s = store.next[s])
        ++count;
    return count;
}

block_store make_store(const std::vector<block>& blocks, std::size_t fault_count,
                       const point_list& tracers, work_block_parts& parts) {
    block_store store;
    store.fault_slot.assign(fault_count, -1);
    for (const block& b : blocks) {
        const int s = add_slot_after(store, static_cast<int>(store.shapes.size()) - 1,
                                     to_work_block(b, parts));
        for (int f : b.fault_indices)
            store.fault_slot[f] = s;
        store.fault_range.back() = append_faults(store.fault_order, b.fault_indices);
        store.tracer_range.back() = append_tracers(store.tracers, b.tracer_indices, tracers);
    }
    return store;
}

int add_slot_after(block_store& store, int s, work_block shape) {
    const int t = static_cast<int>(store.shapes.size());
    // A block without vertices gets a box that tells nothing, so every plane looks at it and
    // finds it on neither side.
    store.bounds.push_back(shape.vertex_count > 0
                               ? bounds_of(shape.points.data(), shape.vertex_count)
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

void settle_points(block_store& store, int s, std::vector<fault>& faults) {
    xyz& d = store.point_shift[s];
    if (is_zero(d))
        return;
    shift_faults(store, s, faults);
    for (int i = store.tracer_range[s][0]; i < store.tracer_range[s][1]; ++i)
        for (int k = 0; k < 3; ++k)
            store.tracers[i].point[k] += d[k];
    d = {0.0, 0.0, 0.0};
}

std::vector<block> stored_blocks(const block_store& store, std::vector<fault>& faults,
                                 point_list& tracers) {
    std::vector<block> out;
    out.reserve(count_blocks(store));
    for (int s = 0; s >= 0; s = store.next[s])
        out.push_back(output_block(store, s, faults, tracers));
    return out;
}

std::vector<block> take_blocks(block_store& store, std::vector<fault>& faults, point_list& tracers,
                               const std::function<void()>& poll) {
    std::vector<block> out;
    out.reserve(count_blocks(store));
    for (int s = 0; s >= 0; s = store.next[s]) {
        out.push_back(output_block(store, s, faults, tracers));
        store.shapes[s] = work_block{};
        if (poll && out.size() % 4096 == 0)
            poll();
    }
    return out;
}

void output_points(const block_store& store, std::vector<fault>& faults, point_list& tracers) {
    for (int s = 0; s >= 0; s = store.next[s])
        output_points(store, s, faults, tracers);
}
