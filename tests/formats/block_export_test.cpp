// The block exports: faces outward and counter-clockwise seen from outside, indices offset per
// block, and the whole text of both formats.
#include "formats/block_export.hpp"
#include "geometry/block_set.hpp"
#include "geometry/cut_block.hpp"
#include "geometry/outward_faces.hpp"
#include "geometry/vector_utils.hpp"
#include "tests/geometry/polyhedra.hpp"
#include "tests/support/vtp_reader.hpp"

#include <cmath>
#include <gtest/gtest.h>

using namespace tolvex;

namespace {

face make_face(corner_list corners, double nx, double ny, double nz) {
    face f;
    f.indices = std::move(corners);
    f.normal = make_vec3(nx, ny, nz);
    return f;
}

// The corner tetrahedron (0,0,0), (1,0,0), (0,1,0), (0,0,1) moved by dx along x, faces outward.
block tetrahedron(double dx) {
    block b;
    b.vertices = {make_vec3(dx, 0, 0), make_vec3(dx + 1, 0, 0), make_vec3(dx, 1, 0),
                  make_vec3(dx, 0, 1)};
    b.edges = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};
    b.faces = {make_face({0, 2, 1}, 0, 0, -1), make_face({0, 1, 3}, 0, -1, 0),
               make_face({0, 3, 2}, -1, 0, 0), make_face({1, 2, 3}, 1, 1, 1)};
    return b;
}

// Two tetrahedra; the second holds its base as the upper half of a cut holds its cut face:
// clockwise seen from outside, its normal pointing in, made by the run's first fault, and its
// slanted normal not at unit length.
std::vector<block> two_tetrahedra() {
    block second = tetrahedron(2);
    second.faces[0] = make_face({0, 1, 2}, 0, 0, 1);
    second.faces[0].source = cut_face_source(0);
    second.faces[3].normal = make_vec3(2, 2, 2);
    return {tetrahedron(0), second};
}

const std::string unit = "0.5773502691896258";

double dot(const vec3& a, const vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

} // namespace

TEST(BlockExport, VtkTextOfTwoBlocks) {
    EXPECT_EQ(blocks_to_vtk(two_tetrahedra(), make_vec3(0, 0, 0)),
              "# vtk DataFile Version 3.0\ntolvex blocks\nASCII\nDATASET POLYDATA\n"
              "FIELD FieldData 1\ncentre 3 1 double\n0 0 0\n"
              "POINTS 8 double\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n2 0 0\n3 0 0\n2 1 0\n2 0 1\n"
              "POLYGONS 8 32\n3 0 2 1\n3 0 1 3\n3 0 3 2\n3 1 2 3\n"
              "3 4 6 5\n3 4 5 7\n3 4 7 6\n3 5 6 7\n"
              "CELL_DATA 8\nSCALARS block int 1\nLOOKUP_TABLE default\n0\n0\n0\n0\n1\n1\n1\n1\n"
              "SCALARS fault int 1\nLOOKUP_TABLE default\n-1\n-1\n-1\n-1\n0\n-1\n-1\n-1\n"
              "NORMALS normals double\n0 0 -1\n0 -1 0\n-1 0 0\n" +
                  unit + " " + unit + " " + unit + "\n0 0 -1\n0 -1 0\n-1 0 0\n" + unit + " " +
                  unit + " " + unit + "\n");
}

TEST(BlockExport, ObjTextOfTwoBlocks) {
    const std::string slanted = "vn " + unit + " " + unit + " " + unit + "\n";
    EXPECT_EQ(blocks_to_obj(two_tetrahedra(), make_vec3(0, 0, 0)),
              "# tolvex blocks\no block_0\nv 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\n"
              "vn 0 0 -1\nvn 0 -1 0\nvn -1 0 0\n" +
                  slanted +
                  "f 1//1 3//1 2//1\nf 1//2 2//2 4//2\nf 1//3 4//3 3//3\nf 2//4 3//4 4//4\n"
                  "o block_1\nv 2 0 0\nv 3 0 0\nv 2 1 0\nv 2 0 1\n"
                  "vn 0 0 -1\nvn 0 -1 0\nvn -1 0 0\n" +
                  slanted +
                  "f 5//5 7//5 6//5\nf 5//6 6//6 8//6\nf 5//7 8//7 7//7\nf 6//8 7//8 8//8\n");
}

