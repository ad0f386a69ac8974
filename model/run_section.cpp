#include "model/run_section.hpp"

#include "geometry/cut_block.hpp"
#include "geometry/horizon_pieces.hpp"
#include "geometry/plane_section.hpp"
#include "io/number_text.hpp"
#include "io/text_fields.hpp"
#include "model/fault_label.hpp"
#include "model/step_label.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace tolvex {

namespace {

// The plane of the line, about the run's centre, and the directions along and across it.
struct section_frame {
    xyz origin; // the line's start at z = 0, relative to the centre
    xyz along;  // unit, horizontal
    xyz across; // unit, horizontal, the plane's normal
    double centre_z;

    section_point at(const xyz& p) const { return {dot(minus(p, origin), along), p[2] + centre_z}; }
    double distance(const xyz& p) const { return dot(minus(p, origin), across); }
};

section_frame frame_of(const section_line& line, const vec3& centre) {
    const double dx = line.x1 - line.x0, dy = line.y1 - line.y0;
    const double length = std::hypot(dx, dy);
    return {{line.x0 - centre[0], line.y0 - centre[1], -centre[2]},
            {dx / length, dy / length, 0.0},
            {-dy / length, dx / length, 0.0},
            centre[2]};
}

xyz to_xyz(const vec3& v) {
    return {v[0], v[1], v[2]};
}

// The fault whose cut made the face of b that holds the segment from a to b, or -1.
int fault_along(const block_view& b, const xyz& a, const xyz& c, double tolerance) {
    const xyz middle{(a[0] + c[0]) / 2, (a[1] + c[1]) / 2, (a[2] + c[2]) / 2};
    for (std::size_t f = 0; f < b.face_count(); ++f) {
        if (!face_source_is_cut(b.face_sources[f]))
            continue;
        const xyz& n = b.normals[f];
        const xyz& corner = b.vertices[static_cast<std::size_t>(b.face_corners(f)[0])];
        if (std::abs(dot(n, minus(middle, corner))) <= tolerance * std::sqrt(dot(n, n)))
            return cut_fault(b.face_sources[f]);
    }
    return -1;
}

// The part of a section from u = 0 to u = length: the line's own reach.
struct line_span {
    double length;
    double slack; // points this far outside still count as on the span's ends

    // The part of the segment from a to b within the span, or nothing where less than a point.
    std::optional<std::array<section_point, 2>> clip(section_point a, section_point b) const {
        if (std::max(a[0], b[0]) < -slack || std::min(a[0], b[0]) > length + slack)
            return std::nullopt;
        const auto at_u = [&](const section_point& p, const section_point& q, double u) {
            const double t = (u - p[0]) / (q[0] - p[0]);
            return section_point{u, p[1] + t * (q[1] - p[1])};
        };
        if (a[0] > b[0])
            std::swap(a, b);
        if (a[0] < 0.0)
            a = at_u(a, b, 0.0);
        if (b[0] > length)
            b = at_u(a, b, length);
        if (std::hypot(b[0] - a[0], b[1] - a[1]) <= slack)
            return std::nullopt;
        return std::array<section_point, 2>{a, b};
    }

