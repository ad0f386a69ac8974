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
    section_path path;          // the map line, in the boundary file's coordinates
    std::optional<double> band; // tracers this near a segment's plane are shown; default 1 % of
                                // the line's length
};

// A section that cannot be drawn: a line of fewer than two points, a segment without length, or
// a line that misses the model.
class section_error : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

// Throws section_error when path cannot be a section's line: fewer than two points, a coordinate
// that is not a finite number, two neighbours equal, or a length past what a number holds.
void check_section_path(const section_path& path);

// "X0,Y0,X1,Y1[,X2,Y2...]" as a map line of two points or more (blanks around the numbers
// allowed). Throws section_error saying what is wrong: not an even count of four numbers or more,
// a value that is not a finite number, or a line check_section_path refuses.
section_path section_line_from_text(std::string_view text);

// The section of step `step` (0 to the fault count) of run `run` of result, which run_model
// made from loaded (as it gave them) and tracers (relative to the boundary's centre), from the
// line's start to its end. Corners and traces are (distance along the line from its start,
// elevation) in the boundary file's units; the title is the step's label. The horizon traces are
// those of the horizons the run carries as they lie in the step's blocks (named and numbered as the
// run carries them, none when it carries none). Each segment of a bent line is cut as a straight
// line of its own would be, its distances shifted by the segment's start. Throws section_error,
// also when no segment meets the model.
section run_section(const model_result& result, const std::vector<fault>& loaded,
                    const point_list& tracers, run_kind run, std::size_t step,
                    const section_request& request);

} // namespace tolvex
