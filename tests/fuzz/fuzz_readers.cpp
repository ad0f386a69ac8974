// One libFuzzer target per reader, chosen by TOLVEX_FUZZ_READER at compile time, and one per
// horizon writer that writes what a reader made of the input and reads it back. Any input must
// end in data or input_error; anything else (a crash, a sanitizer report, another exception, a
// horizon that does not come back) is a finding.
#include "config/tolvex_conf.hpp"
#include "formats/boundary_file.hpp"
#include "formats/fault_file.hpp"
#include "formats/fault_table.hpp"
#include "formats/horizon_file.hpp"
#include "formats/tracer_file.hpp"
#include "io/input_error.hpp"
#include "io/name_text.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace tolvex;

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

// What a reader hands on: named surfaces of triangles whose corners exist and differ, and names
// that can be written into a line.
[[maybe_unused]] void check_horizons(const std::vector<horizon>& horizons) {
    for (const horizon& h : horizons) {
        check(!h.name.empty() && !has_control_char(h.name) && !h.triangles.empty());
        const auto count = static_cast<int>(h.vertices.size());
        for (const triangle& t : h.triangles) {
            for (const int i : t)
                check(i >= 0 && i < count);
            check(t[0] != t[1] && t[1] != t[2] && t[0] != t[2]);
        }
    }
}

// A surface's triangles by their corners' coordinates: what a writer must keep.
[[maybe_unused]] std::vector<std::array<double, 9>> corners(const horizon& h) {
    std::vector<std::array<double, 9>> out;
    for (const triangle& t : h.triangles) {
        std::array<double, 9> c{};
        for (int k = 0; k < 9; ++k)
            c[static_cast<std::size_t>(k)] = h.vertices[static_cast<std::size_t>(t[k / 3])][k % 3];
        out.push_back(c);
    }
    return out;
}

void read_input(const std::string& text) {
#if TOLVEX_FUZZ_READER == 1
    tolvex_conf conf;
    conf.read_text(text, "tolvex.conf");
    check(conf.loaded && conf.tracer_radius != 0.0);
#elif TOLVEX_FUZZ_READER == 2
    const std::vector<fault> faults = parse_fault_text(text, "faults.efd");
    check(std::is_sorted(faults.begin(), faults.end(), sortobj_descending()));
#elif TOLVEX_FUZZ_READER == 3
    const block b = parse_boundary_text(text, "boundary");
    const auto count = static_cast<int>(b.vertices.size());
    for (const face& f : b.faces)
        for (const int i : f.indices)
            check(i >= 0 && i < count);
#elif TOLVEX_FUZZ_READER == 4
    point_list points;
    parse_tracer_text(text, "tracers", 100.0, points);
#elif TOLVEX_FUZZ_READER == 5
    check_horizons(parse_tsurf_text(text, "h.ts"));
#elif TOLVEX_FUZZ_READER == 6
    check_horizons(parse_obj_surface_text(text, "h.obj"));
#elif TOLVEX_FUZZ_READER == 7
    check_horizons(parse_vtk_surface_text(text, "h.vtk"));
#elif TOLVEX_FUZZ_READER == 11
    // A fault table, and what the table writer makes of it read back to the same faults.
    const std::vector<fault> faults = parse_fault_table(text, "faults.csv");
    std::string written;
    try {
        written = fault_table_text(faults);
    } catch (const output_error&) {
        return; // a fault the table form cannot hold is refused by name, not written
    }
    const std::vector<fault> back = parse_fault_table(written, "back.csv");
    check(back.size() == faults.size());
    for (std::size_t k = 0; k < faults.size(); ++k)
        check(back[k].id == faults[k].id && back[k].order == faults[k].order);
#else
    // Whatever the input is read as, the writer's file reads back to the same surfaces.
    const std::vector<horizon> read = parse_horizon_text(text, "h.in");
#if TOLVEX_FUZZ_READER == 8
    const std::vector<horizon> back = parse_horizon_text(horizons_to_tsurf(read), "b.ts");
#elif TOLVEX_FUZZ_READER == 9
    const std::vector<horizon> back = parse_horizon_text(horizons_to_obj(read), "b.obj");
#else
    const std::vector<horizon> back = parse_horizon_text(horizons_to_vtk(read), "b.vtk");
#endif
    check(back.size() == read.size());
    for (std::size_t k = 0; k < read.size(); ++k)
        check(back[k].name == read[k].name && corners(back[k]) == corners(read[k]));
#endif
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        read_input(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const input_error& e) {
        // A line, or 0 for what concerns the whole file (an empty boundary file, say).
        check(e.line() >= 0 && !std::string(e.what()).empty());
    }
    return 0;
}
