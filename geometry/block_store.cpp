#include "geometry/detail/block_store.hpp"
#include "geometry/stop_point.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <malloc.h>
#include <numeric>

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

// Writes the tracers of slot s, with its pending shift, into the caller's list.
void output_tracers(const block_store& store, int s, point_list& tracers) {
    const xyz& d = store.shift[s];
    for (int i = store.tracer_range[s][0]; i < store.tracer_range[s][1]; ++i) {
        const carried_tracer& c = store.tracers[i];
        for (int k = 0; k < 3; ++k)
            tracers[c.index][k] = c.point[k] + d[k];
    }
}

// The slots in list order.
std::vector<int> list_order(const block_store& store) {
    std::vector<int> order;
    order.reserve(store.shapes.size());
    for (int s = 0; s >= 0; s = store.next[s])
        order.push_back(s);
    return order;
}

// Sizes the set's lists for the stored blocks of the given slots, in that order, leaving them
// unwritten, but for the normals, which are the store's.
void size_set(block_set& set, const block_store& store, std::span<const int> slots) {
    for (std::vector<std::size_t>* offset :
         {&set.vertex_offset, &set.edge_offset, &set.corner_offset, &set.face_offset,
          &set.fault_offset, &set.tracer_offset}) {
        offset->reserve(slots.size() + 1);
        offset->assign(1, 0);
    }
    for (int s : slots) {
        const work_block& w = store.shapes[s];
        set.vertex_offset.push_back(set.vertex_offset.back() + w.vertex_count);
        set.edge_offset.push_back(set.edge_offset.back() + w.edge_count);
        set.corner_offset.push_back(set.corner_offset.back() + w.face_begin(w.face_count));
        set.face_offset.push_back(set.face_offset.back() + w.face_count);
        set.fault_offset.push_back(set.fault_offset.back() + store.fault_range[s][1] -
                                   store.fault_range[s][0]);
        set.tracer_offset.push_back(set.tracer_offset.back() + store.tracer_range[s][1] -
                                    store.tracer_range[s][0]);
    }
    set.vertices.resize(set.vertex_offset.back());
    set.edges.resize(set.edge_offset.back());
    set.corners.resize(set.corner_offset.back());
    set.face_begin.resize(set.face_offset.back() + slots.size());
    set.normals = store.normals;
    set.normal_index.resize(set.face_offset.back());
    set.face_sources.resize(set.face_offset.back());
    set.fault_indices.resize(set.fault_offset.back());
    set.tracer_indices.resize(set.tracer_offset.back());
    set.displacement.resize(slots.size());
}

// Writes the block of slot s, with its pending shift, as block b of a set sized for it.
void write_block(block_set& set, std::size_t b, const block_store& store, int s) {
    const work_block& w = store.shapes[s];
    const xyz shift = store.shift[s]; // a copy, which the writes below cannot change
    xyz* const vertices = set.vertices.data() + set.vertex_offset[b];
    for (int v = 0; v < w.vertex_count; ++v)
        for (int k = 0; k < 3; ++k)
            vertices[v][k] = w.points[v][k] + shift[k];
    edge* const edges = set.edges.data() + set.edge_offset[b];
    for (int e = 0; e < w.edge_count; ++e)
        edges[e] = {w.edge_end(e, 0), w.edge_end(e, 1)};
    const local_index* corners = w.locals + w.corner_offset;
    std::copy(corners, corners + w.face_begin(w.face_count),
              set.corners.data() + set.corner_offset[b]);
    const std::size_t faces = set.face_offset[b];
    int* const face_begin = set.face_begin.data() + faces + b;
    for (int f = 0; f <= w.face_count; ++f)
        face_begin[f] = w.face_begin(f);
    int* const normal_index = set.normal_index.data() + faces;
    int* const sources = set.face_sources.data() + faces;
    for (int f = 0; f < w.face_count; ++f) {
        sources[f] = w.sources[f];
        normal_index[f] = static_cast<int>(normal_position(store, s, w.sources[f]));
    }
    const index_range faults = store.fault_range[s];
    std::copy(store.fault_order.begin() + faults[0], store.fault_order.begin() + faults[1],
              set.fault_indices.begin() + static_cast<std::ptrdiff_t>(set.fault_offset[b]));
    set.displacement[b] = shift;
    const index_range carried = store.tracer_range[s];
    int* const tracers = set.tracer_indices.data() + set.tracer_offset[b];
    for (int i = carried[0]; i < carried[1]; ++i)
        tracers[i - carried[0]] = store.tracers[i].index;
}

