#include "geometry/horizon_pieces.hpp"

#include "geometry/detail/block_faces.hpp"
#include "geometry/detail/plane_side.hpp"
#include "geometry/stop_point.hpp"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <cmath>
#include <exception>
#include <iterator>
#include <thread>

namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using box_point = bg::model::point<double, 3, bg::cs::cartesian>;
using box = bg::model::box<box_point>;
using boxed_triangle = std::pair<box, int>;
using triangle_tree = bgi::rtree<boxed_triangle, bgi::quadratic<16>>;

// Fewer blocks than this to a thread cost more in starting it than they save.
constexpr std::size_t min_blocks_per_thread = 256;

xyz to_xyz(const vec3& v) {
    return {v[0], v[1], v[2]};
}

// The weights of a, b and c that give x, its foot on their plane: linear properties of the
// triangle interpolate exactly.
std::array<double, 3> barycentric(const xyz& x, const xyz& a, const xyz& b, const xyz& c) {
    const xyz n = cross(minus(b, a), minus(c, a));
    const double nn = dot(n, n);
    if (nn == 0.0)
        return {1.0 / 3.0, 1.0 / 3.0, 1.0 / 3.0};
    const double wb = dot(cross(minus(x, a), minus(c, a)), n) / nn;
    const double wc = dot(cross(minus(b, a), minus(x, a)), n) / nn;
    return {1.0 - wb - wc, wb, wc};
}

bool any_properties(const std::vector<horizon>& horizons) {
    return std::any_of(horizons.begin(), horizons.end(),
                       [](const horizon& h) { return !h.property_names.empty(); });
}

// Every triangle of every horizon, numbered in turn, with the box around it.
struct triangle_index {
    std::vector<std::size_t> first; // per horizon and one more: its first triangle's number
    triangle_tree tree;

    int horizon_of(int number) const {
        return static_cast<int>(std::upper_bound(first.begin(), first.end(), number) -
                                first.begin()) -
               1;
    }
};

triangle_index index_triangles(const std::vector<horizon>& horizons) {
    triangle_index index;
    std::vector<boxed_triangle> boxes;
    for (const horizon& h : horizons) {
        index.first.push_back(boxes.size());
        for (const triangle& t : h.triangles) {
            box b(box_point(h.vertices[t[0]][0], h.vertices[t[0]][1], h.vertices[t[0]][2]),
                  box_point(h.vertices[t[0]][0], h.vertices[t[0]][1], h.vertices[t[0]][2]));
            for (int k = 1; k < 3; ++k)
                bg::expand(
                    b, box_point(h.vertices[t[k]][0], h.vertices[t[k]][1], h.vertices[t[k]][2]));
            boxes.emplace_back(b, static_cast<int>(boxes.size()));
        }
    }
    index.first.push_back(boxes.size());
    // Built from the whole list at once, the tree is packed: fewer nodes and faster queries.
    index.tree = triangle_tree(boxes.begin(), boxes.end());
    return index;
}

// One face of a block seen from inside: a point is outside by outside(x), on the face within the
// tolerance.
struct clip_plane {
    xyz n;     // pointing out of the block
    xyz point; // on the face
    double tolerance;
    bool keeps_lying_on; // whether a piece lying on the face belongs to this block

    double outside(const xyz& x) const { return dot(n, minus(x, point)); }
};

// The faces of block b as planes in the frame of the run's start.
struct start_frame_block {
    std::vector<xyz> vertices;
    std::vector<clip_plane> planes;
    box bounds;
};

template <class Faces> void frame_block(const Faces& b, start_frame_block& out) {
    const xyz d = b.displacement();
    out.vertices.resize(b.vertex_count());
    xyz lo{HUGE_VAL, HUGE_VAL, HUGE_VAL}, hi{-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (std::size_t v = 0; v < b.vertex_count(); ++v) {
        const xyz x = b.vertex(v);
        for (int k = 0; k < 3; ++k) {
            out.vertices[v][k] = x[k] - d[k];
            lo[k] = std::min(lo[k], out.vertices[v][k]);
            hi[k] = std::max(hi[k], out.vertices[v][k]);
        }
    }
    const xyz centre = minus(vertex_mean(b), d);
    const double diagonal = std::hypot(hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]);
    out.planes.clear();
    for (std::size_t f = 0; f < b.face_count(); ++f) {
        const std::span<const int> corners = b.corners(f);
        if (corners.empty())
            continue;
        clip_plane p;
        p.point = out.vertices[corners[0]];
        p.n = b.normal(f);
        const double n_length = std::hypot(p.n[0], p.n[1], p.n[2]);
        // The stored normal of a cut face is the fault's in both halves; the block it points into
        // is the half on the fault's positive side.
        const bool points_in = dot(p.n, minus(centre, p.point)) > 0;
        if (points_in)
            p.n = {-p.n[0], -p.n[1], -p.n[2]};
        p.tolerance = on_plane_tolerance * n_length * diagonal;
        p.keeps_lying_on = !face_source_is_cut(b.source(f)) || points_in;
        out.planes.push_back(p);
    }
    const double margin = on_plane_tolerance * diagonal;
    out.bounds = box(box_point(lo[0] - margin, lo[1] - margin, lo[2] - margin),
                     box_point(hi[0] + margin, hi[1] + margin, hi[2] + margin));
}

// What one thread keeps between blocks.
struct clipper {
    std::vector<xyz> polygon, clipped;
    std::vector<double> distance;
    std::vector<signed char> side;
    std::vector<boxed_triangle> found;
    start_frame_block frame;
    bool weigh = false; // whether corners get their weights

