#include "tests/support/grid_horizon.hpp"

horizon grid_horizon(std::string name, double x0, double y0, double size, int cells,
                     const std::function<double(double, double)>& height) {
    horizon h{std::move(name), {}, {}};
    for (int i = 0; i <= cells; ++i)
        for (int j = 0; j <= cells; ++j) {
            const double x = x0 + size * i / cells, y = y0 + size * j / cells;
            h.vertices.push_back(make_vec3(x, y, height(x, y)));
        }
    for (int i = 0; i < cells; ++i)
        for (int j = 0; j < cells; ++j) {
            const int p = i * (cells + 1) + j, q = p + cells + 1;
            h.triangles.push_back({p, q, q + 1});
            h.triangles.push_back({p, q + 1, p + 1});
        }
    return h;
}
