#include "formats/file_formats.hpp"

#include <algorithm>
#include <array>
#include <cctype>

namespace tolvex {

namespace {

using namespace holds;

constexpr unsigned surfaces = horizons | fault_surfaces;

constexpr std::array table{
    file_format{format_id::tsurf, ".ts", horizons, surfaces},
    file_format{format_id::obj, ".obj", horizons, surfaces | blocks},
    file_format{format_id::vset, ".vs", 0, tracer_points},
    file_format{format_id::svg, ".svg", 0, section_drawing, true},
    file_format{format_id::pdf, ".pdf", 0, section_drawing, true},
    file_format{format_id::png, ".png", 0, section_drawing | picture, true},
    file_format{format_id::vtk, ".vtk", horizons,
                surfaces | blocks | tracer_points | section | cutoffs},
    file_format{format_id::vtp, ".vtp", 0, blocks},
    file_format{format_id::pline, ".pl", 0, cutoffs},
    file_format{format_id::csv, ".csv", fault_table, separations | fault_table, true},
    file_format{format_id::efd, ".efd", fault_data, fault_data},
    file_format{format_id::txt, ".txt", fault_data, fault_data},
};

bool ends_in(std::string_view path, const file_format& row) {
    const std::string_view ending = row.ending;
    return path.size() >= ending.size() &&
           std::equal(
               ending.begin(), ending.end(), path.end() - ending.size(), [&](char e, char p) {
                   return e == (row.any_case ? std::tolower(static_cast<unsigned char>(p)) : p);
               });
}

const file_format* format_of(std::string_view path) {
    const auto* f = std::find_if(table.begin(), table.end(),
                                 [&](const file_format& row) { return ends_in(path, row); });
    return f == table.end() ? nullptr : f;
}

std::vector<std::string_view> endings_where(unsigned file_format::*what, unsigned contents) {
    std::vector<std::string_view> list;
    for (const file_format& f : table)
        if ((f.*what & contents) != 0)
            list.push_back(f.ending);
    return list;
}

} // namespace

const file_format* written_format(std::string_view path, unsigned contents) {
    const file_format* f = format_of(path);
    return f && (f->writes & contents) != 0 ? f : nullptr;
}

const file_format* read_format(std::string_view path, unsigned contents) {
    const file_format* f = format_of(path);
    return f && (f->reads & contents) != 0 ? f : nullptr;
}

std::vector<std::string_view> written_endings(unsigned contents) {
    return endings_where(&file_format::writes, contents);
}

std::vector<std::string_view> read_endings(unsigned contents) {
    return endings_where(&file_format::reads, contents);
}

std::string endings_text(const std::vector<std::string_view>& endings) {
    std::string text;
    for (std::size_t i = 0; i < endings.size(); ++i)
        text += (i == 0 ? "" : i + 1 < endings.size() ? ", " : " or ") + std::string(endings[i]);
    return text;
}

} // namespace tolvex
