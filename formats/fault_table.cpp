#include "formats/fault_table.hpp"

#include "formats/file_formats.hpp"
#include "io/number_text.hpp"
#include "io/text_fields.hpp"
#include "io/text_lines.hpp"
#include "model/fault_label.hpp"
#include "model/fault_orientation.hpp"

#include <algorithm>
#include <boost/numeric/ublas/vector.hpp>
#include <cmath>
#include <map>

namespace tolvex {

namespace {

namespace ublas = boost::numeric::ublas;

void check_range(double value, double lo, double hi, const char* term) {
    if (!(value >= lo && value <= hi))
        throw fault_terms_error(term, general_text(value) + " is outside " + general_text(lo) +
                                          " to " + general_text(hi));
}

// The hanging wall's forward slip, as a unit vector in the plane with upward normal n.
vec3 forward_slip(const fault_terms& t, const vec3& n, const warn_fn& warn) {
    const bool by_angles = t.slip_azimuth || t.slip_plunge;
    if (t.rake && by_angles)
        throw fault_terms_error("rake", "give the slip either as rake or as slip_azimuth and "
                                        "slip_plunge, not both");
    if (t.rake) {
        check_range(*t.rake, -180.0, 180.0, "rake");
        return rake_vector(t.dip_direction, t.dip, *t.rake);
    }
    if (!t.slip_azimuth || !t.slip_plunge)
        throw fault_terms_error(t.slip_azimuth ? "slip_plunge" : "slip_azimuth",
                                "the slip needs rake, or slip_azimuth and slip_plunge");
    check_range(*t.slip_azimuth, 0.0, 360.0, "slip_azimuth");
    check_range(*t.slip_plunge, -90.0, 90.0, "slip_plunge");
    const vec3 s = slip_vector(*t.slip_azimuth, *t.slip_plunge);
    const double off = std::abs(90.0 - angle_between(s, n));
    const std::string said = "slip azimuth/plunge " + general_text(*t.slip_azimuth) + "/" +
                             general_text(*t.slip_plunge) + " lies " + general_text(off, 3) +
                             " degrees out of the plane " + general_text(t.dip_direction) + "/" +
                             general_text(t.dip);
    if (!(off <= slip_plane_tolerance))
        throw fault_terms_error("slip_plunge", said + "; at most " +
                                                   general_text(slip_plane_tolerance) +
                                                   " is taken as rounding");
    if (off > slip_rounding_tolerance && warn)
        warn(said + "; it is projected into the plane");
    const vec3 in_plane = s - ublas::inner_prod(s, n) * n;
    return in_plane / ublas::norm_2(in_plane);
}

} // namespace

fault fault_from_terms(const fault_terms& t, const warn_fn& warn) {
    check_range(t.dip_direction, 0.0, 360.0, "dip_direction");
    check_range(t.dip, 0.0, 90.0, "dip");
    if (!(t.slip >= 0.0))
        throw fault_terms_error("slip", general_text(t.slip) + " is negative");
    for (int k = 0; k < 3; ++k)
        if (!std::isfinite(t.point[k]))
            throw fault_terms_error(k == 0 ? "x" : k == 1 ? "y" : "z", "not a finite number");
    fault f;
    f.id = t.id;
    f.name = t.name;
    f.tag = t.tag;
    set_order(f, t.sequence);
    f.point = t.point;
    f.normal = plane_normal(t.dip_direction, t.dip);
    const vec3 s = forward_slip(t, f.normal, warn);
    // The record holds the restoring slip.
    f.slip_dir = -s;
    f.slip_mag = t.slip;
    f.plane_angles = {t.dip_direction, t.dip};
    f.slip_angles = slip_angles_of(s);
    return f;
}

bool is_fault_table_path(const std::string& path) {
    return read_format(path, holds::fault_table) != nullptr;
}

namespace {

// The cells of a CSV line, each trimmed; a cell in double quotes may hold commas, and "" stands
// for one quote inside it. nullopt when a quote is left open.
std::optional<std::vector<std::string>> csv_cells(std::string_view line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    bool was_quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"')
                cells.back() += c;
            else if (i + 1 < line.size() && line[i + 1] == '"')
                cells.back() += line[++i];
            else
                quoted = false;
        } else if (c == '"' && trim_blanks(cells.back()).empty() && !was_quoted) {
            cells.back().clear();
            quoted = was_quoted = true;
        } else if (c == ',') {
            cells.emplace_back();
            was_quoted = false;
        } else if (!(was_quoted && blank_chars.find(c) != std::string_view::npos)) {
            cells.back() += c;
        }
    }
    if (quoted)
        return std::nullopt;
    for (std::string& cell : cells)
        cell = std::string(trim_blanks(cell));
    return cells;
}

