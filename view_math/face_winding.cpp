#include "view_math/face_winding.hpp"

#include "geometry/outward_faces.hpp"

#include <algorithm>

namespace {

// Corner i of face n wound as w.reversed says.
int corner(const block_view& b, const winding_lists& w, std::size_t n, std::size_t i) {
    const std::span<const int> c = b.face_corners(n);
    return c[w.reversed[n] && i > 0 ? c.size() - i : i];
}

// How often the side from a to c occurs.
std::ptrdiff_t count(const winding_lists& w, int a, int c) {
    const auto at = w.ends.begin();
    return std::count(at + w.from[static_cast<std::size_t>(a)],
                      at + w.from[static_cast<std::size_t>(a) + 1], c);
}

// Whether faces close around their block: every side of a face, corner to next corner, is the
// side of exactly one other face, run the other way. A block made by cuts always is; one whose
// faces leave a hole or meet only part of a neighbour's side is not, and shows its far faces.
// The sides are found by the corner they leave (about three each) rather than sorted.
bool closes(const block_view& b, winding_lists& w) {
    w.sides.clear();
    w.from.assign(b.vertices.size() + 1, 0);
    for (std::size_t n = 0; n < b.face_count(); ++n) {
        const std::size_t n_corners = b.face_corners(n).size();
        if (n_corners < 3)
            return false;
        for (std::size_t i = 0; i < n_corners; ++i) {
            w.sides.emplace_back(corner(b, w, n, i), corner(b, w, n, (i + 1) % n_corners));
            ++w.from[static_cast<std::size_t>(w.sides.back().first) + 1];
        }
    }
    for (std::size_t v = 1; v < w.from.size(); ++v)
        w.from[v] += w.from[v - 1];
    w.ends.resize(w.sides.size());
    for (const auto& [a, c] : w.sides)
        w.ends[static_cast<std::size_t>(w.from[static_cast<std::size_t>(a)]++)] = c;
    // Filling moved each vertex's start to the next one's.
    std::copy_backward(w.from.begin(), w.from.end() - 1, w.from.end());
    w.from[0] = 0;
    return std::all_of(w.sides.begin(), w.sides.end(), [&](const std::pair<int, int>& s) {
        return count(w, s.first, s.second) == 1 && count(w, s.second, s.first) == 1;
    });
}

} // namespace

face_winding outward_winding(const block_view& b, winding_lists& w) {
    w.reversed.resize(b.face_count());
    for (std::size_t n = 0; n < b.face_count(); ++n)
        w.reversed[n] = tolvex::turns_inward(b, n) ? 1 : 0;
    const bool closed = closes(b, w);
    if (!closed)
        std::fill(w.reversed.begin(), w.reversed.end(), std::uint8_t{0});
    return {closed, w.reversed};
}

face_winding winding_of(shape_windings& windings, const block_set& shapes, std::size_t s) {
    if (windings.found.size() < block_count(shapes)) {
        windings.found.resize(block_count(shapes), 0);
        windings.reversed.resize(shapes.face_offset.back(), 0);
    }
    const std::size_t first = shapes.face_offset[s];
    const std::span<std::uint8_t> reversed(windings.reversed.data() + first,
                                           shapes.face_offset[s + 1] - first);
    if (windings.found[s] == 0) {
        const face_winding w = outward_winding(view_of(shapes, s), windings.lists);
        std::copy(w.reversed.begin(), w.reversed.end(), reversed.begin());
        windings.found[s] = w.closed ? 2 : 1;
    }
    return {windings.found[s] == 2, reversed};
}