// The compressed XML form holds what the legacy text does: the same points, polygons, block
// numbers, faults (named by the loaded list) and normals, and the tracers with their indices and
// the fault label; the points
// in the boundary file's coordinates, with the centre beside them. The forward run's first fault
// is the last of three loaded.
TEST(BlockExport, VtpArraysOfTwoBlocksAndTracersReadBack) {
    const vec3 centre = make_vec3(500000, 0, -1000);
    const std::vector<vtp_read_array> a = read_vtp_arrays(blocks_to_vtp(
        two_tetrahedra(), centre, "1 N", {run_kind::forward, 3, {"3 C", "2 B", "1 N"}}));
    EXPECT_EQ(vtp_array_named(a, "fault").bytes, std::string("1 N", 4));
    EXPECT_EQ(vtp_array_named(a, "centre").values<double>(),
              (std::vector<double>{500000, 0, -1000}));
    EXPECT_EQ(vtp_array_named(a, "Points").values<double>(),
              (std::vector<double>{500000, 0,      -1000,  500001, 0,      -1000,  500000, 1,
                                   -1000,  500000, 0,      -999,   500002, 0,      -1000,  500003,
                                   0,      -1000,  500002, 1,      -1000,  500002, 0,      -999}));
    EXPECT_EQ(vtp_array_named(a, "connectivity", 1).values<std::int64_t>(),
              (std::vector<std::int64_t>{0, 2, 1, 0, 1, 3, 0, 3, 2, 1, 2, 3,
                                         4, 6, 5, 4, 5, 7, 4, 7, 6, 5, 6, 7}));
    EXPECT_EQ(vtp_array_named(a, "offsets", 1).values<std::int64_t>(),
              (std::vector<std::int64_t>{3, 6, 9, 12, 15, 18, 21, 24}));
    EXPECT_EQ(vtp_array_named(a, "block").values<std::int32_t>(),
              (std::vector<std::int32_t>{0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(vtp_array_named(a, "fault", 1).values<std::int32_t>(),
              (std::vector<std::int32_t>{-1, -1, -1, -1, 2, -1, -1, -1}));
    EXPECT_EQ(vtp_array_named(a, "fault_label").bytes, std::string("3 C\0002 B\0001 N", 12));
    EXPECT_EQ(vtp_array_named(a, "Normals").values<double>()[4], -1.0); // (0, -1, 0)

    const point_list tracers(70000, make_vec3(1.5, -2, 3)); // past one compressed block
    const std::vector<vtp_read_array> t =
        read_vtp_arrays(tracers_to_vtp(tracers, make_vec3(0, 0, 0), "initial"));
    const std::vector<double> points = vtp_array_named(t, "Points").values<double>();
    ASSERT_EQ(points.size(), 3 * tracers.size());
    EXPECT_EQ(points[3 * 69999 + 1], -2.0);
    EXPECT_EQ(vtp_array_named(t, "tracer").values<std::int32_t>()[69999], 69999);
    EXPECT_EQ(vtp_array_named(t, "offsets").values<std::int64_t>().back(), 70000);
    // The numbers packed for one count are not reused for another.
    const std::vector<vtp_read_array> few = read_vtp_arrays(
        tracers_to_vtp(point_list(3, make_vec3(0, 0, 0)), make_vec3(0, 0, 0), "initial"));
    EXPECT_EQ(vtp_array_named(few, "offsets").values<std::int64_t>(),
              (std::vector<std::int64_t>{1, 2, 3}));
}

// Random blocks cut by a random plane and by a second one a hair beside it, which leaves thin
// slivers: every exported face has the whole block behind it and runs counter-clockwise about
// its unit normal.
TEST(BlockExport, EveryFaceOfEveryCutBlockFacesOutward) {
    for (unsigned seed = 0; seed < 200; ++seed) {
        std::mt19937 rng(seed);
        std::normal_distribution<double> g;
        std::vector<fault> faults(2);
        faults[0].normal = normalize_vector(make_vec3(g(rng), g(rng), g(rng)));
        faults[0].point = make_vec3(0.3 * g(rng), 0.3 * g(rng), 0.3 * g(rng));
        faults[1] = faults[0];
        faults[1].point += faults[0].normal * 1e-7;
        for (fault& f : faults)
            f.slip_mag = 0.0;
        point_list tracers;
        const block start = seed % 2 ? make_bipyramid(rng) : make_prism(rng, 1.0);
        for (const block& b : cut_block({start}, faults, tracers)) {
            for (const face& f : outward_faces(b)) {
                ASSERT_NEAR(dot(f.normal, f.normal), 1.0, 1e-12) << "seed " << seed;
                ASSERT_GT(dot(face_normal(b, f), f.normal), 0.0) << "seed " << seed;
                const vec3& corner = b.vertices[static_cast<std::size_t>(f.indices[0])];
                for (const vec3& v : b.vertices)
                    ASSERT_LE(dot(f.normal, v - corner), 1e-12) << "seed " << seed;
            }
        }
    }
}
