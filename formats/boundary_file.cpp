#include "formats/boundary_file.hpp"

#include "io/input_error.hpp"
#include "io/text_fields.hpp"
#include "io/text_lines.hpp"
#include "model/boundary_check.hpp"

#include <algorithm>

namespace tolvex {

namespace {

// A vertex index as the file gave it, kept until all vertices are known.
struct index_use {
    int line;
    std::string what;
    int index;
};

// The values after a key, converted with the key and the value's position named in errors.
class value_reader {
  public:
    value_reader(std::string_view values, const line_ref& at, std::string key)
        : values_(split_fields(values, ',')), at_(at), key_(std::move(key)) {}

    // Fails unless there are at least n values; values beyond those needed are ignored.
    void need(std::size_t n) const {
        if (values_.size() < n)
            throw input_error(at_.path, at_.line,
                              key_ + " needs " + std::to_string(n) + " values, " +
                                  std::to_string(values_.size()) + " found");
    }
    double number(std::size_t i, const char* name) const {
        return number_value(values_[i], at_, what(i, name));
    }
    int integer(std::size_t i, const std::string& name) const {
        return integer_value(values_[i], at_, what(i, name));
    }
    const std::string& text(std::size_t i) const { return values_[i]; }
    std::string what(std::size_t i, const std::string& name) const {
        return key_ + " value " + std::to_string(i + 1) + " (" + name + ")";
    }

  private:
    std::vector<std::string> values_;
    const line_ref& at_;
    std::string key_;
};

// Adds the vertex and narrows step to the finest decimal place its coordinates are written to:
// a writer that drops trailing zeros writes its precision only in some of them. Programs round to
// two or more decimals; a value with one ("0.5") is taken as written by hand, and exact.
void read_vertex(block& b, double& step, std::string_view values, const line_ref& at) {
    const value_reader v(values, at, "VERTEX=");
    v.need(3);
    // One after the other, so the first bad value in the line is the one named.
    const double x = v.number(0, "x");
    const double y = v.number(1, "y");
    b.vertices.push_back(make_vec3(x, y, v.number(2, "z")));
    for (std::size_t i = 0; i < 3; ++i)
        if (const double s = decimal_step(v.text(i));
            s > 0.0 && s < 0.05 && (step == 0.0 || s < step))
            step = s;
}

void read_edge(block& b, std::vector<index_use>& uses, std::string_view values,
               const line_ref& at) {
    const value_reader v(values, at, "EDGE=");
    v.need(2);
    const edge e{v.integer(0, "a"), v.integer(1, "b")};
    uses.push_back({at.line, v.what(0, "a"), e[0]});
    uses.push_back({at.line, v.what(1, "b"), e[1]});
    b.edges.push_back(e);
}

void read_face(block& b, std::vector<index_use>& uses, std::string_view values,
               const line_ref& at) {
    const value_reader v(values, at, "FACE=");
    v.need(1);
    const int n = v.integer(0, "number of corners");
    const std::size_t corners = n > 0 ? static_cast<std::size_t>(n) : 0;
    // Checked before anything is reserved, so a huge n in a short line costs nothing.
    v.need(1 + corners + 3);
    face f;
    f.indices.reserve(corners);
    for (std::size_t i = 1; i <= corners; ++i) {
        const std::string name = "corner " + std::to_string(i);
        f.indices.push_back(v.integer(i, name));
        uses.push_back({at.line, v.what(i, name), f.indices.back()});
    }
    const std::size_t first = 1 + corners;
    const int nx = v.integer(first, "normal x");
    const int ny = v.integer(first + 1, "normal y");
    f.normal = make_vec3(nx, ny, v.integer(first + 2, "normal z"));
    b.faces.push_back(std::move(f));
}

// The line of each vertex, edge and face, by kind and index, for naming them in errors.
struct part_lines {
    std::vector<int> vertex, edge, face;

    int of(boundary_part part, int index) const {
        const std::vector<int>& lines = part == boundary_part::vertex ? vertex
                                        : part == boundary_part::edge ? edge
                                                                      : face;
        return lines[static_cast<std::size_t>(index)];
    }
};

} // namespace

block parse_boundary_text(const std::string& text, const std::string& path, const warn_fn& warn) {
    block b;
    std::vector<index_use> uses;
    part_lines lines;
    double written_step = 0.0;
    for_each_line(text, [&](std::string_view line, int number) {
        const line_ref at{path, number};
        if (line.starts_with("VERTEX=")) {
            read_vertex(b, written_step, line.substr(7), at);
            lines.vertex.push_back(number);
        } else if (line.starts_with("EDGE=")) {
            read_edge(b, uses, line.substr(5), at);
            lines.edge.push_back(number);
        } else if (line.starts_with("FACE=")) {
            read_face(b, uses, line.substr(5), at);
            lines.face.push_back(number);
        }
        // Anything else, comments included, is ignored.
    });
    // Lines come in any order, so indices can only be checked against the complete list.
    const auto vertex_count = static_cast<long long>(b.vertices.size());
    const auto bad = std::find_if(uses.begin(), uses.end(), [&](const index_use& u) {
        return u.index < 0 || u.index >= vertex_count;
    });
    if (bad != uses.end())
        throw input_error(path, bad->line,
                          bad->what + ": vertex " + std::to_string(bad->index) +
                              " does not exist (the file has " + std::to_string(vertex_count) +
                              " vertices)");
    // Said here, where the file is known: an empty file, a binary one or mistyped keys.
    if (b.vertices.empty())
        throw input_error(path, 0,
                          "no VERTEX= line: a boundary file describes the model volume in "
                          "VERTEX=x,y,z, EDGE=a,b and FACE=n,i1,...,in,nx,ny,nz lines");
    const auto name = [&](boundary_part part, int index) {
        return "the " + std::string(part_word(part)) + " on line " +
               std::to_string(lines.of(part, index));
    };
    if (const std::optional<boundary_problem> p = check_boundary(b, name, written_step))
        throw input_error(path, lines.of(p->part, p->index), p->reason);
    if (const std::optional<boundary_problem> p = inward_face_normal(b); p && warn)
        warn(input_error(path, lines.of(p->part, p->index),
                         p->reason + "; only drawing reads it, so the face is used as it is")
                 .what());
    return b;
}

std::optional<block> read_boundary_file(const std::string& path, const warn_fn& warn) {
    return reading_file(path, [&]() -> std::optional<block> {
        const std::optional<std::string> text = read_text_file(path);
        if (!text)
            return std::nullopt;
        return parse_boundary_text(*text, path, warn);
    });
}

std::string boundary_warning_text(const std::string& path) {
    return "Failed to read boundary from [" + path + "].";
}

} // namespace tolvex
