// A triangulated boundary cut by two fault planes whose normals differ in the eleventh digit, and
// by two more through nearly the same point. With zero slip, cutting by the faults in any order
// must leave closed convex blocks that fill the boundary and hold its one tracer.
#include "geometry/cut_block.hpp"
#include "geometry/vector_utils.hpp"
#include "tests/geometry/polyhedra.hpp"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <numeric>
#include <sstream>
#include <string>

namespace {

const std::string case_dir = std::string(TOLVEX_GEOMETRY_CASES) + "/near_coplanar/";

std::vector<double> numbers(const std::string& text, char separator) {
    std::vector<double> values;
    std::istringstream in(text);
    for (std::string field; std::getline(in, field, separator);)
        values.push_back(std::stod(field));
    return values;
}

// VERTEX=x,y,z; EDGE=a,b; FACE=count,corners...,nx,ny,nz.
block read_boundary(const std::string& path) {
    block b;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const std::size_t eq = line.find('=');
        const std::string key = line.substr(0, eq);
        const std::vector<double> v = numbers(line.substr(eq + 1), ',');
        if (key == "VERTEX")
            b.vertices.push_back(make_vec3(v[0], v[1], v[2]));
        if (key == "EDGE")
            b.edges.push_back({static_cast<int>(v[0]), static_cast<int>(v[1])});
        if (key == "FACE") {
            face f;
            const int n = static_cast<int>(v[0]);
            for (int k = 1; k <= n; ++k)
                f.indices.push_back(static_cast<int>(v[k]));
            f.normal = make_vec3(v[n + 1], v[n + 2], v[n + 3]);
            b.faces.push_back(f);
        }
    }
    return b;
}

// Tab-separated: name, plane azimuth and inclination, slip azimuth and plunge, tag, id, slip
// magnitude, slip direction, normal, point (three fields each), sequence number.
std::vector<fault> read_faults(const std::string& path) {
    std::vector<fault> faults;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, '\t');)
            fields.push_back(field);
        auto at = [&fields](int k) { return std::stod(fields.at(k)); };
        fault f;
        f.name = fields.at(0);
        f.slip_mag = at(7);
        f.slip_dir = make_vec3(at(8), at(9), at(10));
        f.normal = make_vec3(at(11), at(12), at(13));
        f.point = make_vec3(at(14), at(15), at(16));
        set_order(f, static_cast<int>(at(17)));
        faults.push_back(f);
    }
    return faults;
}

point_list read_tracers(const std::string& path) {
    point_list tracers;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const std::vector<double> v = numbers(line, ',');
        tracers.push_back(make_vec3(v[0], v[1], v[2]));
    }
    return tracers;
}

TEST(NearCoplanarCase, EveryFaultOrderLeavesClosedBlocksThatFillTheBoundary) {
    block boundary = read_boundary(case_dir + "b.boundary");
    std::vector<fault> faults = read_faults(case_dir + "min.efd");
    const point_list tracers_in = read_tracers(case_dir + "one.tr");
    ASSERT_EQ(boundary.vertices.size(), 9u);
    ASSERT_EQ(faults.size(), 5u);
    ASSERT_EQ(tracers_in.size(), 1u);
    // As a run does: centre everything on the boundary's vertex mean.
    const vec3 c = centroid(boundary.vertices);
    for (vec3& v : boundary.vertices)
        v -= c;
    for (fault& f : faults)
        f.point -= c;
    const double total = volume(boundary);
    boundary.fault_indices.resize(faults.size());
    std::iota(boundary.fault_indices.begin(), boundary.fault_indices.end(), 0);
    boundary.tracer_indices = {0};

    std::vector<int> order(faults.size());
    std::iota(order.begin(), order.end(), 0);
    do {
        SCOPED_TRACE(::testing::PrintToString(order));
        std::vector<fault> run_faults;
        for (int k : order)
            run_faults.push_back(faults[k]);
        point_list tracers = tracers_in;
        const std::vector<block> blocks = cut_block({boundary}, run_faults, tracers);
        double sum = 0.0;
        int holders = 0;
        for (const block& b : blocks) {
            ASSERT_EQ(polyhedron_problem(b), "");
            sum += volume(b);
            holders += static_cast<int>(b.tracer_indices.size());
        }
        EXPECT_NEAR(sum, total, 1e-12 * total);
        EXPECT_EQ(holders, 1);
    } while (std::next_permutation(order.begin(), order.end()));
}

} // namespace
