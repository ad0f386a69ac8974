// The boundary file: VERTEX=, EDGE= and FACE= lines describing the model volume.
#pragma once

#include "geometry/block.hpp"
#include "io/input_error.hpp"

#include <optional>
#include <string>

namespace tolvex {

// Reads the boundary file at path into one block (vertices, edges, faces only).
// nullopt when it does not exist. Throws input_error when it cannot be read, on bad or missing
// values, on indices outside the vertex list, when it has no VERTEX= line, and at the line of the
// first vertex, edge or face that keeps the block from being one closed convex polyhedron
// (check_boundary, with the coordinates' written decimals). warn, when set, receives
// "path:line: reason" for a FACE= normal that does not point out of the volume.
std::optional<block> read_boundary_file(const std::string& path, const warn_fn& warn = {});

// The same for text already read from the file at path (path only names it in messages).
block parse_boundary_text(const std::string& text, const std::string& path,
                          const warn_fn& warn = {});

// "Failed to read boundary from [path]."
std::string boundary_warning_text(const std::string& path);

} // namespace tolvex
