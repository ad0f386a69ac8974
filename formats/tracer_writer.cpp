#include "formats/tracer_file.hpp"

#include "io/atomic_file.hpp"
#include "io/input_error.hpp"
#include "io/number_text.hpp"

#include <cmath>

namespace tolvex {

const char* tracer_radius_problem(double radius) {
    // 0 would put every tracer at the origin and make saving divide by zero; a radius so close
    // to 0 that 1 divided by it is infinite would make saving overflow.
    if (radius == 0.0)
        return "must not be 0";
    if (!std::isfinite(radius))
        return "must be a finite number";
    if (!std::isfinite(1.0 / radius))
        return "is too close to 0";
    return nullptr;
}

std::string tracers_to_text(const point_list& points, double radius, const std::string& path) {
    if (const char* problem = tracer_radius_problem(radius))
        throw output_error("Failed to write tracers to [" + path + "]: the tracer radius " +
                           problem);
    std::string text;
    text.reserve(points.size() * 48);
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (int k = 0; k < 3; ++k) {
            const double value = points[i][k] / radius;
            // A file with "inf" or "nan" in it could not be read back.
            if (!std::isfinite(value))
                throw output_error("Failed to write tracers to [" + path + "]: point " +
                                   std::to_string(i + 1) + " is not finite in units of the " +
                                   "tracer radius " + shortest_text(radius));
            if (k > 0)
                text += ' ';
            append_fixed(text, value, 8, 15);
        }
        text += '\n';
    }
    return text;
}

void write_tracer_file(const std::string& path, const point_list& points, double radius) {
    write_file_atomically(path, tracers_to_text(points, radius, path));
}

} // namespace tolvex
