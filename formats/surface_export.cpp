#include "formats/surface_export.hpp"
#include "formats/file_formats.hpp"

#include "formats/block_export.hpp"
#include "formats/horizon_file.hpp"
#include "io/number_text.hpp"
#include "model/fault_label.hpp"

#include <map>

namespace tolvex {

namespace {

// Adds polygon, moved by centre, to s as a fan of triangles sharing its corners.
void add_polygon(horizon& s, std::span<const xyz> polygon, const vec3& centre) {
    const int base = static_cast<int>(s.vertices.size());
    for (const xyz& x : polygon)
        s.vertices.push_back(make_vec3(x[0] + centre[0], x[1] + centre[1], x[2] + centre[2]));
    for (int i = 1; i + 1 < static_cast<int>(polygon.size()); ++i)
        s.triangles.push_back({base, base + i, base + i + 1});
}

int triangles_of(std::span<const xyz> polygon) {
    return static_cast<int>(polygon.size()) - 2;
}

void append_values(std::vector<int>& out, int value, int count) {
    out.insert(out.end(), static_cast<std::size_t>(count), value);
}

// The surfaces of polygons grouped by key (ascending), named by name_of(key), each polygon's
// triangles given the values of columns(polygon) in the set's cell data, column by column.
template <class Polygons, class Key, class Name, class Columns>
surface_set grouped_surfaces(const Polygons& polygons, std::size_t count, const Key& key_of,
                             const Name& name_of, std::vector<std::string> column_names,
                             const Columns& columns, const vec3& centre) {
    std::map<std::pair<int, int>, std::vector<std::size_t>> groups;
    for (std::size_t p = 0; p < count; ++p)
        groups[key_of(p)].push_back(p);
    surface_set set;
    for (const std::string& name : column_names)
        set.cell_data.push_back({name, {}});
    for (const auto& [key, members] : groups) {
        horizon s{name_of(key), {}, {}};
        for (std::size_t p : members) {
            add_polygon(s, polygons(p), centre);
            const std::vector<int> values = columns(p);
            for (std::size_t c = 0; c < values.size(); ++c)
                append_values(set.cell_data[c].second, values[c], triangles_of(polygons(p)));
        }
        set.surfaces.push_back(std::move(s));
    }
    return set;
}

} // namespace

surface_set horizon_surfaces(const horizon_pieces& pieces, const std::vector<horizon>& horizons,
                             const vec3& centre) {
    surface_set set = grouped_surfaces(
        [&](std::size_t p) { return pieces.piece(p); }, pieces.size(),
        [&](std::size_t p) {
            return std::pair{pieces.horizon[p], 0};
        },
        [&](const std::pair<int, int>& key) { return horizons[key.first].name; },
        {"horizon", "block", "triangle"},
        [&](std::size_t p) {
            return std::vector<int>{pieces.horizon[p], pieces.block[p], pieces.triangle[p]};
        },
        centre);
    for (const horizon& h : horizons)
        set.names.push_back(h.name);
    set.names_of = "horizon";
    return set;
}

surface_set fault_wall_surfaces(const fault_surfaces& walls, const std::vector<fault>& loaded,
                                run_kind run, const vec3& centre) {
    const fault_order order{run, loaded.size()};
    const auto loaded_index = [&](int position) {
        return loaded_fault_of(cut_face_source(position), order);
    };
    surface_set set = grouped_surfaces(
        [&](std::size_t p) { return walls.polygon(p); }, walls.size(),
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
        centre);
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
