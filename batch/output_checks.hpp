// The checks that tolvex-batch never writes over a file it reads, nor writes one file twice.
#pragma once

#include <string>
#include <vector>

namespace tolvex {

// A file of the run and the option (or setting) that names it, for messages.
struct named_file {
    std::string option;
    std::string path;
};

// Throws usage_error "OUTPUT and OTHER name the same file: PATH" when an output names an input or
// an output before it. Outputs with an empty path are not written and not checked.
void check_outputs(const std::vector<named_file>& inputs, const std::vector<named_file>& outputs);

// Throws usage_error "STEPS and OTHER name the same file: PATH" when one of files would be a step
// file or series index in the folder that steps names.
void check_steps_folder(const named_file& steps, const std::vector<named_file>& files);

} // namespace tolvex
