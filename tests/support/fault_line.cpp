#include "tests/support/fault_line.hpp"

#include <locale>
#include <sstream>

std::string fault_line(int id, double slip_mag, const double (&slip)[3], const double (&normal)[3],
                       const double (&point)[3], int order) {
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s.precision(17);
    s << "f" << id << "\t10\t20\t30\t40\ttag\t" << id << "\t" << slip_mag;
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
