// Seeded random models cut whole, hashed bit for bit (blocks, fault points). The blocks and fault
// points hash as the kernel's did before its blocks moved into flat arrays, so any change to the
// arithmetic or the order of the blocks shows here. A block's tracers are a set: they are hashed in
// index order, since sharing them between the halves of a cut need not keep their order. A tracer's
// place is its first place moved with its block, which may be summed in any order: it is checked to
// within 1e-12 of the model's size, not hashed.
#include "geometry/cut_block.hpp"
#include "geometry/vector_utils.hpp"
#include "tests/geometry/polyhedra.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// FNV-1a over the bytes of every value, with each list's length, so lists cannot trade values.
struct hasher {
    std::uint64_t value = 14695981039346656037ull;
    void bytes(const void* data, std::size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i)
            value = (value ^ p[i]) * 1099511628211ull;
    }
    void add(double x) { bytes(&x, sizeof x); }
    void add(std::size_t n) { bytes(&n, sizeof n); }
    void add(const vec3& v) {
        for (int k = 0; k < 3; ++k)
            add(v[k]);
    }
    template <class List> void add_all(const List& list) {
        add(list.size());
        for (const auto& x : list)
            bytes(&x, sizeof x);
    }
};

std::uint64_t hash_run(const std::vector<block>& blocks, const std::vector<fault>& faults) {
    hasher h;
    h.add(blocks.size());
    for (const block& b : blocks) {
        h.add(b.vertices.size());
        for (const vec3& v : b.vertices)
            h.add(v);
        h.add_all(b.edges);
        h.add(b.faces.size());
        for (const face& f : b.faces) {
            h.add_all(f.indices);
            h.add(f.normal);
        }
        h.add_all(b.fault_indices);
        index_list carried = b.tracer_indices;
        std::sort(carried.begin(), carried.end());
        h.add_all(carried);
    }
    for (const fault& f : faults)
        h.add(f.point);
    return h.value;
}

vec3 random_direction(std::mt19937& rng) {
    std::normal_distribution<double> g;
    return normalize_vector(make_vec3(g(rng), g(rng), g(rng)));
}

// Model k: a box, prism or hull by k % 3 with 2000 tracers and 20 to 49 faults; most planes pass
// through random points near the middle, every fifth through a vertex of the start and every
// seventh repeats an earlier plane with an axis normal, so planes along cut faces occur too.
// Every third fault is not carried, so its point stays.
std::uint64_t model_hash(unsigned k) {
    std::mt19937 rng(1000 + k);
    block start = k % 3 == 0   ? make_box(make_vec3(-2, -1.5, -1), make_vec3(2, 1.5, 1))
                  : k % 3 == 1 ? make_prism(rng, 2.0)
                               : make_hull(rng);
    const vec3 centre = centroid(start.vertices);
    std::uniform_real_distribution<double> u(-0.6, 0.6);
    std::vector<fault> faults(20 + k % 30);
    for (std::size_t i = 0; i < faults.size(); ++i) {
        fault& f = faults[i];
        f.point = centre + make_vec3(u(rng), u(rng), u(rng));
        f.normal = random_direction(rng);
        if (i % 5 == 4)
            f.point = start.vertices[rng() % start.vertices.size()];
        if (i % 7 == 6) {
            f.point = faults[rng() % i].point;
            f.normal = make_vec3(0, 0, 0);
            f.normal[rng() % 3] = 1.0;
        }
        f.slip_dir = random_direction(rng);
        f.slip_mag = 0.3 * (u(rng) + 0.6);
        if (i % 3 != 2)
            start.fault_indices.push_back(static_cast<int>(i));
    }
    point_list tracers(2000);
    for (std::size_t t = 0; t < tracers.size(); ++t) {
        tracers[t] = centre + make_vec3(u(rng), u(rng), u(rng));
        start.tracer_indices.push_back(static_cast<int>(t));
    }
    double size = 0.0;
    for (const vec3& v : start.vertices)
        for (const vec3& w : start.vertices)
            size = std::max(size, norm_inf(v - w));
    const point_list first = tracers;
    const std::vector<block> blocks = cut_block({start}, faults, tracers);
    std::size_t astray = 0;
    for (const block& b : blocks)
        for (int t : b.tracer_indices)
            astray += norm_inf(tracers[t] - first[t] - b.displacement) > 1e-12 * size;
    EXPECT_EQ(astray, 0u) << "model " << k;
    return hash_run(blocks, faults);
}

TEST(CutBlockHashes, SeededModelsComeOutAsBefore) {
    hasher all;
    for (unsigned k = 0; k < 40; ++k) {
        const std::uint64_t h = model_hash(k);
        all.bytes(&h, sizeof h);
    }
    EXPECT_EQ(all.value, 15314184920078988714ull);
}

} // namespace
