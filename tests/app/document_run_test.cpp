#include "app/document_run.hpp"
#include "app/fault_loading.hpp"
#include "io/input_error.hpp"
#include "tests/support/box.hpp"
#include "tests/support/error_text.hpp"
#include "tests/support/expect_point.hpp"
#include "tests/support/fault_line.hpp"
#include "tests/support/temp_folder.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

namespace {

using tolvex::run_files;

bool same(const vec3& a, const vec3& b) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

bool same(const point_list& a, const point_list& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const vec3& x, const vec3& y) { return same(x, y); });
}

index_list iota_list(std::size_t n) {
    index_list l(n);
    std::iota(l.begin(), l.end(), 0);
    return l;
}

// The box [10,12] x [20,22] x [30,32] (centre (11, 21, 31)) with tracers given relative to that
// centre, and one horizontal fault through the centre whose upper side moves 2 along +x.
class ModelRun : public ::testing::Test {
  protected:
    void SetUp() override {
        files.boundary_path =
            dir.write("box.boundary", box_boundary(make_vec3(10, 20, 30), make_vec3(12, 22, 32)));
        files.tracer_path = dir.write("tracers", "0.5, 0.5, 0.5\n0, 0, 0\n0, 0, -0.5\n");
        files.tracer_name = "tracers";
        files.tracer_radius = 1.0;
    }

    void load(const std::string& fault_text) {
        ASSERT_TRUE(tolvex::load_fault_file(doc, dir.write("faults.efd", fault_text)));
    }
    void load_horizontal_fault() {
        load(fault_line(7, 2.0, {1, 0, 0}, {0, 0, 1}, {11, 21, 31}, 1));
    }
    void run() {
        tolvex::run_document(doc, files, [this](const std::string& w) { warnings.push_back(w); });
    }
    // The text of the run_aborted a run ends with, or "no error" when it goes through.
    std::string abort_text() {
        return error_text<tolvex::run_aborted>([this] { run(); });
    }

    temp_folder dir;
    tolvex::desktop_document doc;
    run_files files;
    std::vector<std::string> warnings;
};

TEST_F(ModelRun, ForwardRunMovesTheUpperHalfWithItsTracersByTheFileSlip) {
    load_horizontal_fault();
    run();
    ASSERT_EQ(doc.last_run.forward.blocks.size(), 2u);
    ASSERT_EQ(doc.last_run.forward.tracers.size(), 3u);
    expect_point(doc.last_run.forward.tracers[0], 2.5, 0.5, 0.5);
    expect_point(doc.last_run.forward.tracers[1], 2.0, 0.0,
                 0.0); // on the plane: goes with the moving half
    expect_point(doc.last_run.forward.tracers[2], 0.0, 0.0, -0.5);
    // the restoration moved the same half the other way
    expect_point(doc.last_run.restored.tracers[0], -1.5, 0.5, 0.5);
    // the moving half of the forward run is the first block, x in [1, 3]
    for (const vec3& v : doc.last_run.forward.blocks[0].vertices) {
        EXPECT_GE(v[0], 1.0 - 1e-12);
        EXPECT_LE(v[0], 3.0 + 1e-12);
        EXPECT_GE(v[2], -1e-12);
    }
    EXPECT_TRUE(warnings.empty());
}

TEST_F(ModelRun, CentresBoundaryAndFaultPointsButNotTracers) {
    load_horizontal_fault();
    run();
    ASSERT_EQ(doc.last_run.boundary.vertices.size(), 8u);
    const block& b = doc.last_run.boundary;
    expect_point(b.vertices[0], -1, -1, -1);
    expect_point(b.vertices[6], 1, 1, 1);
    EXPECT_TRUE(b.fault_indices.empty());
    EXPECT_TRUE(b.tracer_indices.empty());
    expect_point(doc.tracers_init[0], 0.5, 0.5, 0.5);
    // The fault point (11,21,31) is centred to the origin, then moved by the restoration slip.
    ASSERT_EQ(doc.last_run.restored.faults.size(), 1u);
    expect_point(doc.last_run.restored.faults[0].point, -2, 0, 0);
    // The loaded faults keep their file values.
    expect_point(doc.faults_loaded[0].point, 11, 21, 31);
}

