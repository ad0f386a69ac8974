#include "geometry/vector_utils.hpp"

#include <cmath>
#include <stdexcept>

vec3 cross_prod3(const vec3& a, const vec3& b) {
    return make_vec3(a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                     a[0] * b[1] - a[1] * b[0]);
}

vec3 normalize_vector(const vec3& x) {
    double sum = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i)
        sum += x[i] * x[i];
    const double n = std::sqrt(sum);
    vec3 r(x.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        r[i] = x[i] / n;
    return r;
}

vec3 centroid(const point_list& vecs) {
    if (vecs.empty())
        throw std::invalid_argument("centroid of an empty point list");
    const std::size_t d = vecs.front().size();
    vec3 sum(d);
    for (std::size_t i = 0; i < d; ++i)
        sum[i] = 0.0;
    for (const vec3& p : vecs)
        for (std::size_t i = 0; i < d; ++i)
            sum[i] += p[i];
    const double n = static_cast<double>(vecs.size());
    for (std::size_t i = 0; i < d; ++i)
        sum[i] /= n;
    return sum;
}
