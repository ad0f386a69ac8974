#include "model/fault_orientation.hpp"

#include "geometry/vector_utils.hpp"
#include "io/number_text.hpp"

#include <boost/numeric/ublas/vector.hpp>
#include <cmath>

namespace tolvex {

namespace {

namespace ublas = boost::numeric::ublas;

constexpr double degree = 3.14159265358979323846 / 180.0;

// The unit horizontal vector with that azimuth.
vec3 horizontal(double azimuth) {
    return make_vec3(std::sin(azimuth * degree), std::cos(azimuth * degree), 0.0);
}

double azimuth_of(double east, double north) {
    if (east == 0.0 && north == 0.0)
        return 0.0;
    const double a = std::atan2(east, north) / degree;
    return a < 0.0 ? a + 360.0 : a;
}

std::string angles_text(const std::array<double, 2>& a) {
    return general_text(a[0]) + "/" + general_text(a[1]);
}

std::string vector_text(const vec3& v) {
    return "(" + general_text(v[0]) + ", " + general_text(v[1]) + ", " + general_text(v[2]) + ")";
}

} // namespace

vec3 plane_normal(double dip_direction, double dip) {
    const vec3 h = horizontal(dip_direction);
    return make_vec3(h[0] * std::sin(dip * degree), h[1] * std::sin(dip * degree),
                     std::cos(dip * degree));
}

vec3 slip_vector(double azimuth, double plunge) {
    const vec3 h = horizontal(azimuth);
    const double c = std::cos(plunge * degree);
    return make_vec3(h[0] * c, h[1] * c, -std::sin(plunge * degree));
}

vec3 rake_vector(double dip_direction, double dip, double rake) {
    const vec3 strike = horizontal(dip_direction - 90.0);
    const vec3 up_dip = -slip_vector(dip_direction, dip);
    return std::cos(rake * degree) * strike + std::sin(rake * degree) * up_dip;
}

std::array<double, 2> plane_angles_of(const vec3& n) {
    // The plane is the same whichever way n points; its dip is measured from the upward normal.
    const double horizontal_length = std::hypot(n[0], n[1]);
    return {azimuth_of(n[2] < 0.0 ? -n[0] : n[0], n[2] < 0.0 ? -n[1] : n[1]),
            std::atan2(horizontal_length, std::abs(n[2])) / degree};
}

std::array<double, 2> slip_angles_of(const vec3& v) {
    return {azimuth_of(v[0], v[1]), std::atan2(-v[2], std::hypot(v[0], v[1])) / degree};
}

double rake_of(const vec3& s, double dip_direction, double dip) {
    const vec3 strike = horizontal(dip_direction - 90.0);
    const vec3 up_dip = -slip_vector(dip_direction, dip);
    return std::atan2(ublas::inner_prod(s, up_dip), ublas::inner_prod(s, strike)) / degree;
}

double angle_between(const vec3& a, const vec3& b) {
    // atan2 of the sine and cosine stays accurate for small angles, where acos does not.
    return std::atan2(ublas::norm_2(cross_prod3(a, b)), ublas::inner_prod(a, b)) / degree;
}

std::optional<std::string> angle_disagreement(const fault& f) {
    std::string text;
    // A plane is the same for either sense of its normal.
    const double plane_off =
        angle_between(plane_normal(f.plane_angles[0], f.plane_angles[1]), f.normal);
    const double plane_gap = std::min(plane_off, 180.0 - plane_off);
    if (!(plane_gap <= angle_tolerance))
        text = "plane azimuth/inclination " + angles_text(f.plane_angles) + " and normal " +
               vector_text(f.normal) + " (" + angles_text(plane_angles_of(f.normal)) + ") are " +
               general_text(plane_gap, 3) + " degrees apart";
    const vec3 forward = -f.slip_dir;
    const double slip_gap = angle_between(slip_vector(f.slip_angles[0], f.slip_angles[1]), forward);
    if (!(slip_gap <= angle_tolerance))
        text += (text.empty() ? "" : "; ") + std::string("slip azimuth/plunge ") +
                angles_text(f.slip_angles) + " and slip direction " + vector_text(forward) + " (" +
                angles_text(slip_angles_of(forward)) + ") are " + general_text(slip_gap, 3) +
                " degrees apart";
    if (text.empty())
        return std::nullopt;
    return text + "; the run uses the vectors";
}

} // namespace tolvex
