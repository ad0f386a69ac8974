// The one table of the file formats the programs read and write, by their endings, and what each
// can hold. tolvex-batch's option checks and help, Python's save_* functions, the desktop's file
// dialogs and the documents all take their endings from it; adding a format adds a row.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvex {

enum class format_id { tsurf, obj, vtk, vtp, vset, png, svg, pdf, pline, csv, efd, txt };

// What a file can hold, one bit each, so that a row names all it holds at once and an option
// that takes either of two contents asks for their union.
namespace holds {
constexpr unsigned horizons = 1u << 0;
constexpr unsigned fault_surfaces = 1u << 1;
constexpr unsigned blocks = 1u << 2;
constexpr unsigned tracer_points = 1u << 3;
constexpr unsigned section = 1u << 4;         // the section as data (VTK)
constexpr unsigned section_drawing = 1u << 5; // drawn for a report
constexpr unsigned picture = 1u << 6;         // the viewer's picture
constexpr unsigned cutoffs = 1u << 7;         // the lines where horizons meet fault walls
constexpr unsigned separations = 1u << 8;     // throw and heave along each fault, a table
constexpr unsigned fault_data = 1u << 9;      // faults, a line each
constexpr unsigned fault_table = 1u << 10;    // faults by dip direction, dip and rake
} // namespace holds

struct file_format {
    format_id id;
    std::string_view ending; // with its dot, lower case
    unsigned reads = 0;      // what a file of this format is read as (holds::)
    unsigned writes = 0;     // what is written in this format (holds::)
    bool any_case = false;   // the ending matches in upper case too (the pictures and drawings)
};

// The row of path's ending when it can write one of contents (holds:: bits), else none.
const file_format* written_format(std::string_view path, unsigned contents);

// The row of path's ending when a file of it is read as one of contents, else none.
const file_format* read_format(std::string_view path, unsigned contents);

// The endings that can write one of contents, and those read as one of contents, in table order.
std::vector<std::string_view> written_endings(unsigned contents);
std::vector<std::string_view> read_endings(unsigned contents);

// endings as text: ".ts, .obj or .vtk".
std::string endings_text(const std::vector<std::string_view>& endings);

} // namespace tolvex
