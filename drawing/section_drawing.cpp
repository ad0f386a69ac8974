#include "drawing/section_drawing.hpp"
#include "formats/file_formats.hpp"

#include "drawing/detail/cairo_status.hpp"
#include "drawing/detail/label_places.hpp"
#include "drawing/detail/nice_ticks.hpp"
#include "drawing/detail/page_text.hpp"
#include "drawing/page_bound.hpp"
#include "geometry/horizon_colour.hpp"
#include "io/number_text.hpp"

#include <algorithm>
#include <array>
#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <cmath>
#include <memory>
#include <numbers>
#include <stdexcept>

namespace tolvex {

namespace {

using rgb = std::array<double, 3>;

// The fully saturated colour of the k-th hue a golden angle from the one before.
rgb golden_hue(int k) {
    const double hue = std::fmod(k * 0.381966, 1.0) * 6.0;
    const double x = 1.0 - std::abs(std::fmod(hue, 2.0) - 1.0);
    const int sector = static_cast<int>(hue);
    return sector == 0   ? rgb{1, x, 0}
           : sector == 1 ? rgb{x, 1, 0}
           : sector == 2 ? rgb{0, 1, x}
           : sector == 3 ? rgb{0, x, 1}
           : sector == 4 ? rgb{x, 0, 1}
                         : rgb{1, 0, x};
}

// Light fills that tell neighbouring blocks apart.
rgb block_fill(int block) {
    const rgb pure = golden_hue(block);
    return {0.78 + 0.2 * pure[0], 0.78 + 0.2 * pure[1], 0.78 + 0.2 * pure[2]};
}

constexpr double left_margin = 64, right_margin = 24, legend_width = 140;
constexpr double top_margin = 44, bottom_margin = 74;
constexpr double legend_line = 16; // the legend's rows, one a horizon, this far apart

// Where a section's (u, z) lands on the page.
struct panel_frame {
    double u0, z1;        // the model's left and top edge
    double scale;         // points per model unit along u
    double exaggeration;  // z is drawn this many times larger
    double left, top;     // the plot's corner on the page
    double width, height; // of the plot
    double x(double u) const { return left + (u - u0) * scale; }
    double y(double z) const { return top + (z1 - z) * scale * exaggeration; }
};

// A horizon's own colour where its file gave one, else the palette's.
rgb horizon_colour(const section& s, std::size_t h) {
    return h < s.horizon_colours.size() ? s.horizon_colours[h] : palette_colour(h);
}

void set_colour(cairo_t* cr, const rgb& c) {
    cairo_set_source_rgb(cr, c[0], c[1], c[2]);
}

// An SVG's texts while it is drawn, attached to its context; PDF and PNG draw theirs.
const cairo_user_data_key_t svg_texts_key{};

// Text with its baseline at (x, y), the point align of the way along it (0 start, 1 end), in the
// current colour; with a halo, on a white outline. PDF text stays text.
void text_at(cairo_t* cr, const std::string& text, double x, double y, double size,
             double align = 0.0, bool bold = false, bool halo = false) {
    if (auto* texts =
            static_cast<std::vector<page_text>*>(cairo_get_user_data(cr, &svg_texts_key))) {
        cairo_matrix_t m;
        cairo_get_matrix(cr, &m);
        cairo_user_to_device(cr, &x, &y);
        double r = 0, g = 0, b = 0, a = 1;
        cairo_pattern_get_rgba(cairo_get_source(cr), &r, &g, &b, &a);
        texts->push_back({text,
                          x,
                          y,
                          size,
                          align,
                          std::atan2(m.yx, m.xx) * 180 / std::numbers::pi,
                          bold,
                          {r, g, b},
                          halo});
        return;
    }
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    cairo_move_to(cr, x - align * e.x_advance, y);
    if (halo) {
        cairo_save(cr);
        cairo_text_path(cr, text.c_str());
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        cairo_restore(cr);
        cairo_move_to(cr, x - align * e.x_advance, y);
    }
    cairo_show_text(cr, text.c_str());
}

std::string point_text(double x, double y) {
    return "(" + shortest_text(std::round(x * 100) / 100 + 0.0) + ", " +
           shortest_text(std::round(y * 100) / 100 + 0.0) + ")";
}

// The distance the panels share: along the longest line from its start to its end.
double shared_length(const std::vector<section>& panels) {
    double length = 0.0;
    for (const section& s : panels)
        length = std::max(length, length_of(s.path));
    return length;
}

// The panel's extent as (u0, u1, z0, z1): the shared distance, and in elevation everything in
// it, a little wider.
std::array<double, 4> extent(const section& s, double length) {
    double z0 = INFINITY, z1 = -INFINITY;
    const auto take = [&](const section_point& p) {
        z0 = std::min(z0, p[1]);
        z1 = std::max(z1, p[1]);
    };
    for (const section_polygon& p : s.blocks)
        for (const section_point& c : p.corners)
            take(c);
    for (const section_tracer& t : s.tracers)
        take(t.at);
    if (!(length > 0.0 && z0 < z1))
        throw std::invalid_argument("the section meets no block");
    const double pad = 0.02 * std::max(length, z1 - z0);
    return {0.0, length, z0 - pad, z1 + pad};
}

panel_frame frame_of(const section& s, double length, const section_style& style, double top) {
    const auto [u0, u1, z0, z1] = extent(s, length);
    const double legend = s.horizon_names.empty() ? 0.0 : legend_width;
    const double width = style.width - left_margin - right_margin - legend;
    const double scale = width / (u1 - u0);
    return {u0,          z1,
            scale,       style.exaggeration,
            left_margin, top + top_margin,
            width,       (z1 - z0) * scale * style.exaggeration};
}

// Tall enough for the plot and for the legend beside it.
double panel_height(const section& s, const panel_frame& f) {
    const double legend = legend_line * static_cast<double>(s.horizon_names.size());
    return top_margin + std::max(f.height + bottom_margin, legend);
}

void draw_blocks(cairo_t* cr, const section& s, const panel_frame& f) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (const section_polygon& p : s.blocks) {
        if (p.corners.size() < 3)
            continue;
        for (const section_point& c : p.corners)
            cairo_line_to(cr, f.x(c[0]), f.y(c[1]));
        cairo_close_path(cr);
        set_colour(cr, block_fill(p.block));
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_set_line_width(cr, 0.6);
        cairo_stroke(cr);
    }
}

void draw_traces(cairo_t* cr, const std::vector<section_trace>& traces, const panel_frame& f) {
    const double dash[] = {4.0, 3.0};
    for (const section_trace& t : traces) {
        cairo_set_dash(cr, dash, t.dashed ? 2 : 0, 0.0);
        cairo_move_to(cr, f.x(t.a[0]), f.y(t.a[1]));
        cairo_line_to(cr, f.x(t.b[0]), f.y(t.b[1]));
        cairo_stroke(cr);
    }
    cairo_set_dash(cr, dash, 0, 0.0);
}

void draw_horizons(cairo_t* cr, const section& s, const panel_frame& f) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.6);
    for (std::size_t h = 0; h < s.horizon_names.size(); ++h) {
        std::vector<section_trace> own;
        std::copy_if(s.horizon_traces.begin(), s.horizon_traces.end(), std::back_inserter(own),
                     [&](const section_trace& t) { return t.which == static_cast<int>(h); });
        set_colour(cr, horizon_colour(s, h));
        draw_traces(cr, own, f);
    }
}

