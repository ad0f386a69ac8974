#include "geometry/block.hpp"
#include "geometry/fault.hpp"
#include "geometry/vector_utils.hpp"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

void expect_vec(const vec3& v, double x, double y, double z) {
    ASSERT_EQ(v.size(), 3u);
    EXPECT_DOUBLE_EQ(v[0], x);
    EXPECT_DOUBLE_EQ(v[1], y);
    EXPECT_DOUBLE_EQ(v[2], z);
}

TEST(VectorUtils, CrossProductFollowsTheRightHandRule) {
    expect_vec(cross_prod3(make_vec3(1, 0, 0), make_vec3(0, 1, 0)), 0, 0, 1);
    expect_vec(cross_prod3(make_vec3(0, 0, 1), make_vec3(1, 0, 0)), 0, 1, 0);
    expect_vec(cross_prod3(make_vec3(1, 2, 3), make_vec3(2, 4, 6)), 0, 0, 0);
}

TEST(VectorUtils, NormalizeDividesByLengthAndGivesNanForZero) {
    expect_vec(normalize_vector(make_vec3(3, 4, 0)), 0.6, 0.8, 0);
    const vec3 n = normalize_vector(make_vec3(0, 0, 0));
    EXPECT_TRUE(std::isnan(n[0]) && std::isnan(n[1]) && std::isnan(n[2]));
}

TEST(VectorUtils, CentroidIsTheVertexMeanAndRejectsAnEmptyList) {
    point_list square{make_vec3(0, 0, 0), make_vec3(2, 0, 0), make_vec3(2, 2, 0),
                      make_vec3(0, 2, 0)};
    expect_vec(centroid(square), 1, 1, 0);
    square.push_back(make_vec3(2, 2, 0));
    expect_vec(centroid(square), 1.2, 1.2, 0);
    EXPECT_THROW(centroid(point_list{}), std::invalid_argument);
}

TEST(VectorUtils, PiIsTheFifteenDigitConstant) {
    EXPECT_EQ(pi, 3.14159265358979);
    EXPECT_LT(pi, M_PI);
}

TEST(BlockModel, SortFunctorsOrderByKeyAndTreatEqualKeysAsUnordered) {
    std::vector<intersection_point> pts(3);
    pts[0].key = 0.5;
    pts[1].key = -2.0;
    pts[2].key = 3.0;
    std::sort(pts.begin(), pts.end(), sortobj_ascending{});
    EXPECT_EQ(pts[0].key, -2.0);
    EXPECT_EQ(pts[2].key, 3.0);
    std::vector<fault> faults(3);
    faults[0].key = 1;
    faults[1].key = 3;
    faults[2].key = 2;
    std::sort(faults.begin(), faults.end(), sortobj_descending{});
    EXPECT_EQ(faults[0].key, 3);
    EXPECT_EQ(faults[2].key, 1);
    EXPECT_FALSE(sortobj_ascending{}(pts[0], pts[0]));
    EXPECT_FALSE(sortobj_descending{}(pts[0], pts[0]));
}

TEST(BlockModel, CopiesAreDeepBothWays) {
    block src;
    src.vertices = {make_vec3(1, 2, 3)};
    src.faces.push_back(face{{0, 0, 0}, make_vec3(0, 0, 1)});
    src.tracer_indices = {4};
    block copy = src;
    copy.vertices[0][0] = 9;
    copy.faces[0].indices.push_back(7);
    copy.tracer_indices.clear();
    EXPECT_EQ(src.vertices[0][0], 1);
    EXPECT_EQ(src.faces[0].indices.size(), 3u);
    EXPECT_EQ(src.tracer_indices.size(), 1u);
    src.faces[0].normal[2] = -1;
    EXPECT_EQ(copy.faces[0].normal[2], 1);
}

TEST(FaultRecord, DefaultsDescribeThePlaneZEqualsZero) {
    const fault f;
    expect_vec(f.normal, 0, 0, 1);
    expect_vec(f.slip_dir, 1, 0, 0);
    expect_vec(f.point, 0, 0, 0);
    EXPECT_EQ(f.id, 0);
    EXPECT_TRUE(f.name.empty() && f.tag.empty());
    fault copy = f;
    copy.name = "x";
    copy.point[1] = 5;
    EXPECT_TRUE(f.name.empty());
    EXPECT_EQ(f.point[1], 0);
}

} // namespace
