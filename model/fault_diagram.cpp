#include "model/fault_diagram.hpp"

#include "geometry/fault_surfaces.hpp"

#include <algorithm>
#include <boost/numeric/ublas/vector.hpp>
#include <cmath>

namespace tolvex {

namespace {

namespace ublas = boost::numeric::ublas;

// Where x lies in the fault's frame: along strike and up the dip.
section_point in_frame(const fault_frame& frame, const vec3& x) {
    const vec3 d = x - frame.origin;
    return {ublas::inner_prod(d, frame.strike), -ublas::inner_prod(d, frame.down_dip)};
}

} // namespace

section fault_diagram(const run_state& run, std::size_t k,
                      const std::vector<cutoff_segment>& segments,
                      const std::vector<std::string>& horizon_names, const vec3& centre,
                      const std::string& title) {
    const fault_frame frame = frame_of(run.faults[k]);
    section out;
    out.title = title;
    out.u_label = "along strike";
    out.z_label = "up the dip";
    out.horizon_names = horizon_names;
    const fault_surfaces walls = fault_surfaces_of(run.blocks);
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    for (std::size_t w = 0; w < walls.polygons.size(); ++w) {
        if (static_cast<std::size_t>(walls.fault[w]) != k)
            continue;
        section_polygon p{walls.block[w], {}};
        for (const xyz& c : walls.polygons.polygon(w)) {
            p.corners.push_back(in_frame(frame, make_vec3(c[0], c[1], c[2])));
            lo = std::min(lo, p.corners.back()[0]);
            hi = std::max(hi, p.corners.back()[0]);
        }
        out.blocks.push_back(std::move(p));
    }
    for (const cutoff_segment& s : segments)
        if (s.fault == k)
            out.horizon_traces.push_back({static_cast<int>(s.horizon), in_frame(frame, s.from),
                                          in_frame(frame, s.to), s.wall < 0});
    if (lo <= hi) {
        const vec3 a = frame.origin + centre + lo * frame.strike;
        const vec3 b = frame.origin + centre + hi * frame.strike;
        out.path = path_of({a[0], a[1], b[0], b[1]});
    }
    return out;
}

std::optional<std::size_t> fault_with_id(const std::vector<fault>& faults, int id) {
    const auto it =
        std::find_if(faults.begin(), faults.end(), [id](const fault& f) { return f.id == id; });
    if (it == faults.end())
        return std::nullopt;
    return static_cast<std::size_t>(it - faults.begin());
}

} // namespace tolvex
