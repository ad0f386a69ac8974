#include "model/boundary_check.hpp"

#include "model/detail/boundary_geometry.hpp"
#include "model/detail/boundary_topology.hpp"

namespace tolvex {

const char* part_word(boundary_part part) {
    switch (part) {
    case boundary_part::vertex:
        return "vertex";
    case boundary_part::edge:
        return "edge";
    case boundary_part::face:
        return "face";
    }
    return "part";
}

std::string part_index_name(boundary_part part, int index) {
    return part_word(part) + (" " + std::to_string(index));
}

std::optional<boundary_problem> check_boundary(const block& b, const part_namer& name,
                                               double written_step) {
    if (b.vertices.empty())
        return boundary_problem{boundary_part::vertex, 0, "the boundary has no vertices"};
    // Geometry is only measured on faces whose corners and sides are known to be sound.
    if (auto p = check_boundary_topology(b, name))
        return p;
    return check_boundary_geometry(b, name, written_step);
}

boundary_error::boundary_error(boundary_problem problem)
    : std::invalid_argument(part_index_name(problem.part, problem.index) + ": " + problem.reason),
      problem_(std::move(problem)) {}

} // namespace tolvex
