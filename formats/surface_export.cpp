#include "formats/surface_export.hpp"
#include "formats/file_formats.hpp"

#include "formats/block_export.hpp"
#include "formats/horizon_file.hpp"
#include "geometry/stop_point.hpp"
#include "io/number_text.hpp"
#include "model/fault_label.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace tolvex {

namespace {

// The corners of one surface, each position once: corners within tolerance of one already there
// (in every coordinate) are that corner, so that pieces cut apart along a line meet there again.
class welded_corners {
  public:
    welded_corners(horizon& s, double tolerance, const vec3& centre)
        : s_(s), tolerance_(tolerance), centre_(centre) {}

    // The corner at x, which polygon corner source gives.
    int index_of(const xyz& x, std::size_t source) {
        const std::array<long long, 3> cell = cell_of(x);
        for (long long i = -1; i <= 1; ++i)
            for (long long j = -1; j <= 1; ++j)
                for (long long k = -1; k <= 1; ++k) {
                    const auto found = cells_.find({cell[0] + i, cell[1] + j, cell[2] + k});
                    if (found == cells_.end())
                        continue;
                    for (const int v : found->second)
                        if (near(corners_[static_cast<std::size_t>(v)], x))
                            return v;
                }
        const int v = static_cast<int>(corners_.size());
        corners_.push_back(x);
        sources_.push_back(source);
        cells_[cell].push_back(v);
        s_.vertices.push_back(make_vec3(x[0] + centre_[0], x[1] + centre_[1], x[2] + centre_[2]));
        return v;
    }

    // Per corner, the polygon corner (a place in the polygons' corners) that first gave it.
    const std::vector<std::size_t>& sources() const { return sources_; }

  private:
    std::array<long long, 3> cell_of(const xyz& x) const {
        return {static_cast<long long>(std::floor(x[0] / tolerance_)),
                static_cast<long long>(std::floor(x[1] / tolerance_)),
                static_cast<long long>(std::floor(x[2] / tolerance_))};
    }
    bool near(const xyz& a, const xyz& b) const {
        return std::abs(a[0] - b[0]) <= tolerance_ && std::abs(a[1] - b[1]) <= tolerance_ &&
               std::abs(a[2] - b[2]) <= tolerance_;
    }

    horizon& s_;
    double tolerance_;
    vec3 centre_;
    std::vector<xyz> corners_; // as the pieces have them, about the centre
    std::vector<std::size_t> sources_;
    std::map<std::array<long long, 3>, std::vector<int>> cells_;
};

// Adds polygon to s as a fan of triangles sharing its corners, with corners it shares with the
// surface's other polygons welded; returns the number of triangles, none for a polygon whose
// corners weld into fewer than three.
int add_polygon(horizon& s, welded_corners& corners, const polygon_list& polygons, std::size_t p) {
    std::vector<int> kept;
    for (std::size_t c = polygons.corner_offset[p]; c < polygons.corner_offset[p + 1]; ++c) {
        const int v = corners.index_of(polygons.corners[c], c);
        if (std::find(kept.begin(), kept.end(), v) == kept.end())
            kept.push_back(v);
    }
    const int triangles = static_cast<int>(kept.size()) - 2;
    for (int i = 1; i < triangles + 1; ++i)
        s.triangles.push_back(
            {kept[0], kept[static_cast<std::size_t>(i)], kept[static_cast<std::size_t>(i) + 1]});
    return std::max(triangles, 0);
}

void append_values(std::vector<int>& out, int value, int count) {
    out.insert(out.end(), static_cast<std::size_t>(count), value);
}

// Corners this near each other are one: far below any piece the cut keeps, far above the
// rounding of cut points computed from either end of an edge.
double weld_tolerance(const polygon_list& polygons) {
    double reach = 1.0;
    for (const xyz& x : polygons.corners)
        reach = std::max({reach, std::abs(x[0]), std::abs(x[1]), std::abs(x[2])});
    return 1e-9 * reach;
}

// The surfaces of polygons grouped by key (ascending), named by name_of(key), each polygon's
// triangles given the values of columns(polygon) in the set's cell data, column by column. The
// polygons of one surface share the corners where they meet; finish(key, surface, sources) then
// completes each surface, given the polygon corner that made each of its corners.
template <class Key, class Name, class Columns, class Finish>
surface_set grouped_surfaces(const polygon_list& polygons, const Key& key_of, const Name& name_of,
                             std::vector<std::string> column_names, const Columns& columns,
                             const Finish& finish, const vec3& centre) {
    std::map<std::pair<int, int>, std::vector<std::size_t>> groups;
    for (std::size_t p = 0; p < polygons.size(); ++p)
        groups[key_of(p)].push_back(p);
    surface_set set;
    for (const std::string& name : column_names)
        set.cell_data.push_back({name, {}});
    const double tolerance = weld_tolerance(polygons);
    for (const auto& [key, members] : groups) {
        horizon s{name_of(key), {}, {}};
        welded_corners corners(s, tolerance, centre);
        for (std::size_t p : members) {
            if (p % 1024 == 0)
                stop_point();
            const int triangles = add_polygon(s, corners, polygons, p);
            const std::vector<int> values = columns(p);
            for (std::size_t c = 0; c < values.size(); ++c)
                append_values(set.cell_data[c].second, values[c], triangles);
        }
        finish(key, s, corners.sources());
        set.surfaces.push_back(std::move(s));
    }
    return set;
}

} // namespace

