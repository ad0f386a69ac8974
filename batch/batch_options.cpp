#include "batch_options.hpp"

#include "text_fields.hpp"

#include <boost/program_options.hpp>
#include <cmath>
#include <sstream>

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
        ("save-restored-tracers", po::value(&o.save_restored_tracers)->value_name("FILE"),
         "write the restored tracers")
        ("save-blocks", po::value(&o.save_blocks)->value_name("FILE"),
         "write the forward blocks (VTK, or OBJ for a name ending in .obj)")
        ("save-restored-blocks", po::value(&o.save_restored_blocks)->value_name("FILE"),
         "write the restored blocks (VTK or OBJ)")
        ("save-steps", po::value(&o.save_steps)->value_name("FOLDER"),
         "write every step of both runs as VTK files with ParaView series indices")
        ("save-image", po::value(&o.save_image)->value_name("FILE.png"),
         "draw the forward result as the viewer first shows it")
        ("image-size", po::value<std::string>()->value_name("WxH"), "picture size (default 640x480)")
        ("quiet", po::bool_switch(&o.quiet), "no summary line")
        ("help", po::bool_switch(&o.help), "show this text");
    // clang-format on
    return d;
}

// The radius the configuration would accept: a number, not 0, and not so close to 0 that saved
// tracers, divided by it, would overflow.
double parse_radius(const std::string& text) {
    const std::optional<double> r = to_number(text);
    if (!r || *r == 0.0 || !std::isfinite(1.0 / *r))
        throw usage_error("--tracer-radius: \"" + text +
                          "\" must be a finite number, neither 0 nor too close to 0");
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
}

} // namespace

std::string batch_usage() {
    batch_options o;
    std::ostringstream s;
    s << "usage: tolvex-batch --faults FILE [--config FILE] [--boundary FILE] [--tracers FILE]\n"
         "                    [--tracer-radius R] [--save-tracers FILE]\n"
         "                    [--save-restored-tracers FILE] [--save-blocks FILE]\n"
         "                    [--save-restored-blocks FILE] [--save-steps FOLDER]\n"
         "                    [--save-image FILE.png] [--image-size WxH] [--quiet]\n"
      << option_table(o);
    return s.str();
}

batch_options parse_batch_options(int argc, const char* const* argv) {
    batch_options o;
    const po::options_description table = option_table(o);
    po::variables_map vm;
    try {
        // No positional options: a stray word is an error, not silently ignored.
        const po::positional_options_description none;
        po::store(po::command_line_parser(argc, argv).options(table).positional(none).run(), vm);
        po::notify(vm);
    } catch (const po::error& e) {
        throw usage_error(e.what());
    }
    if (o.help)
        return o;
    if (vm.count("tracer-radius"))
        o.tracer_radius = parse_radius(vm["tracer-radius"].as<std::string>());
    if (vm.count("image-size"))
        parse_image_size(vm["image-size"].as<std::string>(), o);
    if (o.faults.empty())
        throw usage_error("--faults FILE is required");
    if (o.config.empty() && (o.boundary.empty() || o.tracers.empty()))
        throw usage_error("give --config, or both --boundary and --tracers");
    return o;
}

} // namespace tolvex
