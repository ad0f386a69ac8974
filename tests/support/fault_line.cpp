#include "tests/support/fault_line.hpp"

#include "model/fault_orientation.hpp"

#include <locale>
#include <sstream>

std::string fault_line(int id, double slip_mag, const double (&slip)[3], const double (&normal)[3],
                       const double (&point)[3], int order) {
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s.precision(17);
    // Angles that agree with the vectors, so that reading does not warn.
    const auto plane = tolvex::plane_angles_of(make_vec3(normal[0], normal[1], normal[2]));
    const auto motion = tolvex::slip_angles_of(make_vec3(slip[0], slip[1], slip[2]));
    s << "f" << id << "\t" << plane[0] << "\t" << plane[1] << "\t" << motion[0] << "\t" << motion[1]
      << "\ttag\t" << id << "\t" << slip_mag;
    for (double x : slip)
        s << "\t" << x;
    for (double x : normal)
        s << "\t" << x;
    for (double x : point)
        s << "\t" << x;
    s << "\t" << order << "\n";
    return s.str();
}

std::string fault_line(int id, int order, const std::string& tag) {
    return "F" + std::to_string(id) + "\t30\t60\t120\t45\t" + tag + "\t" + std::to_string(id) +
           "\t2.5\t0\t0\t1\t0\t0.5\t1\t10\t20\t30\t" + std::to_string(order);
}
