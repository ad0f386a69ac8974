// The error types through which bad input files and failed writes reach the user.
#pragma once

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

namespace tolvex {

// Receives the text of a doubtful input that is read and used as given.
using warn_fn = std::function<void(const std::string&)>;

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

// A file that cannot be opened: line 0, reason "cannot open the file: " and the system's text for
// the errno value error_number() ("No such file or directory", "Permission denied", ...).
class open_error : public input_error {
  public:
    open_error(const std::string& path, int error_number);
    int error_number() const { return error_number_; }

  private:
    int error_number_;
};

// fn() while it reads the file at path: running out of memory there is an input_error naming the
// file, not a bare std::bad_alloc.
template <class Fn> decltype(auto) reading_file(const std::string& path, Fn&& fn) {
    try {
        return fn();
    } catch (const std::bad_alloc&) {
        throw input_error(path, 0, "not enough memory to read the file");
    }
}

// Writing a file failed; what() names the path and the cause. The target was left as it was.
class output_error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace tolvex
