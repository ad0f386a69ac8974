#include "app/command_line.hpp"

#include "app/settings_start.hpp"
#include "io/usage_text.hpp"

#include <boost/program_options.hpp>

#include <filesystem>
#include <ostream>
#include <sstream>
#include <vector>

namespace tolvex {

namespace po = boost::program_options;

namespace {

struct desktop_options {
    std::optional<std::string> config;
    std::optional<std::string> fault_file;
    bool help = false;
    bool version = false;
};

po::options_description option_table() {
    po::options_description d("Options");
    // clang-format off
    d.add_options()
        ("config", po::value<std::string>()->value_name("FILE"),
         "the settings file (default: tolvex.conf beside the program, else "
         "$XDG_CONFIG_HOME/tolvex/tolvex.conf)")
        ("help,h", "show this text")
        ("version,V", "show the version");
    // clang-format on
    return d;
}

// Throws po::error on a mistake.
desktop_options parse(int argc, const char* const* argv) {
    po::options_description all = option_table();
    all.add_options()("file", po::value<std::vector<std::string>>());
    po::positional_options_description positional;
    positional.add("file", -1);
    po::variables_map vm;
    po::store(po::command_line_parser(argc, argv).options(all).positional(positional).run(), vm);
    desktop_options o;
    o.help = vm.count("help") > 0;
    o.version = vm.count("version") > 0;
    if (vm.count("config"))
        o.config = vm["config"].as<std::string>();
    if (vm.count("file")) {
        const auto& files = vm["file"].as<std::vector<std::string>>();
        if (files.size() > 1)
            throw po::error("one fault file at a time, so \"" + files[1] + "\" is one too many");
        o.fault_file = files.front();
    }
    return o;
}

// Why the file at path cannot be read as a file; nullopt when it can be tried.
std::optional<std::string> file_problem(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status))
        return path + ": no such file";
    if (std::filesystem::is_directory(status))
        return path + ": is a folder, not a file";
    return std::nullopt;
}

} // namespace

std::string desktop_usage() {
    std::ostringstream s;
    s << "usage: tolvex [--config FILE] [FAULTS.efd]\n"
         "Fault-block modelling: opens the main window, and the fault data file FAULTS.efd in\n"
         "it when given. tolvex-batch runs a model without a window.\n"
      << option_table();
    return s.str();
}

std::variant<start_plan, int> plan_start(int argc, const char* const* argv, settings_places places,
                                         const std::string& examples_dir, std::ostream& out,
                                         std::ostream& err) {
    desktop_options o;
    try {
        o = parse(argc, argv);
    } catch (const po::error& e) {
        err << usage_error_text("tolvex", e.what());
        return 2;
    }
    if (o.help || o.version) {
        out << (o.help ? desktop_usage() : "tolvex " TOLVEX_VERSION "\n");
        return 0;
    }
    for (const auto& [name, path] : {std::pair{"--config ", o.config}, {"", o.fault_file}})
        if (path)
            if (const auto problem = file_problem(*path)) {
                err << "tolvex: " << name << *problem << "\n";
                return 1;
            }
    places.given = o.config;
    settings_start settings = find_or_make_settings(places, examples_dir);
    return start_plan{std::move(settings.path), std::move(settings.notice), o.fault_file};
}

} // namespace tolvex
