#include "io/file_paths.hpp"

#include <filesystem>

namespace tolvex {

std::string executable_dir() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

std::string join_path(const std::string& dir, const std::string& name) {
    if (dir.empty() || std::filesystem::path(name).is_absolute())
        return name;
    return dir + static_cast<char>(std::filesystem::path::preferred_separator) + name;
}

} // namespace tolvex
