#include "python/py_cutoffs.hpp"

#include <array>

namespace tolvex {

namespace py = pybind11;

namespace {

template <std::size_t N>
py::array_t<double> rows_array(const std::vector<std::array<double, N>>& rows) {
    py::array_t<double> out({static_cast<py::ssize_t>(rows.size()), static_cast<py::ssize_t>(N)});
    auto view = out.mutable_unchecked<2>();
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::size_t k = 0; k < N; ++k)
            view(static_cast<py::ssize_t>(i), static_cast<py::ssize_t>(k)) = rows[i][k];
    return out;
}

} // namespace

py::array_t<double> cutoff_array(const std::vector<cutoff_segment>& segments,
                                 const std::vector<fault>& faults, const vec3& centre) {
    std::vector<std::array<double, 9>> rows;
    rows.reserve(segments.size());
    for (const cutoff_segment& s : segments) {
        const vec3 a = s.from + centre;
        const vec3 b = s.to + centre;
        rows.push_back({static_cast<double>(faults[s.fault].id), static_cast<double>(s.horizon),
                        static_cast<double>(s.wall), a[0], a[1], a[2], b[0], b[1], b[2]});
    }
    return rows_array(rows);
}

py::array_t<double> separation_array(const std::vector<separation>& rows,
                                     const std::vector<fault>& faults) {
    std::vector<std::array<double, 6>> out;
    out.reserve(rows.size());
    for (const separation& s : rows)
        out.push_back({static_cast<double>(faults[s.fault].id), static_cast<double>(s.horizon),
                       s.along, s.throw_distance, s.heave, s.dip_separation});
    return rows_array(out);
}

} // namespace tolvex
