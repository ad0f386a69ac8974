#include "tests/support/random_faults.hpp"

#include "geometry/vector_utils.hpp"

vec3 random_point(std::mt19937& rng) {
    std::uniform_real_distribution<double> xy(-10, 10), z(-5, 5);
    return make_vec3(xy(rng), xy(rng), z(rng));
}

std::vector<fault> random_faults(std::mt19937& rng, int count) {
    std::normal_distribution<double> g;
    std::uniform_real_distribution<double> slip(0.1, 1.0);
    std::vector<fault> faults(count);
    for (fault& f : faults) {
        f.point = random_point(rng);
        f.normal = normalize_vector(make_vec3(g(rng), g(rng), g(rng)));
        f.slip_dir = normalize_vector(make_vec3(g(rng), g(rng), g(rng)));
        f.slip_mag = slip(rng);
    }
    return faults;
}
