// VTK legacy ASCII polydata surfaces: POINTS with POLYGONS (the 3.x count-and-indices form or
// the 5.x OFFSETS and CONNECTIVITY form) or TRIANGLE_STRIPS; numbers may run across lines. A cell
// scalar "horizon" splits the cells into surfaces, named by a field array "horizon_name"; without
// it, the fault walls' "fault" and "side" do, named by "fault_name" as the walls were. Numeric
// point data are the surfaces' properties; a field array "horizon_colour" gives their colours.
#include "formats/horizon_file.hpp"

#include "formats/block_export.hpp"
#include "formats/detail/point_text.hpp"
#include "formats/surface_export.hpp"
#include "io/input_error.hpp"
#include "io/name_text.hpp"
#include "io/text_fields.hpp"
#include "io/text_lines.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <numeric>

namespace tolvex {

namespace {

// The words of the file after its four head lines, found one at a time with their lines: a
// file's words are not kept, so memory follows what they make, not their number.
class word_stream {
  public:
    word_stream(std::string_view text, const std::string& path) : path_(path) {
        if (text.starts_with("\xEF\xBB\xBF"))
            text.remove_prefix(3);
        for (int k = 0; k < 4 && !text.empty(); ++k) {
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            if (line.ends_with('\r'))
                line.remove_suffix(1);
            head_[static_cast<std::size_t>(k)] = std::string(trim_blanks(line));
            line_ = k + 1;
            if (!head_[static_cast<std::size_t>(k)].empty())
                last_line_ = line_;
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        }
        ++line_;
        rest_ = text;
        skip_blanks();
    }
    const std::string& head(std::size_t k) const { return head_[k]; }
    bool at_end() const { return rest_.empty(); }
    std::string_view peek() const { return rest_.substr(0, rest_.find_first_of(separators)); }
    int line() const { return at_end() ? last_line_ : line_; }
    std::string_view take(const std::string& what) {
        if (at_end())
            throw input_error(path_, last_line_, "the file ends where " + what + " should follow");
        const std::string_view word = peek();
        last_line_ = line_;
        rest_.remove_prefix(word.size());
        skip_blanks();
        return word;
    }
    int count(const std::string& what) {
        const int at = line();
        const int value = integer_value(take(what), line_ref{path_, at}, what);
        if (value < 0)
            throw input_error(path_, at, what + ": must not be negative");
        return value;
    }
    // A count of things of per words each, refused at its line when the rest of the file cannot
    // hold them (a word and a blank at least each), before anything is sized by it.
    int count_of(const std::string& what, long long per = 1) {
        const int at = line();
        const int n = count(what);
        check_room(at, what, n * per);
        return n;
    }
    void check_room(int at, const std::string& what, long long words) const {
        if (words > static_cast<long long>(rest_.size() + 1) / 2)
            fail(at, what + ": " + std::to_string(words) +
                         " values are more than the rest of the file holds");
    }
    double number(const std::string& what) {
        const int at = line();
        return number_value(take(what), line_ref{path_, at}, what);
    }
    int point(int points, const std::string& what) {
        const int at = line();
        const int i = count(what);
        if (i >= points)
            throw input_error(path_, at,
                              what + ": point " + std::to_string(i) + " does not exist (" +
                                  std::to_string(points) + " points)");
        return i;
    }
    [[noreturn]] void fail(int at, const std::string& reason) const {
        throw input_error(path_, at, reason);
    }

