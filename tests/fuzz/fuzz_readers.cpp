// One libFuzzer target per reader, chosen by TOLVEX_FUZZ_READER at compile time. Any input must
// end in data or input_error; anything else (a crash, a sanitizer report, another exception)
// is a finding.
#include "config/tolvex_conf.hpp"
#include "formats/boundary_file.hpp"
#include "formats/fault_file.hpp"
#include "formats/tracer_file.hpp"
#include "io/input_error.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace tolvex;

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
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
#else
    point_list points;
    parse_tracer_text(text, "tracers", 100.0, points);
#endif
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        read_input(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const input_error& e) {
        check(e.line() >= 1);
    }
    return 0;
}
