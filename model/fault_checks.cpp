#include "model/detail/fault_checks.hpp"

#include "io/number_text.hpp"
#include "model/fault_label.hpp"

#include <boost/numeric/ublas/vector.hpp>
#include <cmath>

namespace tolvex {

namespace {
constexpr double tolerance = 1e-6;
} // namespace

std::vector<std::string> fault_warnings(const std::vector<fault>& faults) {
    namespace ublas = boost::numeric::ublas;
    std::vector<std::string> out;
    for (const fault& f : faults) {
        const double length = ublas::norm_2(f.slip_dir);
        if (!(std::abs(length - 1.0) <= tolerance))
            out.push_back(fault_label(f) + ": slip direction has length " + general_text(length) +
                          ", not 1; the slip is " + general_text(length * f.slip_mag) + " long");
        const double normal_length = ublas::norm_2(f.normal);
        const double off_plane =
            std::abs(ublas::inner_prod(f.slip_dir, f.normal)) / (normal_length * length);
        if (!(off_plane <= tolerance))
            out.push_back(fault_label(f) + ": slip direction leaves the fault plane (cosine " +
                          general_text(off_plane) + " to the normal)");
    }
    return out;
}

} // namespace tolvex
