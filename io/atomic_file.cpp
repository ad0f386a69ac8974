#include "atomic_file.hpp"

#include "input_error.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvex {

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& what, int err) {
    throw output_error("cannot write " + path + ": " + what + ": " + std::strerror(err));
}

// Writes all of content to fd; false on any short or failed write.
bool write_all(int fd, const std::string& content) {
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

void write_file_atomically(const std::string& path, const std::string& content) {
    const std::filesystem::path target(path);
    if (target.filename().empty())
        throw output_error("cannot write " + path + ": not a file name");
    std::string temp =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    if (target.parent_path().empty())
        temp = "." + target.filename().string() + ".XXXXXX";

    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        fail(path, "cannot create a file in its folder", errno);
    const bool written = write_all(fd, content);
    int err = errno;
    const bool synced = written && ::fsync(fd) == 0;
    if (written && !synced)
        err = errno;
    const bool closed = ::close(fd) == 0;
    if (synced && !closed)
        err = errno;
    if (!(written && synced && closed)) {
        ::unlink(temp.c_str());
        fail(path, "writing failed", err);
    }
    // mkstemp makes the file private; a saved file gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(temp.c_str(), 0666 & ~mask);
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        err = errno;
        ::unlink(temp.c_str());
        fail(path, "cannot replace the file", err);
    }
}

} // namespace tolvex
