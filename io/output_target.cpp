#include "io/output_target.hpp"

#include "io/input_error.hpp"

#include <filesystem>
#include <sys/stat.h>

namespace tolvex {

namespace fs = std::filesystem;

std::string written_file(const std::string& path) {
    fs::path file(path);
    // As many links as the system itself follows before it gives up.
    for (int links = 0; links < 40; ++links) {
        struct stat st;
        if (::lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return file.string();
        std::error_code ec;
        const fs::path to = fs::read_symlink(file, ec);
        if (ec)
            return file.string();
        file = to.is_absolute() ? to : file.parent_path() / to;
    }
    throw output_error("cannot write " + path + ": too many levels of symbolic links");
}

namespace {

fs::path normal_path(const std::string& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(written_file(path), ec);
    const fs::path canonical = fs::weakly_canonical(absolute, ec);
    return (ec ? absolute : canonical).lexically_normal();
}

} // namespace

bool same_file(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    const bool has_a = ::stat(a.c_str(), &sa) == 0, has_b = ::stat(b.c_str(), &sb) == 0;
    if (has_a && has_b)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return !has_a && !has_b && normal_path(a) == normal_path(b);
}

} // namespace tolvex
