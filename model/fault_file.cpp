#include "fault_file.hpp"

#include "input_error.hpp"
#include "text_fields.hpp"
#include "text_format.hpp"
#include "text_lines.hpp"

#include <algorithm>

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
    vec3 vector(std::size_t first) const {
        return make_vec3(number(first), number(first + 1), number(first + 2));
    }

  private:
    static std::string name(std::size_t n) {
        return "field " + std::to_string(n) + " (" + field_names[n - 1] + ")";
    }
    const std::vector<std::string>& fields_;
    const line_ref& at_;
};

fault parse_fault_line(std::string_view line, const line_ref& at) {
    const std::vector<std::string> fields = split_fields(line, '\t');
    if (fields.size() < field_count)
        throw input_error(at.path, at.line,
                          std::to_string(field_count) + " tab-separated fields needed, " +
                              std::to_string(fields.size()) + " found");
    const field_reader f(fields, at);
    fault result;
    result.name = f.text(1);
    result.plane_angles = {f.number(2), f.number(3)};
    result.slip_angles = {f.number(4), f.number(5)};
    result.tag = f.text(6);
    result.id = f.integer(7);
    result.slip_mag = f.number(8);
    // The file gives the forward slip; the record holds the restoring one.
    result.slip_dir = -f.vector(9);
    result.normal = f.vector(12);
    result.point = f.vector(15);
    result.order = f.integer(18);
    result.key = result.order;
    return result;
}

} // namespace

std::vector<fault> parse_fault_text(const std::string& text, const std::string& path) {
    std::vector<fault> faults;
    for_each_line(text, [&](std::string_view raw, int number) {
        const std::string_view line = trim_blanks(raw);
        if (line.empty() || line.front() == '#')
            return;
        faults.push_back(parse_fault_line(line, line_ref{path, number}));
    });
    // Stable, so faults with the same sequence number keep their file order.
    std::stable_sort(faults.begin(), faults.end(), sortobj_descending());
    return faults;
}

std::optional<std::vector<fault>> read_fault_file(const std::string& path) {
    const std::optional<std::string> text = read_text_file(path);
    if (!text)
        return std::nullopt;
    return parse_fault_text(*text, path);
}

std::string fault_list_line(const fault& f) {
    // The tag is appended as it is rather than through %s, which would stop at a NUL byte.
    return format_text("%10d %5.1f %4.1f %5.1f %4.1f ", f.id, f.plane_angles[0], f.plane_angles[1],
                       f.slip_angles[0], f.slip_angles[1]) +
           f.tag + format_text(" %5d", f.order);
}

} // namespace tolvex
