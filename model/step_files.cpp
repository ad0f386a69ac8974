#include "step_files.hpp"

#include "block_export.hpp"
#include "file_paths.hpp"

#include <algorithm>
#include <regex>

namespace tolvex {

namespace {

std::string series_name(run_kind run, bool tracers) {
    return std::string(run == run_kind::restoration ? "restoration" : "forward") +
           (tracers ? "_tracers" : "");
}

std::string fault_label(const fault* applied) {
    if (applied == nullptr)
        return "initial";
    return std::to_string(applied->id) + (applied->tag.empty() ? "" : " " + applied->tag);
}

} // namespace

std::string step_file_name(run_kind run, bool tracers, std::size_t step, std::size_t step_count,
                           step_format format) {
    const std::size_t width = std::max<std::size_t>(3, std::to_string(step_count).size());
    const std::string number = std::to_string(step);
    return series_name(run, tracers) + "_" +
           std::string(width - std::min(width, number.size()), '0') + number +
           (format == step_format::vtp ? ".vtp" : ".vtk");
}

std::string step_series_index(run_kind run, bool tracers, std::size_t step_count,
                              step_format format) {
    std::string out = "{\n  \"file-series-version\": \"1.0\",\n  \"files\": [\n";
    for (std::size_t step = 0; step <= step_count; ++step)
        out += "    {\"name\": \"" + step_file_name(run, tracers, step, step_count, format) +
               "\", \"time\": " + std::to_string(step) + (step < step_count ? "},\n" : "}\n");
    return out + "  ]\n}\n";
}

bool is_step_file_name(const std::string& name) {
    static const std::regex pattern(
        R"((restoration|forward)(_tracers)?(_[0-9]{3,}\.vt[kp]|\.vtk\.series))");
    return std::regex_match(name, pattern);
}

void stage_step_files(const run_step& step, const std::string& folder, staged_files& out,
                      step_format format) {
    const std::string label = fault_label(step.applied);
    const bool vtp = format == step_format::vtp;
    out.write(
        join_path(folder, step_file_name(step.run, false, step.step, step.step_count, format)),
        vtp ? blocks_to_vtp(step.blocks, step.centre, label)
            : blocks_to_vtk(step.blocks, step.centre, label));
    out.write(join_path(folder, step_file_name(step.run, true, step.step, step.step_count, format)),
              vtp ? tracers_to_vtp(step.tracers, step.centre, label)
                  : tracers_to_vtk(step.tracers, step.centre, label));
    if (step.step < step.step_count)
        return;
    for (const bool tracers : {false, true})
        out.write(join_path(folder, series_name(step.run, tracers) + ".vtk.series"),
                  step_series_index(step.run, tracers, step.step_count, format));
}

} // namespace tolvex
