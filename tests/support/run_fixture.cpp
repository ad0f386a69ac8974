#include "run_fixture.hpp"

#include <fstream>
#include <random>
#include <sstream>

namespace run_test {

temp_folder::temp_folder() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("tolvex-run-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
}

temp_folder::~temp_folder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string temp_folder::write(const std::string& name, const std::string& content) const {
    const std::string p = file(name);
    std::ofstream(p, std::ios::binary) << content;
    return p;
}

std::string box_boundary(double lo_x, double lo_y, double lo_z, double hi_x, double hi_y,
                         double hi_z) {
    std::ostringstream s;
    s.precision(17);
    for (int k = 0; k < 8; ++k) {
        // corners 0-3 at the base counter-clockwise from (lo, lo), 4-7 above them
        const bool hx = k % 4 == 1 || k % 4 == 2, hy = k % 4 >= 2, hz = k >= 4;
        s << "VERTEX=" << (hx ? hi_x : lo_x) << "," << (hy ? hi_y : lo_y) << ","
          << (hz ? hi_z : lo_z) << "\n";
    }
    s << "EDGE=0,1\nEDGE=1,2\nEDGE=2,3\nEDGE=3,0\nEDGE=4,5\nEDGE=5,6\nEDGE=6,7\nEDGE=7,4\n"
         "EDGE=0,4\nEDGE=1,5\nEDGE=2,6\nEDGE=3,7\n"
         "FACE=4,0,3,2,1,0,0,-1\nFACE=4,4,5,6,7,0,0,1\nFACE=4,0,1,5,4,0,-1,0\n"
         "FACE=4,1,2,6,5,1,0,0\nFACE=4,2,3,7,6,0,1,0\nFACE=4,3,0,4,7,-1,0,0\n";
    return s.str();
}

std::string fault_line(int id, double slip_mag, const double (&slip)[3], const double (&normal)[3],
                       const double (&point)[3], int order) {
    std::ostringstream s;
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

} // namespace run_test
