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
    const std::string from =
        "the line from (" + shortest_text(line.x0) + ", " + shortest_text(line.y0) + ")";
    if (!std::isfinite(length))
        throw section_error(from + " to (" + shortest_text(line.x1) + ", " +
                            shortest_text(line.y1) + ") is longer than a number can hold");
    if (!(length > 0.0))
        throw section_error(from + " has no length");
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

// The traces of the horizons' pieces in the blocks of set. A piece lying in the plane leaves
// none: a horizon along the section shows as no line in it.
void add_horizons(section& out, const block_set& set, const std::vector<horizon>& horizons,
                  const section_frame& frame, const line_span& span) {
    for (const horizon& h : horizons)
        out.horizon_names.push_back(h.name);
    out.horizon_colours = horizon_colours(horizons);
    const horizon_pieces pieces = pieces_in_blocks(set, horizons);
    for (std::size_t p = 0; p < pieces.polygons.size(); ++p)
        if (const auto ends =
                plane_crossing(pieces.polygons.polygon(p), {frame.origin, frame.across}))
            if (const auto part = span.clip(frame.at((*ends)[0]), frame.at((*ends)[1])))
                out.horizon_traces.push_back({pieces.horizon[p], (*part)[0], (*part)[1]});
}

} // namespace

std::optional<section_line> section_line_from_text(std::string_view text) {
    const std::vector<std::string> values = split_fields(text, ',');
    std::vector<double> xy;
    for (const std::string& v : values)
        if (const std::optional<double> x = to_number(v); x && std::isfinite(*x))
            xy.push_back(*x);
    if (values.size() != 4 || xy.size() != 4)
        return std::nullopt;
    return section_line{xy[0], xy[1], xy[2], xy[3]};
}

section run_section(const model_result& result, const std::vector<fault>& loaded,
                    const point_list& tracers, run_kind run, std::size_t step,
                    const section_request& request) {
    std::vector<fault> faults = loaded;
    for (fault& f : faults)
        f.point -= result.centre;
    if (run == run_kind::forward)
        faults = forward_faults(result.restored.faults);
    const std::size_t count = faults.size();
    step = std::min(step, count);
    const fault* applied = step > 0 ? &faults[step - 1] : nullptr;
    section out;
    out.title = step_label(run, step, count, applied);
    out.line = request.line;
    for (const fault& f : loaded)
        out.fault_labels.push_back(fault_short_label(f));

    std::vector<fault> cut(faults.begin(), faults.begin() + static_cast<std::ptrdiff_t>(step));
    point_list moved = tracers;
    const block_set set =
        step == 0 ? to_block_set({result.boundary})
                  : cut_block_set({start_block(result.boundary, step, tracers.size())}, cut, moved);
    const section_frame frame = frame_of(request.line, result.centre);
    const double length = length_of(request.line);
    // A side lies on a face when its middle is this near the face's plane: rounding of the cut
    // points is far below it, the next face of another fault far above.
    const double tolerance = 1e-6 * std::max(length, 1.0);
    const line_span span{length, 1e-9 * length};
    for (std::size_t b = 0; b < block_count(set); ++b)
        add_block(out, view_of(set, b), static_cast<int>(b), frame, span, tolerance);
    if (out.blocks.empty())
        throw section_error("the line misses the model");
    // Both runs' traces name their faults by place in the loaded list; the forward run applies
    // that list backwards.
    if (run == run_kind::forward)
        for (section_trace& t : out.fault_traces)
            t.which = static_cast<int>(count) - 1 - t.which;
    if (!result.horizons.empty())
        add_horizons(out, set, result.horizons, frame, span);
    const double band = request.band.value_or(0.01 * length);
    for (std::size_t t = 0; t < moved.size(); ++t) {
        const section_point at = frame.at(to_xyz(moved[t]));
        if (std::abs(frame.distance(to_xyz(moved[t]))) <= band && at[0] >= 0.0 && at[0] <= length)
            out.tracers.push_back({static_cast<int>(t), at});
    }
    return out;
}

} // namespace tolvex
