#include "io/input_error.hpp"

#include <cstring>
#include <utility>

namespace tolvex {

namespace {
std::string format_input_error(const std::string& path, int line, const std::string& reason) {
    if (line > 0)
        return path + ":" + std::to_string(line) + ": " + reason;
    return path + ": " + reason;
}
} // namespace

input_error::input_error(std::string path, int line, std::string reason)
    : std::runtime_error(format_input_error(path, line, reason)), path_(std::move(path)),
      line_(line), reason_(std::move(reason)) {}

open_error::open_error(const std::string& path, int error_number)
    : input_error(path, 0, std::string("cannot open the file: ") + std::strerror(error_number)),
      error_number_(error_number) {}

} // namespace tolvex
