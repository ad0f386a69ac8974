// The command line of tolvex-batch.
#pragma once

#include "config/display_modes.hpp"
#include "drawing/section_drawing.hpp"
#include "formats/step_files.hpp"
#include "model/model_run.hpp"
#include "model/run_section.hpp"
#include "model/section.hpp"

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tolvex {

// Which step of which run --save-image draws; no step means the run's last.
struct image_step {
    run_kind run = run_kind::forward;
    std::optional<std::size_t> step;
};

// What --section and --save-section ask for: the steps drawn one above the other on one page.
struct section_options {
    std::string path;
    drawing_format format = drawing_format::svg;
    bool vtk = false; // the polygons and traces as 3-D geometry instead of a drawing
    section_path line;
    std::vector<image_step> steps; // default: the last step of the restoration, then the forward
    std::optional<double> band;
    double exaggeration = 1.0;
};

struct batch_options {
    std::string faults;
    std::string config;
    std::string boundary;
    std::string tracers;
    std::optional<double> tracer_radius;
    std::string horizons;            // carried by both runs
    std::string present_horizons;    // carried by the restoration only
    std::string undeformed_horizons; // carried by the forward run only
    std::string save_tracers;
    std::string save_faults;
    std::string fault_surfaces; // one surface per fault, whose planes the --faults table takes
    std::optional<double> max_fault_misfit;
    std::string save_cutoffs;     // .vtk or .pl
    std::string save_separations; // .csv
    std::optional<double> cutoff_spacing;
    std::string save_fault_diagram; // .svg, .pdf or .png, of the fault diagram_fault names
    std::optional<int> diagram_fault;
    std::string save_restored_tracers;
    std::string save_blocks;
    std::string save_restored_blocks;
    std::string save_horizons;
    std::string save_restored_horizons;
    std::string save_fault_surfaces;
    std::string save_restored_fault_surfaces;
    std::string save_tracer_points;
    std::string save_steps;
    step_format steps_format = step_format::vtp;
    std::string save_image;
    int image_width = 640;
    int image_height = 480;
    bool image_size_given = false; // a section's PNG takes --image-size only when it is given
    image_step picture_step;
    std::optional<section_options> section;
    std::optional<std::string> units; // --units, over the config's UNITS=
    // The picture's modes as given (--view-shading, --view-colour, --view-tracers,
    // --view-blocks); the configuration's where not given.
    std::optional<bool> image_lit;
    std::optional<face_colouring> image_colouring;
    std::optional<tracer_look> image_tracers;
    std::optional<block_look> image_blocks;
    // --fit-slips: the slips fitted to the horizons replace the loaded ones before the run.
    bool fit_slips = false;
    bool fit_rake = false;
    std::string datum; // empty or "regional", "horizontal", else a datum file
    bool allow_unconverged = false;
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// A command line that cannot be used; what() says why.
class usage_error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Parses argv. Throws usage_error on unknown options, missing or bad values, when only one of
// --boundary and --tracers is given without --config, for
// --image-step without --save-image, for --horizons with --present-horizons or
// --undeformed-horizons, and for a surface or tracer-point file name whose ending
// names no format.
batch_options parse_batch_options(int argc, const char* const* argv);

// Throws usage_error naming the first horizon output of o when the runs have no horizons, and
// naming a run's horizon output when only the other run has horizons.
void check_horizon_outputs(const batch_options& o, bool restored_has, bool forward_has);

// Throws a usage error when a block file or the picture is named with an ending it cannot be
// written in, naming the endings it can. Checked after the outputs are known not to overwrite an
// input, which is the graver fault.
void check_output_endings(const batch_options& o);

// The usage text printed with --help.
std::string batch_usage();

} // namespace tolvex
