#include "io/text_lines.hpp"

#include "io/input_error.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvex {

namespace {
// Closes the descriptor on every way out, the error paths included.
struct file_descriptor {
    int fd;
    ~file_descriptor() { ::close(fd); }
};
void check_line_length(const std::string& path, int line, std::size_t length) {
    if (length > max_line_bytes)
        throw input_error(path, line,
                          "the line is longer than " + std::to_string(max_line_bytes >> 20) +
                              " MiB: this is no text input file");
}

} // namespace

std::optional<std::string> read_text_file(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT)
        return std::nullopt;
    if (fd < 0)
        throw open_error(path, errno);
    const file_descriptor guard{fd};
    // Read straight into a string of the file's size, one byte more to meet the end without
    // growing; a file that grows meanwhile, or has no size (a pipe), makes the string grow.
    struct stat status {};
    const bool known = ::fstat(fd, &status) == 0;
    // A folder opens but does not read: it is a file that cannot be opened as text.
    if (known && S_ISDIR(status.st_mode))
        throw open_error(path, EISDIR);
    const std::size_t size =
        known && status.st_size > 0 ? static_cast<std::size_t>(status.st_size) : 0;
    std::string text(size + 1, '\0');
    std::size_t filled = 0;
    // Where the line being read starts, and its number: a file without line ends (/dev/zero, a
    // binary file) stops at a line too long for any input instead of filling the memory.
    std::size_t line_start = 0;
    int line = 1;
    for (;;) {
        if (filled == text.size())
            text.resize(2 * text.size() + 65536);
        const ssize_t got = ::read(fd, text.data() + filled, text.size() - filled);
        if (got == 0) {
            text.resize(filled);
            return text;
        }
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw input_error(path, 0, std::string("read failed: ") + std::strerror(errno));
        }
        const std::size_t end = filled + static_cast<std::size_t>(got);
        for (std::size_t at = filled; at < end; ++at) {
            const void* found = std::memchr(text.data() + at, '\n', end - at);
            if (found == nullptr)
                break;
            at = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
            check_line_length(path, line, at - line_start);
            line_start = at + 1;
            ++line;
        }
        filled = end;
        check_line_length(path, line, filled - line_start);
    }
}

} // namespace tolvex
