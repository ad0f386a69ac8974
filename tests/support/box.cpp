#include "tests/support/box.hpp"

#include <locale>
#include <sstream>

block make_box(const vec3& lo, const vec3& hi) {
    block b;
    for (int k = 0; k < 8; ++k) {
        const bool x = (k % 4 == 1 || k % 4 == 2), y = (k % 4 >= 2), z = k >= 4;
        b.vertices.push_back(make_vec3(x ? hi[0] : lo[0], y ? hi[1] : lo[1], z ? hi[2] : lo[2]));
    }
    b.edges = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
               {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    const int corners[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                               {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    const vec3 normals[6] = {make_vec3(0, 0, -1), make_vec3(0, 0, 1), make_vec3(0, -1, 0),
                             make_vec3(1, 0, 0),  make_vec3(0, 1, 0), make_vec3(-1, 0, 0)};
    for (int f = 0; f < 6; ++f)
        b.faces.push_back(face{corner_list(corners[f], corners[f] + 4), normals[f]});
    return b;
}

block make_cube(double half) {
    return make_box(make_vec3(-half, -half, -half), make_vec3(half, half, half));
}

std::string box_boundary(const vec3& lo, const vec3& hi) {
    const block b = make_box(lo, hi);
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s.precision(17);
    for (const vec3& v : b.vertices)
        s << "VERTEX=" << v[0] << "," << v[1] << "," << v[2] << "\n";
    for (const edge& e : b.edges)
        s << "EDGE=" << e[0] << "," << e[1] << "\n";
    for (const face& f : b.faces) {
        s << "FACE=" << f.indices.size();
        for (int i : f.indices)
            s << "," << i;
        s << "," << f.normal[0] << "," << f.normal[1] << "," << f.normal[2] << "\n";
    }
    return s.str();
}