// Thick, each labelled once beside its trace, clear of the other labels, on a white halo.
void draw_faults(cairo_t* cr, const section& s, const panel_frame& f) {
    cairo_set_line_width(cr, 2.8);
    cairo_set_source_rgb(cr, 0.25, 0.05, 0.05);
    draw_traces(cr, s.fault_traces, f);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 9);
    std::vector<label_request> labels(s.fault_labels.size());
    std::vector<cairo_text_extents_t> extents(s.fault_labels.size());
    for (std::size_t k = 0; k < labels.size(); ++k) {
        cairo_text_extents(cr, s.fault_labels[k].c_str(), &extents[k]);
        labels[k].width = extents[k].width;
        labels[k].height = extents[k].height;
    }
    for (const section_trace& t : s.fault_traces)
        labels[static_cast<std::size_t>(t.which)].segments.push_back(
            {page_point{f.x(t.a[0]), f.y(t.a[1])}, page_point{f.x(t.b[0]), f.y(t.b[1])}});
    const std::vector<page_box> boxes =
        place_labels(labels, {f.left, f.top, f.left + f.width, f.top + f.height});
    for (std::size_t k = 0; k < labels.size(); ++k) {
        if (labels[k].segments.empty())
            continue;
        const cairo_text_extents_t& e = extents[k];
        text_at(cr, s.fault_labels[k], boxes[k].left - e.x_bearing,
                boxes[k].bottom - e.y_bearing - e.height, 9, 0.0, true, true);
    }
}

void draw_tracers(cairo_t* cr, const section& s, const panel_frame& f) {
    cairo_set_source_rgb(cr, 0.0, 0.4, 0.1);
    for (const section_tracer& t : s.tracers) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, f.x(t.at[0]), f.y(t.at[1]), 1.2, 0, 2 * std::numbers::pi);
    }
    cairo_fill(cr);
}

