// Eigenvalues and eigenvectors of a small dense symmetric matrix, for the slip fit's normal
// equations: tens to a few hundred unknowns, where a cyclic Jacobi sweep is exact enough and
// needs no library.
#pragma once

#include <cstddef>
#include <vector>

namespace tolvex {

// A square matrix of n rows, row by row.
struct square_matrix {
    std::size_t n = 0;
    std::vector<double> a;
    explicit square_matrix(std::size_t size = 0) : n(size), a(size * size, 0.0) {}
    double& operator()(std::size_t i, std::size_t j) { return a[i * n + j]; }
    double operator()(std::size_t i, std::size_t j) const { return a[i * n + j]; }
};

struct eigen_pairs {
    std::vector<double> values; // ascending
    square_matrix vectors;      // column k belongs to values[k]
};

// The eigen decomposition of the symmetric matrix m (only its upper triangle is read).
eigen_pairs symmetric_eigen(square_matrix m);

// The pseudo-inverse of the symmetric matrix m: eigenvalues at or below relative times the
// largest one in magnitude count as zero.
square_matrix pseudo_inverse(const square_matrix& m, double relative);

} // namespace tolvex