    // polygon clipped by the half-space inside p; false when nothing of it is left.
    bool clip(const clip_plane& p) {
        const std::size_t n = polygon.size();
        distance.resize(n);
        side.resize(n);
        bool inside = false, all_on = true;
        for (std::size_t i = 0; i < n; ++i) {
            distance[i] = p.outside(polygon[i]);
            side[i] = side_of(distance[i], p.tolerance);
            inside = inside || side[i] < 0;
            all_on = all_on && side[i] == 0;
        }
        if (!inside)
            return all_on && p.keeps_lying_on;
        clipped.clear();
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t j = i + 1 == n ? 0 : i + 1;
            if (side[i] <= 0)
                clipped.push_back(polygon[i]);
            if (side[i] * side[j] < 0)
                clipped.push_back(edge_cut_point(polygon[i], polygon[j], distance[i], distance[j]));
        }
        polygon.swap(clipped);
        return polygon.size() >= 3;
    }

    template <class Faces>
    void add_pieces(const Faces& b, int block_number, const std::vector<horizon>& horizons,
                    const triangle_index& index, horizon_pieces& out) {
        frame_block(b, frame);
        found.clear();
        index.tree.query(bgi::intersects(frame.bounds), std::back_inserter(found));
        std::sort(found.begin(), found.end(), [](const boxed_triangle& x, const boxed_triangle& y) {
            return x.second < y.second;
        });
        for (const boxed_triangle& candidate : found) {
            const int h = index.horizon_of(candidate.second);
            const int t = candidate.second - static_cast<int>(index.first[h]);
            const horizon& surface = horizons[h];
            polygon.clear();
            for (int corner : surface.triangles[t])
                polygon.push_back(to_xyz(surface.vertices[corner]));
            bool kept = true;
            for (const clip_plane& p : frame.planes)
                if (!(kept = clip(p)))
                    break;
            if (!kept)
                continue;
            if (weigh)
                for (const xyz& x : polygon) {
                    const triangle& corner = surface.triangles[t];
                    out.weights.push_back(barycentric(x, to_xyz(surface.vertices[corner[0]]),
                                                      to_xyz(surface.vertices[corner[1]]),
                                                      to_xyz(surface.vertices[corner[2]])));
                }
            const xyz d = b.displacement();
            for (const xyz& x : polygon)
                out.polygons.corners.push_back({x[0] + d[0], x[1] + d[1], x[2] + d[2]});
            out.polygons.end_polygon();
            out.horizon.push_back(h);
            out.triangle.push_back(t);
            out.block.push_back(block_number);
        }
    }
};

void append(horizon_pieces& to, const horizon_pieces& from) {
    append_polygons(to.polygons, from.polygons);
    to.horizon.insert(to.horizon.end(), from.horizon.begin(), from.horizon.end());
    to.triangle.insert(to.triangle.end(), from.triangle.begin(), from.triangle.end());
    to.block.insert(to.block.end(), from.block.begin(), from.block.end());
    to.weights.insert(to.weights.end(), from.weights.begin(), from.weights.end());
}

} // namespace

namespace {

// The pieces in blocks 0..count-1, block b read as faces_of(b).
template <class FacesOf>
horizon_pieces pieces_in(std::size_t count, const FacesOf& faces_of,
                         const std::vector<horizon>& horizons, unsigned max_threads) {
    horizon_pieces pieces;
    if (horizons.empty() || count == 0)
        return pieces;
    const triangle_index index = index_triangles(horizons);
    const std::size_t cores =
        max_threads > 0 ? max_threads : std::max(1u, std::thread::hardware_concurrency());
    const std::size_t threads = std::clamp<std::size_t>(count / min_blocks_per_thread, 1, cores);
    std::vector<horizon_pieces> shares(threads);
    std::vector<std::exception_ptr> failures(threads);
    auto share = [&](std::size_t t) {
        try {
            clipper c;
            c.weigh = any_properties(horizons);
            for (std::size_t b = count * t / threads; b < count * (t + 1) / threads; ++b) {
                stop_point();
                c.add_pieces(faces_of(b), static_cast<int>(b), horizons, index, shares[t]);
            }
        } catch (...) {
            failures[t] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (std::size_t t = 1; t < threads; ++t)
            helpers.emplace_back(share, t);
        share(0);
    }
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
    for (const horizon_pieces& part : shares)
        append(pieces, part);
    return pieces;
}

} // namespace

horizon_pieces pieces_in_blocks(const block_set& blocks, const std::vector<horizon>& horizons,
                                unsigned max_threads) {
    return pieces_in(
        block_count(blocks), [&](std::size_t b) { return view_faces{view_of(blocks, b)}; },
        horizons, max_threads);
}

horizon_pieces pieces_in_blocks(const std::vector<block>& blocks,
                                const std::vector<horizon>& horizons, unsigned max_threads) {
    return pieces_in(
        blocks.size(), [&](std::size_t b) { return record_faces{blocks[b]}; }, horizons,
        max_threads);
}

std::vector<double> corner_properties(const horizon_pieces& pieces,
                                      const std::vector<horizon>& horizons, std::size_t p,
                                      std::size_t c) {
    const horizon& h = horizons[static_cast<std::size_t>(pieces.horizon[p])];
    const std::size_t n = h.property_names.size();
    std::vector<double> values(n, 0.0);
    const triangle& t = h.triangles[static_cast<std::size_t>(pieces.triangle[p])];
    for (int k = 0; k < 3; ++k)
        for (std::size_t j = 0; j < n; ++j)
            values[j] += pieces.weights[c][static_cast<std::size_t>(k)] *
                         h.property_values[static_cast<std::size_t>(t[k]) * n + j];
    return values;
}