// The line's points in the map at their distances along the top: its ends at the plot's ends and
// each bend over a thin vertical line, a label pushed right of the one before where they would
// meet.
void draw_line_points(cairo_t* cr, const section& s, const panel_frame& f) {
    const std::vector<double> at = distances_of(s.path);
    cairo_set_source_rgb(cr, 0.35, 0.35, 0.35);
    cairo_set_line_width(cr, 0.5);
    for (std::size_t k = 1; k + 1 < at.size(); ++k) {
        cairo_move_to(cr, f.x(at[k]), f.top);
        cairo_line_to(cr, f.x(at[k]), f.top + f.height);
    }
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 8);
    std::vector<std::string> texts;
    std::vector<double> widths; // at 8 points
    double all = 0.0;           // the labels side by side, 6 points apart
    for (const map_point& p : s.path.points) {
        texts.push_back(point_text(p[0], p[1]));
        cairo_text_extents_t e;
        cairo_text_extents(cr, texts.back().c_str(), &e);
        widths.push_back(e.x_advance);
        all += e.x_advance + (widths.size() > 1 ? 6 : 0);
    }
    // Set smaller where a line bent many times has more labels than the plot is wide.
    const double size = all > f.width ? 8 * f.width / all : 8;
    double free_from = -INFINITY; // where the label before ends
    for (std::size_t k = 0; k < texts.size(); ++k) {
        const double width = widths[k] * size / 8;
        const double align = k == 0 ? 0.0 : k + 1 == texts.size() ? 1.0 : 0.5;
        const double left = std::max(f.x(at[k]) - align * width, free_from + 6 * size / 8);
        text_at(cr, texts[k], left + align * width, f.top - 6, size, align);
        free_from = left + width;
    }
}

// The frame, ticks and their numbers, the axis names and a scale bar.
void draw_axes(cairo_t* cr, const section& s, const panel_frame& f, const std::string& units) {
    const std::string in_units = units.empty() ? "" : " (" + units + ")";
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 0.8);
    cairo_rectangle(cr, f.left, f.top, f.width, f.height);
    cairo_stroke(cr);
    const double u1 = f.u0 + f.width / f.scale;
    const double z0 = f.z1 - f.height / (f.scale * f.exaggeration);
    const double bottom = f.top + f.height;
    for (double u : ticks_between(f.u0, u1, nice_step(u1 - f.u0, 8))) {
        cairo_move_to(cr, f.x(u), bottom);
        cairo_line_to(cr, f.x(u), bottom + 4);
        cairo_stroke(cr);
        text_at(cr, shortest_text(u), f.x(u), bottom + 14, 8, 0.5);
    }
    for (double z : ticks_between(
             z0, f.z1, nice_step(f.z1 - z0, std::max(2, static_cast<int>(f.height / 40))))) {
        cairo_move_to(cr, f.left - 4, f.y(z));
        cairo_line_to(cr, f.left, f.y(z));
        cairo_stroke(cr);
        text_at(cr, shortest_text(z), f.left - 6, f.y(z) + 3, 8, 1.0);
    }
    text_at(cr, s.u_label + in_units, f.left + f.width / 2, bottom + 28, 9, 0.5);
    cairo_save(cr);
    cairo_translate(cr, 14, f.top + f.height / 2);
    cairo_rotate(cr, -std::numbers::pi / 2);
    text_at(cr, s.z_label + in_units, 0, 0, 9, 0.5);
    cairo_restore(cr);
    // The scale bar, a round length about a quarter of the width, at the lower right.
    const double length = nice_length((u1 - f.u0) / 4);
    const double right = f.left + f.width, y = bottom + 48;
    cairo_set_line_width(cr, 2.0);
    cairo_move_to(cr, right - length * f.scale, y);
    cairo_line_to(cr, right, y);
    cairo_stroke(cr);
    text_at(cr, shortest_text(length) + (units.empty() ? "" : " " + units),
            right - length * f.scale / 2, y + 12, 8, 0.5);
    if (f.exaggeration != 1.0)
        text_at(cr, "vertical exaggeration " + shortest_text(f.exaggeration), f.left, y + 12, 8);
    draw_line_points(cr, s, f);
}

void draw_legend(cairo_t* cr, const section& s, const panel_frame& f) {
    const double x = f.left + f.width + 16;
    for (std::size_t h = 0; h < s.horizon_names.size(); ++h) {
        const double y = f.top + 12 + legend_line * static_cast<double>(h);
        set_colour(cr, horizon_colour(s, h));
        cairo_set_line_width(cr, 3);
        cairo_move_to(cr, x, y - 3);
        cairo_line_to(cr, x + 18, y - 3);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        text_at(cr, s.horizon_names[h], x + 24, y, 9);
    }
}

