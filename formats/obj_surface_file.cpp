// Wavefront OBJ surfaces: v lines give vertices for the whole file, f lines faces (split into
// triangles as a fan), and o or g lines start the next named surface.
#include "formats/horizon_file.hpp"

#include "formats/detail/point_text.hpp"
#include "io/input_error.hpp"
#include "io/name_text.hpp"
#include "io/text_fields.hpp"
#include "io/text_lines.hpp"

#include <unordered_map>

namespace tolvex {

namespace {

// A surface being read, with the file's vertices it has taken so far.
struct obj_surface {
    horizon surface;
    std::unordered_map<int, int> local; // file vertex -> position in surface.vertices
    std::vector<int> last_face;         // per surface vertex: the line of the face it was last in
};

// The vertex a corner word ("7", "7/2", "7//3", "-1") names, 0-based in the file's list.
int corner_vertex(std::string_view word, int vertex_count, const line_ref& at, int corner) {
    const std::string what = "corner " + std::to_string(corner);
    const int given = integer_value(word.substr(0, word.find('/')), at, what);
    const int index = given < 0 ? vertex_count + given : given - 1;
    if (given == 0 || index < 0 || index >= vertex_count)
        throw input_error(at.path, at.line,
                          what + ": vertex " + std::to_string(given) + " does not exist (" +
                              std::to_string(vertex_count) + " before this line)");
    return index;
}

} // namespace

std::vector<horizon> parse_obj_surface_text(const std::string& text, const std::string& path) {
    point_list vertices;
    std::vector<obj_surface> surfaces(1);
    surfaces.back().surface.name = unnamed_horizon(path, 0);
    for_each_line(text, [&](std::string_view raw, int number) {
        const std::string_view line = trim_blanks(raw);
        if (line.empty() || line.front() == '#')
            return;
        const line_ref at{path, number};
        const std::vector<std::string_view> words = split_words(line);
        const std::string_view key = words.front();
        if (key == "v") {
            if (words.size() < 4)
                throw input_error(path, number, "v needs x, y and z");
            const double x = number_value(words[1], at, "x");
            const double y = number_value(words[2], at, "y");
            vertices.push_back(make_vec3(x, y, number_value(words[3], at, "z")));
        } else if (key == "f") {
            if (words.size() < 4)
                throw input_error(path, number, "f needs three corners or more");
            obj_surface& s = surfaces.back();
            std::vector<int> corners;
            for (std::size_t k = 1; k < words.size(); ++k) {
                const int v = corner_vertex(words[k], static_cast<int>(vertices.size()), at,
                                            static_cast<int>(k));
                const auto [it, added] =
                    s.local.emplace(v, static_cast<int>(s.surface.vertices.size()));
                if (added) {
                    s.surface.vertices.push_back(vertices[static_cast<std::size_t>(v)]);
                    s.last_face.push_back(0);
                }
                // Marked with the line, so a face of any size is checked in one pass.
                int& last = s.last_face[static_cast<std::size_t>(it->second)];
                if (last == number)
                    throw input_error(path, number, "f names one vertex twice");
                last = number;
                corners.push_back(it->second);
            }
            for (std::size_t k = 1; k + 1 < corners.size(); ++k)
                s.surface.triangles.push_back({corners[0], corners[k], corners[k + 1]});
        } else if (key == "o" || key == "g") {
            const std::string name(trim_blanks(line.substr(1)));
            if (has_control_char(name))
                throw input_error(path, number, control_char_reason("the name", name));
            if (!surfaces.back().surface.triangles.empty())
                surfaces.emplace_back();
            surfaces.back().surface.name =
                name.empty() ? unnamed_horizon(path, surfaces.size() - 1) : name;
            surfaces.back().local.clear();
        } else if (key != "vt" && key != "vn" && key != "vp" && key != "s" && key != "usemtl" &&
                   key != "mtllib" && key != "l" && key != "p") {
            throw input_error(path, number,
                              quoted_text(key) + " is not an OBJ statement (v, f, o or g)");
        }
    });
    std::vector<horizon> out;
    for (obj_surface& s : surfaces)
        if (!s.surface.triangles.empty())
            out.push_back(std::move(s.surface));
    return out;
}

std::string horizons_to_obj(const std::vector<horizon>& horizons) {
    std::string out = "# tolvex horizons\n";
    std::size_t base = 1; // OBJ counts vertices from 1 across the whole file
    for (const horizon& h : horizons) {
        out += "g " + h.name + "\n";
        for (const vec3& v : h.vertices)
            append_point(out, "v", v);
        for (const triangle& t : h.triangles)
            out += "f " + std::to_string(base + t[0]) + " " + std::to_string(base + t[1]) + " " +
                   std::to_string(base + t[2]) + "\n";
        base += h.vertices.size();
    }
    return out;
}

} // namespace tolvex