constexpr const char* required_columns[] = {"id", "sequence", "slip"};
// Needed unless every fault's plane comes from a surface.
constexpr const char* plane_columns[] = {"x", "y", "z", "dip_direction", "dip"};

// A table's columns by name, and the reading of one row's cells under them.
class table_row {
  public:
    table_row(const std::map<std::string, std::size_t>& columns,
              const std::vector<std::string>& cells, const line_ref& at)
        : columns_(columns), cells_(cells), at_(at) {}
    bool has(const std::string& name) const { return columns_.contains(name); }
    std::string text(const std::string& name) const {
        return has(name) ? cells_[columns_.at(name)] : std::string();
    }
    double number(const std::string& name) const {
        return number_value(text(name), at_, "column \"" + name + "\"");
    }
    int integer(const std::string& name) const {
        return integer_value(text(name), at_, "column \"" + name + "\"");
    }
    std::optional<double> optional_number(const std::string& name) const {
        if (!has(name))
            return std::nullopt;
        return number(name);
    }

  private:
    const std::map<std::string, std::size_t>& columns_;
    const std::vector<std::string>& cells_;
    const line_ref& at_;
};

std::map<std::string, std::size_t> header_columns(const std::vector<std::string>& cells,
                                                  const line_ref& at, bool from_surfaces) {
    std::map<std::string, std::size_t> columns;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        std::string name = cells[k];
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (name.empty())
            continue;
        if (!columns.emplace(name, k).second)
            throw input_error(at.path, at.line,
                              "column \"" + name + "\" is named twice in the header");
    }
    for (const char* name : required_columns)
        if (!columns.contains(name))
            throw input_error(at.path, at.line,
                              "the header has no column \"" + std::string(name) + "\"");
    if (!from_surfaces)
        for (const char* name : plane_columns)
            if (!columns.contains(name))
                throw input_error(at.path, at.line,
                                  "the header has no column \"" + std::string(name) + "\"");
    if (!columns.contains("rake") && !columns.contains("slip_azimuth"))
        throw input_error(at.path, at.line,
                          "the header has no column \"rake\" nor \"slip_azimuth\" and "
                          "\"slip_plunge\"");
    return columns;
}

// Sets the plane of t from the surface the row names, or else from its columns.
void set_plane(fault_terms& t, const table_row& row, const line_ref& at,
               const fault_planes* planes) {
    if (planes) {
        const std::string surface = row.text("surface").empty() ? t.name : row.text("surface");
        const auto fitted = planes->find(surface);
        if (fitted != planes->end()) {
            const std::array<double, 2> attitude = plane_angles_of(fitted->second.normal);
            t.dip_direction = attitude[0];
            t.dip = attitude[1];
            t.point = fitted->second.point;
            return;
        }
        if (!row.has("dip_direction"))
            throw input_error(at.path, at.line,
                              "no fault surface is named \"" + surface +
                                  "\", and the table has no column \"dip_direction\"");
    }
    const double x = row.number("x");
    const double y = row.number("y");
    t.point = make_vec3(x, y, row.number("z"));
    t.dip_direction = row.number("dip_direction");
    t.dip = row.number("dip");
}

fault table_fault(const table_row& row, const line_ref& at, const warn_fn& warn,
                  const fault_planes* planes) {
    fault_terms t;
    t.id = row.integer("id");
    t.name = row.text("name");
    if (t.name.empty())
        t.name = "fault " + std::to_string(t.id);
    t.tag = row.text("tag");
    t.sequence = row.integer("sequence");
    set_plane(t, row, at, planes);
    t.rake = row.optional_number("rake");
    t.slip_azimuth = row.optional_number("slip_azimuth");
    t.slip_plunge = row.optional_number("slip_plunge");
    t.slip = row.number("slip");
    const warn_fn placed = warn ? warn_fn([&](const std::string& text) {
        warn(at.path + ":" + std::to_string(at.line) + ": " + text);
    })
                                : warn_fn{};
    try {
        return fault_from_terms(t, placed);
    } catch (const fault_terms_error& e) {
        throw input_error(at.path, at.line, "column \"" + e.term() + "\": " + e.what());
    }
}

} // namespace

