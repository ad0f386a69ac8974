#include "formats/cutoff_export.hpp"

#include "formats/fault_table.hpp"
#include "io/number_text.hpp"
#include "model/fault_label.hpp"

#include <map>
#include <tuple>

namespace tolvex {

namespace {

void append_point(std::string& out, const vec3& p, const vec3& centre) {
    for (int k = 0; k < 3; ++k) {
        out += k == 0 ? "" : " ";
        append_shortest(out, p[k] + centre[k]);
    }
}

std::string cutoffs_vtk(const std::vector<run_cutoffs>& runs, const vec3& centre) {
    std::size_t count = 0;
    for (const run_cutoffs& r : runs)
        count += r.segments.size();
    std::string out = "# vtk DataFile Version 3.0\ntolvex cutoff lines\nASCII\nDATASET POLYDATA\n"
                      "POINTS " +
                      std::to_string(2 * count) + " double\n";
    for (const run_cutoffs& r : runs)
        for (const cutoff_segment& s : r.segments) {
            append_point(out, s.from, centre);
            out += '\n';
            append_point(out, s.to, centre);
            out += '\n';
        }
    out += "LINES " + std::to_string(count) + " " + std::to_string(3 * count) + "\n";
    for (std::size_t i = 0; i < count; ++i)
        out += "2 " + std::to_string(2 * i) + " " + std::to_string(2 * i + 1) + "\n";
    out += "CELL_DATA " + std::to_string(count) + "\n";
    const auto column = [&](const char* name, const auto& value_of) {
        out += std::string("SCALARS ") + name + " int 1\nLOOKUP_TABLE default\n";
        for (const run_cutoffs& r : runs)
            for (const cutoff_segment& s : r.segments)
                out += std::to_string(value_of(r, s)) + "\n";
    };
    column("fault",
           [](const run_cutoffs& r, const cutoff_segment& s) { return r.faults[s.fault].id; });
    column("horizon", [](const run_cutoffs&, const cutoff_segment& s) { return s.horizon; });
    column("wall", [](const run_cutoffs&, const cutoff_segment& s) { return s.wall; });
    column("run", [](const run_cutoffs& r, const cutoff_segment&) {
        return r.run == run_kind::forward ? 1 : 0;
    });
    return out;
}

std::string cutoffs_pline(const std::vector<run_cutoffs>& runs,
                          const std::vector<horizon>& horizons, const vec3& centre) {
    std::string out;
    for (const run_cutoffs& r : runs) {
        std::map<std::tuple<std::size_t, std::size_t, int>, std::vector<const cutoff_segment*>>
            lines;
        for (const cutoff_segment& s : r.segments)
            lines[{s.fault, s.horizon, -s.wall}].push_back(&s);
        for (const auto& [key, segments] : lines) {
            const auto& [k, h, wall] = key;
            out += "GOCAD PLine 1\nHEADER {\nname:" + std::string(run_state_word(r.run)) + " " +
                   fault_short_label(r.faults[k]) + " " + horizons[h].name +
                   (wall < 0 ? " hanging wall" : " footwall") + "\n}\n";
            int vertex = 0;
            for (const cutoff_segment* s : segments) {
                out += "ILINE\nVRTX " + std::to_string(++vertex) + " ";
                append_point(out, s->from, centre);
                out += "\nVRTX " + std::to_string(++vertex) + " ";
                append_point(out, s->to, centre);
                out += "\nSEG " + std::to_string(vertex - 1) + " " + std::to_string(vertex) + "\n";
            }
            out += "END\n";
        }
    }
    return out;
}

} // namespace

std::string cutoffs_text(const std::string& path, const std::vector<run_cutoffs>& runs,
                         const std::vector<horizon>& horizons, const vec3& centre) {
    return path.ends_with(".pl") ? cutoffs_pline(runs, horizons, centre)
                                 : cutoffs_vtk(runs, centre);
}

std::string separations_csv(const std::vector<run_cutoffs>& runs,
                            const std::vector<horizon>& horizons) {
    std::string out = "run,fault,name,horizon,along_strike,throw,heave,dip_separation\n";
    for (const run_cutoffs& r : runs)
        for (const separation& s : r.separations) {
            const fault& f = r.faults[s.fault];
            out += std::string(run_state_word(r.run)) + "," + std::to_string(f.id) + "," +
                   csv_cell(f.name) + "," + csv_cell(horizons[s.horizon].name);
            for (const double v : {s.along, s.throw_distance, s.heave, s.dip_separation}) {
                out += ',';
                append_shortest(out, v);
            }
            out += '\n';
        }
    return out;
}

} // namespace tolvex
