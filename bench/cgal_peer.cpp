// The model run of tolvex-batch done the plain way a general geometry library does it, to time
// the kernel against: every block is the intersection of half-spaces, rebuilt by
// CGAL::halfspace_intersection_3 (exact predicates, inexact constructions) each time a fault's
// plane cuts it; the positive half moves by the slip with the tracers and fault points it holds.
// The input is read by the project's own readers, so both programs run the same model, and the
// forward run's tracers are written as tolvex-batch --save-tracers writes them.
// It cannot be counted under valgrind, which ignores the rounding modes the library's interval
// filters set: time it whole (bench/peer_compare).
// usage: cgal_peer CONFIG FAULTS TRACERS_OUT

// The library's templates first: they call face(h, g) unqualified, which the block model's
// record face, declared at global scope, would otherwise hide from argument-dependent lookup.
#include <CGAL/Convex_hull_3/dual/halfspace_intersection_3.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polyhedron_3.h>

#include "config/conf_run_files.hpp"
#include "config/tolvex_conf.hpp"
#include "formats/fault_file.hpp"
#include "formats/run_files.hpp"
#include "formats/tracer_file.hpp"
#include "geometry/vector_utils.hpp"
#include "model/model_run.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace {

using kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using point = kernel::Point_3;
using plane = kernel::Plane_3;
using vector = kernel::Vector_3;
using polyhedron = CGAL::Polyhedron_3<kernel>;

// A convex block: the points on the negative side of every plane, with its corners and edges as
// the last intersection gave them, and what it carries.
struct peer_block {
    std::vector<plane> planes;
    std::vector<point> corners;
    std::vector<std::pair<int, int>> edges;
    index_list faults;
    index_list tracers;
};

point to_point(const vec3& v) {
    return point(v[0], v[1], v[2]);
}
vector to_vector(const vec3& v) {
    return vector(v[0], v[1], v[2]);
}

// The block bounded by planes, around inside, a point strictly within it. Planes that touch none
// of its corners are dropped, so that a block's set does not grow with every cut of its ancestry.
peer_block intersect(std::vector<plane> planes, const point& inside) {
    polyhedron p;
    CGAL::halfspace_intersection_3(planes.begin(), planes.end(), p, inside);
    peer_block b;
    std::vector<polyhedron::Vertex_const_handle> handles;
    for (auto v = p.vertices_begin(); v != p.vertices_end(); ++v) {
        handles.push_back(v);
        b.corners.push_back(v->point());
    }
    const auto index = [&handles](polyhedron::Vertex_const_handle v) {
        return static_cast<int>(std::find(handles.begin(), handles.end(), v) - handles.begin());
    };
    for (auto e = p.edges_begin(); e != p.edges_end(); ++e)
        b.edges.emplace_back(index(e->vertex()), index(e->opposite()->vertex()));
    double reach = 0;
    for (const point& c : b.corners)
        reach = std::max(reach, std::sqrt(CGAL::squared_distance(c, inside)));
    for (const plane& h : planes) {
        const double scale = std::sqrt(h.orthogonal_vector().squared_length());
        for (const point& c : b.corners)
            if (h.a() * c.x() + h.b() * c.y() + h.c() * c.z() + h.d() > -1e-9 * reach * scale) {
                b.planes.push_back(h);
                break;
            }
    }
    return b;
}

// A point strictly inside the half of b on side of h: the mean of b's corners on that side and
// of the points where h crosses b's edges.
point mean_inside(const peer_block& b, const plane& h, CGAL::Oriented_side side) {
    double sum[3] = {0, 0, 0};
    int count = 0;
    const auto add = [&](const point& q) {
        sum[0] += q.x();
        sum[1] += q.y();
        sum[2] += q.z();
        ++count;
    };
    for (const point& c : b.corners)
        if (h.oriented_side(c) == side)
            add(c);
    for (const auto& [i, j] : b.edges) {
        const CGAL::Oriented_side a = h.oriented_side(b.corners[i]);
        const CGAL::Oriented_side c = h.oriented_side(b.corners[j]);
        if (a != c && a != CGAL::ON_ORIENTED_BOUNDARY && c != CGAL::ON_ORIENTED_BOUNDARY) {
            const auto crossing =
                CGAL::intersection(kernel::Segment_3(b.corners[i], b.corners[j]), h);
            if (const point* q = crossing ? boost::get<point>(&*crossing) : nullptr)
                add(*q);
        }
    }
    return point(sum[0] / count, sum[1] / count, sum[2] / count);
}

