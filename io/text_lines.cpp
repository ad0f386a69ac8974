#include "text_lines.hpp"

#include "input_error.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tolvex {

namespace {
// Closes the descriptor on every way out, the error paths included.
struct file_descriptor {
    int fd;
    ~file_descriptor() { ::close(fd); }
};
} // namespace

std::optional<std::string> read_text_file(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const file_descriptor guard{fd};
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0)
            return text;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw input_error(path, 0, std::string("read failed: ") + std::strerror(errno));
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace tolvex
