#include "formats/fault_file.hpp"

#include "formats/fault_table.hpp"
#include "io/input_error.hpp"
#include "io/name_text.hpp"
#include "io/number_text.hpp"
#include "io/text_fields.hpp"
#include "io/text_lines.hpp"
#include "model/fault_label.hpp"
#include "model/fault_orientation.hpp"

#include <algorithm>
#include <cmath>

namespace tolvex {

namespace {

constexpr std::size_t field_count = 18;

// Names of fields 1 to 18, for the errors.
constexpr const char* field_names[field_count] = {
    "label",   "plane azimuth", "plane inclination", "slip azimuth", "slip plunge",
    "tag",     "identifier",    "slip magnitude",    "slip x",       "slip y",
    "slip z",  "normal x",      "normal y",          "normal z",     "point x",
    "point y", "point z",       "sequence number"};

// Reads the fields of one data line, each by its 1-based number.
class field_reader {
  public:
    field_reader(const std::vector<std::string>& fields, const line_ref& at)
        : fields_(fields), at_(at) {}
    const std::string& text(std::size_t n) const { return fields_[n - 1]; }
    double number(std::size_t n) const { return number_value(text(n), at_, name(n)); }
    int integer(std::size_t n) const { return integer_value(text(n), at_, name(n)); }
    // A label or tag, written into the lines of surface files and drawings.
    const std::string& name_field(std::size_t n) const {
        if (has_control_char(text(n)))
            throw input_error(at_.path, at_.line, control_char_reason(name(n), text(n)));
        return text(n);
    }
    // Converted one after the other, so the first bad field in the line is the one named.
    vec3 vector(std::size_t first) const {
        const double x = number(first);
        const double y = number(first + 1);
        return make_vec3(x, y, number(first + 2));
    }
    static std::string name(std::size_t n) {
        return "field " + std::to_string(n) + " (" + field_names[n - 1] + ")";
    }