surface_set horizon_surfaces(const horizon_pieces& pieces, const std::vector<horizon>& horizons,
                             const vec3& centre) {
    surface_set set = grouped_surfaces(
        pieces.polygons,
        [&](std::size_t p) {
            return std::pair{pieces.horizon[p], 0};
        },
        [&](const std::pair<int, int>& key) { return horizons[key.first].name; },
        {"horizon", "block", "triangle"},
        [&](std::size_t p) {
            return std::vector<int>{pieces.horizon[p], pieces.block[p], pieces.triangle[p]};
        },
        [&](const std::pair<int, int>& key, horizon& s, const std::vector<std::size_t>& sources) {
            const horizon& h = horizons[static_cast<std::size_t>(key.first)];
            s.metadata = h.metadata;
            s.property_names = h.property_names;
            if (h.property_names.empty())
                return;
            for (const std::size_t c : sources) {
                const auto piece = static_cast<std::size_t>(
                    std::upper_bound(pieces.polygons.corner_offset.begin(),
                                     pieces.polygons.corner_offset.end(), c) -
                    pieces.polygons.corner_offset.begin() - 1);
                const std::vector<double> values = corner_properties(pieces, horizons, piece, c);
                s.property_values.insert(s.property_values.end(), values.begin(), values.end());
            }
        },
        centre);
    for (const horizon& h : horizons)
        set.names.push_back(h.name);
    set.names_of = "horizon";
    set.colours = colours_of(horizons);
    return set;
}

surface_set fault_wall_surfaces(const fault_surfaces& walls, const std::vector<fault>& loaded,
                                run_kind run, const vec3& centre) {
    const fault_order order{run, loaded.size(), {}};
    const auto loaded_index = [&](int position) {
        return loaded_fault_of(cut_face_source(position), order);
    };
    surface_set set = grouped_surfaces(
        walls.polygons,
        [&](std::size_t p) {
            return std::pair{loaded_index(walls.fault[p]), -walls.side[p]};
        },
        [&](const std::pair<int, int>& key) {
            return fault_short_label(loaded[key.first]) + (key.second < 0 ? " (+)" : " (-)");
        },
        {"fault", "side", "block"},
        [&](std::size_t p) {
            return std::vector<int>{loaded_index(walls.fault[p]), walls.side[p], walls.block[p]};
        },
        [](const std::pair<int, int>&, horizon&, const std::vector<std::size_t>&) {}, centre);
    for (const fault& f : loaded)
        set.names.push_back(fault_short_label(f));
    set.names_of = "fault";
    return set;
}

std::string surfaces_to_text(const surface_set& set, const std::string& path, const vec3& centre) {
    const file_format* f = written_format(path, holds::horizons);
    const format_id id = f ? f->id : format_id::vtk;
    if (id == format_id::tsurf)
        return horizons_to_tsurf(set.surfaces);
    if (id == format_id::obj)
        return horizons_to_obj(set.surfaces);
    return surfaces_to_vtk(set, &centre);
}

} // namespace tolvex
