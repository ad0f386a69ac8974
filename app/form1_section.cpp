// "Save &Section...": the section dialog on a map of the last run, its preview and its save.
#include "app/form1.hpp"
#include "drawing/section_drawing.hpp"
#include "formats/file_formats.hpp"
#include "io/atomic_file.hpp"
#include "io/input_error.hpp"
#include "model/run_section.hpp"

#include <algorithm>
#include <cctype>

namespace tolvex {

namespace {

// A line across the middle of the boundary from west to east, in its file's coordinates: where
// the dialog starts.
std::vector<map_point> middle_line(const model_result& run) {
    double lo = run.boundary.vertices.front()[0], hi = lo;
    for (const vec3& v : run.boundary.vertices) {
        lo = std::min(lo, v[0]);
        hi = std::max(hi, v[0]);
    }
    const vec3& c = run.centre;
    return {{lo + c[0], c[1]}, {hi + c[0], c[1]}};
}

// The last run's restored and forward sections along line. Throws section_error.
std::vector<section> section_panels(const desktop_document& doc,
                                    const std::vector<map_point>& line) {
    const section_path path{line};
    std::vector<section> panels;
    for (const run_kind kind : {run_kind::restoration, run_kind::forward})
        panels.push_back(run_section(doc.last_run, doc.faults_loaded, doc.tracers_init, kind,
                                     doc.faults_loaded.size(), {path, std::nullopt}));
    return panels;
}

// "SVG|*.svg|PDF|*.pdf|PNG|*.png": the endings a section is drawn in, for the save dialog.
std::string section_filter() {
    std::string filter;
    for (const std::string_view ending : written_endings(holds::section_drawing)) {
        std::string name(ending.substr(1));
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        filter += (filter.empty() ? "" : "|") + name + "|*" + std::string(ending);
    }
    return filter;
}

// The text for an exception of drawing: cairo's failures and a page past the largest.
std::string drawing_failure(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr)
        return "not enough memory to draw the section";
    return e.what();
}

} // namespace

void Form1::mi_save_section_Click() {
    const model_result& run = doc.last_run;
    if (run.boundary.vertices.empty()) {
        ui.message_box("Press plot first: the section is drawn from the last run.", "WARNING",
                       message_icon::warning);
        return;
    }
    section_style style;
    style.units = doc.settings.units;
    section_dialog_calls calls;
    calls.preview = [&](const std::vector<map_point>& line, int width, int height) {
        section_style shown = style;
        shown.pixels = std::array<int, 2>{width, height};
        try {
            return section_preview{
                draw_sections(section_panels(doc, line), shown, drawing_format::png), ""};
        } catch (const std::exception& e) {
            return section_preview{"", drawing_failure(e)};
        }
    };
    calls.save = [&](const std::vector<map_point>& line) {
        std::vector<section> panels;
        try {
            panels = section_panels(doc, line); // a line that cannot be drawn asks for no file
        } catch (const section_error& e) {
            ui.message_box(e.what(), "ERROR", message_icon::error);
            return false;
        }
        const auto path = ui.save_file_dialog("svg", section_filter());
        if (!path)
            return false;
        drawing_format format;
        if (!drawing_format_of(*path, format)) {
            ui.message_box(*path + ": a section is saved as " +
                               endings_text(written_endings(holds::section_drawing)) + ".",
                           "ERROR", message_icon::error);
            return false;
        }
        try {
            write_file_atomically(*path, draw_sections(panels, style, format));
            return true;
        } catch (const output_error& e) {
            ui.message_box(e.what(), "ERROR", message_icon::error);
        } catch (const std::exception& e) {
            ui.message_box(*path + ": " + drawing_failure(e) + ".", "ERROR", message_icon::error);
        }
        return false;
    };
    ui.section_dialog(section_map_of(run, doc.faults_loaded), middle_line(run), calls);
}

} // namespace tolvex
