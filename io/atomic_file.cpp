#include "io/atomic_file.hpp"

#include "io/staged_files.hpp"

namespace tolvex {

void write_file_atomically(const std::string& path, const std::string& content) {
    staged_files file;
    file.write(path, content);
    file.commit();
}

} // namespace tolvex
