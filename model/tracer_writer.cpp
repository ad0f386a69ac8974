#include "tracer_file.hpp"

#include "input_error.hpp"
#include "text_format.hpp"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace tolvex {

namespace {

std::string tracer_text(const point_list& points, double radius) {
    std::string text;
    for (const vec3& p : points)
        text += format_text("%15.8f %15.8f %15.8f\n", p[0] / radius, p[1] / radius, p[2] / radius);
    return text;
}

[[noreturn]] void fail(const std::string& path, const std::string& cause) {
    throw output_error("Failed to write tracers to [" + path + "]: " + cause);
}

// Creates a new, empty file beside path (same folder, so the rename cannot cross file systems).
// Returns its descriptor and sets name; fails when the folder cannot be written.
int create_temporary(const std::string& path, std::string& name) {
    for (int attempt = 0;; ++attempt) {
        name = path + "." + std::to_string(::getpid()) + "." + std::to_string(attempt) + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST || attempt == 100)
            fail(path, std::strerror(errno));
    }
}

// Writes all of text to fd and flushes it to the disk; false with errno set on failure.
bool write_all(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return ::fsync(fd) == 0;
}

} // namespace

void write_tracer_file(const std::string& path, const point_list& points, double radius) {
    if (radius == 0.0 || !std::isfinite(radius))
        fail(path, "the tracer radius must be a finite number other than 0");
    const std::string text = tracer_text(points, radius);
    std::string temporary;
    const int fd = create_temporary(path, temporary);
    std::string cause;
    if (!write_all(fd, text))
        cause = std::strerror(errno);
    if (::close(fd) != 0 && cause.empty())
        cause = std::strerror(errno);
    if (cause.empty()) {
        std::error_code ec;
        std::filesystem::rename(temporary, path, ec);
        if (!ec)
            return;
        cause = ec.message();
    }
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    fail(path, cause);
}

} // namespace tolvex
