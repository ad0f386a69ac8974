#include "model/horizon_file.hpp"

#include "io/input_error.hpp"
#include "io/number_text.hpp"
#include "io/text_fields.hpp"
#include "io/text_lines.hpp"
#include "model/block_export.hpp"
#include "model/surface_export.hpp"

#include <cerrno>
#include <filesystem>

namespace tolvex {

namespace {

bool ends_with(const std::string& text, const char* tail) {
    return std::string_view(text).ends_with(tail);
}

void append_point(std::string& out, const char* prefix, const vec3& v) {
    out += prefix;
    for (int k = 0; k < 3; ++k) {
        out += ' ';
        append_shortest(out, v[k]);
    }
    out += '\n';
}

// The name as a TSurf header gives it: in quotes when a brace or a quote would change it on
// reading.
std::string tsurf_name(const std::string& name) {
    return name.find_first_of("}\"") == std::string::npos ? name : '"' + name + '"';
}

} // namespace

std::string unnamed_horizon(const std::string& path, std::size_t position) {
    const std::string stem = std::filesystem::path(path).stem().string();
    return position == 0 ? stem : stem + " " + std::to_string(position + 1);
}

std::vector<horizon> parse_horizon_text(const std::string& text, const std::string& path,
                                        const warn_fn& warn) {
    // The first line names a VTK file; the first line that is no comment a GOCAD one.
    std::string_view first, first_data;
    for_each_line(text, [&](std::string_view line, int number) {
        const std::string_view trimmed = trim_blanks(line);
        if (number == 1)
            first = trimmed;
        if (first_data.empty() && !trimmed.empty() && trimmed.front() != '#')
            first_data = trimmed;
    });
    std::vector<horizon> out;
    if (first.starts_with("# vtk DataFile"))
        out = parse_vtk_surface_text(text, path);
    else if (first_data.starts_with("GOCAD") || ends_with(path, ".ts"))
        out = parse_tsurf_text(text, path);
    else if (ends_with(path, ".vtk"))
        out = parse_vtk_surface_text(text, path);
    else
        out = parse_obj_surface_text(text, path);
    if (out.empty() && warn)
        warn(path + ": the file holds no triangle");
    return out;
}

std::vector<horizon> read_horizon_file(const std::string& path, const warn_fn& warn) {
    return reading_file(path, [&] {
        const std::optional<std::string> text = read_text_file(path);
        if (!text)
            throw open_error(path, ENOENT);
        return parse_horizon_text(*text, path, warn);
    });
}

std::string horizons_to_tsurf(const std::vector<horizon>& horizons) {
    std::string out;
    for (const horizon& h : horizons) {
        out += "GOCAD TSurf 1\nHEADER {\nname: " + tsurf_name(h.name) +
               "\n}\nGOCAD_ORIGINAL_COORDINATE_SYSTEM\nNAME Default\nAXIS_NAME \"X\" \"Y\" "
               "\"Z\"\nZPOSITIVE Elevation\nEND_ORIGINAL_COORDINATE_SYSTEM\nTFACE\n";
        for (std::size_t i = 0; i < h.vertices.size(); ++i)
            append_point(out, ("VRTX " + std::to_string(i + 1)).c_str(), h.vertices[i]);
        for (const triangle& t : h.triangles)
            out += "TRGL " + std::to_string(t[0] + 1) + " " + std::to_string(t[1] + 1) + " " +
                   std::to_string(t[2] + 1) + "\n";
        out += "END\n";
    }
    return out;
}

std::string horizons_to_obj(const std::vector<horizon>& horizons) {
    std::string out = "# tolvex horizons\n";
    std::size_t base = 1; // OBJ counts vertices from 1 across the whole file
    for (const horizon& h : horizons) {
        out += "g " + h.name + "\n";
        for (const vec3& v : h.vertices)
            append_point(out, "v", v);
        for (const triangle& t : h.triangles)
            out += "f " + std::to_string(base + t[0]) + " " + std::to_string(base + t[1]) + " " +
                   std::to_string(base + t[2]) + "\n";
        base += h.vertices.size();
    }
    return out;
}

std::string horizons_to_vtk(const std::vector<horizon>& horizons) {
    surface_set set;
    set.surfaces = horizons;
    set.cell_data.push_back({"horizon", {}});
    for (std::size_t k = 0; k < horizons.size(); ++k) {
        set.cell_data[0].second.insert(set.cell_data[0].second.end(), horizons[k].triangles.size(),
                                       static_cast<int>(k));
        set.names.push_back(horizons[k].name);
    }
    set.names_of = "horizon";
    return surfaces_to_vtk(set);
}

std::string surfaces_to_vtk(const surface_set& set, const vec3* centre) {
    std::size_t points = 0, triangles = 0;
    for (const horizon& h : set.surfaces) {
        points += h.vertices.size();
        triangles += h.triangles.size();
    }
    std::string out = "# vtk DataFile Version 3.0\ntolvex surfaces\nASCII\nDATASET POLYDATA\n"
                      "FIELD FieldData " +
                      std::to_string(centre ? 2 : 1) + "\n";
    if (centre)
        append_point(out, "centre 3 1 double\n", *centre);
    out += set.names_of + "_name 1 " + std::to_string(set.names.size()) + " string\n";
    for (const std::string& name : set.names)
        out += vtk_string(name) + "\n";
    out += "POINTS " + std::to_string(points) + " double\n";
    for (const horizon& h : set.surfaces)
        for (const vec3& v : h.vertices)
            append_point(out, "", v);
    out += "POLYGONS " + std::to_string(triangles) + " " + std::to_string(4 * triangles) + "\n";
    std::size_t base = 0;
    for (const horizon& h : set.surfaces) {
        for (const triangle& t : h.triangles)
            out += "3 " + std::to_string(base + t[0]) + " " + std::to_string(base + t[1]) + " " +
                   std::to_string(base + t[2]) + "\n";
        base += h.vertices.size();
    }
    out += "CELL_DATA " + std::to_string(triangles) + "\n";
    for (const auto& [name, values] : set.cell_data) {
        out += "SCALARS " + name + " int 1\nLOOKUP_TABLE default\n";
        for (int v : values)
            out += std::to_string(v) + "\n";
    }
    return out;
}

} // namespace tolvex
