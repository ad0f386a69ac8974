// Small models on disk for run tests: a temporary folder with boundary, tracer and fault files.
#pragma once

#include "fault.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace run_test {

// A fresh temporary folder, removed with the object.
class temp_folder {
  public:
    temp_folder();
    ~temp_folder();
    temp_folder(const temp_folder&) = delete;
    temp_folder& operator=(const temp_folder&) = delete;
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string write(const std::string& name, const std::string& content) const;

  private:
    std::filesystem::path path_;
};

// Boundary file text of the axis-aligned box [lo, hi].
std::string box_boundary(double lo_x, double lo_y, double lo_z, double hi_x, double hi_y,
                         double hi_z);

// One tab-separated fault line: file slip direction (forward sense), normal, point, sequence.
std::string fault_line(int id, double slip_mag, const double (&slip)[3], const double (&normal)[3],
                       const double (&point)[3], int order);

} // namespace run_test
