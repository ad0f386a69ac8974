// A point or direction as three plain doubles, the form the working blocks and block sets hold,
// with the few products on it that are spelled out for speed.
#pragma once

#include <array>

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
