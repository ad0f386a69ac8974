// Values beyond the range of a double are errors naming where they come from, never infinities
// in the output, and a run that runs out of memory says how far it got.
#include "config/tolvex_conf.hpp"
#include "formats/boundary_file.hpp"
#include "formats/fault_file.hpp"
#include "formats/tracer_file.hpp"
#include "model/model_run.hpp"
#include "tests/support/box.hpp"
#include "tests/support/error_text.hpp"

#include <gtest/gtest.h>

#include <new>

using namespace tolvex;

namespace {

// A fault whose upper side (z above height) moves along +x by slip in the restoration run.
fault horizontal_fault(int id, double height, double slip) {
    fault f;
    f.id = id;
    set_order(f, id);
    f.slip_dir = make_vec3(1, 0, 0);
    f.slip_mag = slip;
    f.point = make_vec3(0, 0, height);
    return f;
}

block cube() {
    return parse_boundary_text(box_boundary(make_vec3(-1, -1, -1), make_vec3(1, 1, 1)), "cube");
}

// The run_aborted text of a run, or "" when it goes through.
std::string abort_text(const std::vector<fault>& faults, const step_fn& on_step = {}) {
    try {
        run_model(cube(), faults, {make_vec3(0, 0, 0.75)}, {.on_step = on_step});
    } catch (const run_aborted& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(ValueRange, InputScaledBeyondTheDoubleRangeIsAnErrorAtItsLine) {
    point_list tracers;
    EXPECT_EQ(error_text([&] { parse_tracer_text("0, 0, 0\n1e300, 0, 0\n", "t", 1e10, tracers); }),
              "t:2: x: \"1e300\" times the tracer radius 1e+10 is too large");
    EXPECT_EQ(error_text([&] { parse_tracer_text("1, 2, 3", "t", 1e308, tracers); }),
              "t:1: y: \"2\" times the tracer radius 1e+308 is too large");

    const std::string slip = "f\t0\t0\t0\t0\tt\t1\t1e300\t1e300\t0\t0\t0\t0\t1\t0\t0\t0\t1";
    EXPECT_EQ(error_text([&] { parse_fault_text(slip, "f.efd"); }),
              "f.efd:1: field 8 (slip magnitude): \"1e300\" times the slip direction (fields 9 "
              "to 11) is too large");

    tolvex_conf conf;
    conf.read_text("TRACER_RADIUS=1e-320\n", "tolvex.conf");
    ASSERT_EQ(conf.problems.size(), 1u);
    EXPECT_STREQ(conf.problems[0].what(),
                 "tolvex.conf:1: TRACER_RADIUS=: \"1e-320\" is too close to 0");
}

// Two slips of 1.5e308 carry the top of the cube beyond the double range at the second fault of
// the restoration run (the older one, fault 1).
TEST(ValueRange, ARunWhoseCoordinatesOverflowStopsNamingTheFault) {
    EXPECT_EQ(abort_text({horizontal_fault(2, 0.5, 1.5e308), horizontal_fault(1, 0, 1.5e308)}),
              "The model's coordinates are no longer finite after fault 1 (sequence 1) in the "
              "restoration run: a slip or a position is too large.");
    EXPECT_EQ(abort_text({horizontal_fault(2, 0.5, 1), horizontal_fault(1, 0, 1)}), "");
}

TEST(ValueRange, RunningOutOfMemoryNamesTheFaultReachedAndTheBlockCount) {
    const std::vector<fault> faults{horizontal_fault(2, 0.5, 1), horizontal_fault(1, 0, 1)};
    const auto fail_at = [](run_kind kind, std::size_t step) {
        return [=](const run_step& s) {
            if (s.run == kind && s.step == step)
                throw std::bad_alloc();
        };
    };
    EXPECT_EQ(abort_text(faults, fail_at(run_kind::forward, 1)),
              "Out of memory in the forward run at fault 2 (sequence 2), step 2 of 2, with 2 "
              "blocks.");
    EXPECT_EQ(abort_text(faults, fail_at(run_kind::restoration, 0)),
              "Out of memory in the restoration run at fault 2 (sequence 2), step 1 of 2, with 1 "
              "block.");
}
