// The error types through which bad input files and failed writes reach the user.
#pragma once

#include <stdexcept>
#include <string>

namespace tolvex {

// A problem in an input file. what() reads "path:line: reason" ("path: reason" when line is 0).
class input_error : public std::runtime_error {
  public:
    input_error(std::string path, int line, std::string reason);
    const std::string& path() const { return path_; }
    int line() const { return line_; }
    const std::string& reason() const { return reason_; }

  private:
    std::string path_;
    int line_;
    std::string reason_;
};

// Writing a file failed; what() names the path and the cause. The target was left as it was.
class output_error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace tolvex
