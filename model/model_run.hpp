// The model run as a function: a boundary, the loaded faults and the initial tracers in; the
// restored and the forward model out. Reads and writes nothing but its arguments.
#pragma once

#include "geometry/block.hpp"
#include "geometry/cut_block.hpp"
#include "geometry/fault.hpp"
#include "geometry/horizon.hpp"
#include "geometry/horizon_pieces.hpp"
#include "model/run_kind.hpp"

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tolvex {

// A run that cannot go on; what() is the text to show the user under the caption "ABORT".
class run_aborted : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The model after one cutting run: its blocks, its tracers and its faults with their points
// where the run left them.
struct run_state {
    std::vector<block> blocks; // empty when the caller did not keep them
    point_list tracers;
    std::vector<fault> faults;
    std::size_t block_count = 0; // how many blocks the run ended with, also when not kept
    horizon_pieces horizons;     // the pieces of the run's horizons in its final blocks
    horizon_set carried = horizon_set::none; // which horizons the run carried
};

// Which runs' final blocks run_model builds. Building them takes a fifth of a run's time and
// most of its memory; a caller that saves only tracers or fault points can do without.
struct kept_blocks {
    bool restored = true;
    bool forward = true;
};

struct model_result {
    vec3 centre = make_vec3(0.0, 0.0, 0.0); // the boundary's vertex mean, taken off everything
    block boundary;                // the boundary centred on its vertex mean, without indices
    run_state restored;            // the restoration run: faults youngest first, slip as stored
    run_state forward;             // the forward run: oldest first, slip as the file gives it
    std::vector<horizon> horizons; // as given, less the centre: where both runs start
    std::vector<horizon_set> horizon_sets;     // for each of horizons, the runs that carry it
    std::vector<std::string> warnings;         // doubtful faults, used as given; planes that miss
    std::vector<std::string> horizon_warnings; // horizons of which nothing lies inside the boundary
};

// One state of a cutting run: step 0 is the centred boundary with the initial tracers (applied is
// null), step k (1..n) the model after the k-th fault of that run, which applied points to (in
// the run's fault list, with the point as it stood when the fault cut). The references are valid
// only during the call.
struct run_step {
    run_kind run;
    std::size_t step;
    std::size_t step_count; // n, the number of faults of the run
    const fault* applied;
    const std::vector<block>& blocks;
    const point_list& tracers;
    vec3 centre = make_vec3(0.0, 0.0, 0.0);   // the boundary's vertex mean, taken off everything
    const horizon_pieces* horizons = nullptr; // the pieces in the step's blocks, when there are any
    horizon_set carried = horizon_set::none;  // which horizons the run carries
};
using step_fn = std::function<void(const run_step&)>;

// One state of a cutting run told as what changed since the state before, for a caller that keeps
// its own copy of the blocks (a step_history): far cheaper than run_step, which builds every block
// at every step. Step 0 gives the run's start block, step k (1..n) the report of the k-th fault's
// pass. The references are valid only during the call.
struct run_step_change {
    run_kind run;
    std::size_t step;
    std::size_t step_count;
    const fault* applied;
    const block* start;     // at step 0, else null
    const cut_step* change; // at steps 1..n, else null
    const point_list& tracers;
    const std::vector<horizon>& horizons; // the run's horizons, centred
    vec3 centre = make_vec3(0.0, 0.0, 0.0);
    horizon_set carried = horizon_set::none; // which horizons the run carries
};
using step_change_fn = std::function<void(const run_step_change&)>;

// Called after each fault of either run with the faults both runs have applied so far (1..2n)
// and their total 2n, and again with the same values every few thousand blocks while a run's
// blocks are built. It may throw to stop the run: the exception leaves run_model as thrown, with
// everything the run held freed.
using fault_fn = std::function<void(std::size_t done, std::size_t total)>;

// The forward run's faults from the restored ones: oldest first, with the slip as the file gives
// it, and the fault points where the restoration left them.
std::vector<fault> forward_faults(const std::vector<fault>& restored);

// The centred boundary carrying every one of faults faults and tracers tracers, in increasing
// order: where both cutting runs start.
block start_block(const block& boundary, std::size_t faults, std::size_t tracers);

// What a caller may add to a run; every member may be left out.
struct run_options {
    step_fn on_step{};               // sees every state of both runs, whole blocks at every step
    kept_blocks keep{};              // which runs' final blocks are built
    fault_fn on_fault{};             // told of each fault applied
    std::vector<horizon> horizons{}; // as the files give them, carried through both runs
    step_change_fn on_change{};      // sees every step as what changed, when on_step is not set
    std::vector<horizon> present_horizons{};    // the present-day state: restored only
    std::vector<horizon> undeformed_horizons{}; // the undeformed state: run forward only
};

// The horizons of options in the order a model_result holds them: those for both runs, then the
// present-day, then the undeformed ones.
std::vector<horizon> given_horizons(const run_options& options);

// The horizons that show the present-day state: those for both runs, else the present-day ones.
const std::vector<horizon>& present_day_horizons(const run_options& options);

// result's horizons with those run does not carry left without triangles, so that each keeps its
// place (pieces name their horizon by it); none when the run carries none.
std::vector<horizon> run_horizons(const model_result& result, run_kind run);

// Centres the boundary, the fault points and the horizons on the mean of the boundary's vertices
// (tracers are already relative to that centre and stay as given), then runs the restoration on
// faults (as loaded: descending sequence number, slip_dir as stored) and the forward run on the
// restored faults in reverse order with slip_dir negated. Both runs start from the centred boundary
// and the given tracers and horizons; each run carries the horizons for both runs and its own
// (the restoration the present-day ones, the forward run the undeformed ones), which come out as
// the pieces in its final blocks (which are built for them even when keep leaves the blocks out).
// on_step, when set, sees every step of both runs in order: the restoration's 0..n, then the
// forward run's 0..n. Throws
// run_aborted when the boundary has no vertices, when a run ends with coordinates that are not
// finite (naming the first fault after which they were not), and when memory runs out (naming the
// fault reached and the block count). The blocks of a run that keep leaves out are not built, and
// only its points are checked for overflow. on_fault, when set, is told of each fault applied. A
// horizon of which nothing lies inside the boundary is a horizon warning. on_change, when set and
// on_step is not, sees every step as on_step would, told as what changed. Throws
// std::invalid_argument when options give horizons for both runs and for one of them: a caller
// refuses that first, naming what the user gave.
model_result run_model(block boundary, std::vector<fault> faults, const point_list& tracers,
                       run_options options = {});

} // namespace tolvex
