// Fault tables: faults in a geologist's terms, one CSV row per fault under a header row that
// names the columns in any order (id, name, tag, sequence, x, y, z, dip_direction, dip, and rake
// or slip_azimuth and slip_plunge, and slip). The side that moves is the hanging wall.
#pragma once

#include "geometry/fault.hpp"
#include "io/input_error.hpp"
#include "model/plane_fit.hpp"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tolvex {

// One fault as a table row gives it; angles in degrees (fault_orientation.hpp), the slip given
// either by its rake or by the azimuth and plunge of the hanging wall's forward motion.
struct fault_terms {
    int id = 0;
    std::string name;
    std::string tag;
    int sequence = 0;
    vec3 point = make_vec3(0.0, 0.0, 0.0);
    double dip_direction = 0.0;
    double dip = 0.0;
    std::optional<double> rake;
    std::optional<double> slip_azimuth;
    std::optional<double> slip_plunge;
    double slip = 0.0;
};

// A value of fault_terms that makes no fault; term() is its column's name.
class fault_terms_error : public std::invalid_argument {
  public:
    fault_terms_error(std::string term, const std::string& reason)
        : std::invalid_argument(reason), term_(std::move(term)) {}
    const std::string& term() const { return term_; }

  private:
    std::string term_;
};

// Slips further than this many degrees out of their plane are refused; closer ones are projected
// into it, with a warning beyond slip_rounding_tolerance (what rounding in a table explains).
inline constexpr double slip_plane_tolerance = 0.5;
inline constexpr double slip_rounding_tolerance = 0.05;

// The fault the terms describe: an upward unit normal, a unit slip direction in the plane, and the
// angles that agree with them. Throws fault_terms_error for an angle out of its range (dip 0 to
// 90, azimuths 0 to 360, plunge -90 to 90, rake -180 to 180), a negative slip, both or neither of
// rake and slip_azimuth/slip_plunge, and a slip too far out of the plane. warn, when set, is told
// of a slip projected into the plane.
fault fault_from_terms(const fault_terms& t, const warn_fn& warn = {});

// text as a CSV cell that reads back as it: quoted when it holds a comma, a quote, blanks at its
// ends or a leading "#".
std::string csv_cell(const std::string& text);

// Whether path names a fault table (it ends in ".csv", in any case).
bool is_fault_table_path(const std::string& path);

// The faults of the table text read from path (which only names it in messages), sorted by
// descending sequence number. With planes, a row whose "surface" cell (or, without one, whose
// name) names a plane takes its dip direction, dip and point from it; the table then needs no
// dip_direction, dip, x, y or z columns for such rows. Blank lines and lines starting with "#" are
// skipped; the first other line is the header. Throws input_error naming the line and column of the
// first bad cell, a missing column, or a row whose cells do not match the header. warn receives
// "path:line: reason" for each slip projected into its plane by more than slip_rounding_tolerance.
std::vector<fault> parse_fault_table(const std::string& text, const std::string& path,
                                     const warn_fn& warn = {},
                                     const fault_planes* planes = nullptr);

// The table that reads back as faults (id, name, tag, sequence, x, y, z, dip_direction, dip, rake,
// slip), numbers in their shortest exact text. Throws output_error naming a fault whose normal
// points down (its footwall moves, which a table cannot say) or whose name or tag holds a line
// break.
std::string fault_table_text(const std::vector<fault>& faults);

// The cells of fault_table_text(faults): the header, then one row per fault. Throws as it does.
std::vector<std::vector<std::string>> fault_table_rows(const std::vector<fault>& faults);

// The faults of a table given as cells (a header row first), read as parse_fault_table reads the
// table's text: errors name the row as a line, the header being line 1, and the table as path.
std::vector<fault> faults_from_rows(const std::vector<std::vector<std::string>>& rows,
                                    const std::string& path, const warn_fn& warn = {});

} // namespace tolvex