  private:
    static constexpr std::string_view separators = " \t\r\v\f\n";
    void skip_blanks() {
        const std::size_t begin = std::min(rest_.find_first_not_of(separators), rest_.size());
        line_ += static_cast<int>(std::count(rest_.begin(), rest_.begin() + begin, '\n'));
        rest_.remove_prefix(begin);
    }
    const std::string& path_;
    std::array<std::string, 4> head_;
    std::string_view rest_;
    int line_ = 0;
    int last_line_ = 0;
};

// %XX escapes, as VTK writes blanks and other bytes in strings.
std::string unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto hex = [&](std::size_t k) {
            return std::isxdigit(static_cast<unsigned char>(text[k]));
        };
        if (text[i] == '%' && i + 2 < text.size() && hex(i + 1) && hex(i + 2)) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

enum class cell_kind { vertices, lines, polygons, strips };

struct surface_cells {
    std::vector<triangle> triangles;
    std::vector<std::pair<cell_kind, int>> cell_of; // per triangle: its section and position
    std::map<cell_kind, int> cell_count;
};

void add_cell(word_stream& in, surface_cells& out, cell_kind kind, int cell, int points,
              int corners) {
    const int at = in.line();
    std::vector<int> c;
    for (int k = 0; k < corners; ++k)
        c.push_back(in.point(points, "a cell corner"));
    if (kind == cell_kind::vertices || kind == cell_kind::lines)
        return;
    if (c.size() < 3)
        in.fail(at, "a polygon or strip needs three corners or more");
    for (std::size_t k = 0; k + 2 < c.size(); ++k) {
        // A strip's triangles alternate their turn; a polygon is split as a fan.
        triangle t = kind == cell_kind::polygons ? triangle{c[0], c[k + 1], c[k + 2]}
                     : k % 2 == 0                ? triangle{c[k], c[k + 1], c[k + 2]}
                                                 : triangle{c[k + 1], c[k], c[k + 2]};
        if (t[0] == t[1] || t[1] == t[2] || t[0] == t[2])
            in.fail(at, "a cell names one point twice");
        out.triangles.push_back(t);
        out.cell_of.emplace_back(kind, cell);
    }
}

void read_cells(word_stream& in, surface_cells& out, cell_kind kind, int points) {
    int cells = in.count_of("the cell count");
    in.count("the cell list size");
    if (in.peek() == "OFFSETS") {
        in.take("OFFSETS");
        in.take("the offsets' type");
        std::vector<int> offsets(static_cast<std::size_t>(cells));
        for (int& o : offsets)
            o = in.count("an offset");
        const int at = in.line();
        if (in.take("CONNECTIVITY") != "CONNECTIVITY")
            in.fail(at, "OFFSETS are followed by CONNECTIVITY");
        in.take("the connectivity's type");
        cells = std::max(0, cells - 1);
        for (int c = 0; c < cells; ++c) {
            if (offsets[c + 1] < offsets[c])
                in.fail(at, "the offsets must not decrease");
            add_cell(in, out, kind, c, points, offsets[c + 1] - offsets[c]);
        }
    } else {
        for (int c = 0; c < cells; ++c)
            add_cell(in, out, kind, c, points, in.count("a cell's corner count"));
    }
    out.cell_count[kind] += cells;
}

// What splits the cells into surfaces and names them, by the arrays' names.
struct surface_split {
    std::map<std::string, std::vector<double>> cell_scalars;
    std::map<std::string, std::vector<std::string>> names;
    std::vector<double> colours; // red, green, blue per horizon, negative for none
    std::vector<std::pair<std::string, std::vector<double>>> point_values; // per file point
};

// Point data of components values per tuple kept as properties, a name with more than one
// component as name_1 .. name_k.
void add_point_values(surface_split& split, const std::string& name, int components,
                      const std::vector<double>& values) {
    const auto n = static_cast<std::size_t>(components);
    for (std::size_t k = 0; k < n; ++k) {
        std::vector<double> column;
        for (std::size_t i = k; i < values.size(); i += n)
            column.push_back(values[i]);
        split.point_values.emplace_back(n == 1 ? name : name + "_" + std::to_string(k + 1),
                                        std::move(column));
    }
}

// One section of point or cell data: SCALARS, NORMALS, VECTORS or FIELD. Returns false for a
// section it cannot step over, which ends the reading.
bool read_attribute(word_stream& in, std::string_view key, int tuples, surface_split& split,
                    bool cell_data) {
    if (key == "SCALARS") {
        const std::string name(in.take("the scalars' name"));
        in.take("the scalars' type");
        int components = 1;
        const int at = in.line();
        if (!in.peek().empty() && to_integer(in.peek()))
            components = in.count("the component count");
        if (in.peek() == "LOOKUP_TABLE") {
            in.take("LOOKUP_TABLE");
            in.take("the lookup table's name");
        }
        const long long count = static_cast<long long>(tuples) * components;
        in.check_room(at, "the scalars", count);
        std::vector<double> values;
        for (long long k = 0; k < count; ++k)
            values.push_back(in.number("a scalar"));
        if (cell_data && components == 1 &&
            (name == "horizon" || name == "fault" || name == "side"))
            split.cell_scalars[name] = std::move(values);
        else if (!cell_data)
            add_point_values(split, unescaped(name), components, values);
        return true;
    }
    if (key == "NORMALS" || key == "VECTORS") {
        in.take("the array's name");
        in.take("the array's type");
        for (long long k = 0; k < 3LL * tuples; ++k)
            in.number("a vector component");
        return true;
    }
    if (key == "FIELD") {
        in.take("the field's name");
        const int arrays = in.count("the field's array count");
        for (int a = 0; a < arrays; ++a) {
            const std::string name(in.take("the array's name"));
            const int at = in.line();
            const int components = in.count("the component count");
            const int array_tuples = in.count("the tuple count");
            const long long values = static_cast<long long>(components) * array_tuples;
            in.check_room(at, "the array " + quoted_text(name), values);
            const bool strings = in.take("the array's type") == "string";
            std::vector<double> numbers;
            for (long long k = 0; k < values; ++k) {
                if (!strings) {
                    numbers.push_back(in.number("a field value"));
                    continue;
                }
                const int string_line = in.line();
                std::string value = unescaped(in.take("a string"));
                if (name != "horizon_name" && name != "fault_name")
                    continue;
                // Trimmed as the other readers trim a name; an empty one is the file's default.
                value = std::string(trim_blanks(value));
                if (has_control_char(value))
                    in.fail(string_line,
                            control_char_reason(
                                name == "fault_name" ? "a fault name" : "a horizon name", value));
                split.names[name].push_back(std::move(value));
            }
            if (strings)
                continue;
            if (tuples == 0 && name == "horizon_colour" && components == 3)
                split.colours = std::move(numbers);
            else if (tuples > 0 && !cell_data && array_tuples == tuples)
                add_point_values(split, unescaped(name), components, numbers);
        }
        return true;
    }
    return false;
}

// The point data at the file's points taken, as h's properties; an array without a value at any
// of them (only the no-data value) belongs to other surfaces of the file.
void add_properties(horizon& h,
                    const std::vector<std::pair<std::string, std::vector<double>>>& point_values,
                    const std::vector<int>& taken) {
    std::vector<const std::vector<double>*> kept;
    for (const auto& column : point_values) {
        const std::vector<double>& values = column.second;
        if (std::any_of(taken.begin(), taken.end(), [&](int p) {
                return static_cast<std::size_t>(p) < values.size() &&
                       values[static_cast<std::size_t>(p)] != no_data_value;
            })) {
            h.property_names.push_back(column.first);
            kept.push_back(&values);
        }
    }
    for (int p : taken)
        for (const std::vector<double>* values : kept)
            h.property_values.push_back(static_cast<std::size_t>(p) < values->size()
                                            ? (*values)[static_cast<std::size_t>(p)]
                                            : no_data_value);
}

// The surfaces the triangles make: one per value of the "horizon" cell scalar, else one per
// fault wall ("fault" and "side"), in ascending order, or one of all. Every value is a group of
// its own, negative, fractional or huge; a whole value k is named by the k-th "horizon_name" (or
// "fault_name", with the wall's sign) where there is one.
std::vector<horizon> split_surfaces(const point_list& points, const surface_cells& cells,
                                    surface_split& split, const std::string& path) {
    const bool walls = !split.cell_scalars.count("horizon") && split.cell_scalars.count("fault");
    const std::vector<double>& horizon_of_cell = split.cell_scalars[walls ? "fault" : "horizon"];
    const std::vector<double>* side =
        walls && split.cell_scalars.count("side") ? &split.cell_scalars["side"] : nullptr;
    const std::vector<std::string>& names = split.names[walls ? "fault_name" : "horizon_name"];
    const auto count_of = [&](cell_kind kind) {
        return cells.cell_count.count(kind) ? cells.cell_count.at(kind) : 0;
    };
    const int before_polygons = count_of(cell_kind::vertices) + count_of(cell_kind::lines);
    const int polygons = count_of(cell_kind::polygons);
    // (value, wall: 0 for "(+)" or none, 1 for "(-)") of each triangle
    std::vector<std::pair<double, int>> group(cells.triangles.size());
    for (std::size_t t = 0; t < cells.triangles.size(); ++t) {
        const auto [kind, k] = cells.cell_of[t];
        const auto cell = static_cast<std::size_t>(before_polygons +
                                                   (kind == cell_kind::strips ? polygons : 0) + k);
        group[t] = {cell < horizon_of_cell.size() ? horizon_of_cell[cell] : 0.0,
                    side && cell < side->size() && (*side)[cell] < 0 ? 1 : 0};
    }
    std::vector<std::size_t> order(group.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return group[a] < group[b]; });
    // One map from the file's points to a group's, cleared after each group: memory and time
    // follow the triangles, whatever the number of groups.
    std::vector<int> local(points.size(), -1);
    std::vector<horizon> out;
    for (std::size_t first = 0; first < order.size();) {
        const auto [v, wall] = group[order[first]];
        horizon h;
        std::vector<int> taken;
        std::size_t t = first;
        for (; t < order.size() && group[order[t]] == group[order[first]]; ++t) {
            triangle corners{};
            for (int c = 0; c < 3; ++c) {
                const auto p = static_cast<std::size_t>(cells.triangles[order[t]][c]);
                if (local[p] < 0) {
                    local[p] = static_cast<int>(h.vertices.size());
                    h.vertices.push_back(points[p]);
                    taken.push_back(static_cast<int>(p));
                }
                corners[c] = local[p];
            }
            h.triangles.push_back(corners);
        }
        for (int p : taken)
            local[static_cast<std::size_t>(p)] = -1;
        add_properties(h, split.point_values, taken);
        const bool named = v >= 0 && v < static_cast<double>(names.size()) && v == std::floor(v) &&
                           !names[static_cast<std::size_t>(v)].empty();
        h.name = named ? names[static_cast<std::size_t>(v)] + (side == nullptr ? ""
                                                               : wall == 0     ? " (+)"
                                                                               : " (-)")
                       : unnamed_horizon(path, out.size());
        // The colour's index is only formed once the value is known to be a small whole number.
        if (!walls && v >= 0 && v == std::floor(v) &&
            v < static_cast<double>(split.colours.size() / 3)) {
            const auto k = static_cast<std::size_t>(v);
            if (split.colours[3 * k] >= 0)
                h.metadata.colour = {split.colours[3 * k], split.colours[3 * k + 1],
                                     split.colours[3 * k + 2]};
        }
        out.push_back(std::move(h));
        first = t;
    }
    return out;
}

// The properties of the surfaces as point data, one array per name that any of them has, with
// the no-data value at the points of a surface without it.
void append_point_data(std::string& out, const std::vector<horizon>& surfaces, std::size_t points) {
    std::vector<std::string> names;
    for (const horizon& h : surfaces)
        for (const std::string& name : h.property_names)
            if (std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
    if (names.empty())
        return;
    out += "POINT_DATA " + std::to_string(points) + "\n";
    for (const std::string& name : names) {
        out += "SCALARS " + vtk_string(name) + " double 1\nLOOKUP_TABLE default\n";
        for (const horizon& h : surfaces) {
            const std::size_t n = h.property_names.size();
            const auto at = static_cast<std::size_t>(
                std::find(h.property_names.begin(), h.property_names.end(), name) -
                h.property_names.begin());
            for (std::size_t v = 0; v < h.vertices.size(); ++v) {
                append_shortest(out, at < n ? h.property_values[v * n + at] : no_data_value);
                out += '\n';
            }
        }
    }
}

} // namespace

std::vector<std::array<double, 3>> colours_of(const std::vector<horizon>& horizons) {
    std::vector<std::array<double, 3>> colours;
    for (const horizon& h : horizons)
        colours.push_back(h.metadata.colour.value_or(std::array<double, 3>{-1.0, -1.0, -1.0}));
    return colours;
}

std::vector<horizon> parse_vtk_surface_text(const std::string& text, const std::string& path) {
    word_stream in(text, path);
    if (!in.head(0).starts_with("# vtk DataFile Version"))
        in.fail(1, "a VTK file starts with \"# vtk DataFile Version\"");
    if (in.head(2) != "ASCII")
        in.fail(3, quoted_text(in.head(2)) + ": only ASCII VTK files are read");
    if (split_words(in.head(3)) != std::vector<std::string_view>{"DATASET", "POLYDATA"})
        in.fail(4, quoted_text(in.head(3)) + ": only DATASET POLYDATA holds surfaces");
    point_list points;
    surface_cells cells;
    surface_split split;
    int tuples = 0;
    bool cell_data = false;
    while (!in.at_end()) {
        const int at = in.line();
        const std::string_view key = in.take("a section");
        if (key == "POINTS") {
            const int n = in.count_of("the point count", 3);
            in.take("the points' type");
            for (int k = 0; k < n; ++k) {
                const double x = in.number("x");
                const double y = in.number("y");
                points.push_back(make_vec3(x, y, in.number("z")));
            }
        } else if (key == "POLYGONS" || key == "TRIANGLE_STRIPS" || key == "VERTICES" ||
                   key == "LINES") {
            const cell_kind kind = key == "POLYGONS"          ? cell_kind::polygons
                                   : key == "TRIANGLE_STRIPS" ? cell_kind::strips
                                   : key == "VERTICES"        ? cell_kind::vertices
                                                              : cell_kind::lines;
            read_cells(in, cells, kind, static_cast<int>(points.size()));
        } else if (key == "CELL_DATA" || key == "POINT_DATA") {
            cell_data = key == "CELL_DATA";
            tuples = in.count("the tuple count");
        } else if (!read_attribute(in, key, tuples, split, cell_data)) {
            if (tuples == 0)
                in.fail(at, quoted_text(key) + " is not a section of VTK polydata");
            break; // data this reader has no use for
        }
    }
    return split_surfaces(points, cells, split, path);
}

std::string horizons_to_vtk(const std::vector<horizon>& horizons) {
    surface_set set;
    set.surfaces = horizons;
    set.cell_data.push_back({"horizon", {}});
    for (std::size_t k = 0; k < horizons.size(); ++k) {
        set.cell_data[0].second.insert(set.cell_data[0].second.end(), horizons[k].triangles.size(),
                                       static_cast<int>(k));
        set.names.push_back(horizons[k].name);
    }
    set.names_of = "horizon";
    set.colours = colours_of(horizons);
    return surfaces_to_vtk(set);
}

std::string surfaces_to_vtk(const surface_set& set, const vec3* centre) {
    std::size_t points = 0, triangles = 0;
    for (const horizon& h : set.surfaces) {
        points += h.vertices.size();
        triangles += h.triangles.size();
    }
    const bool coloured = std::any_of(set.colours.begin(), set.colours.end(),
                                      [](const std::array<double, 3>& c) { return c[0] >= 0; });
    std::string out = "# vtk DataFile Version 3.0\ntolvex surfaces\nASCII\nDATASET POLYDATA\n"
                      "FIELD FieldData " +
                      std::to_string(1 + (centre ? 1 : 0) + (coloured ? 1 : 0)) + "\n";
    if (centre)
        append_point(out, "centre 3 1 double\n", *centre);
    out += set.names_of + "_name 1 " + std::to_string(set.names.size()) + " string\n";
    for (const std::string& name : set.names)
        out += vtk_string(name) + "\n";
    if (coloured) {
        out += set.names_of + "_colour 3 " + std::to_string(set.colours.size()) + " double\n";
        for (const std::array<double, 3>& c : set.colours)
            append_point(out, "", make_vec3(c[0], c[1], c[2]));
    }
    out += "POINTS " + std::to_string(points) + " double\n";
    for (const horizon& h : set.surfaces)
        for (const vec3& v : h.vertices)
            append_point(out, "", v);
    out += "POLYGONS " + std::to_string(triangles) + " " + std::to_string(4 * triangles) + "\n";
    std::size_t base = 0;
    for (const horizon& h : set.surfaces) {
        for (const triangle& t : h.triangles)
            out += "3 " + std::to_string(base + t[0]) + " " + std::to_string(base + t[1]) + " " +
                   std::to_string(base + t[2]) + "\n";
        base += h.vertices.size();
    }
    out += "CELL_DATA " + std::to_string(triangles) + "\n";
    for (const auto& [name, values] : set.cell_data) {
        out += "SCALARS " + name + " int 1\nLOOKUP_TABLE default\n";
        for (int v : values)
            out += std::to_string(v) + "\n";
    }
    append_point_data(out, set.surfaces, points);
    return out;
}

} // namespace tolvex
