#include "tests/support/piece_area.hpp"

#include "geometry/xyz.hpp"

#include <cmath>
#include <span>

double piece_area(const horizon_pieces& pieces, std::size_t p) {
    const std::span<const xyz> corners = pieces.piece(p);
    xyz twice{0.0, 0.0, 0.0};
    for (std::size_t i = 1; i + 1 < corners.size(); ++i) {
        const xyz c = cross(minus(corners[i], corners[0]), minus(corners[i + 1], corners[0]));
        for (int k = 0; k < 3; ++k)
            twice[k] += c[k];
    }
    return 0.5 * std::hypot(twice[0], twice[1], twice[2]);
}
