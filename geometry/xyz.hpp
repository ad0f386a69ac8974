// A point or direction as three plain doubles, the form the working blocks and block sets hold,
// with the few products on it that are spelled out for speed.
#pragma once

#include <array>
#include <cstddef>
#include <span>

using xyz = std::array<double, 3>;

inline double dot(const xyz& a, const xyz& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

inline xyz minus(const xyz& a, const xyz& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

inline xyz cross(const xyz& a, const xyz& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The normal of a plane polygon by Newell's method, twice its area long, pointing where its
// corners turn counter-clockwise.
inline xyz newell_normal(std::span<const xyz> corners) {
    xyz n{0.0, 0.0, 0.0};
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const xyz& a = corners[i];
        const xyz& c = corners[(i + 1) % corners.size()];
        n[0] += (a[1] - c[1]) * (a[2] + c[2]);
        n[1] += (a[2] - c[2]) * (a[0] + c[0]);
        n[2] += (a[0] - c[0]) * (a[1] + c[1]);
    }
    return n;
}
