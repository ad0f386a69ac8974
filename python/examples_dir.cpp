#include "python/examples_dir.hpp"

#include <filesystem>
#include <stdexcept>

namespace tolvex {

std::string examples_dir_for(const std::string& module_file, const std::string& source_examples,
                             const std::function<bool(const std::string&)>& exists) {
    // module_file is PREFIX/lib/python3.../...-packages/tolvex....so, the same depth for the
    // Debian package, a CMake install and a pip install into a venv.
    const std::string installed =
        (std::filesystem::path(module_file).parent_path() / TOLVEX_EXAMPLES_FROM_MODULE)
            .lexically_normal()
            .string();
    if (exists(installed))
        return installed;
    if (exists(source_examples))
        return source_examples;
    throw std::runtime_error("no examples: neither " + installed + " nor " + source_examples +
                             " exists");
}

} // namespace tolvex
