#include "formats/tracer_file.hpp"

#include "io/input_error.hpp"
#include "io/number_text.hpp"
#include "io/text_fields.hpp"
#include "io/text_lines.hpp"

#include <algorithm>
#include <cmath>

namespace tolvex {

namespace {

// text as a number times radius; an error when the product is beyond the double range.
double scaled_value(std::string_view text, double radius, const line_ref& at, const char* name) {
    const double value = number_value(text, at, name) * radius;
    if (!std::isfinite(value))
        throw input_error(at.path, at.line,
                          std::string(name) + ": " + quoted_text(text) +
                              " times the tracer radius " + shortest_text(radius) +
                              " is too large");
    return value;
}

// Takes x or y off the front of line: the value runs up to the first blank (space or tab), and a
// comma or semicolon just before that blank separates it from the next value, as spreadsheets
// write them; any other character belongs to the value. line is trimmed, so a blank is never its
// first character; line keeps the trimmed rest.
double take_value(std::string_view& line, double radius, const line_ref& at, const char* name) {
    // A plain scan: find_first_of searches its set once for every character of the line.
    const auto at_blank =
        std::find_if(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
    const std::size_t blank = at_blank == line.end()
                                  ? std::string_view::npos
                                  : static_cast<std::size_t>(at_blank - line.begin());
    std::string_view text = line.substr(0, blank);
    if ((text.ends_with(',') || text.ends_with(';')) && blank != std::string_view::npos)
        text.remove_suffix(1);
    const double value = scaled_value(text, radius, at, name);
    if (blank == std::string_view::npos)
        throw input_error(at.path, at.line,
                          "fewer than three values (a blank must follow x and y)");
    line = trim_blanks(line.substr(blank));
    return value;
}

vec3 parse_tracer_line(std::string_view line, double radius, const line_ref& at) {
    const double x = take_value(line, radius, at, "x");
    const double y = take_value(line, radius, at, "y");
    // z is the whole rest, so a fourth value makes it fail.
    const double z = scaled_value(line, radius, at, "z");
    return make_vec3(x, y, z);
}

// Calls fn(line, number) for each line that holds a point, trimmed.
template <class Fn> void for_each_point_line(const std::string& text, Fn&& fn) {
    for_each_line(text, [&](std::string_view raw, int number) {
        const std::string_view line = trim_blanks(raw);
        if (!line.empty() && line.front() != '#')
            fn(line, number);
    });
}

} // namespace

void parse_tracer_text(const std::string& text, const std::string& path, double radius,
                       point_list& out) {
    out.clear();
    out.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    for_each_point_line(text, [&](std::string_view line, int number) {
        out.push_back(parse_tracer_line(line, radius, line_ref{path, number}));
    });
}

int tracer_line(const std::string& text, std::size_t index) {
    int found = 0;
    std::size_t seen = 0;
    for_each_point_line(text, [&](std::string_view, int number) {
        if (seen++ == index)
            found = number;
    });
    return found;
}

bool read_tracer_file(const std::string& path, double radius, point_list& out) {
    return reading_file(path, [&] {
        const std::optional<std::string> text = read_text_file(path);
        if (!text)
            return false;
        parse_tracer_text(*text, path, radius, out);
        return true;
    });
}

} // namespace tolvex
