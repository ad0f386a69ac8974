#include "formats/boundary_file.hpp"
#include "model/boundary_check.hpp"
#include "model/boundary_from_faces.hpp"
#include "tests/support/box.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

using namespace tolvex;

namespace {

struct polytope {
    point_list vertices;
    std::vector<index_list> faces;
};

// Prisms, pyramids and bipyramids over a random convex polygon, some faces cut into coplanar
// triangles, turned at random, scaled from 1e-3 to 1e7 and moved up to 1e7 from the origin.
class random_polytopes {
  public:
    polytope next() {
        polytope p;
        const int k = pick(3, 24);
        base(p, k);
        const double height = real(0.2, 3.0);
        switch (pick(0, 2)) {
        case 0: { // prism, its top shifted sideways
            const vec3 shift = make_vec3(real(-1, 1), real(-1, 1), height);
            for (int i = 0; i < k; ++i)
                p.vertices.push_back(p.vertices[static_cast<std::size_t>(i)] + shift);
            p.faces.push_back(ring(k, 0, false));
            p.faces.push_back(ring(k, k, true));
            for (int i = 0; i < k; ++i)
                p.faces.push_back({i, (i + 1) % k, k + (i + 1) % k, k + i});
            break;
        }
        case 1: // pyramid
            p.vertices.push_back(make_vec3(real(-1, 1), real(-1, 1), height));
            p.faces.push_back(ring(k, 0, false));
            for (int i = 0; i < k; ++i)
                p.faces.push_back({i, (i + 1) % k, k});
            break;
        default: { // bipyramid through the centroid of the base
            vec3 mid = make_vec3(0, 0, 0);
            for (const vec3& v : p.vertices)
                mid += v / k;
            p.vertices.push_back(mid + make_vec3(0, 0, height));
            p.vertices.push_back(mid - make_vec3(0, 0, real(0.2, 3.0)));
            for (int i = 0; i < k; ++i) {
                p.faces.push_back({i, (i + 1) % k, k});
                p.faces.push_back({(i + 1) % k, i, k + 1});
            }
        }
        }
        triangulate_some(p);
        place(p);
        return p;
    }

  private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    double real(double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng_);
    }

    // k corners on an ellipse in z = 0, counter-clockwise, no gap under a third of another.
    void base(polytope& p, int k) {
        double total = 0;
        std::vector<double> gaps;
        for (int i = 0; i < k; ++i)
            total += gaps.emplace_back(real(0.5, 1.5));
        const double rx = real(0.5, 2.0), ry = real(0.5, 2.0);
        double a = real(0, 2 * M_PI);
        for (const double g : gaps) {
            p.vertices.push_back(make_vec3(rx * std::cos(a), ry * std::sin(a), 0.0));
            a += g / total * 2 * M_PI;
        }
    }

    // Corners first .. first + k - 1, counter-clockwise seen from above when up, else from below.
    static index_list ring(int k, int first, bool up) {
        index_list r;
        for (int i = 0; i < k; ++i)
            r.push_back(first + (up ? i : k - 1 - i));
        return r;
    }

    void triangulate_some(polytope& p) {
        std::vector<index_list> faces;
        for (const index_list& f : p.faces) {
            if (f.size() == 3 || pick(0, 1) == 0) {
                faces.push_back(f);
                continue;
            }
            const std::size_t from = static_cast<std::size_t>(pick(0, int(f.size()) - 1));
            for (std::size_t i = 1; i + 1 < f.size(); ++i)
                faces.push_back({f[from], f[(from + i) % f.size()], f[(from + i + 1) % f.size()]});
        }
        p.faces = std::move(faces);
    }

    void place(polytope& p) {
        std::normal_distribution<double> gauss;
        double q[4];
        double length = 0;
        for (double& x : q) {
            x = gauss(rng_);
            length += x * x;
        }
        length = std::sqrt(length);
        const double w = q[0] / length, x = q[1] / length, y = q[2] / length, z = q[3] / length;
        const double turn[3][3] = {
            {1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
            {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
            {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}};
        const double scale = std::pow(10.0, real(-3, 7));
        const vec3 offset = make_vec3(real(-1e7, 1e7), real(-1e7, 1e7), real(-1e7, 1e7));
        for (vec3& v : p.vertices) {
            vec3 moved = offset;
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j)
                    moved[i] += scale * turn[i][j] * v[j];
            v = moved;
        }
    }

    std::mt19937 rng_{20250611};
};

std::set<std::pair<int, int>> edge_set(const block& b) {
    std::set<std::pair<int, int>> edges;
    for (const edge& e : b.edges)
        edges.insert(std::minmax(e[0], e[1]));
    return edges;
}

} // namespace

TEST(BoundaryCheck, ConvexPolyhedraOfAnySizeAndPlacePass) {
    random_polytopes polytopes;
    for (int n = 0; n < 500; ++n) {
        const polytope p = polytopes.next();
        try {
            const block b = boundary_from_faces(p.vertices, p.faces);
            ASSERT_EQ(b.vertices.size() - b.edges.size() + b.faces.size(), 2u);
        } catch (const boundary_error& e) {
            FAIL() << "polytope " << n << ": " << e.what();
        }
    }
}

TEST(BoundaryCheck, BoundaryFromFacesOfTheBoxIsTheBoxFile) {
    const block file = parse_boundary_text(
        box_boundary(make_vec3(4200, 8150, -1150), make_vec3(5800, 9350, -650)), "box");
    std::vector<index_list> faces;
    for (const face& f : file.faces)
        faces.emplace_back(f.indices.begin(), f.indices.end());
    const block built = boundary_from_faces(file.vertices, faces);
    ASSERT_EQ(built.vertices.size(), file.vertices.size());
    for (std::size_t i = 0; i < built.vertices.size(); ++i)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(built.vertices[i][c], file.vertices[i][c]);
    EXPECT_EQ(edge_set(built), edge_set(file));
    EXPECT_EQ(built.edges.size(), file.edges.size());
    ASSERT_EQ(built.faces.size(), file.faces.size());
    for (std::size_t k = 0; k < built.faces.size(); ++k) {
        EXPECT_EQ(built.faces[k].indices, file.faces[k].indices);
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(built.faces[k].normal[c], file.faces[k].normal[c]);
    }

    // Without its top the box is open; the problem names an edge of the missing face by index.
    faces.erase(faces.begin() + 1);
    try {
        boundary_from_faces(file.vertices, faces);
        FAIL() << "an open box was accepted";
    } catch (const boundary_error& e) {
        EXPECT_EQ(e.problem().part, boundary_part::edge);
        EXPECT_NE(std::string(e.what()).find("lies on 1 face"), std::string::npos) << e.what();
    }
}
