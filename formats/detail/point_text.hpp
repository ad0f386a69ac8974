// A point as one line of text, shared by the surface writers.
#pragma once

#include "geometry/vector3.hpp"
#include "io/number_text.hpp"

#include <string>

namespace tolvex {

// prefix, then the point's three coordinates, each after a blank, shortest and locale-free.
inline void append_point(std::string& out, const char* prefix, const vec3& v) {
    out += prefix;
    for (int k = 0; k < 3; ++k) {
        out += ' ';
        append_shortest(out, v[k]);
    }
    out += '\n';
}

} // namespace tolvex
