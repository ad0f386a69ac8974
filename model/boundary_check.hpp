// Whether a block is one closed convex polyhedron, as a model run needs its boundary to be.
#pragma once

#include "geometry/block.hpp"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace tolvex {

enum class boundary_part { vertex, edge, face };

// The first thing wrong with a boundary: the vertex, edge or face that shows it (index is
// 0-based within its kind) and the reason, in words that say what to fix.
struct boundary_problem {
    boundary_part part;
    int index;
    std::string reason;
};

// "vertex", "edge" or "face".
const char* part_word(boundary_part part);

// How a reason names another edge or face than the one it is about.
using part_namer = std::function<std::string(boundary_part, int)>;

// "face 3": the default name, by 0-based index.
std::string part_index_name(boundary_part part, int index);

// The first problem that keeps b from being one closed convex polyhedron, or nullopt. Checked in
// this order: every face has three or more distinct corners, all of them vertices, and no two
// faces the same corners; every edge joins two vertices, once, and is a side of a face, and every
// side of a face is an edge that lies on exactly two faces; every vertex is a corner of a face;
// V - E + F = 2; coordinates within +-1e100; no two vertices at one place; every face has an
// area, is flat and convex, with its corners in order around it; every vertex lies on the inner
// side of every face's plane, and the boundary is not flat (it has a volume). Distances count as
// zero up to a billionth of the boundary's size, more where the digits of its coordinates cannot
// fix them that well: a small boundary far from the origin, a plane through a narrow face, and
// coordinates written to the decimal place whose value is written_step (0 for exact ones), as
// programs that write 2 to 4 decimals round them. A block without vertices gives the problem
// (vertex, 0). O(V x F) time.
std::optional<boundary_problem>
check_boundary(const block& b, const part_namer& name = part_index_name, double written_step = 0.0);

// The first face whose given normal does not point out of the boundary (zero included), with the
// reason, or nullopt. Only drawing reads these normals, so this is a warning, not a refusal; b
// must have passed check_boundary.
std::optional<boundary_problem> inward_face_normal(const block& b);

// A boundary rejected outside the file reader; what() reads "face 3: reason".
class boundary_error : public std::invalid_argument {
  public:
    explicit boundary_error(boundary_problem problem);
    const boundary_problem& problem() const { return problem_; }

  private:
    boundary_problem problem_;
};

} // namespace tolvex
