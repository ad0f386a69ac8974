#include "model/plane_fit.hpp"

#include "geometry/vector_utils.hpp"
#include "io/number_text.hpp"
#include "model/fault_orientation.hpp"

#include <algorithm>
#include <array>
#include <boost/numeric/ublas/vector.hpp>
#include <cmath>

namespace tolvex {

namespace {

namespace ublas = boost::numeric::ublas;

using matrix3 = std::array<std::array<double, 3>, 3>;

// The eigenvector of the symmetric matrix a with the smallest eigenvalue, and that value, by
// Jacobi rotations (a 3 x 3 matrix needs a handful of sweeps).
std::pair<vec3, double> smallest_eigen(matrix3 a) {
    matrix3 v{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    for (int sweep = 0; sweep < 50; ++sweep) {
        const double off = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
        if (off == 0.0)
            break;
        for (int p = 0; p < 2; ++p)
            for (int q = p + 1; q < 3; ++q) {
                if (a[p][q] == 0.0)
                    continue;
                const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
                const double t =
                    (theta >= 0 ? 1.0 : -1.0) / (std::abs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0), s = t * c;
                for (int k = 0; k < 3; ++k) {
                    const double akp = a[k][p], akq = a[k][q];
                    a[k][p] = c * akp - s * akq;
                    a[k][q] = s * akp + c * akq;
                }
                for (int k = 0; k < 3; ++k) {
                    const double apk = a[p][k], aqk = a[q][k];
                    a[p][k] = c * apk - s * aqk;
                    a[q][k] = s * apk + c * aqk;
                }
                for (int k = 0; k < 3; ++k) {
                    const double vkp = v[k][p], vkq = v[k][q];
                    v[k][p] = c * vkp - s * vkq;
                    v[k][q] = s * vkp + c * vkq;
                }
            }
    }
    int least = 0;
    for (int k = 1; k < 3; ++k)
        if (a[k][k] < a[least][least])
            least = k;
    return {make_vec3(v[0][least], v[1][least], v[2][least]), a[least][least]};
}

} // namespace

std::optional<plane_fit> fit_fault_plane(const horizon& surface) {
    // Moments about the first vertex, which keeps large map coordinates from cancelling.
    if (surface.triangles.empty())
        return std::nullopt;
    const vec3 base = surface.vertices[static_cast<std::size_t>(surface.triangles[0][0])];
    double area = 0.0;
    vec3 first = make_vec3(0.0, 0.0, 0.0);
    matrix3 second{};
    vec3 lo = make_vec3(HUGE_VAL, HUGE_VAL, HUGE_VAL), hi = -lo;
    for (const triangle& t : surface.triangles) {
        std::array<vec3, 3> c;
        for (int i = 0; i < 3; ++i) {
            c[i] = surface.vertices[static_cast<std::size_t>(t[i])] - base;
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], c[i][k]);
                hi[k] = std::max(hi[k], c[i][k]);
            }
        }
        const double a = 0.5 * ublas::norm_2(cross_prod3(c[1] - c[0], c[2] - c[0]));
        const vec3 sum = c[0] + c[1] + c[2];
        area += a;
        first += a / 3.0 * sum;
        // The integral of x x^T over a triangle: a/12 (sum of its corners' products + sum sum^T).
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                second[i][j] +=
                    a / 12.0 *
                    (c[0][i] * c[0][j] + c[1][i] * c[1][j] + c[2][i] * c[2][j] + sum[i] * sum[j]);
    }
    if (!(area > 0.0))
        return std::nullopt;
    const vec3 mean = first / area;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            second[i][j] -= area * mean[i] * mean[j];
    auto [normal, least] = smallest_eigen(second);
    normal /= ublas::norm_2(normal);
    if (normal[2] < 0.0)
        normal = -normal;
    plane_fit fit;
    fit.point = base + mean;
    fit.normal = normal;
    fit.rms = std::sqrt(std::max(least, 0.0) / area);
    for (const triangle& t : surface.triangles)
        for (const int v : t)
            fit.largest =
                std::max(fit.largest,
                         std::abs(ublas::inner_prod(
                             surface.vertices[static_cast<std::size_t>(v)] - base - mean, normal)));
    fit.extent = ublas::norm_2(hi - lo);
    return fit;
}

fault_planes fit_fault_surfaces(const std::vector<horizon>& surfaces, const std::string& path,
                                std::optional<double> max_misfit, const warn_fn& report) {
    fault_planes out;
    for (const horizon& s : surfaces) {
        const std::string name = "surface \"" + s.name + "\"";
        const std::optional<plane_fit> fit = fit_fault_plane(s);
        if (!fit)
            throw input_error(path, 0, name + " has no triangle with an area, so no plane");
        const double allowed = max_misfit.value_or(0.05 * fit->extent);
        if (fit->largest > allowed)
            throw input_error(path, 0,
                              name + " lies up to " + general_text(fit->largest) +
                                  " from its plane (RMS " + general_text(fit->rms) +
                                  "), more than the " + general_text(allowed) + " allowed");
        if (!out.emplace(s.name, *fit).second)
            throw input_error(path, 0, name + " is named twice");
        if (report) {
            const std::array<double, 2> a = plane_angles_of(fit->normal);
            const vec3& p = fit->point;
            report(path + ": " + name + ": plane " + fixed_text(a[0], 1) + "/" +
                   fixed_text(a[1], 1) + " through (" + general_text(p[0], 10) + ", " +
                   general_text(p[1], 10) + ", " + general_text(p[2], 10) + "), RMS " +
                   general_text(fit->rms) + ", largest distance " + general_text(fit->largest));
        }
    }
    return out;
}

} // namespace tolvex