    // The convex polygon cut to the span, with no area left when it only touches an end.
    std::vector<section_point> clip(const std::vector<section_point>& corners) const {
        std::vector<section_point> kept = corners;
        for (const double end : {0.0, length}) {
            const double sign = end == 0.0 ? 1.0 : -1.0; // inside: sign * (u - end) >= 0
            std::vector<section_point> next;
            for (std::size_t k = 0; k < kept.size(); ++k) {
                const section_point& p = kept[k];
                const section_point& q = kept[(k + 1) % kept.size()];
                const double dp = sign * (p[0] - end), dq = sign * (q[0] - end);
                if (dp >= 0.0)
                    next.push_back(p);
                if ((dp < 0.0) != (dq < 0.0) && dp != 0.0 && dq != 0.0) {
                    const double t = dp / (dp - dq);
                    next.push_back({end, p[1] + t * (q[1] - p[1])});
                }
            }
            kept = std::move(next);
        }
        double low = INFINITY, high = -INFINITY;
        for (const section_point& c : kept) {
            low = std::min(low, c[0]);
            high = std::max(high, c[0]);
        }
        if (kept.size() < 3 || !(high - low > slack))
            return {};
        return kept;
    }
};

void add_block(section& out, const block_view& b, int index, const section_frame& frame,
               const line_span& span, double tolerance) {
    const std::vector<xyz> corners = plane_section(b, {frame.origin, frame.across});
    if (corners.size() < 3)
        return;
    std::vector<section_point> whole;
    for (const xyz& c : corners)
        whole.push_back(frame.at(c));
    section_polygon polygon{index, span.clip(whole)};
    if (polygon.corners.empty())
        return;
    for (std::size_t k = 0; k < corners.size(); ++k) {
        const xyz& a = corners[k];
        const xyz& c = corners[(k + 1) % corners.size()];
        if (const int f = fault_along(b, a, c, tolerance); f >= 0)
            if (const auto part = span.clip(frame.at(a), frame.at(c)))
                out.fault_traces.push_back({f, (*part)[0], (*part)[1]});
    }
    out.blocks.push_back(std::move(polygon));
}

// The traces of the horizons' pieces. A piece lying in the plane leaves none: a horizon along the
// section shows as no line in it.
void add_horizons(section& out, const horizon_pieces& pieces, const section_frame& frame,
                  const line_span& span) {
    for (std::size_t p = 0; p < pieces.polygons.size(); ++p)
        if (const auto ends =
                plane_crossing(pieces.polygons.polygon(p), {frame.origin, frame.across}))
            if (const auto part = span.clip(frame.at((*ends)[0]), frame.at((*ends)[1])))
                out.horizon_traces.push_back({pieces.horizon[p], (*part)[0], (*part)[1]});
}

// What the step's blocks, horizon pieces and tracers meet along one straight segment, as the
// section of that segment alone: u from 0 to its length.
struct segment_input {
    const block_set& set;
    const horizon_pieces& pieces;
    const point_list& tracers; // moved with the step's blocks
    const vec3& centre;
    double band;
};

section segment_section(const segment_input& in, const section_line& line) {
    section out;
    const section_frame frame = frame_of(line, in.centre);
    const double length = length_of(line);
    // A side lies on a face when its middle is this near the face's plane: rounding of the cut
    // points is far below it, the next face of another fault far above.
    const double tolerance = 1e-6 * std::max(length, 1.0);
    const line_span span{length, 1e-9 * length};
    for (std::size_t b = 0; b < block_count(in.set); ++b)
        add_block(out, view_of(in.set, b), static_cast<int>(b), frame, span, tolerance);
    add_horizons(out, in.pieces, frame, span);
    for (std::size_t t = 0; t < in.tracers.size(); ++t) {
        const section_point at = frame.at(to_xyz(in.tracers[t]));
        if (std::abs(frame.distance(to_xyz(in.tracers[t]))) <= in.band && at[0] >= 0.0 &&
            at[0] <= length)
            out.tracers.push_back({static_cast<int>(t), at});
    }
    return out;
}

// part's polygons, traces and tracers moved start along the line and added to out.
void append_shifted(section& out, section part, double start) {
    const auto shift = [start](section_point& p) { p[0] += start; };
    for (section_polygon& p : part.blocks) {
        for (section_point& c : p.corners)
            shift(c);
        out.blocks.push_back(std::move(p));
    }
    for (auto [from, to] : {std::pair{&part.fault_traces, &out.fault_traces},
                            std::pair{&part.horizon_traces, &out.horizon_traces}})
        for (section_trace& t : *from) {
            shift(t.a);
            shift(t.b);
            to->push_back(t);
        }
    for (section_tracer& t : part.tracers) {
        shift(t.at);
        out.tracers.push_back(t);
    }
}

std::string point_text(const map_point& p) {
    return "(" + shortest_text(p[0]) + ", " + shortest_text(p[1]) + ")";
}

} // namespace

