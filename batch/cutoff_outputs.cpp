#include "batch/cutoff_outputs.hpp"

#include "drawing/section_drawing.hpp"
#include "formats/cutoff_export.hpp"
#include "model/fault_diagram.hpp"
#include "model/fault_label.hpp"
#include "model/step_label.hpp"

namespace tolvex {

std::vector<named_file> cutoff_outputs(const batch_options& o) {
    return {{"--save-cutoffs", o.save_cutoffs},
            {"--save-separations", o.save_separations},
            {"--save-fault-diagram", o.save_fault_diagram}};
}

bool wants_cutoffs(const batch_options& o) {
    return !o.save_cutoffs.empty() || !o.save_separations.empty() || !o.save_fault_diagram.empty();
}

void check_diagram_fault(const batch_options& o, const std::vector<fault>& loaded) {
    if (o.diagram_fault && !fault_with_id(loaded, *o.diagram_fault))
        throw usage_error("--fault: no loaded fault has the identifier " +
                          std::to_string(*o.diagram_fault));
}

namespace {

// Both runs' diagrams of the fault --fault names, one above the other, drawn as sections are
// (units, image size).
std::string diagram_file(const batch_options& o, const std::vector<run_cutoffs>& runs,
                         const model_result& result, const section_style& style) {
    std::vector<std::string> names;
    for (const horizon& h : result.horizons)
        names.push_back(h.name);
    std::vector<section> panels;
    for (const run_cutoffs& r : runs) {
        const run_state& state = r.run == run_kind::forward ? result.forward : result.restored;
        // check_diagram_fault found it among the loaded faults, which both runs hold.
        const std::optional<std::size_t> k = fault_with_id(state.faults, *o.diagram_fault);
        panels.push_back(fault_diagram(state, *k, r.segments, names, result.centre,
                                       std::string(run_state_word(r.run)) + ": fault " +
                                           fault_short_label(state.faults[*k]) +
                                           horizon_set_suffix(state.carried)));
    }
    drawing_format format = drawing_format::svg;
    drawing_format_of(o.save_fault_diagram, format);
    return draw_sections(panels, style, format);
}

} // namespace

void stage_cutoff_outputs(const batch_options& o, const model_result& result,
                          const section_style& style, staged_files& out) {
    if (!wants_cutoffs(o))
        return;
    std::vector<run_cutoffs> runs;
    for (const auto& [kind, state] : {std::pair{run_kind::restoration, &result.restored},
                                      std::pair{run_kind::forward, &result.forward}}) {
        run_cutoffs r{kind, state->faults, cutoff_segments(*state), {}};
        r.separations = separations_of(*state, r.segments, o.cutoff_spacing);
        runs.push_back(std::move(r));
    }
    if (!o.save_cutoffs.empty())
        out.write(o.save_cutoffs,
                  cutoffs_text(o.save_cutoffs, runs, result.horizons, result.centre));
    if (!o.save_separations.empty())
        out.write(o.save_separations, separations_csv(runs, result.horizons));
    if (!o.save_fault_diagram.empty())
        out.write(o.save_fault_diagram, diagram_file(o, runs, result, style));
}

} // namespace tolvex