TEST_F(ModelRun, ForwardFaultsAreTheRestoredFaultsReversedWithNegatedSlip) {
    load(fault_line(1, 1.0, {1, 0, 0}, {0, 0, 1}, {11, 21, 31}, 1) +
         fault_line(2, 0.5, {0, 1, 0}, {1, 0, 0}, {11.2, 21, 31}, 2) +
         fault_line(3, 0.25, {0, 0, 1}, {0, 1, 0}, {11, 20.7, 31}, 3));
    run();
    ASSERT_EQ(doc.last_run.restored.faults.size(), 3u);
    ASSERT_EQ(doc.last_run.forward.faults.size(), 3u);
    EXPECT_EQ(doc.last_run.restored.faults[0].order, 3); // youngest first in the restoration
    for (std::size_t i = 0; i < 3; ++i) {
        const fault& r = doc.last_run.restored.faults[2 - i];
        const fault& p = doc.last_run.forward.faults[i];
        EXPECT_EQ(p.order, static_cast<int>(i) + 1);
        EXPECT_EQ(p.id, r.id);
        EXPECT_EQ(p.key, r.key);
        EXPECT_EQ(p.name, r.name);
        EXPECT_EQ(p.tag, r.tag);
        EXPECT_EQ(p.slip_mag, r.slip_mag);
        EXPECT_EQ(p.plane_angles, r.plane_angles);
        EXPECT_EQ(p.slip_angles, r.slip_angles);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(p.slip_dir[k], -r.slip_dir[k]);
            EXPECT_EQ(p.normal[k], r.normal[k]);
        }
    }
}

TEST_F(ModelRun, FirstBlockCarriesEveryFaultAndTracerWhenNothingIsCut) {
    // plane z = 100 misses the box, which lies on its negative side: nothing moves
    load(fault_line(1, 1.0, {1, 0, 0}, {0, 0, 1}, {0, 0, 100}, 1) +
         fault_line(2, 1.0, {1, 0, 0}, {0, 0, 1}, {0, 0, 200}, 2));
    run();
    for (const auto* blocks : {&doc.last_run.restored.blocks, &doc.last_run.forward.blocks}) {
        ASSERT_EQ(blocks->size(), 1u);
        EXPECT_EQ(blocks->front().fault_indices, iota_list(2));
        EXPECT_EQ(blocks->front().tracer_indices, iota_list(3));
    }
    EXPECT_TRUE(same(doc.last_run.forward.tracers, doc.tracers_init));
}

TEST_F(ModelRun, WithoutFaultsTheForwardResultIsTheCentredBoundaryAndUnmovedTracers) {
    run();
    ASSERT_EQ(doc.last_run.forward.blocks.size(), 1u);
    EXPECT_EQ(doc.last_run.forward.blocks[0].vertices.size(), 8u);
    expect_point(doc.last_run.forward.blocks[0].vertices[0], -1, -1, -1);
    EXPECT_TRUE(same(doc.last_run.forward.tracers, doc.tracers_init));
    EXPECT_TRUE(doc.last_run.forward.faults.empty());
}

TEST_F(ModelRun, SecondRunGivesTheSameResultAsTheFirst) {
    load_horizontal_fault();
    run();
    const std::vector<block> first_blocks = doc.last_run.forward.blocks;
    const point_list first_tracers = doc.last_run.forward.tracers;
    const vec3 first_point = doc.last_run.forward.faults[0].point;
    run();
    ASSERT_EQ(doc.last_run.boundary.vertices.size(), 8u);
    ASSERT_EQ(doc.last_run.forward.faults.size(), 1u);
    ASSERT_EQ(doc.last_run.forward.blocks.size(), first_blocks.size());
    for (std::size_t i = 0; i < first_blocks.size(); ++i)
        EXPECT_TRUE(same(doc.last_run.forward.blocks[i].vertices, first_blocks[i].vertices));
    EXPECT_TRUE(same(doc.last_run.forward.tracers, first_tracers));
    EXPECT_TRUE(same(doc.last_run.forward.faults[0].point, first_point));
}

TEST_F(ModelRun, MissingTracerFileAbortsWithTheConfiguredNameAndChangesNoList) {
    load_horizontal_fault();
    run();
    const std::size_t blocks = doc.last_run.forward.blocks.size();
    const vec3 point = doc.last_run.restored.faults[0].point;
    files.tracer_path = dir.file("absent");
    files.tracer_name = "absent";
    EXPECT_EQ(abort_text(), "Failed to load tracer points from [absent].");
    EXPECT_EQ(doc.last_run.forward.blocks.size(), blocks);
    EXPECT_EQ(doc.last_run.boundary.vertices.size(), 8u);
    EXPECT_TRUE(same(doc.last_run.restored.faults[0].point, point));
    EXPECT_EQ(doc.tracers_init.size(), 3u);
}

