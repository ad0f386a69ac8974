#include "model/detail/symmetric_eigen.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tolvex {

eigen_pairs symmetric_eigen(square_matrix m) {
    const std::size_t n = m.n;
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < i; ++j)
            m(i, j) = m(j, i);
    square_matrix v(n);
    for (std::size_t i = 0; i < n; ++i)
        v(i, i) = 1.0;
    // Cyclic Jacobi rotations; each sweep squares the off-diagonal remainder once it is small.
    for (int sweep = 0; sweep < 60; ++sweep) {
        double off = 0.0, diagonal = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            diagonal += m(i, i) * m(i, i);
            for (std::size_t j = i + 1; j < n; ++j)
                off += m(i, j) * m(i, j);
        }
        if (off <= 1e-30 * diagonal || off == 0.0)
            break;
        for (std::size_t p = 0; p < n; ++p)
            for (std::size_t q = p + 1; q < n; ++q) {
                const double apq = m(p, q);
                if (apq == 0.0)
                    continue;
                const double theta = (m(q, q) - m(p, p)) / (2.0 * apq);
                const double t =
                    (theta >= 0 ? 1.0 : -1.0) / (std::abs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0), s = t * c;
                for (std::size_t k = 0; k < n; ++k) {
                    const double mkp = m(k, p), mkq = m(k, q);
                    m(k, p) = c * mkp - s * mkq;
                    m(k, q) = s * mkp + c * mkq;
                }
                for (std::size_t k = 0; k < n; ++k) {
                    const double mpk = m(p, k), mqk = m(q, k);
                    m(p, k) = c * mpk - s * mqk;
                    m(q, k) = s * mpk + c * mqk;
                }
                for (std::size_t k = 0; k < n; ++k) {
                    const double vkp = v(k, p), vkq = v(k, q);
                    v(k, p) = c * vkp - s * vkq;
                    v(k, q) = s * vkp + c * vkq;
                }
            }
    }
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return m(a, a) < m(b, b); });
    eigen_pairs result{std::vector<double>(n), square_matrix(n)};
    for (std::size_t k = 0; k < n; ++k) {
        result.values[k] = m(order[k], order[k]);
        for (std::size_t i = 0; i < n; ++i)
            result.vectors(i, k) = v(i, order[k]);
    }
    return result;
}

square_matrix pseudo_inverse(const square_matrix& m, double relative) {
    const eigen_pairs e = symmetric_eigen(m);
    double largest = 0.0;
    for (double x : e.values)
        largest = std::max(largest, std::abs(x));
    square_matrix inverse(m.n);
    for (std::size_t k = 0; k < m.n; ++k) {
        if (std::abs(e.values[k]) <= relative * largest || largest == 0.0)
            continue;
        for (std::size_t i = 0; i < m.n; ++i)
            for (std::size_t j = 0; j < m.n; ++j)
                inverse(i, j) += e.vectors(i, k) * e.vectors(j, k) / e.values[k];
    }
    return inverse;
}

} // namespace tolvex