// The arenas are given back in windows of this many bytes as the shapes are handed out: a large
// page, few enough calls to the system and little held beyond the shapes not yet handed out.
constexpr std::size_t release_window = std::size_t{2} << 20;

// Every arena's chunks, taken out of the arenas, and the given slots, each by address, with the
// chunk each slot's shape lies in.
struct shape_layout {
    std::vector<arena_chunk> chunks;
    std::vector<int> slots;
    std::vector<int> chunk_of; // per slot of the store
};

// With by_address, the slots come in the order their shapes lie in; without, only window by window
// (release_window; in the given order within a window), which is all that giving the arenas back
// needs and costs no sort.
shape_layout take_layout(block_store& store, std::vector<int> slots, bool by_address) {
    shape_layout layout;
    for (shape_arena& arena : store.arenas)
        for (arena_chunk& chunk : arena.chunks)
            layout.chunks.push_back(std::move(chunk));
    const std::size_t arena_count = store.arenas.size();
    store.arenas.clear();
    store.arenas.resize(arena_count);
    const std::less<const std::byte*> before;
    std::sort(layout.chunks.begin(), layout.chunks.end(),
              [&](const auto& a, const auto& b) { return before(a.bytes.get(), b.bytes.get()); });
    auto start = [&](int s) { return reinterpret_cast<const std::byte*>(store.shapes[s].points); };
    layout.chunk_of.resize(store.shapes.size());
    if (!by_address) {
        std::vector<std::size_t> first_window{0};
        for (const arena_chunk& chunk : layout.chunks)
            first_window.push_back(first_window.back() +
                                   (chunk.size() + release_window - 1) / release_window);
        std::vector<int> window_of(store.shapes.size());
        std::vector<int> in_window(first_window.back() + 1, 0);
        for (int s : slots) {
            const auto after = std::upper_bound(
                layout.chunks.begin(), layout.chunks.end(), start(s),
                [&](const std::byte* p, const arena_chunk& c) { return before(p, c.bytes.get()); });
            const auto c = static_cast<std::size_t>(after - layout.chunks.begin()) - 1;
            layout.chunk_of[s] = static_cast<int>(c);
            window_of[s] = static_cast<int>(
                first_window[c] +
                static_cast<std::size_t>(start(s) - layout.chunks[c].bytes.get()) / release_window);
            ++in_window[window_of[s] + 1];
        }
        std::partial_sum(in_window.begin(), in_window.end(), in_window.begin());
        layout.slots.resize(slots.size());
        for (int s : slots)
            layout.slots[in_window[window_of[s]]++] = s;
        return layout;
    }
    std::sort(slots.begin(), slots.end(), [&](int a, int b) { return before(start(a), start(b)); });
    std::size_t c = 0;
    for (int s : slots) {
        while (c + 1 < layout.chunks.size() && !before(start(s), layout.chunks[c + 1].bytes.get()))
            ++c;
        layout.chunk_of[s] = static_cast<int>(c);
    }
    layout.slots = std::move(slots);
    return layout;
}

// Calls visit(s) for every slot s of a layout without by_address, in its order, and gives the
// arenas back behind the visits, window by window, so that what the visits build takes the place
// of the store instead of adding to it. Leaves the shapes dangling.
void release_blocks(shape_layout& layout, const block_store& store,
                    const std::function<void(int)>& visit) {
    std::size_t c = 0;     // the chunks before it are freed
    std::size_t given = 0; // bytes at the front of chunk c given back
    std::size_t visited = 0;
    for (int s : layout.slots) {
        if (++visited % 4096 == 0)
            stop_point(); // handing out a large set takes a while: a stop frees what is left
        for (; c < static_cast<std::size_t>(layout.chunk_of[s]); ++c, given = 0)
            layout.chunks[c].bytes.reset();
        std::byte* const chunk = layout.chunks[c].bytes.get();
        const auto at = static_cast<std::size_t>(
            reinterpret_cast<const std::byte*>(store.shapes[s].points) - chunk);
        // Every shape that begins before this one's window has been visited.
        const std::size_t window = at / release_window * release_window;
        if (window > given) {
            give_back_pages(chunk + given, window - given);
            given = window;
        }
        visit(s);
    }
}

