#include "formats/section_export.hpp"

#include "formats/block_export.hpp"
#include "io/number_text.hpp"

#include <algorithm>
#include <cmath>

namespace tolvex {

namespace {

// (u, z) on the panel's line back in the boundary file's coordinates.
void append_point(std::string& out, const section_line& l, const section_point& p) {
    const double length = std::hypot(l.x1 - l.x0, l.y1 - l.y0);
    const double t = length > 0.0 ? p[0] / length : 0.0;
    for (const double x : {l.x0 + t * (l.x1 - l.x0), l.y0 + t * (l.y1 - l.y0), p[1]}) {
        append_shortest(out, x);
        out += ' ';
    }
    out.back() = '\n';
}

struct cell_data {
    std::vector<int> panel, block, fault, horizon;
};

} // namespace

std::string sections_to_vtk(const std::vector<section>& panels) {
    std::string points, polygons, lines;
    std::size_t point_count = 0, polygon_ints = 0, line_count = 0;
    cell_data polygon_cells, line_cells;
    for (std::size_t k = 0; k < panels.size(); ++k) {
        const section& s = panels[k];
        for (const section_polygon& p : s.blocks) {
            polygons += std::to_string(p.corners.size());
            for (const section_point& c : p.corners) {
                append_point(points, s.line, c);
                polygons += " " + std::to_string(point_count++);
            }
            polygons += '\n';
            polygon_ints += 1 + p.corners.size();
            polygon_cells.panel.push_back(static_cast<int>(k));
            polygon_cells.block.push_back(p.block);
            polygon_cells.fault.push_back(-1);
            polygon_cells.horizon.push_back(-1);
        }
        const auto add_lines = [&](const std::vector<section_trace>& traces, bool faults) {
            for (const section_trace& t : traces) {
                append_point(points, s.line, t.a);
                append_point(points, s.line, t.b);
                lines += "2 " + std::to_string(point_count) + " " +
                         std::to_string(point_count + 1) + "\n";
                point_count += 2;
                ++line_count;
                line_cells.panel.push_back(static_cast<int>(k));
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
    out += "FIELD FieldData 2\nfault_label 1 " + std::to_string(faults.size()) + " string\n";
    for (const std::string& name : faults)
        out += vtk_string(name) + "\n";
    out += "horizon_name 1 " + std::to_string(horizons.size()) + " string\n";
    for (const std::string& name : horizons)
        out += vtk_string(name) + "\n";
    out += "POINTS " + std::to_string(point_count) + " double\n" + points;
    out +=
        "LINES " + std::to_string(line_count) + " " + std::to_string(3 * line_count) + "\n" + lines;
    out += "POLYGONS " + std::to_string(polygon_count) + " " + std::to_string(polygon_ints) + "\n" +
           polygons;
    // VTK orders cells lines first, then polygons.
    const std::string cells = std::to_string(line_count + polygon_count);
    out += "CELL_DATA " + cells + "\nFIELD cell_data 4\n";
    const auto scalars = [&](const char* name, const std::vector<int>& a,
                             const std::vector<int>& b) {
        out += std::string(name) + " 1 " + cells + " int\n";
        for (const std::vector<int>* v : {&a, &b})
            for (const int x : *v)
                out += std::to_string(x) + "\n";
    };
    scalars("panel", line_cells.panel, polygon_cells.panel);
    scalars("block", line_cells.block, polygon_cells.block);
    scalars("fault", line_cells.fault, polygon_cells.fault);
    scalars("horizon", line_cells.horizon, polygon_cells.horizon);
    return out;
}

} // namespace tolvex
