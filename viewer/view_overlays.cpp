// glWindowPos (OpenGL 1.4) places text in window pixels.
#define GL_GLEXT_PROTOTYPES

#include "viewer/view_overlays.hpp"

#include "view_math/latin1_text.hpp"
#include "view_math/scene_colours.hpp"
#include "view_math/view_guides.hpp"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <charconv>

// freeglut's 9 x 15 font, its 256 Latin-1 characters as bitmaps (first byte the width). GLUT's
// own text calls refuse to run before a GLUT window exists, and pictures are drawn without one,
// so the window and the pictures both draw the font data freeglut exports.
extern "C" {
struct glut_bitmap_font {
    const char* name;
    int quantity;
    int height;
    const GLubyte** characters;
    float x_origin;
    float y_origin;
};
extern glut_bitmap_font fgFontFixed9x15;
}

namespace {

constexpr int line_height = 16;
constexpr int char_width = 9; // every character of the font is this wide
constexpr int margin = guide_margin;

void draw_latin1(int x, int y, const std::string& latin1) {
    const glut_bitmap_font& font = fgFontFixed9x15;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glWindowPos2i(x, y);
    for (const char c : latin1) {
        const GLubyte* bitmap = font.characters[static_cast<unsigned char>(c)];
        glBitmap(bitmap[0], font.height, font.x_origin, font.y_origin,
                 static_cast<float>(bitmap[0]), 0.0f, bitmap + 1);
    }
}

void draw_string(int x, int y, const std::string& utf8) {
    draw_latin1(x, y, latin1_text(utf8));
}

// Window pixels as the coordinates of lines and panels until the returned guard's scope ends.
struct pixel_space {
    explicit pixel_space(const view_state& view) {
        glDisable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0.0, view.ww, 0.0, view.hh, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
    }
    ~pixel_space() {
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glEnable(GL_DEPTH_TEST);
    }
    pixel_space(const pixel_space&) = delete;
    pixel_space& operator=(const pixel_space&) = delete;
};

std::string length_text(double length) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, length).ptr;
    return std::string(text, end);
}

} // namespace

void draw_text_lines(const std::vector<std::string>& lines, const view_state& view,
                     const std::array<float, 4>& background) {
    const pixel_space pixels(view);
    const float shade = text_shade(background);
    glColor3f(shade, shade, shade);
    // Long hints are broken so that they never run into the guides.
    const text_area area = text_area_of(view, char_width);
    const std::vector<std::string> shown = wrapped_lines(lines, area.columns);
    for (std::size_t i = 0; i < shown.size(); ++i)
        draw_latin1(margin, area.bottom + static_cast<int>(i) * line_height, shown[i]);
}

void draw_guides(const view_state& view, const std::array<float, 4>& background) {
    const pixel_space pixels(view);
    const float shade = text_shade(background);
    const double arm = triad_arm;
    const double cx = view.ww - triad_inset;
    const double cy = triad_inset;
    const char* names[3] = {"E", "N", "Up"};
    const float colours[3][3] = {{0.6f, 0.6f, 0.9f}, {0.6f, 0.9f, 0.6f}, {0.9f, 0.6f, 0.6f}};
    const auto arms = triad_arms(view);
    glLineWidth(2.0f);
    for (int axis = 0; axis < 3; ++axis) {
        const double tip_x = cx + arm * arms[axis][0];
        const double tip_y = cy + arm * arms[axis][1];
        glColor3fv(colours[axis]);
        glBegin(GL_LINES);
        glVertex2d(cx, cy);
        glVertex2d(tip_x, tip_y);
        glEnd();
        glColor3f(shade, shade, shade);
        draw_string(static_cast<int>(tip_x + 10.0 * arms[axis][0]) - 4,
                    static_cast<int>(tip_y + 10.0 * arms[axis][1]) - 5, names[axis]);
    }

    // The bar spans at most a fifth of the window's width.
    const double per_pixel = units_per_pixel(view);
    const double length = round_length(per_pixel * view.ww / 5.0);
    const double pixels_long = length / per_pixel;
    const double right = view.ww - margin;
    const double y = cy + arm + 30.0;
    glColor3f(shade, shade, shade);
    glBegin(GL_LINES); // the bar and its two end ticks
    glVertex2d(right - pixels_long, y);
    glVertex2d(right, y);
    glVertex2d(right - pixels_long, y - 4.0);
    glVertex2d(right - pixels_long, y + 4.0);
    glVertex2d(right, y - 4.0);
    glVertex2d(right, y + 4.0);
    glEnd();
    const std::string text = length_text(length);
    draw_string(static_cast<int>(right - pixels_long / 2.0) -
                    char_width * static_cast<int>(text.size()) / 2,
                static_cast<int>(y) + 6, text);
}

void draw_help(const std::vector<std::string>& lines, const view_state& view) {
    const pixel_space pixels(view);
    std::size_t longest = 0;
    for (const std::string& line : lines)
        longest = std::max(longest, latin1_text(line).size());
    const int width = static_cast<int>(longest) * char_width + 2 * margin;
    const int height = static_cast<int>(lines.size()) * line_height + 2 * margin;
    const int top = view.hh - margin;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 0.75f);
    glRecti(margin, top - height, margin + width, top);
    glDisable(GL_BLEND);
    glColor3f(1.0f, 1.0f, 1.0f);
    for (std::size_t i = 0; i < lines.size(); ++i)
        draw_string(2 * margin, top - margin - line_height * (static_cast<int>(i) + 1) + 4,
                    lines[i]);
}
