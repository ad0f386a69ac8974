// Writes a seeded random model for timing tolvex-batch: a box boundary, tracer points inside it
// and faults through its interior whose slips lie in their planes.
// usage: random_model FOLDER FAULTS TRACERS [SEED]
#include "tests/support/box.hpp"
#include "tests/support/text_files.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

constexpr double half_x = 1000, half_y = 1000, half_z = 500; // metres

void write_tracers(const std::string& path, int count, std::mt19937& rng) {
    std::uniform_real_distribution<double> x(-half_x, half_x), y(-half_y, half_y),
        z(-half_z, half_z);
    std::FILE* f = std::fopen(path.c_str(), "w");
    for (int i = 0; i < count; ++i)
        std::fprintf(f, "%.6f, %.6f, %.6f\n", x(rng) / 100, y(rng) / 100, z(rng) / 100);
    std::fclose(f);
}

void write_faults(const std::string& path, int count, std::mt19937& rng) {
    std::normal_distribution<double> g;
    std::uniform_real_distribution<double> u(-0.8, 0.8), mag(5, 50);
    std::FILE* f = std::fopen(path.c_str(), "w");
    for (int i = 0; i < count; ++i) {
        double n[3] = {g(rng), g(rng), g(rng)}, a[3] = {g(rng), g(rng), g(rng)};
        const double nn = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
        const double an = (a[0] * n[0] + a[1] * n[1] + a[2] * n[2]) / nn;
        double s[3] = {a[0] - an * n[0], a[1] - an * n[1], a[2] - an * n[2]};
        const double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
        std::fprintf(f, "f%d\t0\t0\t0\t0\tR\t%d\t%.3f", i, i + 1, mag(rng));
        for (double c : s)
            std::fprintf(f, "\t%.17g", c / sl);
        for (double c : n)
            std::fprintf(f, "\t%.17g", c);
        std::fprintf(f, "\t%.3f\t%.3f\t%.3f\t%d\n", u(rng) * half_x, u(rng) * half_y,
                     u(rng) * half_z, i + 1);
    }
    std::fclose(f);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: random_model FOLDER FAULTS TRACERS [SEED]\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    std::mt19937 rng(argc > 4 ? std::atoi(argv[4]) : 1);
    write_text((dir / "box.boundary").string(), box_boundary(make_vec3(-half_x, -half_y, -half_z),
                                                             make_vec3(half_x, half_y, half_z)));
    write_tracers((dir / "tracers.txt").string(), std::atoi(argv[3]), rng);
    write_faults((dir / "faults.efd").string(), std::atoi(argv[2]), rng);
    write_text((dir / "tolvex.conf").string(),
               "BOUNDARY_FILE=box.boundary\nTRACER_I_FILE=tracers.txt\nTRACER_RADIUS=100\n");
    return 0;
}
