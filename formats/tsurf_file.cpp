// GOCAD TSurf: objects from "GOCAD TSurf 1" to "END", each a named triangulated surface whose
// vertices (VRTX, PVRTX) carry ids that ATOM and PATOM lines alias and TRGL lines join. PVRTX
// lines carry the values of the properties PROPERTIES names (ESIZES values each).
#include "formats/horizon_file.hpp"

#include "formats/detail/point_text.hpp"
#include "io/input_error.hpp"
#include "io/name_text.hpp"
#include "io/number_text.hpp"
#include "io/text_fields.hpp"
#include "io/text_lines.hpp"

#include <array>
#include <optional>
#include <unordered_map>

namespace tolvex {

namespace {

// One object being read.
struct tsurf_object {
    int first_line = 0;
    horizon surface;
    std::unordered_map<int, int> index_of; // vertex id -> position in surface.vertices
    bool in_header = false;
    bool in_coordinate_system = false;
    std::vector<std::size_t> sizes;   // values per property, as ESIZES gives them
    std::vector<std::string> no_data; // per property, as NO_DATA_VALUES gives them
};

// text without the quotes around it, if any.
std::string_view unquoted(std::string_view text) {
    text = trim_blanks(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

class tsurf_reader {
  public:
    tsurf_reader(const std::string& path) : path_(path) {}

    void line(std::string_view raw, int number) {
        const std::string_view text = trim_blanks(raw);
        if (text.empty() || text.front() == '#')
            return;
        last_line_ = number;
        const line_ref at{path_, number};
        const std::vector<std::string_view> words = split_words(text);
        if (!object_)
            return begin(words, at);
        if (object_->in_header)
            return take_name(text, at);
        if (object_->in_coordinate_system)
            return coordinate_line(text, words);
        const std::string_view key = words.front();
        if (key == "HEADER")
            return header_start(text, at);
        if (key == "GOCAD_ORIGINAL_COORDINATE_SYSTEM")
            object_->in_coordinate_system = true;
        else if (key == "VRTX" || key == "PVRTX")
            vertex(words, at);
        else if (key == "PROPERTIES")
            properties(words);
        else if (key == "ESIZES")
            sizes(words, at);
        else if (key == "NO_DATA_VALUES")
            object_->no_data.assign(words.begin() + 1, words.end());
        else if (key == "GEOLOGICAL_FEATURE")
            metadata().feature = unquoted(text.substr(key.size()));
        else if (key == "GEOLOGICAL_TYPE")
            metadata().type = unquoted(text.substr(key.size()));
        else if (key == "ATOM" || key == "PATOM")
            atom(words, at);
        else if (key == "TRGL")
            triangle_line(words, at);
        else if (key == "END")
            end();
        // TFACE, borders, property classes and the rest say nothing the model needs.
    }

    std::vector<horizon> finish() {
        if (object_)
            throw input_error(path_, last_line_,
                              "the TSurf object begun on line " +
                                  std::to_string(object_->first_line) + " has no END line");
        return std::move(out_);
    }

  private:
    void begin(const std::vector<std::string_view>& words, const line_ref& at) {
        if (words.front() != "GOCAD" || words.size() < 2 || words[1] != "TSurf")
            throw input_error(path_, at.line,
                              quoted_text(words.front()) +
                                  ": a TSurf object starts with \"GOCAD TSurf 1\"");
        object_.emplace();
        object_->first_line = at.line;
        object_->surface.name = "surface " + std::to_string(out_.size() + 1);
    }

    horizon_metadata& metadata() { return object_->surface.metadata; }

    // "*solid*color:" or "color:": red, green and blue from 0 to 1; a colour written otherwise
    // (by name or in hex) is left out, as the model does not need it.
    void take_colour(std::string_view value) {
        const std::vector<std::string_view> words = split_words(value.substr(0, value.find('}')));
        std::array<double, 3> rgb{};
        for (std::size_t k = 0; k < 3; ++k) {
            const std::optional<double> x = k < words.size() ? to_number(words[k]) : std::nullopt;
            if (!x || *x < 0.0 || *x > 1.0)
                return;
            rgb[k] = *x;
        }
        metadata().colour = rgb;
    }

    // name: value, up to a closing brace outside the quotes around the value, which go.
    void take_name(std::string_view text, const line_ref& at) {
        text = trim_blanks(text);
        std::string_view name = text.starts_with("name:") ? trim_blanks(text.substr(5)) : "";
        std::string_view rest = text;
        if (const std::size_t last = name.rfind('"'); name.starts_with('"') && last > 0) {
            rest = name.substr(last + 1);
            name = trim_blanks(name.substr(1, last - 1));
        } else if (const std::size_t brace = name.find('}'); brace != std::string_view::npos) {
            name = trim_blanks(name.substr(0, brace));
        }
        if (rest.find('}') != std::string_view::npos)
            object_->in_header = false;
        for (const std::string_view key : {"*solid*color:", "color:"})
            if (text.starts_with(key))
                take_colour(text.substr(key.size()));
        if (!text.starts_with("name:"))
            return;
        if (has_control_char(name))
            throw input_error(path_, at.line, control_char_reason("name", name));
        if (!name.empty())
            object_->surface.name = std::string(name);
    }

    void header_start(std::string_view text, const line_ref& at) {
        const std::size_t brace = text.find('{');
        object_->in_header = true;
        if (brace != std::string_view::npos)
            take_name(text.substr(brace + 1), at);
    }

    void coordinate_line(std::string_view text, const std::vector<std::string_view>& words) {
        if (words.front() == "END_ORIGINAL_COORDINATE_SYSTEM")
            object_->in_coordinate_system = false;
        else if (words.front() == "ZPOSITIVE" && words.size() > 1)
            metadata().depth = words[1] == "Depth";
        else if (words.front() == "AXIS_UNIT")
            metadata().axis_unit = trim_blanks(text.substr(words.front().size()));
    }

    // The property names, a name with ESIZES k > 1 as name_1 .. name_k.
    void properties(const std::vector<std::string_view>& words) {
        object_->surface.property_names.clear();
        for (std::size_t k = 1; k < words.size(); ++k)
            object_->surface.property_names.emplace_back(words[k]);
        object_->sizes.assign(object_->surface.property_names.size(), 1);
    }

    void sizes(const std::vector<std::string_view>& words, const line_ref& at) {
        std::vector<std::string>& names = object_->surface.property_names;
        if (words.size() != names.size() + 1)
            throw input_error(path_, at.line,
                              "ESIZES gives " + std::to_string(words.size() - 1) +
                                  " sizes for the " + std::to_string(names.size()) +
                                  " properties PROPERTIES names");
        std::vector<std::string> expanded;
        for (std::size_t k = 1; k < words.size(); ++k) {
            const int size = integer_value(words[k], at, "a property's size");
            if (size < 1)
                throw input_error(path_, at.line, "ESIZES: a property's size must be 1 or more");
            for (int i = 1; i <= size; ++i)
                expanded.push_back(size == 1 ? names[k - 1]
                                             : names[k - 1] + "_" + std::to_string(i));
        }
        names = std::move(expanded);
    }

    // The property values of a vertex: from a PVRTX line, else the properties' no-data values.
    void vertex_values(const std::vector<std::string_view>& words, const line_ref& at) {
        const std::vector<std::string>& names = object_->surface.property_names;
        std::vector<double>& values = object_->surface.property_values;
        if (words.front() == "VRTX") {
            for (std::size_t k = 0; k < names.size(); ++k) {
                const std::optional<double> none =
                    k < object_->no_data.size() ? to_number(object_->no_data[k]) : std::nullopt;
                values.push_back(none.value_or(no_data_value));
            }
            return;
        }
        if (words.size() < 5 + names.size())
            throw input_error(path_, at.line,
                              "PVRTX needs " + std::to_string(names.size()) +
                                  " property values after x, y and z, " +
                                  std::to_string(words.size() - 5) + " found");
        for (std::size_t k = 0; k < names.size(); ++k)
            values.push_back(number_value(words[5 + k], at, "property " + quoted_text(names[k])));
    }

    void need(const std::vector<std::string_view>& words, std::size_t n, const line_ref& at) {
        if (words.size() < n)
            throw input_error(path_, at.line,
                              std::string(words.front()) + " needs " + std::to_string(n - 1) +
                                  " values, " + std::to_string(words.size() - 1) + " found");
    }

    int known(std::string_view id_text, const line_ref& at, const std::string& what) {
        const int id = integer_value(id_text, at, what);
        const auto found = object_->index_of.find(id);
        if (found == object_->index_of.end())
            throw input_error(path_, at.line,
                              what + ": vertex " + std::to_string(id) +
                                  " is not given by a VRTX line before it");
        return found->second;
    }

    void add_id(int id, int index, const line_ref& at, std::string_view key) {
        if (!object_->index_of.emplace(id, index).second)
            throw input_error(path_, at.line,
                              std::string(key) + ": vertex id " + std::to_string(id) +
                                  " is given twice in this object");
    }

    void vertex(const std::vector<std::string_view>& words, const line_ref& at) {
        need(words, 5, at);
        const int id = integer_value(words[1], at, "vertex id");
        const double x = number_value(words[2], at, "x");
        const double y = number_value(words[3], at, "y");
        const double z = number_value(words[4], at, "z");
        add_id(id, static_cast<int>(object_->surface.vertices.size()), at, words.front());
        vertex_values(words, at);
        object_->surface.vertices.push_back(make_vec3(x, y, z));
    }

    void atom(const std::vector<std::string_view>& words, const line_ref& at) {
        need(words, 3, at);
        const int id = integer_value(words[1], at, "vertex id");
        add_id(id, known(words[2], at, "the vertex it repeats"), at, words.front());
    }

    void triangle_line(const std::vector<std::string_view>& words, const line_ref& at) {
        need(words, 4, at);
        triangle t{};
        for (int k = 0; k < 3; ++k)
            t[k] = known(words[k + 1], at, "corner " + std::to_string(k + 1));
        if (t[0] == t[1] || t[1] == t[2] || t[0] == t[2])
            throw input_error(path_, at.line, "TRGL names one vertex twice");
        object_->surface.triangles.push_back(t);
    }

    void end() {
        if (object_->surface.metadata.depth)
            for (vec3& v : object_->surface.vertices)
                v[2] = -v[2];
        // Left out, as the other formats leave out a group without faces: the file's warning
        // names a file with no triangle at all.
        if (!object_->surface.triangles.empty())
            out_.push_back(std::move(object_->surface));
        object_.reset();
    }

    const std::string& path_;
    std::optional<tsurf_object> object_;
    std::vector<horizon> out_;
    int last_line_ = 0;
};

// The name as a TSurf header gives it: in quotes when a brace or a quote would change it on
// reading.
std::string tsurf_name(const std::string& name) {
    return name.find_first_of("}\"") == std::string::npos ? name : '"' + name + '"';
}

// A property name as one word: blanks become underscores.
std::string property_word(std::string name) {
    for (char& c : name)
        if (blank_chars.find(c) != std::string_view::npos)
            c = '_';
    return name.empty() ? "property" : name;
}

} // namespace

std::vector<horizon> parse_tsurf_text(const std::string& text, const std::string& path) {
    tsurf_reader reader(path);
    for_each_line(text, [&](std::string_view line, int number) { reader.line(line, number); });
    return reader.finish();
}

std::string horizons_to_tsurf(const std::vector<horizon>& horizons) {
    std::string out;
    for (const horizon& h : horizons) {
        const horizon_metadata& m = h.metadata;
        out += "GOCAD TSurf 1\nHEADER {\nname: " + tsurf_name(h.name) + "\n";
        if (m.colour) {
            out += "*solid*color:";
            for (const double c : *m.colour) {
                out += ' ';
                append_shortest(out, c);
            }
            out += " 1\n";
        }
        out += "}\nGOCAD_ORIGINAL_COORDINATE_SYSTEM\nNAME Default\nAXIS_NAME \"X\" \"Y\" \"Z\"\n";
        if (!m.axis_unit.empty())
            out += "AXIS_UNIT " + m.axis_unit + "\n";
        out += std::string("ZPOSITIVE ") + (m.depth ? "Depth" : "Elevation") +
               "\nEND_ORIGINAL_COORDINATE_SYSTEM\n";
        if (!m.feature.empty())
            out += "GEOLOGICAL_FEATURE " + tsurf_name(m.feature) + "\n";
        if (!m.type.empty())
            out += "GEOLOGICAL_TYPE " + m.type + "\n";
        const std::size_t n = h.property_names.size();
        if (n > 0) {
            out += "PROPERTIES";
            for (const std::string& name : h.property_names)
                out += ' ' + property_word(name);
            out += "\n";
        }
        out += "TFACE\n";
        for (std::size_t i = 0; i < h.vertices.size(); ++i) {
            vec3 v = h.vertices[i];
            if (m.depth)
                v[2] = -v[2];
            out += (n > 0 ? "PVRTX " : "VRTX ") + std::to_string(i + 1);
            for (int k = 0; k < 3; ++k) {
                out += ' ';
                append_shortest(out, v[k]);
            }
            for (std::size_t j = 0; j < n; ++j) {
                out += ' ';
                append_shortest(out, h.property_values[i * n + j]);
            }
            out += "\n";
        }
        for (const triangle& t : h.triangles)
            out += "TRGL " + std::to_string(t[0] + 1) + " " + std::to_string(t[1] + 1) + " " +
                   std::to_string(t[2] + 1) + "\n";
        out += "END\n";
    }
    return out;
}

} // namespace tolvex
