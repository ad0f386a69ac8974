#include "fault_checks.hpp"

#include <boost/numeric/ublas/vector.hpp>
#include <cmath>
#include <cstdio>

namespace tolvex {

namespace {
constexpr double tolerance = 1e-6;

std::string fault_label(const fault& f) {
    return "fault " + std::to_string(f.id) + " (sequence " + std::to_string(f.order) + ")";
}

std::string number(double x) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", x);
    return buf;
}
} // namespace

std::vector<std::string> fault_warnings(const std::vector<fault>& faults) {
    namespace ublas = boost::numeric::ublas;
    std::vector<std::string> out;
    for (const fault& f : faults) {
        const double length = ublas::norm_2(f.slip_dir);
        if (!(std::abs(length - 1.0) <= tolerance))
            out.push_back(fault_label(f) + ": slip direction has length " + number(length) +
                          ", not 1; the slip is " + number(length * f.slip_mag) + " long");
        const double normal_length = ublas::norm_2(f.normal);
        const double off_plane =
            std::abs(ublas::inner_prod(f.slip_dir, f.normal)) / (normal_length * length);
        if (!(off_plane <= tolerance))
            out.push_back(fault_label(f) + ": slip direction leaves the fault plane (cosine " +
                          number(off_plane) + " to the normal)");
    }
    return out;
}

} // namespace tolvex
