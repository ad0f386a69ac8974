// A step of a run as a vertical cross-section: the step is cut again from the run's own faults
// with each face's source kept, so the sides where blocks meet are named by their fault.
#pragma once

#include "model/model_run.hpp"
#include "model/section.hpp"

#include <optional>
#include <stdexcept>
#include <string_view>

namespace tolvex {

struct section_request {
    section_line line;          // the map line, in the boundary file's coordinates
    std::optional<double> band; // tracers this near the plane are shown; default 1 % of the line
};

// A section that cannot be drawn: a line without length, or one that misses the model.
class section_error : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

// "X0,Y0,X1,Y1" as a map line (blanks around the numbers allowed), or nullopt when it is not
// four finite numbers.
std::optional<section_line> section_line_from_text(std::string_view text);

// The section of step `step` (0 to the fault count) of run `run` of result, which run_model
// made from loaded (as it gave them) and tracers (relative to the boundary's centre), from the
// line's start to its end. Corners and traces are (distance along the line from its start,
// elevation) in the boundary file's units; the title is the step's label. The horizon traces are
// those of the horizons the run carries as they lie in the step's blocks (named all of result's
// horizons, none when the run carries none). Throws section_error.
section run_section(const model_result& result, const std::vector<fault>& loaded,
                    const point_list& tracers, run_kind run, std::size_t step,
                    const section_request& request);

} // namespace tolvex
