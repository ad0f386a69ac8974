#include "tracer_file.hpp"

#include "input_error.hpp"
#include "text_fields.hpp"
#include "text_lines.hpp"

namespace tolvex {

namespace {

// Takes x or y off the front of line: the value runs up to the first blank, and the character
// just before that blank (normally the comma) is dropped. line is trimmed, so a blank is never
// its first character; line keeps the trimmed rest.
double take_value(std::string_view& line, const line_ref& at, const char* name) {
    const std::size_t blank = line.find(' ');
    const std::string_view text =
        blank == std::string_view::npos ? line : line.substr(0, blank - 1);
    const double value = number_value(text, at, name);
    if (blank == std::string_view::npos)
        throw input_error(at.path, at.line,
                          "fewer than three values (a blank must follow x and y)");
    line = trim_blanks(line.substr(blank));
    return value;
}

vec3 parse_tracer_line(std::string_view line, const line_ref& at) {
    const double x = take_value(line, at, "x");
    const double y = take_value(line, at, "y");
    // z is the whole rest, so a fourth value makes it fail.
    const double z = number_value(line, at, "z");
    return make_vec3(x, y, z);
}

} // namespace

void parse_tracer_text(const std::string& text, const std::string& path, double radius,
                       point_list& out) {
    out.clear();
    for_each_line(text, [&](std::string_view raw, int number) {
        const std::string_view line = trim_blanks(raw);
        if (line.empty() || line.front() == '#')
            return;
        out.push_back(parse_tracer_line(line, line_ref{path, number}) * radius);
    });
}

bool read_tracer_file(const std::string& path, double radius, point_list& out) {
    const std::optional<std::string> text = read_text_file(path);
    if (!text)
        return false;
    parse_tracer_text(*text, path, radius, out);
    return true;
}

} // namespace tolvex
