// Blocks as what mesh libraries take: one flat mesh of many blocks, and each tracer's block.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>

namespace tolvex {

// Adds Mesh and mesh(blocks) to m.
void add_mesh(pybind11::module_& m);

// For each of tracer_count tracers the position in blocks (a list of Block) of the block holding
// it, -1 for none, as a read-only int64 array.
pybind11::array_t<std::int64_t> tracer_blocks(const pybind11::list& blocks,
                                              std::size_t tracer_count);

} // namespace tolvex
