#include "batch/batch_options.hpp"
#include "formats/file_formats.hpp"

#include "formats/fault_table.hpp"
#include "formats/tracer_file.hpp"
#include "io/number_text.hpp"
#include "io/text_fields.hpp"

#include <boost/program_options.hpp>
#include <charconv>
#include <cmath>
#include <sstream>
#include <string_view>
#include <utility>

namespace tolvex {

namespace po = boost::program_options;

namespace {

po::options_description option_table(batch_options& o) {
    po::options_description d("Options");
    // clang-format off
    d.add_options()
        ("faults", po::value(&o.faults)->value_name("FILE"), "fault data file (required)")
        ("config", po::value(&o.config)->value_name("FILE"),
         "a tolvex.conf; its file names are relative to its folder")
        ("boundary", po::value(&o.boundary)->value_name("FILE"), "boundary file (overrides the config)")
        ("tracers", po::value(&o.tracers)->value_name("FILE"), "tracer file (overrides the config)")
        ("tracer-radius", po::value<std::string>()->value_name("R"), "tracer scale (overrides the config)")
        ("save-tracers", po::value(&o.save_tracers)->value_name("FILE"), "write the forward tracers")
        ("fault-surfaces", po::value(&o.fault_surfaces)->value_name("FILE"),
         "fault surfaces (.ts, .obj or .vtk) whose fitted planes the --faults table's rows take")
        ("max-fault-misfit", po::value<std::string>()->value_name("D"),
         "refuse a fault surface further than D from its plane (default 5 % of its extent)")
        ("save-faults", po::value(&o.save_faults)->value_name("FILE"),
         "write the faults the run uses (.efd fault data file, .csv fault table)")
        ("save-cutoffs", po::value(&o.save_cutoffs)->value_name("FILE"),
         "write where each horizon meets each fault wall in both runs (.vtk or GOCAD .pl)")
        ("save-separations", po::value(&o.save_separations)->value_name("FILE.csv"),
         "write throw, heave and dip separation along each fault's strike")
        ("cutoff-spacing", po::value<std::string>()->value_name("D"),
         "separations every D along strike (default 1/50 of the fault's extent)")
        ("save-fault-diagram", po::value(&o.save_fault_diagram)->value_name("FILE"),
         "draw the --fault's plane face on with both walls' cutoffs (.svg, .pdf or .png)")
        ("fault", po::value<int>()->value_name("ID"), "the identifier of the fault to draw")
        ("save-restored-tracers", po::value(&o.save_restored_tracers)->value_name("FILE"),
         "write the restored tracers")
        ("save-blocks", po::value(&o.save_blocks)->value_name("FILE"),
         "write the forward blocks (VTK; VTK XML for a name ending in .vtp, OBJ for .obj)")
        ("save-restored-blocks", po::value(&o.save_restored_blocks)->value_name("FILE"),
         "write the restored blocks (VTK, VTK XML or OBJ)")
        ("horizons", po::value(&o.horizons)->value_name("FILE"),
         "horizons as .ts, .obj or .vtk surfaces, carried by both runs (overrides the config)")
        ("present-horizons", po::value(&o.present_horizons)->value_name("FILE"),
         "present-day horizons, which only the restoration carries (overrides the config)")
        ("undeformed-horizons", po::value(&o.undeformed_horizons)->value_name("FILE"),
         "undeformed horizons, which only the forward run carries (overrides the config)")
        ("save-horizons", po::value(&o.save_horizons)->value_name("FILE"),
         "write the forward horizons (.ts, .obj or .vtk)")
        ("save-restored-horizons", po::value(&o.save_restored_horizons)->value_name("FILE"),
         "write the restored horizons (.ts, .obj or .vtk)")
        ("save-fault-surfaces", po::value(&o.save_fault_surfaces)->value_name("FILE"),
         "write the forward fault walls (.ts, .obj or .vtk)")
        ("save-restored-fault-surfaces",
         po::value(&o.save_restored_fault_surfaces)->value_name("FILE"),
         "write the restored fault walls (.ts, .obj or .vtk)")
        ("save-tracer-points", po::value(&o.save_tracer_points)->value_name("FILE"),
         "write the forward tracers as points in model coordinates (.vs or .vtk)")
        ("save-steps", po::value(&o.save_steps)->value_name("FOLDER"),
         "write every step of both runs as VTK files with ParaView series indices")
        ("steps-format", po::value<std::string>()->value_name("vtp|vtk"),
         "step files as compressed VTK XML (vtp, the default) or legacy ASCII VTK (vtk)")
        ("save-image", po::value(&o.save_image)->value_name("FILE.png"),
         "draw the forward result (or --image-step) as the viewer first shows it")
        ("image-size", po::value<std::string>()->value_name("WxH"), "picture size (default 640x480)")
        ("section", po::value<std::string>()->value_name("X0,Y0,X1,Y1[,X2,Y2...]"),
         "a vertical section along the map line through (X0, Y0), (X1, Y1) and any further points")
        ("save-section", po::value<std::string>()->value_name("FILE"),
         "draw the section as .svg, .pdf or .png, or write it as .vtk")
        ("section-step", po::value<std::vector<std::string>>()->composing()->value_name("RUN[:K]"),
         "a step to draw, once per panel (default: restored, then forward, both their last)")
        ("section-band", po::value<std::string>()->value_name("W"),
         "show tracers this near the section (default 1 % of the line's length)")
        ("section-exaggeration", po::value<std::string>()->value_name("E"),
         "vertical exaggeration of the drawing (default 1)")
        ("units", po::value<std::string>()->value_name("UNIT"),
         "the length unit the section names on its axes (overrides UNITS= of the config)")
        ("image-step", po::value<std::string>()->value_name("RUN[:K]"),
         "draw step K (0 to the fault count; default the last) of the restored or forward run")
        ("view-shading", po::value<std::string>()->value_name("flat|lit"),
         "the picture's shading (overrides VIEW_SHADING= of the config)")
        ("view-colour", po::value<std::string>()->value_name("white|block|fault"),
         "the picture's face colours (overrides VIEW_COLOUR=)")
        ("view-tracers", po::value<std::string>()->value_name("green|elevation|hidden"),
         "the picture's tracers (overrides VIEW_TRACERS=)")
        ("view-blocks", po::value<std::string>()->value_name("shown|see-through|hidden"),
         "the picture's blocks (overrides VIEW_BLOCKS=)")
        ("fit-slips", po::bool_switch(&o.fit_slips),
         "fit the slips to the present-day --horizons, print the fit, then run with them")
        ("fit-rake", po::bool_switch(&o.fit_rake), "fit each slip vector within its plane")
        ("datum", po::value(&o.datum)->value_name("regional|horizontal|FILE"),
         "restore each horizon to its own plane (default), its own level, or a file's elevations")
        ("allow-unconverged", po::bool_switch(&o.allow_unconverged),
         "write the outputs of a fit that did not converge")
        ("quiet", po::bool_switch(&o.quiet), "no summary line")
        ("help,h", po::bool_switch(&o.help), "show this text")
        ("version,V", po::bool_switch(&o.version), "show the version");
    // clang-format on
    return d;
}

// The radius the configuration would accept.
double parse_radius(const std::string& text) {
    const std::optional<double> r = to_number(text);
    if (!r)
        throw usage_error("--tracer-radius: \"" + text + "\" is not a number");
    if (const char* problem = tracer_radius_problem(*r))
        throw usage_error("--tracer-radius: \"" + text + "\" " + problem);
    return *r;
}

void parse_image_size(const std::string& text, batch_options& o) {
    int w = 0, h = 0;
    char x = 0, rest = 0;
    std::istringstream in(text);
    if (!(in >> w >> x >> h) || x != 'x' || in >> rest || w < 1 || h < 1 || w > 16384 || h > 16384)
        throw usage_error("--image-size: \"" + text + "\" is not WxH with sizes 1 to 16384");
    o.image_width = w;
    o.image_height = h;
    o.image_size_given = true;
}

image_step parse_run_step(const std::string& text, const char* option) {
    const std::size_t colon = text.find(':');
    const std::string run = text.substr(0, colon);
    image_step choice;
    const std::optional<run_kind> named = run_from_word(run);
    bool ok = named.has_value();
    choice.run = named.value_or(run_kind::forward);
    if (ok && colon != std::string::npos) {
        const char* first = text.data() + colon + 1;
        const char* last = text.data() + text.size();
        std::size_t k = 0;
        const auto [end, error] = std::from_chars(first, last, k);
        ok = first != last && error == std::errc() && end == last;
        choice.step = k;
    }
    if (!ok)
        throw usage_error(std::string(option) + ": \"" + text +
                          "\" is not restored or forward, optionally followed by :K");
    return choice;
}

// A number of an option's value, with the option named when it is none or out of range.
double option_number(const po::variables_map& vm, const char* option, double least, bool or_equal) {
    const std::string text = vm[option].as<std::string>();
    const std::optional<double> value = to_number(text);
    if (!value || !std::isfinite(*value) || (or_equal ? *value < least : *value <= least))
        throw usage_error("--" + std::string(option) + ": \"" + text + "\" must be a number " +
                          (or_equal ? "of at least " : "above ") + shortest_text(least));
    return *value;
}

std::optional<section_options> parse_section(const po::variables_map& vm) {
    const bool given = vm.count("section") > 0, file = vm.count("save-section") > 0;
    for (const char* option : {"section-step", "section-band", "section-exaggeration"})
        if (vm.count(option) && !file)
            throw usage_error("--" + std::string(option) + " needs --save-section");
    if (given != file)
        throw usage_error(given ? "--section needs --save-section"
                                : "--save-section needs --section");
    if (!given)
        return std::nullopt;
    section_options s;
    s.path = vm["save-section"].as<std::string>();
    s.vtk = std::string_view(s.path).ends_with(".vtk");
    if (!s.vtk && !drawing_format_of(s.path, s.format))
        throw usage_error("--save-section: \"" + s.path + "\" must end in " +
                          endings_text(written_endings(holds::section_drawing | holds::section)));
    try {
        s.line = section_line_from_text(vm["section"].as<std::string>());
    } catch (const section_error& e) {
        throw usage_error(std::string("--section: ") + e.what());
    }
    if (vm.count("section-step"))
        for (const std::string& step : vm["section-step"].as<std::vector<std::string>>())
            s.steps.push_back(parse_run_step(step, "--section-step"));
    else
        s.steps = {{run_kind::restoration, std::nullopt}, {run_kind::forward, std::nullopt}};
    if (vm.count("section-band"))
        s.band = option_number(vm, "section-band", 0.0, true);
    if (vm.count("section-exaggeration"))
        s.exaggeration = option_number(vm, "section-exaggeration", 0.0, false);
    return s;
}

// The mode a --view-... option names; a usage error for another word.
template <class Mode>
std::optional<Mode> view_mode(const po::variables_map& vm, const char* option,
                              std::optional<Mode> (*named)(std::string_view)) {
    if (!vm.count(option))
        return std::nullopt;
    const std::string word = vm[option].as<std::string>();
    if (const auto mode = named(word))
        return mode;
    throw usage_error(std::string("--") + option + ": \"" + word + "\" is not one of its words");
}

// A usage error naming option when path does not end in an ending that can write contents.
void check_ending(const char* option, const std::string& path, unsigned contents) {
    if (!path.empty() && !written_format(path, contents))
        throw usage_error(std::string(option) + ": \"" + path + "\" must end in " +
                          endings_text(written_endings(contents)));
}

void check_surface_endings(const batch_options& o) {
    check_ending("--save-horizons", o.save_horizons, holds::horizons);
    check_ending("--save-restored-horizons", o.save_restored_horizons, holds::horizons);
    check_ending("--save-fault-surfaces", o.save_fault_surfaces, holds::fault_surfaces);
    check_ending("--save-restored-fault-surfaces", o.save_restored_fault_surfaces,
                 holds::fault_surfaces);
    check_ending("--save-tracer-points", o.save_tracer_points, holds::tracer_points);
    check_ending("--save-cutoffs", o.save_cutoffs, holds::cutoffs);
    check_ending("--save-separations", o.save_separations, holds::separations);
}

// A word given without an option: most likely the fault file, which needs --faults.
usage_error stray_word_error(const std::string& word, const batch_options& o) {
    if (o.faults.empty())
        return usage_error("'" + word + "' has no option; for a fault file write --faults " + word);
    return usage_error("'" + word + "' has no option, and --faults is given already");
}

} // namespace

void check_output_endings(const batch_options& o) {
    check_ending("--save-blocks", o.save_blocks, holds::blocks);
    check_ending("--save-restored-blocks", o.save_restored_blocks, holds::blocks);
    check_ending("--save-image", o.save_image, holds::picture);
}

void check_horizon_outputs(const batch_options& o, bool restored_has, bool forward_has) {
    const char* const option = !o.save_horizons.empty()            ? "--save-horizons"
                               : !o.save_restored_horizons.empty() ? "--save-restored-horizons"
                               : !o.save_cutoffs.empty()           ? "--save-cutoffs"
                               : !o.save_separations.empty()       ? "--save-separations"
                                                                   : nullptr;
    if (option && !restored_has && !forward_has)
        throw usage_error(std::string(option) +
                          " needs --horizons FILE or HORIZON_FILE= in the --config file");
    // Present-day horizons run forward would be deformed twice, undeformed ones restored would be
    // restored twice: a run carries only its own.
    if (!o.save_horizons.empty() && !forward_has)
        throw usage_error("--save-horizons writes the forward run's horizons, and the present-day "
                          "horizons are the restoration's only; give --undeformed-horizons FILE "
                          "or UNDEFORMED_HORIZON_FILE= in the --config file");
    if (!o.save_restored_horizons.empty() && !restored_has)
        throw usage_error("--save-restored-horizons writes the restored run's horizons, and the "
                          "undeformed horizons are the forward run's only; give "
                          "--present-horizons FILE or PRESENT_HORIZON_FILE= in the --config file");
}

std::string batch_usage() {
    batch_options o;
    std::ostringstream s;
    s << "usage: tolvex-batch --faults FILE [--config FILE] [--boundary FILE] [--tracers FILE]\n"
         "                    [--tracer-radius R] [--horizons FILE] [--save-tracers FILE]\n"
         "                    [--present-horizons FILE] [--undeformed-horizons FILE]\n"
         "                    [--save-restored-tracers FILE] [--save-blocks FILE]\n"
         "                    [--save-restored-blocks FILE] [--save-horizons FILE]\n"
         "                    [--save-restored-horizons FILE] [--save-fault-surfaces FILE]\n"
         "                    [--save-restored-fault-surfaces FILE]\n"
         "                    [--save-tracer-points FILE] [--save-steps FOLDER]\n"
         "                    [--steps-format vtp|vtk]\n"
         "                    [--save-image FILE.png] [--image-size WxH]\n"
         "                    [--image-step restored|forward[:K]] [--view-shading WORD]\n"
         "                    [--view-colour WORD] [--view-tracers WORD]\n"
         "                    [--view-blocks WORD] [--section X0,Y0,X1,Y1...]\n"
         "                    [--save-section FILE] [--section-step RUN[:K]]...\n"
         "                    [--section-band W] [--section-exaggeration E] [--units UNIT]\n"
         "                    [--quiet] [--fault-surfaces FILE] [--max-fault-misfit D]\n"
         "                    [--save-faults FILE] [--save-cutoffs FILE]\n"
         "                    [--save-separations FILE.csv] [--cutoff-spacing D]\n"
         "                    [--save-fault-diagram FILE --fault ID]\n"
         "                    [--fit-slips [--fit-rake] [--datum WORD|FILE]\n"
         "                    [--allow-unconverged]]\n"
      << option_table(o);
    return s.str();
}

batch_options parse_batch_options(int argc, const char* const* argv) {
    batch_options o;
    const po::options_description table = option_table(o);
    po::variables_map vm;
    try {
        // Words without an option are caught to say what they may have meant, never ignored.
        po::options_description all = table;
        all.add_options()("word", po::value<std::vector<std::string>>());
        po::positional_options_description words;
        words.add("word", -1);
        po::store(po::command_line_parser(argc, argv).options(all).positional(words).run(), vm);
        po::notify(vm);
    } catch (const po::error& e) {
        throw usage_error(e.what());
    }
    if (o.help || o.version)
        return o;
    if (vm.count("word"))
        throw stray_word_error(vm["word"].as<std::vector<std::string>>().front(), o);
    if (vm.count("tracer-radius"))
        o.tracer_radius = parse_radius(vm["tracer-radius"].as<std::string>());
    if (vm.count("image-size"))
        parse_image_size(vm["image-size"].as<std::string>(), o);
    if (vm.count("image-step")) {
        if (o.save_image.empty())
            throw usage_error("--image-step needs --save-image");
        o.picture_step = parse_run_step(vm["image-step"].as<std::string>(), "--image-step");
    }
    if (vm.count("steps-format")) {
        const std::string format = vm["steps-format"].as<std::string>();
        if (format != "vtp" && format != "vtk")
            throw usage_error("--steps-format: \"" + format + "\" is not vtp or vtk");
        if (o.save_steps.empty())
            throw usage_error("--steps-format needs --save-steps");
        o.steps_format = format == "vtp" ? step_format::vtp : step_format::vtk;
    }
    check_surface_endings(o);
    if (!o.horizons.empty())
        for (const auto& [option, path] :
             {std::pair{"--present-horizons", o.present_horizons},
              std::pair{"--undeformed-horizons", o.undeformed_horizons}})
            if (!path.empty())
                throw usage_error(std::string("--horizons cannot be given with ") + option +
                                  ": --horizons gives both runs the same horizons, "
                                  "--present-horizons and --undeformed-horizons each run its own");
    if (vm.count("max-fault-misfit"))
        o.max_fault_misfit = option_number(vm, "max-fault-misfit", 0.0, true);
    if (!o.fault_surfaces.empty() && !is_fault_table_path(o.faults))
        throw usage_error("--fault-surfaces needs a fault table (.csv) as --faults");
    if (vm.count("cutoff-spacing"))
        o.cutoff_spacing = option_number(vm, "cutoff-spacing", 0.0, false);
    if (vm.count("fault"))
        o.diagram_fault = vm["fault"].as<int>();
    drawing_format diagram_format;
    if (!o.save_fault_diagram.empty() && !drawing_format_of(o.save_fault_diagram, diagram_format))
        throw usage_error("--save-fault-diagram: \"" + o.save_fault_diagram +
                          "\" must end in .svg, .pdf or .png");
    if (o.save_fault_diagram.empty() != !o.diagram_fault)
        throw usage_error(o.diagram_fault ? "--fault needs --save-fault-diagram"
                                          : "--save-fault-diagram needs --fault ID");
    for (const char* option : {"fit-rake", "datum", "allow-unconverged"})
        if (vm.count(option) && !vm[option].defaulted() && !o.fit_slips)
            throw usage_error("--" + std::string(option) + " needs --fit-slips");
    o.section = parse_section(vm);
    if (vm.count("units")) {
        const std::string units(trim_blanks(vm["units"].as<std::string>()));
        if (const char* problem = units_problem(units))
            throw usage_error("--units: " + quoted_text(units) + " " + problem);
        o.units = units;
    }
    o.image_lit = view_mode(vm, "view-shading", lit_named);
    o.image_colouring = view_mode(vm, "view-colour", colouring_named);
    o.image_tracers = view_mode(vm, "view-tracers", tracer_look_named);
    o.image_blocks = view_mode(vm, "view-blocks", block_look_named);
    if (o.faults.empty())
        throw usage_error("--faults FILE is required");
    // With neither, the desktop program's settings file is looked up when the run starts.
    if (o.config.empty() && o.boundary.empty() != o.tracers.empty())
        throw usage_error("give --config, or both --boundary and --tracers");
    return o;
}

} // namespace tolvex
