#include "python/kept_steps.hpp"

#include <utility>

namespace tolvex {

namespace {

// Half m of change as the kernel holds it: its vertices less its displacement.
block held_half(const cut_step& change, std::size_t m) {
    block b = to_block(view_of(change.made, m));
    const std::size_t first = change.made.vertex_offset[m];
    for (std::size_t v = 0; v < b.vertices.size(); ++v)
        b.vertices[v] = make_vec3(change.made_held[first + v][0], change.made_held[first + v][1],
                                  change.made_held[first + v][2]);
    b.displacement = make_vec3(0.0, 0.0, 0.0);
    return b;
}

std::vector<kept_steps::placed> placed_after(kept_steps& kept, const cut_step& change) {
    const std::vector<kept_steps::placed>& before = kept.steps.back().blocks;
    std::vector<kept_steps::placed> now;
    now.reserve(change.block_count);
    std::size_t m = 0, moved = 0, old = 0;
    for (std::size_t j = 0; j < change.block_count; ++j) {
        if (m < change.made_at.size() && change.made_at[m] == j) {
            // The first half of each cut takes the cut block's place, the second is new.
            old += m % 2 == 0 ? 1 : 0;
            kept.shapes.push_back(held_half(change, m));
            now.push_back(
                {static_cast<std::uint32_t>(kept.shapes.size() - 1), change.made.displacement[m]});
            ++m;
            continue;
        }
        kept_steps::placed p = before[old++];
        if (moved < change.moved.size() && change.moved[moved] == j) {
            ++moved;
            for (int k = 0; k < 3; ++k)
                p.displacement[k] += change.slip[k];
        }
        now.push_back(p);
    }
    return now;
}

} // namespace

void keep_step(kept_steps& kept, step_blocks& blocks, const run_step_change& change) {
    kept_steps::step s;
    s.number = change.step;
    if (change.applied)
        s.applied = *change.applied;
    if (change.start) {
        // The start block has not moved: its vertices are as the kernel holds them.
        kept.shapes.push_back(*change.start);
        s.blocks = {{static_cast<std::uint32_t>(kept.shapes.size() - 1), {}}};
    } else {
        s.blocks = placed_after(kept, *change.change);
    }
    s.tracers = change.tracers;
    if (!change.horizons.empty()) {
        blocks.apply(change);
        s.horizons = *blocks.step(change).horizons;
    }
    kept.steps.push_back(std::move(s));
}

std::vector<block> blocks_of(const kept_steps& kept, std::size_t s) {
    std::vector<block> out;
    out.reserve(kept.steps[s].blocks.size());
    for (const kept_steps::placed& p : kept.steps[s].blocks) {
        block& b = out.emplace_back(kept.shapes[p.shape]);
        for (vec3& v : b.vertices)
            for (int k = 0; k < 3; ++k)
                v[k] += p.displacement[k];
        b.displacement = make_vec3(p.displacement[0], p.displacement[1], p.displacement[2]);
    }
    return out;
}

} // namespace tolvex
