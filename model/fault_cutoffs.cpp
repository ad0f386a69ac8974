#include "model/fault_cutoffs.hpp"

#include "geometry/fault_surfaces.hpp"
#include "geometry/vector_utils.hpp"
#include "model/fault_orientation.hpp"

#include <algorithm>
#include <boost/numeric/ublas/vector.hpp>
#include <cmath>
#include <map>

namespace tolvex {

namespace {

namespace ublas = boost::numeric::ublas;

// Corners closer than this share of the block's diagonal to a wall's plane lie on it.
constexpr double on_wall = 1e-8;

vec3 as_vec3(const xyz& p) {
    return make_vec3(p[0], p[1], p[2]);
}

// A wall's plane: a point, the unit normal, and how near counts as on it.
struct wall_plane {
    std::size_t fault;
    int wall;
    xyz point;
    xyz normal;
    double tolerance;
    bool on(const xyz& p) const { return std::abs(dot(normal, minus(p, point))) <= tolerance; }
};

double diagonal_of(const block& b) {
    xyz lo{HUGE_VAL, HUGE_VAL, HUGE_VAL}, hi{-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (const vec3& v : b.vertices)
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], v[k]);
            hi[k] = std::max(hi[k], v[k]);
        }
    return std::hypot(hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]);
}

// The walls of each block, by block.
std::vector<std::vector<wall_plane>> walls_by_block(const run_state& run) {
    std::vector<std::vector<wall_plane>> out(run.blocks.size());
    const fault_surfaces walls = fault_surfaces_of(run.blocks);
    for (std::size_t w = 0; w < walls.polygons.size(); ++w) {
        const std::size_t b = static_cast<std::size_t>(walls.block[w]);
        const std::size_t k = static_cast<std::size_t>(walls.fault[w]);
        const std::span<const xyz> polygon = walls.polygons.polygon(w);
        const xyz n = newell_normal(polygon);
        const double length = std::sqrt(dot(n, n));
        if (!(length > 0.0))
            continue;
        // The side the fault's normal points to is the hanging wall when that normal points up.
        const int up = run.faults[k].normal[2] < 0.0 ? -1 : 1;
        out[b].push_back({k,
                          walls.side[w] * up,
                          polygon[0],
                          {n[0] / length, n[1] / length, n[2] / length},
                          on_wall * diagonal_of(run.blocks[b])});
    }
    return out;
}

} // namespace

std::vector<cutoff_segment> cutoff_segments(const run_state& run) {
    std::vector<cutoff_segment> out;
    if (run.blocks.empty() || run.horizons.polygons.size() == 0)
        return out;
    const std::vector<std::vector<wall_plane>> walls = walls_by_block(run);
    const horizon_pieces& pieces = run.horizons;
    for (std::size_t p = 0; p < pieces.polygons.size(); ++p) {
        const std::span<const xyz> corners = pieces.polygons.polygon(p);
        for (const wall_plane& w : walls[static_cast<std::size_t>(pieces.block[p])]) {
            const auto on = std::count_if(corners.begin(), corners.end(),
                                          [&](const xyz& c) { return w.on(c); });
            // A piece lying in the wall's plane has no line there.
            if (on < 2 || on == static_cast<long>(corners.size()))
                continue;
            for (std::size_t i = 0; i < corners.size(); ++i) {
                const xyz& a = corners[i];
                const xyz& c = corners[(i + 1) % corners.size()];
                if (w.on(a) && w.on(c) && a != c)
                    out.push_back({w.fault, static_cast<std::size_t>(pieces.horizon[p]), w.wall,
                                   as_vec3(a), as_vec3(c)});
            }
        }
    }
    return out;
}

fault_frame frame_of(const fault& f) {
    const std::array<double, 2> attitude = plane_angles_of(f.normal);
    const vec3 down = slip_vector(attitude[0], attitude[1]);
    return {f.point, rake_vector(attitude[0], attitude[1], 0.0), down,
            slip_vector(attitude[0], 0.0)};
}

