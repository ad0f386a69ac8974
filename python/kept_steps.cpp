#include "python/kept_steps.hpp"

#include <utility>

namespace tolvex {

namespace {

std::vector<kept_steps::placed> placed_after(kept_steps& kept, const cut_step& change) {
    const std::vector<kept_steps::placed>& before = kept.steps.back().blocks;
    std::vector<kept_steps::placed> now;
    now.reserve(change.block_count);
    walk_step(
        change,
        [&](std::size_t m, std::size_t) {
            kept.shapes.push_back(held_half(change, m));
            now.push_back(
                {static_cast<std::uint32_t>(kept.shapes.size() - 1), change.made.displacement[m]});
        },
        [&](std::size_t old, bool moved) {
            kept_steps::placed p = before[old];
            if (moved)
                for (int k = 0; k < 3; ++k)
                    p.displacement[k] += change.slip[k];
            now.push_back(p);
        });
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
