#include "formats/step_files.hpp"

#include "formats/block_export.hpp"
#include "formats/surface_export.hpp"
#include "io/file_paths.hpp"

#include <algorithm>
#include <regex>

namespace tolvex {

namespace {

std::string series_name(run_kind run, step_series series) {
    static const char* const suffix[] = {"", "_tracers", "_horizons"};
    return std::string(run_name(run)) + suffix[static_cast<int>(series)];
}

std::string fault_label(const fault* applied) {
    if (applied == nullptr)
        return "initial";
    return std::to_string(applied->id) + (applied->tag.empty() ? "" : " " + applied->tag);
}

} // namespace

std::string step_file_name(run_kind run, step_series series, std::size_t step,
                           std::size_t step_count, step_format format) {
    const std::size_t width = std::max<std::size_t>(3, std::to_string(step_count).size());
    const std::string number = std::to_string(step);
    // Surfaces have only the legacy writer.
    const bool vtp = format == step_format::vtp && series != step_series::horizons;
    return series_name(run, series) + "_" +
           std::string(width - std::min(width, number.size()), '0') + number +
           (vtp ? ".vtp" : ".vtk");
}

std::string step_series_index_name(run_kind run, step_series series, step_format format) {
    // ParaView picks the reader from the ending before ".series": that of the files listed.
    const std::string first = step_file_name(run, series, 0, 0, format);
    return series_name(run, series) + first.substr(first.rfind('.')) + ".series";
}

std::string step_series_index(run_kind run, step_series series, std::size_t step_count,
                              step_format format) {
    std::string out = "{\n  \"file-series-version\": \"1.0\",\n  \"files\": [\n";
    for (std::size_t step = 0; step <= step_count; ++step)
        out += "    {\"name\": \"" + step_file_name(run, series, step, step_count, format) +
               "\", \"time\": " + std::to_string(step) + (step < step_count ? "},\n" : "}\n");
    return out + "  ]\n}\n";
}

bool is_step_file_name(const std::string& name) {
    static const std::regex pattern(
        R"((restoration|forward)(_tracers|_horizons)?(_[0-9]{3,}\.vt[kp]|\.vt[kp]\.series))");
    return std::regex_match(name, pattern);
}

void stage_step_files(const run_step& step, const std::vector<horizon>& horizons,
                      const std::string& folder, const file_fn& out, step_format format,
                      std::span<const std::vector<face>> outward,
                      const std::vector<std::string>& fault_labels, tracer_numbers* numbers) {
    const std::string label = fault_label(step.applied);
    const bool vtp = format == step_format::vtp;
    const auto path = [&](step_series series) {
        return join_path(folder,
                         step_file_name(step.run, series, step.step, step.step_count, format));
    };
    const fault_order order{step.run, step.step_count, fault_labels};
    out(path(step_series::blocks),
        !vtp              ? blocks_to_vtk(step.blocks, step.centre, label, order)
        : outward.empty() ? blocks_to_vtp(step.blocks, step.centre, label, order)
                          : blocks_to_vtp(step.blocks, outward, step.centre, label, order));
    out(path(step_series::tracers), vtp ? tracers_to_vtp(step.tracers, step.centre, label, numbers)
                                        : tracers_to_vtk(step.tracers, step.centre, label));
    std::vector<step_series> written = {step_series::blocks, step_series::tracers};
    if (step.horizons) {
        const std::string file = path(step_series::horizons);
        out(file, surfaces_to_text(horizon_surfaces(*step.horizons, horizons, step.centre), file,
                                   step.centre));
        written.push_back(step_series::horizons);
    }
    if (step.step < step.step_count)
        return;
    for (const step_series series : written)
        out(join_path(folder, step_series_index_name(step.run, series, format)),
            step_series_index(step.run, series, step.step_count, format));
}

} // namespace tolvex
