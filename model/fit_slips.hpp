// Slips from horizons: the slips that restore present-day horizons best, as a plain function from
// the boundary, the faults and the horizons to the fitted faults, how well and how sure.
//
// Each horizon vertex inside the boundary is restored with the faults, youngest first, as a
// tracer would be: a fault's pass moves it when it lies on the side the fault's normal points to.
// For a fixed assignment of the vertices to the faults that moved them, the restored positions are
// linear in the slips; the damped least-squares solution of that problem (Levenberg-Marquardt) is
// restored again, until the assignment stops changing. A vertex weighs a third of the area of the
// triangles it is a corner of; its distance is taken vertically, as horizons are picked.
#pragma once

#include "geometry/block.hpp"
#include "geometry/fault.hpp"
#include "geometry/horizon.hpp"

#include <cstddef>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace tolvex {

// Input the fit cannot start from; what() says why.
class fit_error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What each restored horizon is measured against.
enum class datum_kind {
    regional,   // its own best-fitting plane, which may dip
    horizontal, // its own horizontal plane
    given,      // the elevation given by its name; a horizon not named gets its own level
};

struct fit_options {
    bool fit_rake = false; // each slip vector within its plane, not only its length
    datum_kind datum = datum_kind::regional;
    std::map<std::string, double> elevations; // by horizon name, in the boundary file's z
    std::size_t max_iterations = 30;          // restorations after the first
};

// How far the horizons tell a slip component.
enum class fit_state {
    fitted,
    unconstrained, // no horizon sees it: kept as given
    singular,      // seen only together with others: the minimum-norm value
    held,          // not fitted (the component across the slip direction without fit_rake)
};

// One fault's fit, its slip split into the part along its given slip direction and the part
// across it within its plane (lengths in model units, in the sense the file gives the slip).
struct fault_fit {
    double along = 0.0, along_error = 0.0;
    double across = 0.0, across_error = 0.0;
    fit_state along_state = fit_state::fitted;
    fit_state across_state = fit_state::held;
};

// One horizon's distances from its datum after restoration with the given and the fitted slips.
struct horizon_fit {
    double rms_before = 0.0, largest_before = 0.0;
    double rms_after = 0.0, largest_after = 0.0;
    std::size_t vertices = 0; // inside the boundary and off the fault planes, which the fit used
};

struct fit_result {
    std::vector<fault> faults;          // as given, the slips fitted
    std::vector<fault_fit> fault_table; // in the faults' order
    std::vector<horizon_fit> horizon_table;
    // Of the fitted components, two per fault (along, across) in the faults' order, in squared
    // model units; rows and columns of components not fitted are NaN.
    std::vector<double> covariance;
    std::size_t iterations = 0;   // least-squares solutions
    std::size_t restorations = 0; // of the horizons
    bool converged = false;
    std::string stop_reason;
    std::vector<std::string> notes; // components the horizons cannot tell, by fault
};

// Called after each restoration with the restorations done and their bound, and again with the
// same values between the passes of a restoration. It may throw to stop the fit.
using fit_progress = std::function<void(std::size_t done, std::size_t total)>;

// Fits the slips of faults (as loaded: youngest first, slip_dir as stored) to the present-day
// horizons in boundary. Throws fit_error when the boundary has no vertices, no horizons are given
// or none lies inside the boundary, or the datum names a horizon that is not among them.
fit_result fit_slips(const block& boundary, const std::vector<fault>& faults,
                     const std::vector<horizon>& horizons, const fit_options& options = {},
                     const fit_progress& progress = {});

// The words for a state in the report: "fitted", "unconstrained", "singular", "held".
const char* fit_state_word(fit_state state);

// The report as text: per fault its fitted slip, standard error and state; per horizon its misfit
// before and after; the iterations and why the fit stopped.
std::string fit_report_text(const fit_result& fit, const std::vector<horizon>& horizons);

// The report's closing lines: "<n> iterations, <m> restorations; converged: <why>", then a line
// "note: ..." for each component the horizons cannot tell.
std::string fit_summary_text(const fit_result& fit);

// The labels of the faults with a component the horizons see only together with others, joined
// by ", "; empty when there is none.
std::string singular_fault_labels(const fit_result& fit);

} // namespace tolvex