namespace {

// Where one wall's cutoff of one horizon crosses each station.
using crossings = std::vector<std::vector<vec3>>;

// The along-strike extent of each fault's walls.
std::vector<std::array<double, 2>> wall_extents(const run_state& run,
                                                const std::vector<fault_frame>& frames) {
    std::vector<std::array<double, 2>> out(frames.size(), {HUGE_VAL, -HUGE_VAL});
    const fault_surfaces walls = fault_surfaces_of(run.blocks);
    for (std::size_t w = 0; w < walls.polygons.size(); ++w) {
        const std::size_t k = static_cast<std::size_t>(walls.fault[w]);
        for (const xyz& c : walls.polygons.polygon(w)) {
            const double a = ublas::inner_prod(as_vec3(c) - frames[k].origin, frames[k].strike);
            out[k][0] = std::min(out[k][0], a);
            out[k][1] = std::max(out[k][1], a);
        }
    }
    return out;
}

} // namespace

std::vector<separation> separations_of(const run_state& run,
                                       const std::vector<cutoff_segment>& segments,
                                       std::optional<double> spacing) {
    if (segments.empty())
        return {};
    std::vector<fault_frame> frames;
    for (const fault& f : run.faults)
        frames.push_back(frame_of(f));
    const std::vector<std::array<double, 2>> extents = wall_extents(run, frames);
    // Stations of fault k: start[k] + (i + 0.5) * step[k] for i below count[k].
    std::vector<double> start(frames.size()), step(frames.size());
    std::vector<std::size_t> count(frames.size(), 0);
    for (std::size_t k = 0; k < frames.size(); ++k) {
        const double extent = extents[k][1] - extents[k][0];
        if (!(extent > 0.0))
            continue;
        step[k] = spacing.value_or(extent / 50.0);
        start[k] = extents[k][0];
        count[k] = static_cast<std::size_t>(std::floor(extent / step[k]));
    }
    // By fault, horizon and wall (0 footwall, 1 hanging wall).
    std::map<std::array<std::size_t, 3>, crossings> found;
    for (const cutoff_segment& s : segments) {
        const fault_frame& frame = frames[s.fault];
        const double a0 = ublas::inner_prod(s.from - frame.origin, frame.strike);
        const double a1 = ublas::inner_prod(s.to - frame.origin, frame.strike);
        if (a0 == a1 || count[s.fault] == 0)
            continue;
        crossings& c = found[{s.fault, s.horizon, s.wall > 0 ? 1u : 0u}];
        c.resize(count[s.fault]);
        const double lo = std::min(a0, a1), hi = std::max(a0, a1);
        const double first = std::ceil((lo - start[s.fault]) / step[s.fault] - 0.5);
        for (double i = std::max(first, 0.0); i < static_cast<double>(count[s.fault]); ++i) {
            const double a = start[s.fault] + (i + 0.5) * step[s.fault];
            // Half-open, so a station through a shared end point counts once.
            if (a >= hi)
                break;
            if (a < lo)
                continue;
            c[static_cast<std::size_t>(i)].push_back(s.from +
                                                     (a - a0) / (a1 - a0) * (s.to - s.from));
        }
    }
    std::vector<separation> out;
    for (const auto& [key, hanging] : found) {
        const auto foot = found.find({key[0], key[1], 0});
        if (key[2] != 1 || foot == found.end())
            continue;
        const fault_frame& frame = frames[key[0]];
        const vec3 n = cross_prod3(frame.strike, frame.down_dip);
        // Walls that later faults moved off the plane by less than this are still on it.
        const double tolerance = 1e-6 * (extents[key[0]][1] - extents[key[0]][0]);
        for (std::size_t i = 0; i < hanging.size(); ++i)
            for (const vec3& h : hanging[i]) {
                // The footwall's cutoff across from h: on the same plane (later faults may have
                // moved other parts of the walls off it), the nearest there.
                const vec3* partner = nullptr;
                for (const vec3& f : foot->second[i])
                    if (std::abs(ublas::inner_prod(f - h, n)) <= tolerance &&
                        (!partner || ublas::norm_2(f - h) < ublas::norm_2(*partner - h)))
                        partner = &f;
                if (!partner)
                    continue;
                const vec3 d = h - *partner;
                out.push_back({key[0], key[1], start[key[0]] + (i + 0.5) * step[key[0]],
                               (*partner)[2] - h[2], ublas::inner_prod(d, frame.dip_direction),
                               ublas::inner_prod(d, frame.down_dip)});
            }
    }
    return out;
}

} // namespace tolvex
