// One fault's pass over the blocks of a run, shared between threads: each takes a contiguous run
// of slots, cuts into its own arena and keeps the negative halves it makes aside; they are linked
// in afterwards in slot order, so the slots and the list come out as one thread leaves them.
#pragma once

#include "geometry/detail/block_store.hpp"
#include "geometry/detail/cut_workspace.hpp"
#include "geometry/detail/fault_points.hpp"

#include <vector>

// One fault's plane and slip as they stand at the start of its pass, and the source its cut
// faces take.
struct cutting_plane {
    vec3 n;
    vec3 p;
    xyz slip;
    double n_length;
    int source;
};

// The plane of the fault at position k.
cutting_plane plane_of(const fault& f, int k);

// What one thread works with, kept from pass to pass so that its capacity is reused.
struct cut_worker {
    cut_workspace ws;
    std::vector<new_slot> made; // the negative halves of this pass
    std::vector<int> moved;     // the slots this pass only moved, when record_moves is set
    bool record_moves = false;
    index_list negative_faults;
    std::vector<int> tracer_places;
    std::size_t dead_bytes = 0;
};

// Cuts every block by the plane, on as many threads as there are workers (fewer for few blocks);
// store.arenas holds one arena per worker. The negative halves of the workers' made lists, in
// worker order, take the new slots in turn.
void cut_pass(block_store& store, std::vector<cut_worker>& workers, const cutting_plane& plane,
              const fault_point_sides& fault_sides);
