#include "tests/support/box.hpp"
#include "view_math/frame_mesh.hpp"

#include <gtest/gtest.h>

namespace {

// Whether the frame of b alone puts its faces among those that may be culled.
bool culled(const block& b) {
    const block_set set = to_block_set({b});
    const point_list no_tracers;
    const frame_mesh mesh = build_frame_mesh(parts_of(set, no_tracers), display_modes{}, {});
    return !mesh.closed_runs.empty() && mesh.open_runs.empty();
}

} // namespace

// Only faces that close around their block are culled: a hole, a face twice or a side met by two
// shorter ones shows the far faces.
TEST(FrameMesh, CullsOnlyBlocksWhoseFacesClose) {
    EXPECT_TRUE(culled(make_cube()));

    block holed = make_cube();
    holed.faces.pop_back();
    EXPECT_FALSE(culled(holed));

    block doubled = make_cube();
    doubled.faces.push_back(doubled.faces.front());
    EXPECT_FALSE(culled(doubled));

    // One face split in two across its middle: its neighbours' sides each meet two halves.
    block split = make_cube();
    const corner_list whole = split.faces.front().indices;
    const int first = static_cast<int>(split.vertices.size());
    const vec3 a = (split.vertices[static_cast<std::size_t>(whole[0])] +
                    split.vertices[static_cast<std::size_t>(whole[1])]) /
                   2.0;
    const vec3 b = (split.vertices[static_cast<std::size_t>(whole[2])] +
                    split.vertices[static_cast<std::size_t>(whole[3])]) /
                   2.0;
    split.vertices.push_back(a);
    split.vertices.push_back(b);
    face left = split.faces.front(), right = split.faces.front();
    left.indices = {whole[0], first, first + 1, whole[3]};
    right.indices = {first, whole[1], whole[2], first + 1};
    split.faces.front() = left;
    split.faces.push_back(right);
    EXPECT_FALSE(culled(split));
}
