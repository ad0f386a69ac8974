// A cube block centred on the origin, for the viewer's tests.
#pragma once

#include "block.hpp"

// Corners at +-h on every axis, twelve edges, six square faces with outward normals.
inline block test_cube(double h) {
    block b;
    for (int i = 0; i < 8; ++i)
        b.vertices.push_back(make_vec3(i & 1 ? h : -h, i & 2 ? h : -h, i & 4 ? h : -h));
    for (int i = 0; i < 8; ++i)
        for (int bit : {1, 2, 4})
            if (!(i & bit))
                b.edges.push_back({i, i | bit});
    const int quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                             {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    const double normals[6][3] = {{0, 0, -1}, {0, 0, 1},  {0, -1, 0},
                                  {0, 1, 0},  {-1, 0, 0}, {1, 0, 0}};
    for (int i = 0; i < 6; ++i) {
        face f;
        f.indices.assign(quads[i], quads[i] + 4);
        f.normal = make_vec3(normals[i][0], normals[i][1], normals[i][2]);
        b.faces.push_back(f);
    }
    return b;
}