std::vector<fault> parse_fault_table(const std::string& text, const std::string& path,
                                     const warn_fn& warn, const fault_planes* planes) {
    std::vector<fault> faults;
    std::optional<std::map<std::string, std::size_t>> columns;
    std::size_t header_size = 0;
    for_each_line(text, [&](std::string_view line, int number) {
        const std::string_view trimmed = trim_blanks(line);
        if (trimmed.empty() || trimmed.front() == '#')
            return;
        const line_ref at{path, number};
        std::optional<std::vector<std::string>> cells = csv_cells(trimmed);
        if (!cells)
            throw input_error(path, number, "a quoted cell is not closed");
        if (!columns) {
            columns = header_columns(*cells, at, planes != nullptr);
            header_size = cells->size();
            return;
        }
        // Spreadsheets pad rows with empty cells; anything else past the header is a shifted row.
        while (cells->size() > header_size && cells->back().empty())
            cells->pop_back();
        if (cells->size() != header_size)
            throw input_error(path, number,
                              std::to_string(cells->size()) + " cells, but the header names " +
                                  std::to_string(header_size) + " columns");
        faults.push_back(table_fault(table_row(*columns, *cells, at), at, warn, planes));
    });
    if (!columns)
        throw input_error(path, 0,
                          "no header row: a fault table starts with a row naming its "
                          "columns");
    // Stable, so faults with the same sequence number keep their table order.
    std::stable_sort(faults.begin(), faults.end(), sortobj_descending());
    return faults;
}

std::string csv_cell(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos && trim_blanks(text).size() == text.size() &&
        !text.starts_with('#'))
        return text;
    std::string out = "\"";
    for (const char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string fault_table_text(const std::vector<fault>& faults) {
    std::string text = "id,name,tag,sequence,x,y,z,dip_direction,dip,rake,slip\n";
    for (const fault& f : faults) {
        if ((f.name + f.tag).find_first_of("\n\r") != std::string::npos)
            throw output_error(fault_label(f) + ": a fault table cannot hold a name or tag with "
                                                "a line break");
        if (f.normal[2] < 0.0)
            throw output_error(fault_label(f) + ": its normal points down, so its footwall moves; "
                                                "a fault table moves the hanging wall, so save it "
                                                "as a fault data file (.efd)");
        const std::array<double, 2> plane = plane_angles_of(f.normal);
        std::string row = std::to_string(f.id) + "," + csv_cell(f.name) + "," + csv_cell(f.tag) +
                          "," + std::to_string(f.order);
        const double length = ublas::norm_2(f.slip_dir);
        for (const double v : {f.point[0], f.point[1], f.point[2], plane[0], plane[1],
                               rake_of(-f.slip_dir, plane[0], plane[1]), f.slip_mag * length}) {
            row += ',';
            append_shortest(row, v);
        }
        text += row + "\n";
    }
    return text;
}

std::vector<std::vector<std::string>> fault_table_rows(const std::vector<fault>& faults) {
    std::vector<std::vector<std::string>> rows;
    for_each_line(fault_table_text(faults), [&](std::string_view line, int) {
        if (!line.empty())
            rows.push_back(*csv_cells(line));
    });
    return rows;
}

std::vector<fault> faults_from_rows(const std::vector<std::vector<std::string>>& rows,
                                    const std::string& path, const warn_fn& warn) {
    std::string text;
    for (const std::vector<std::string>& row : rows) {
        for (std::size_t k = 0; k < row.size(); ++k)
            text += (k == 0 ? "" : ",") + csv_cell(row[k]);
        // A row of empty cells would be skipped as a blank line, so its line number is kept.
        text += row.empty() ? "#\n" : "\n";
    }
    return parse_fault_table(text, path, warn);
}

} // namespace tolvex