void check_section_path(const section_path& path) {
    const std::size_t n = path.points.size();
    if (n < 2)
        throw section_error("a line needs two points or more, not " + std::to_string(n));
    for (std::size_t k = 0; k < n; ++k)
        if (!std::isfinite(path.points[k][0]) || !std::isfinite(path.points[k][1]))
            throw section_error("the line's point " + std::to_string(k + 1) + " " +
                                point_text(path.points[k]) + " is not two finite numbers");
    for (std::size_t k = 0; k + 1 < n; ++k) {
        const std::string from = (n > 2 ? "the line's segment " + std::to_string(k + 1) + " from "
                                        : std::string("the line from ")) +
                                 point_text(path.points[k]);
        const double length = length_of(segment_of(path, k));
        if (!std::isfinite(length))
            throw section_error(from + " to " + point_text(path.points[k + 1]) +
                                " is longer than a number can hold");
        if (!(length > 0.0))
            throw section_error(from + " has no length");
    }
    if (!std::isfinite(distances_of(path).back()))
        throw section_error("the line is longer than a number can hold");
}

section_path section_line_from_text(std::string_view text) {
    const std::string quoted = "\"" + std::string(text) + "\"";
    std::vector<double> xy;
    for (const std::string& v : split_fields(text, ',')) {
        const std::optional<double> x = to_number(v);
        if (!x || !std::isfinite(*x))
            throw section_error(quoted + ": \"" + v + "\" is not a finite number");
        xy.push_back(*x);
    }
    if (xy.size() % 2 != 0)
        throw section_error(quoted + " holds " + std::to_string(xy.size()) +
                            " numbers, not X,Y pairs: X0,Y0,X1,Y1[,X2,Y2...]");
    if (xy.size() < 4)
        throw section_error(quoted + " is one point: a line needs two or more");
    section_path path;
    for (std::size_t k = 0; k < xy.size(); k += 2)
        path.points.push_back({xy[k], xy[k + 1]});
    check_section_path(path);
    return path;
}

section run_section(const model_result& result, const std::vector<fault>& loaded,
                    const point_list& tracers, run_kind run, std::size_t step,
                    const section_request& request) {
    check_section_path(request.path);
    std::vector<fault> faults = loaded;
    for (fault& f : faults)
        f.point -= result.centre;
    if (run == run_kind::forward)
        faults = forward_faults(result.restored.faults);
    const std::size_t count = faults.size();
    step = std::min(step, count);
    const fault* applied = step > 0 ? &faults[step - 1] : nullptr;
    section out;
    const run_state& state = run == run_kind::forward ? result.forward : result.restored;
    out.title = step_label(run, step, count, applied, state.carried);
    out.path = request.path;
    for (const fault& f : loaded)
        out.fault_labels.push_back(fault_short_label(f));
    // The run's own horizons, named and numbered as the run carries them.
    const std::vector<horizon> carried = run_horizons(result, run);
    for (const horizon& h : carried)
        out.horizon_names.push_back(h.name);
    out.horizon_colours = horizon_colours(carried);

    std::vector<fault> cut(faults.begin(), faults.begin() + static_cast<std::ptrdiff_t>(step));
    point_list moved = tracers;
    const block_set set =
        step == 0 ? to_block_set({result.boundary})
                  : cut_block_set({start_block(result.boundary, step, tracers.size())}, cut, moved);
    const horizon_pieces pieces =
        carried.empty() ? horizon_pieces{} : pieces_in_blocks(set, carried);
    const std::vector<double> starts = distances_of(request.path);
    const segment_input in{set, pieces, moved, result.centre,
                           request.band.value_or(0.01 * starts.back())};
    for (std::size_t k = 0; k < segment_count(request.path); ++k)
        append_shifted(out, segment_section(in, segment_of(request.path, k)), starts[k]);
    if (out.blocks.empty())
        throw section_error("the line misses the model");
    // Both runs' traces name their faults by place in the loaded list; the forward run applies
    // that list backwards.
    if (run == run_kind::forward)
        for (section_trace& t : out.fault_traces)
            t.which = static_cast<int>(count) - 1 - t.which;
    return out;
}

} // namespace tolvex
