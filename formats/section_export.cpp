#include "formats/section_export.hpp"

#include "formats/block_export.hpp"
#include "io/number_text.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace tolvex {

namespace {

// (u, z) on segment k of the panel's line back in the boundary file's coordinates.
void append_point(std::string& out, const section& s, const std::vector<double>& distances,
                  std::size_t k, const section_point& p) {
    const map_point m = map_point_at(s.path, distances, k, p[0]);
    for (const double x : {m[0], m[1], p[1]}) {
        append_shortest(out, x);
        out += ' ';
    }
    out.back() = '\n';
}

// The segment of the line a polygon or trace lies on, from its middle.
template <class Points>
std::size_t segment_of_points(const std::vector<double>& distances, const Points& points) {
    double low = INFINITY, high = -INFINITY;
    for (const section_point& p : points) {
        low = std::min(low, p[0]);
        high = std::max(high, p[0]);
    }
    return segment_at(distances, (low + high) / 2);
}

struct cell_data {
    std::vector<int> panel, segment, block, fault, horizon;
};

} // namespace

std::string sections_to_vtk(const std::vector<section>& panels) {
    std::string points, polygons, lines;
    std::size_t point_count = 0, polygon_ints = 0, line_count = 0;
    cell_data polygon_cells, line_cells;
    for (std::size_t k = 0; k < panels.size(); ++k) {
        const section& s = panels[k];
        const std::vector<double> distances = distances_of(s.path);
        for (const section_polygon& p : s.blocks) {
            const std::size_t segment = segment_of_points(distances, p.corners);
            polygons += std::to_string(p.corners.size());
            for (const section_point& c : p.corners) {
                append_point(points, s, distances, segment, c);
                polygons += " " + std::to_string(point_count++);
            }
            polygons += '\n';
            polygon_ints += 1 + p.corners.size();
            polygon_cells.panel.push_back(static_cast<int>(k));
            polygon_cells.segment.push_back(static_cast<int>(segment));
            polygon_cells.block.push_back(p.block);
            polygon_cells.fault.push_back(-1);
            polygon_cells.horizon.push_back(-1);
        }
        const auto add_lines = [&](const std::vector<section_trace>& traces, bool faults) {
            for (const section_trace& t : traces) {
                const std::size_t segment =
                    segment_of_points(distances, std::array<section_point, 2>{t.a, t.b});
                append_point(points, s, distances, segment, t.a);
                append_point(points, s, distances, segment, t.b);
                lines += "2 " + std::to_string(point_count) + " " +
                         std::to_string(point_count + 1) + "\n";
                point_count += 2;
                ++line_count;
                line_cells.panel.push_back(static_cast<int>(k));
                line_cells.segment.push_back(static_cast<int>(segment));
                line_cells.block.push_back(-1);
                line_cells.fault.push_back(faults ? t.which : -1);
                line_cells.horizon.push_back(faults ? -1 : t.which);
            }
        };
        add_lines(s.fault_traces, true);
        add_lines(s.horizon_traces, false);
    }
    const std::size_t polygon_count = polygon_cells.panel.size();
    std::string out = "# vtk DataFile Version 3.0\ntolvex sections\nASCII\nDATASET POLYDATA\n";
    // The names "fault" and "horizon" number, once for the file: every panel has the same, or
    // none for a run that carries no horizons.
    const std::vector<std::string> no_names;
    const std::vector<std::string>& faults = panels.empty() ? no_names : panels[0].fault_labels;
    const auto named =
        std::ranges::find_if(panels, [](const section& s) { return !s.horizon_names.empty(); });
    const std::vector<std::string>& horizons =
        named == panels.end() ? no_names : named->horizon_names;
    out += "FIELD FieldData 4\nfault_label 1 " + std::to_string(faults.size()) + " string\n";
    for (const std::string& name : faults)
        out += vtk_string(name) + "\n";
    out += "horizon_name 1 " + std::to_string(horizons.size()) + " string\n";
    for (const std::string& name : horizons)
        out += vtk_string(name) + "\n";
    // The line's points and their distances along it: its ends and, between, its bends.
    const section_path line = panels.empty() ? section_path{} : panels[0].path;
    const std::string n = std::to_string(line.points.size());
    out += "line_point 2 " + n + " double\n";
    for (const map_point& p : line.points) {
        append_shortest(out, p[0]);
        out += ' ';
        append_shortest(out, p[1]);
        out += '\n';
    }
    out += "line_distance 1 " + n + " double\n";
    for (const double d : distances_of(line)) {
        append_shortest(out, d);
        out += '\n';
    }
    out += "POINTS " + std::to_string(point_count) + " double\n" + points;
    out +=
        "LINES " + std::to_string(line_count) + " " + std::to_string(3 * line_count) + "\n" + lines;
    out += "POLYGONS " + std::to_string(polygon_count) + " " + std::to_string(polygon_ints) + "\n" +
           polygons;
    // VTK orders cells lines first, then polygons.
    const std::string cells = std::to_string(line_count + polygon_count);
    out += "CELL_DATA " + cells + "\nFIELD cell_data 5\n";
    const auto scalars = [&](const char* name, const std::vector<int>& a,
                             const std::vector<int>& b) {
        out += std::string(name) + " 1 " + cells + " int\n";
        for (const std::vector<int>* v : {&a, &b})
            for (const int x : *v)
                out += std::to_string(x) + "\n";
    };
    scalars("panel", line_cells.panel, polygon_cells.panel);
    scalars("segment", line_cells.segment, polygon_cells.segment);
    scalars("block", line_cells.block, polygon_cells.block);
    scalars("fault", line_cells.fault, polygon_cells.fault);
    scalars("horizon", line_cells.horizon, polygon_cells.horizon);
    return out;
}

} // namespace tolvex
