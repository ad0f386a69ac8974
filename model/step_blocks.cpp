#include "model/step_blocks.hpp"

#include "geometry/outward_faces.hpp"

#include <utility>

namespace tolvex {

void step_blocks::take_made(const cut_step& change, std::size_t m) {
    const block_set& made = change.made;
    blocks_.push_back(to_block(view_of(made, m)));
    point_list& held = held_.emplace_back();
    for (std::size_t v = made.vertex_offset[m]; v < made.vertex_offset[m + 1]; ++v)
        held.push_back(
            make_vec3(change.made_held[v][0], change.made_held[v][1], change.made_held[v][2]));
    outward_.push_back(outward_faces(blocks_.back()));
}

void step_blocks::take_kept(block&& b, point_list&& held, std::vector<face>&& outward) {
    blocks_.push_back(std::move(b));
    held_.push_back(std::move(held));
    outward_.push_back(std::move(outward));
}

void step_blocks::apply(const run_step_change& change) {
    if (change.start) {
        blocks_ = {*change.start};
        held_ = {change.start->vertices};
        outward_ = {outward_faces(*change.start)};
    } else {
        const cut_step& c = *change.change;
        std::vector<block> before = std::exchange(blocks_, {});
        std::vector<point_list> held = std::exchange(held_, {});
        std::vector<std::vector<face>> outward = std::exchange(outward_, {});
        blocks_.reserve(c.block_count);
        held_.reserve(c.block_count);
        outward_.reserve(c.block_count);
        walk_step(
            c, [&](std::size_t m, std::size_t) { take_made(c, m); },
            [&](std::size_t old, bool moved) {
                block& b = before[old];
                if (moved) {
                    for (int k = 0; k < 3; ++k)
                        b.displacement[k] += c.slip[k];
                    for (std::size_t v = 0; v < b.vertices.size(); ++v)
                        for (int k = 0; k < 3; ++k)
                            b.vertices[v][k] = held[old][v][k] + b.displacement[k];
                }
                take_kept(std::move(b), std::move(held[old]), std::move(outward[old]));
            });
    }
    if (!change.horizons.empty())
        pieces_ = pieces_in_blocks(blocks_, change.horizons);
}

run_step step_blocks::step(const run_step_change& change) const {
    return {change.run,        change.step,
            change.step_count, change.applied,
            blocks_,           change.tracers,
            change.centre,     change.horizons.empty() ? nullptr : &pieces_,
            change.carried};
}

} // namespace tolvex