// The parts of list, each of extra more entries than the offsets give (face_begin's), put in the
// order from: part p of the result is part from[p] of list. to_offset: the result's offsets.
template <class T>
void reorder_parts(flat_list<T>& list, const std::vector<std::size_t>& from_offset,
                   const std::vector<std::size_t>& to_offset, std::span<const int> from,
                   std::size_t extra = 0) {
    flat_list<T> reordered(list.size());
    for (std::size_t p = 0; p < from.size(); ++p) {
        const auto f = static_cast<std::size_t>(from[p]);
        std::copy_n(list.data() + from_offset[f] + extra * f,
                    from_offset[f + 1] - from_offset[f] + extra,
                    reordered.data() + to_offset[p] + extra * p);
    }
    flat_list<T>().swap(list);
    list.swap(reordered);
}

// The offsets of parts of the sizes offset gives, put in the order from.
std::vector<std::size_t> reordered_offsets(const std::vector<std::size_t>& offset,
                                           std::span<const int> from) {
    std::vector<std::size_t> to(from.size() + 1, 0);
    for (std::size_t p = 0; p < from.size(); ++p) {
        const auto f = static_cast<std::size_t>(from[p]);
        to[p + 1] = to[p] + offset[f + 1] - offset[f];
    }
    return to;
}

// set with its blocks put in the order from (block p is block from[p]), one list at a time, so
// that only the list being reordered is held twice.
void reorder_blocks(block_set& set, std::span<const int> from) {
    auto reorder = [&](std::vector<std::size_t>& offset, auto& list) {
        stop_point();
        std::vector<std::size_t> to = reordered_offsets(offset, from);
        reorder_parts(list, offset, to, from);
        offset.swap(to);
    };
    reorder(set.vertex_offset, set.vertices);
    reorder(set.edge_offset, set.edges);
    reorder(set.corner_offset, set.corners);
    reorder(set.fault_offset, set.fault_indices);
    reorder(set.tracer_offset, set.tracer_indices);
    std::vector<std::size_t> to = reordered_offsets(set.face_offset, from);
    reorder_parts(set.normal_index, set.face_offset, to, from);
    reorder_parts(set.face_sources, set.face_offset, to, from);
    reorder_parts(set.face_begin, set.face_offset, to, from, 1);
    set.face_offset.swap(to);
    flat_list<xyz> displacement(from.size());
    for (std::size_t p = 0; p < from.size(); ++p)
        displacement[p] = set.displacement[static_cast<std::size_t>(from[p])];
    set.displacement.swap(displacement);
}

template <class List> void free_list(List& list) {
    List().swap(list);
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
                       const std::vector<fault>& faults, work_block_parts& parts) {
    block_store store;
    for (const block& b : blocks) {
        store.given_normals.push_back(store.normals.size());
        const work_block shape = to_work_block(b, parts, store.arenas[0], store.normals);
        const int last = static_cast<int>(store.shapes.size()) - 1;
        add_slot(store, {last,
                         shape,
                         pending_box_of(shape_bounds(shape), {0.0, 0.0, 0.0}),
                         {0.0, 0.0, 0.0},
                         append_faults(store.fault_order, b.fault_indices),
                         append_tracers(store.tracers, b.tracer_indices, tracers),
                         static_cast<int>(store.given_normals.size()) - 1});
    }
    for (const block& b : blocks)
        for (const vec3& v : b.vertices)
            for (int k = 0; k < 3; ++k)
                store.coordinate_reach = std::max(store.coordinate_reach, std::abs(v[k]));
    store.cut_normals = store.normals.size();
    for (const fault& f : faults)
        store.normals.push_back({f.normal[0], f.normal[1], f.normal[2]});
    return store;
}

int add_slot(block_store& store, const new_slot& block) {
    const int t = static_cast<int>(store.shapes.size());
    const int s = block.after;
    store.shapes.push_back(block.shape);
    add_box(store.boxes, block.box);
    store.shift.push_back(block.shift);
    store.fault_range.push_back(block.faults);
    store.tracer_range.push_back(block.tracers);
    store.next.push_back(s >= 0 ? store.next[s] : -1);
    store.origin.push_back(block.origin);
    if (s >= 0)
        store.next[s] = t;
    return t;
}