  private:
    const std::vector<std::string>& fields_;
    const line_ref& at_;
};

// The run moves blocks by slip_dir * slip_mag; a product beyond the double range would carry
// infinities into the model.
void check_slip(const fault& result, const field_reader& f, const line_ref& at) {
    for (int k = 0; k < 3; ++k)
        if (!std::isfinite(result.slip_dir[k] * result.slip_mag))
            throw input_error(at.path, at.line,
                              field_reader::name(8) + ": " + quoted_text(f.text(8)) +
                                  " times the slip direction (fields 9 to 11) is too large");
}

// A fault needs a direction to move in and a plane to cut along; a zero vector has neither.
void check_direction(const vec3& v, std::size_t first, const char* what, const field_reader& f,
                     const line_ref& at) {
    if (v[0] == 0.0 && v[1] == 0.0 && v[2] == 0.0)
        throw input_error(at.path, at.line,
                          "fields " + std::to_string(first) + " to " + std::to_string(first + 2) +
                              " (" + what + "): " + quoted_text(f.text(first)) + ", " +
                              quoted_text(f.text(first + 1)) + ", " +
                              quoted_text(f.text(first + 2)) + " is the zero vector");
}

// line is trimmed (white space at both ends, a tab included) before it is cut at tabs, so an
// indented line reads like any other; two tabs in a row still give an empty field.
fault parse_fault_line(std::string_view line, const line_ref& at) {
    const std::vector<std::string> fields = split_fields(line, '\t');
    if (fields.size() < field_count)
        throw input_error(at.path, at.line,
                          std::to_string(field_count) + " tab-separated fields needed, " +
                              std::to_string(fields.size()) + " found");
    const field_reader f(fields, at);
    fault result;
    result.name = f.name_field(1);
    result.plane_angles = {f.number(2), f.number(3)};
    result.slip_angles = {f.number(4), f.number(5)};
    result.tag = f.name_field(6);
    result.id = f.integer(7);
    result.slip_mag = f.number(8);
    // The file gives the forward slip; the record holds the restoring one.
    result.slip_dir = -f.vector(9);
    check_direction(result.slip_dir, 9, "slip direction", f, at);
    check_slip(result, f, at);
    result.normal = f.vector(12);
    check_direction(result.normal, 12, "plane normal", f, at);
    result.point = f.vector(15);
    set_order(result, f.integer(18));
    return result;
}

} // namespace

std::vector<fault> parse_fault_text(const std::string& text, const std::string& path,
                                    const warn_fn& warn) {
    std::vector<fault> faults;
    for_each_line(text, [&](std::string_view line, int number) {
        const std::string_view trimmed = trim_blanks(line);
        if (trimmed.empty() || trimmed.front() == '#')
            return;
        faults.push_back(parse_fault_line(trimmed, line_ref{path, number}));
        // The list shows the angles and the run uses the vectors: they must tell the same story.
        if (warn)
            if (const auto gap = angle_disagreement(faults.back()))
                warn(path + ":" + std::to_string(number) + ": " + *gap);
    });
    // Stable, so faults with the same sequence number keep their file order.
    std::stable_sort(faults.begin(), faults.end(), sortobj_descending());
    return faults;
}

std::optional<std::vector<fault>> read_fault_file(const std::string& path, const warn_fn& warn,
                                                  const fault_planes* planes) {
    return reading_file(path, [&]() -> std::optional<std::vector<fault>> {
        const std::optional<std::string> text = read_text_file(path);
        if (!text)
            return std::nullopt;
        if (is_fault_table_path(path))
            return parse_fault_table(*text, path, warn, planes);
        return parse_fault_text(*text, path, warn);
    });
}

namespace {

// A field the reader gives back as written: no tab or line break inside, nothing trimmed off.
bool keeps_as_field(const std::string& text) {
    return text.find_first_of("\t\n\r\v\f") == std::string::npos &&
           trim_blanks(text).size() == text.size();
}

void append_vector(std::string& line, const vec3& v) {
    for (int k = 0; k < 3; ++k) {
        line += '\t';
        append_shortest(line, v[k]);
    }
}

} // namespace

std::string fault_file_text(const std::vector<fault>& faults) {
    std::string text = "# name\tplane az\tplane dip\tslip az\tslip plunge\ttag\tid\tslip\tslip "
                       "x\tslip y\tslip z\tnormal x\tnormal y\tnormal z\tpoint x\tpoint y\tpoint "
                       "z\tsequence\n";
    for (const fault& f : faults) {
        // An empty first field would vanish with the line's leading white space.
        if (f.name.empty() || f.name.front() == '#' || !keeps_as_field(f.name) ||
            !keeps_as_field(f.tag))
            throw output_error(fault_label(f) +
                               ": a fault data file needs a name that is not empty and does not "
                               "start with \"#\", and a name and tag without tabs, line breaks or "
                               "white space at their ends");
        std::string line = f.name;
        for (const double a :
             {f.plane_angles[0], f.plane_angles[1], f.slip_angles[0], f.slip_angles[1]}) {
            line += '\t';
            append_shortest(line, a);
        }
        line += '\t' + f.tag + '\t' + std::to_string(f.id) + '\t';
        append_shortest(line, f.slip_mag);
        // The record holds the restoring slip; the file gives the forward one.
        append_vector(line, -f.slip_dir);
        append_vector(line, f.normal);
        append_vector(line, f.point);
        text += line + '\t' + std::to_string(f.order) + '\n';
    }
    return text;
}

std::string faults_text_for(const std::string& path, const std::vector<fault>& faults) {
    try {
        return is_fault_table_path(path) ? fault_table_text(faults) : fault_file_text(faults);
    } catch (const output_error& e) {
        throw output_error(path + ": " + e.what());
    }
}

std::string fault_list_line(const fault& f) {
    // The tag is appended as it is: %s would stop at a NUL byte.
    return integer_text(f.id, 10) + " " + fixed_text(f.plane_angles[0], 1, 5) + " " +
           fixed_text(f.plane_angles[1], 1, 4) + " " + fixed_text(f.slip_angles[0], 1, 5) + " " +
           fixed_text(f.slip_angles[1], 1, 4) + " " + f.tag + " " + integer_text(f.order, 5);
}

} // namespace tolvex
