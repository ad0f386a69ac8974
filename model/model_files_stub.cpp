// Placeholders until the file readers are built; each throws so nothing silently succeeds.
#include "boundary_file.hpp"
#include "fault_file.hpp"
#include "tracer_file.hpp"

#include <stdexcept>

namespace tolvex {
std::optional<std::vector<fault>> read_fault_file(const std::string&) {
    throw std::logic_error("fault file reader not built");
}
std::string fault_list_line(const fault&) { throw std::logic_error("not built"); }
std::optional<std::vector<std::string>> load_fault_file(const std::string&) {
    throw std::logic_error("fault file reader not built");
}
std::optional<block> read_boundary_file(const std::string&) {
    throw std::logic_error("boundary reader not built");
}
std::string boundary_warning_text(const std::string& path) {
    return "Failed to read boundary from [" + path + "].";
}
block get_boundary(const std::string&, const warn_fn&) {
    throw std::logic_error("boundary reader not built");
}
bool read_tracer_file(const std::string&, double, point_list&) {
    throw std::logic_error("tracer reader not built");
}
bool get_tracers_init(const std::string&) { throw std::logic_error("tracer reader not built"); }
void write_tracer_file(const std::string&, const point_list&, double) {
    throw std::logic_error("tracer writer not built");
}
} // namespace tolvex