// The azimuth to a tenth of a degree, 0 to 359.9.
std::string azimuth_text(const section_line& line) {
    const double tenths = std::round(azimuth_of(line) * 10);
    return shortest_text(std::fmod(tenths, 3600.0) / 10 + 0.0) + "\u00b0";
}

// "azimuth 45°", or for a bent line its segments' azimuths in order.
std::string azimuths_text(const section_path& path) {
    const std::size_t n = segment_count(path);
    if (n == 1)
        return "azimuth " + azimuth_text(segment_of(path, 0));
    std::string out = "bent line, " + std::to_string(n) + " segments, azimuths ";
    for (std::size_t k = 0; k < n; ++k)
        out += (k == 0 ? "" : ", ") + azimuth_text(segment_of(path, k));
    return out;
}

void draw_panel(cairo_t* cr, const section& s, const panel_frame& f, const section_style& style) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    // A long title, as of a line bent many times, is set smaller to stay on the page.
    const std::string title = s.title + ", " + azimuths_text(s.path);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 12);
    cairo_text_extents_t e;
    cairo_text_extents(cr, title.c_str(), &e);
    const double room = style.width - f.left - right_margin;
    text_at(cr, title, f.left, f.top - 22, e.x_advance > room ? 12 * room / e.x_advance : 12, 0.0,
            true);
    cairo_save(cr);
    cairo_rectangle(cr, f.left, f.top, f.width, f.height);
    cairo_clip(cr);
    draw_blocks(cr, s, f);
    draw_horizons(cr, s, f);
    draw_faults(cr, s, f);
    draw_tracers(cr, s, f);
    cairo_restore(cr);
    draw_axes(cr, s, f, style.units);
    draw_legend(cr, s, f);
}

cairo_status_t append_bytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

using surface_ptr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using context_ptr = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

} // namespace

bool drawing_format_of(const std::string& path, drawing_format& format) {
    const file_format* f = written_format(path, holds::section_drawing);
    if (!f)
        return false;
    format = f->id == format_id::svg   ? drawing_format::svg
             : f->id == format_id::pdf ? drawing_format::pdf
                                       : drawing_format::png;
    return true;
}

std::string draw_sections(const std::vector<section>& panels, const section_style& style,
                          drawing_format format) {
    if (panels.empty())
        throw std::invalid_argument("there is no section to draw");
    std::vector<panel_frame> frames;
    double height = 0.0;
    const double length = shared_length(panels);
    for (const section& s : panels) {
        frames.push_back(frame_of(s, length, style, height));
        height += panel_height(s, frames.back());
    }
    check_page_size(style.width, style.exaggeration, [&](double exaggeration) {
        section_style at = style;
        at.exaggeration = exaggeration;
        double h = 0.0;
        for (const section& s : panels)
            h += panel_height(s, frame_of(s, length, at, h));
        return h;
    });
    // Two pixels a point by default, fewer where a side would pass what an image surface holds.
    const double per_point = std::min(2.0, 32000.0 / std::max(style.width, height));
    const std::array<int, 2> pixels = style.pixels.value_or(
        std::array<int, 2>{static_cast<int>(std::ceil(per_point * style.width)),
                           static_cast<int>(std::ceil(per_point * height))});
    const double zoom = std::min(pixels[0] / style.width, pixels[1] / height);
    std::string out;
    surface_ptr surface(
        format == drawing_format::svg
            ? cairo_svg_surface_create_for_stream(append_bytes, &out, style.width, height)
        : format == drawing_format::pdf
            ? cairo_pdf_surface_create_for_stream(append_bytes, &out, style.width, height)
            : cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels[0], pixels[1]),
        cairo_surface_destroy);
    std::vector<page_text> svg_texts;
    {
        context_ptr cr(cairo_create(surface.get()), cairo_destroy);
        if (format == drawing_format::svg)
            cairo_set_user_data(cr.get(), &svg_texts_key, &svg_texts, nullptr);
        cairo_set_source_rgb(cr.get(), 1, 1, 1);
        cairo_paint(cr.get());
        if (format == drawing_format::png) {
            cairo_translate(cr.get(), (pixels[0] - zoom * style.width) / 2,
                            (pixels[1] - zoom * height) / 2);
            cairo_scale(cr.get(), zoom, zoom);
        }
        for (std::size_t k = 0; k < panels.size(); ++k) {
            draw_panel(cr.get(), panels[k], frames[k], style);
            check_cairo(cairo_status(cr.get()));
        }
    }
    if (format == drawing_format::png)
        check_cairo(cairo_surface_write_to_png_stream(surface.get(), append_bytes, &out));
    cairo_surface_finish(surface.get());
    check_cairo(cairo_surface_status(surface.get()));
    return format == drawing_format::svg ? with_svg_texts(std::move(out), svg_texts) : out;
}

} // namespace tolvex