void compact_shapes(block_store& store, std::size_t let_be) {
    std::size_t handed_out = 0;
    for (const shape_arena& arena : store.arenas)
        handed_out += arena.handed_out;
    // Sliding costs a copy of the living shapes, so dead room up to a quarter of them is let be.
    if (store.dead_bytes < let_be || 4 * store.dead_bytes <= handed_out - store.dead_bytes)
        return;
    shape_layout layout = take_layout(store, list_order(store), true);
    // Taken in address order, each shape slides down to the first place free before it: it never
    // lands on a shape not yet moved.
    std::size_t c = 0;
    std::size_t used = 0;
    std::size_t living = 0;
    for (int s : layout.slots) {
        work_block& w = store.shapes[s];
        const std::size_t size = allocated_size(shape_bytes(w));
        while (used + size > layout.chunks[c].size()) {
            ++c;
            used = 0;
        }
        std::byte* const to = layout.chunks[c].bytes.get() + used;
        std::memmove(to, w.points, size);
        w = moved_to(w, to);
        used += size;
        living += size;
    }
    layout.chunks.resize(c + 1);
    shape_arena& kept = store.arenas[0];
    kept.free_begin = layout.chunks[c].bytes.get() + used;
    kept.free_size = layout.chunks[c].size() - used;
    kept.handed_out = living;
    kept.chunks = std::move(layout.chunks);
    store.dead_bytes = 0;
}

block_set stored_set(const block_store& store, std::span<const int> slots) {
    block_set set;
    size_set(set, store, slots);
    for (std::size_t p = 0; p < slots.size(); ++p) {
        if ((p + 1) % 4096 == 0)
            stop_point();
        write_block(set, p, store, slots[p]);
    }
    return set;
}

block_set stored_set(const block_store& store, point_list& tracers) {
    block_set set = stored_set(store, list_order(store));
    output_tracers(store, tracers);
    return set;
}

block_set take_set(block_store& store, point_list& tracers) {
    output_tracers(store, tracers);
    store.boxes = box_lists();
    const std::vector<int> order = list_order(store);
    shape_layout layout = take_layout(store, order, false);
    // Written in the order the shapes lie in, so that the set's pages fill as the arenas' go back.
    block_set set;
    size_set(set, store, layout.slots);
    std::size_t written = 0;
    release_blocks(layout, store, [&](int s) { write_block(set, written++, store, s); });
    std::vector<int> written_at(store.shapes.size());
    for (std::size_t w = 0; w < layout.slots.size(); ++w)
        written_at[static_cast<std::size_t>(layout.slots[w])] = static_cast<int>(w);
    layout = {};
    std::vector<int> from(order.size());
    for (std::size_t p = 0; p < order.size(); ++p)
        from[p] = written_at[static_cast<std::size_t>(order[p])];
    free_list(written_at);
    free_list(store.shapes);
    free_list(store.shift);
    free_list(store.fault_range);
    free_list(store.origin);
    free_list(store.fault_order);
    free_list(store.tracer_range);
    // What was freed lies amid the heap, where free does not give it back.
    malloc_trim(0);
    reorder_blocks(set, from);
    return set;
}

std::vector<block> take_blocks(block_store& store, point_list& tracers,
                               const std::function<void()>& poll) {
    const std::vector<int> order = list_order(store);
    std::vector<std::size_t> position(store.shapes.size());
    for (std::size_t p = 0; p < order.size(); ++p)
        position[static_cast<std::size_t>(order[p])] = p;
    std::vector<block> blocks(order.size());
    shape_layout layout = take_layout(store, order, false);
    block_set one;
    std::size_t written = 0;
    release_blocks(layout, store, [&](int s) {
        size_set(one, store, std::span<const int>(&s, 1));
        write_block(one, 0, store, s);
        blocks[position[static_cast<std::size_t>(s)]] = to_block(view_of(one, 0));
        if (poll && ++written % 4096 == 0)
            poll();
    });
    output_tracers(store, tracers);
    return blocks;
}

void output_tracers(const block_store& store, point_list& tracers) {
    for (int s = 0; s >= 0; s = store.next[s])
        output_tracers(store, s, tracers);
}