TEST_F(ModelRun, MissingBoundaryWarnsThenEndsTheRunInsteadOfCuttingNothing) {
    files.boundary_path = dir.file("absent.boundary");
    EXPECT_THROW(run(), tolvex::run_aborted);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "Failed to read boundary from [" + files.boundary_path + "].");
    EXPECT_TRUE(doc.last_run.boundary.vertices.empty());
    EXPECT_TRUE(doc.last_run.forward.blocks.empty());

    // with both files missing the warning comes first, then the tracer failure
    warnings.clear();
    files.tracer_path = dir.file("absent");
    files.tracer_name = "absent";
    EXPECT_EQ(abort_text(), "Failed to load tracer points from [absent].");
    EXPECT_EQ(warnings.size(), 1u);
}

TEST_F(ModelRun, BadTracerLineStopsTheRunKeepingThePointsBeforeIt) {
    files.tracer_path = dir.write("tracers", "1, 2, 3\n4, 5, 6\n7, x, 9\n");
    try {
        run();
        FAIL() << "expected input_error";
    } catch (const tolvex::input_error& e) {
        EXPECT_EQ(e.path(), files.tracer_path);
        EXPECT_EQ(e.line(), 3);
    }
    EXPECT_EQ(doc.tracers_init.size(), 2u);
    EXPECT_TRUE(doc.last_run.boundary.vertices.empty());
    EXPECT_TRUE(doc.last_run.forward.tracers.empty());
}

TEST_F(ModelRun, BadBoundaryLineStopsTheRunBeforeAnyListChanges) {
    files.boundary_path = dir.write("bad.boundary", "VERTEX=1,,2\n");
    EXPECT_THROW(run(), tolvex::input_error);
    EXPECT_TRUE(doc.tracers_init.empty());
    EXPECT_TRUE(doc.last_run.boundary.vertices.empty());
}

TEST_F(ModelRun, BoundaryWhoseFaceSidesAreNotEdgesIsRejectedBeforeAnyListChanges) {
    load_horizontal_fault();
    std::string text = box_boundary(make_vec3(10, 20, 30), make_vec3(12, 22, 32));
    text.replace(text.find("EDGE=0,4\n"), 9, "");
    files.boundary_path = dir.write("open.boundary", text);
    try {
        run();
        FAIL() << "expected input_error";
    } catch (const tolvex::input_error& e) {
        EXPECT_EQ(e.line(), 22);
        EXPECT_EQ(e.reason(), "the side from vertex 4 to vertex 0 of this face has no EDGE= line");
    }
    EXPECT_TRUE(doc.last_run.boundary.vertices.empty());
    files.boundary_path = dir.write("flat.boundary", "VERTEX=0,0,0\nVERTEX=1,0,0\nEDGE=0,1\n"
                                                     "FACE=2,0,1,0,0,1\n");
    EXPECT_THROW(run(), tolvex::input_error);
}

// With slip vectors in their planes, the forward run undoes what the restoration did to the
// fault points: each ends where it was loaded (centred). This holds while every fault point lies
// inside the block that carries it, so the faults go through the middle of the box and their
// slips are too small to carry any point out of it (a point outside its block moves with the
// block even when it lies on the other side of a plane that misses the block).
TEST_F(ModelRun, ForwardRunPutsBackTheFaultPointsTheRestorationMoved) {
    std::mt19937 rng(20261208);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int model = 0; model < 40; ++model) {
        std::string text;
        const int n = 1 + model % 8;
        for (int i = 0; i < n; ++i) {
            double nv[3] = {unit(rng), unit(rng), unit(rng)};
            double a[3] = {unit(rng), unit(rng), unit(rng)};
            // slip = normalised component of a perpendicular to the normal
            const double nn = nv[0] * nv[0] + nv[1] * nv[1] + nv[2] * nv[2];
            const double an = (a[0] * nv[0] + a[1] * nv[1] + a[2] * nv[2]) / nn;
            double s[3] = {a[0] - an * nv[0], a[1] - an * nv[1], a[2] - an * nv[2]};
            const double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
            for (double& c : s)
                c /= sl;
            const double p[3] = {11 + 0.5 * unit(rng), 21 + 0.5 * unit(rng), 31 + 0.5 * unit(rng)};
            text += fault_line(i, 0.05 * (1 + unit(rng)) / n, s, nv, p, i);
        }
        load(text);
        run();
        ASSERT_EQ(doc.last_run.forward.faults.size(), static_cast<std::size_t>(n));
        for (const fault& p : doc.last_run.forward.faults) {
            const fault& l = doc.faults_loaded[static_cast<std::size_t>(n - 1 - p.order)];
            ASSERT_EQ(l.id, p.id);
            EXPECT_NEAR(p.point[0], l.point[0] - 11, 1e-9) << "model " << model;
            EXPECT_NEAR(p.point[1], l.point[1] - 21, 1e-9) << "model " << model;
            EXPECT_NEAR(p.point[2], l.point[2] - 31, 1e-9) << "model " << model;
        }
    }
}

} // namespace