void move(peer_block& b, const vector& s, std::vector<fault>& faults, point_list& tracers,
          const vec3& slip) {
    const kernel::Aff_transformation_3 shift(CGAL::TRANSLATION, s);
    for (plane& h : b.planes)
        h = h.transform(shift);
    for (point& c : b.corners)
        c = c + s;
    for (int f : b.faults)
        faults[f].point += slip;
    for (int t : b.tracers)
        tracers[t] += slip;
}

// One cutting run: the faults in list order over the blocks, each fault's plane taken where its
// point stands when its pass starts.
void run(std::vector<peer_block> blocks, std::vector<fault>& faults, point_list& tracers) {
    for (std::size_t i = 0; i < faults.size(); ++i) {
        const plane h(to_point(faults[i].point), to_vector(faults[i].normal));
        const vec3 slip = faults[i].slip_dir * faults[i].slip_mag;
        const vector s = to_vector(slip);
        std::vector<peer_block> next;
        next.reserve(blocks.size() * 2);
        for (peer_block& b : blocks) {
            bool positive = false, negative = false;
            for (const point& c : b.corners) {
                const CGAL::Oriented_side side = h.oriented_side(c);
                positive |= side == CGAL::ON_POSITIVE_SIDE;
                negative |= side == CGAL::ON_NEGATIVE_SIDE;
            }
            if (!(positive && negative)) {
                if (positive)
                    move(b, s, faults, tracers, slip);
                next.push_back(std::move(b));
                continue;
            }
            std::vector<plane> above = b.planes, below = b.planes;
            above.push_back(h.opposite());
            below.push_back(h);
            peer_block a = intersect(std::move(above), mean_inside(b, h, CGAL::ON_POSITIVE_SIDE));
            peer_block c = intersect(std::move(below), mean_inside(b, h, CGAL::ON_NEGATIVE_SIDE));
            for (int f : b.faults)
                (h.oriented_side(to_point(faults[f].point)) == CGAL::ON_NEGATIVE_SIDE ? c : a)
                    .faults.push_back(f);
            for (int t : b.tracers)
                (h.oriented_side(to_point(tracers[t])) == CGAL::ON_NEGATIVE_SIDE ? c : a)
                    .tracers.push_back(t);
            move(a, s, faults, tracers, slip);
            next.push_back(std::move(a));
            next.push_back(std::move(c));
        }
        blocks = std::move(next);
    }
}

// The centred boundary as half-spaces, carrying every fault and tracer: each face's plane
// through its first three corners, turned so that the boundary's centre lies below it.
peer_block start(const block& boundary, std::size_t faults, std::size_t tracers) {
    std::vector<plane> planes;
    const point centre = to_point(centroid(boundary.vertices));
    for (const face& f : boundary.faces) {
        plane h(to_point(boundary.vertices[f.indices[0]]),
                to_point(boundary.vertices[f.indices[1]]),
                to_point(boundary.vertices[f.indices[2]]));
        planes.push_back(h.has_on_positive_side(centre) ? h.opposite() : h);
    }
    peer_block b = intersect(std::move(planes), centre);
    for (std::size_t f = 0; f < faults; ++f)
        b.faults.push_back(static_cast<int>(f));
    for (std::size_t t = 0; t < tracers; ++t)
        b.tracers.push_back(static_cast<int>(t));
    return b;
}

} // namespace

int main(int argc, char** argv) {
    using namespace tolvex;
    if (argc != 4) {
        std::fprintf(stderr, "usage: cgal_peer CONFIG FAULTS TRACERS_OUT\n");
        return 2;
    }
    try {
        tolvex_conf conf;
        if (!conf.read(argv[1]) || !conf.problems.empty()) {
            std::fprintf(stderr, "cgal_peer: %s: cannot read the settings\n", argv[1]);
            return 1;
        }
        const run_files files =
            configured_run_files(conf, std::filesystem::path(argv[1]).parent_path().string());
        point_list tracers;
        block boundary = read_run_inputs(files, {}, tracers);
        std::optional<std::vector<fault>> restored = read_fault_file(argv[2]);
        if (!restored) {
            std::fprintf(stderr, "cgal_peer: %s: cannot open the fault file\n", argv[2]);
            return 1;
        }
        // Centred as tolvex-batch centres it: the boundary and the fault points, not the tracers.
        const vec3 c = centroid(boundary.vertices);
        for (vec3& v : boundary.vertices)
            v -= c;
        for (fault& f : *restored)
            f.point -= c;
        const peer_block first = start(boundary, restored->size(), tracers.size());
        point_list moved = tracers;
        run({first}, *restored, moved);
        std::vector<fault> forward = forward_faults(*restored);
        moved = tracers;
        run({first}, forward, moved);
        write_tracer_file(argv[3], moved, files.tracer_radius);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cgal_peer: %s\n", e.what());
        return 1;
    }
    return 0;
}
