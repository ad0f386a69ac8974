#include "tracer_file.hpp"

#include "atomic_file.hpp"
#include "input_error.hpp"
#include "text_format.hpp"

#include <cmath>

namespace tolvex {

void write_tracer_file(const std::string& path, const point_list& points, double radius) {
    // The configuration never gives 0, but a caller might; nothing is written then.
    if (radius == 0.0 || !std::isfinite(radius))
        throw output_error("Failed to write tracers to [" + path +
                           "]: the tracer radius must be a finite number other than 0");
    std::string text;
    for (const vec3& p : points)
        text += format_text("%15.8f %15.8f %15.8f\n", p[0] / radius, p[1] / radius, p[2] / radius);
    write_file_atomically(path, text);
}

} // namespace tolvex
