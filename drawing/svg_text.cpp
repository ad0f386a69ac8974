#include "drawing/detail/page_text.hpp"
#include "io/number_text.hpp"

#include <cmath>

namespace tolvex {

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text)
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return out;
}

// A number as SVG writes it, to a thousandth of a point.
std::string svg_number(double x) {
    return shortest_text(std::round(x * 1000) / 1000 + 0.0);
}

std::string element(const page_text& t) {
    const char* anchor = t.align <= 0.25 ? "start" : t.align >= 0.75 ? "end" : "middle";
    std::string out = "<text x=\"" + svg_number(t.x) + "\" y=\"" + svg_number(t.y) +
                      "\" font-family=\"DejaVu Sans, sans-serif\" font-size=\"" +
                      svg_number(t.size) + "\" text-anchor=\"" + anchor + "\"";
    if (t.bold)
        out += " font-weight=\"bold\"";
    if (t.angle != 0.0)
        out += " transform=\"rotate(" + svg_number(t.angle) + " " + svg_number(t.x) + " " +
               svg_number(t.y) + ")\"";
    out += " fill=\"rgb(";
    for (std::size_t k = 0; k < 3; ++k)
        out += std::to_string(static_cast<int>(std::lround(255 * t.colour[k]))) +
               (k < 2 ? "," : ")\"");
    if (t.halo)
        out += " stroke=\"white\" stroke-width=\"2.5\" stroke-linejoin=\"round\" "
               "paint-order=\"stroke\"";
    return out + ">" + escaped(t.text) + "</text>\n";
}

} // namespace

std::string with_svg_texts(std::string svg, const std::vector<page_text>& texts) {
    std::string elements;
    for (const page_text& t : texts)
        elements += element(t);
    const std::size_t end = svg.rfind("</svg>");
    svg.insert(end == std::string::npos ? svg.size() : end, elements);
    return svg;
}

} // namespace tolvex
