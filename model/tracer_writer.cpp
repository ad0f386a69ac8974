#include "model/tracer_file.hpp"

#include "io/atomic_file.hpp"
#include "io/input_error.hpp"
#include "io/number_text.hpp"

#include <cmath>

namespace tolvex {

void write_tracer_file(const std::string& path, const point_list& points, double radius) {
    // The configuration never gives 0, but a caller might; nothing is written then.
    if (radius == 0.0 || !std::isfinite(radius))
        throw output_error("Failed to write tracers to [" + path +
                           "]: the tracer radius must be a finite number other than 0");
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
    write_file_atomically(path, text);
}

} // namespace tolvex
