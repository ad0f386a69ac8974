#include "batch/output_checks.hpp"

#include "batch/batch_options.hpp"
#include "formats/step_files.hpp"
#include "io/output_target.hpp"

#include <filesystem>

namespace tolvex {

namespace {

[[noreturn]] void collision(const named_file& out, const named_file& other) {
    throw usage_error(out.option + " and " + other.option + " name the same file: " + other.path);
}

} // namespace

void check_outputs(const std::vector<named_file>& inputs, const std::vector<named_file>& outputs) {
    std::vector<named_file> before = inputs;
    for (const named_file& out : outputs) {
        if (out.path.empty())
            continue;
        for (const named_file& other : before)
            if (same_file(out.path, other.path))
                collision(out, other);
        before.push_back(out);
    }
}

void check_steps_folder(const named_file& steps, const std::vector<named_file>& files) {
    for (const named_file& other : files) {
        if (other.path.empty())
            continue;
        const std::filesystem::path file(written_file(other.path));
        const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
        if (is_step_file_name(file.filename().string()) && same_file(folder, steps.path))
            collision(steps, other);
    }
}

} // namespace tolvex
