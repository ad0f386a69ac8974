// glWindowPos (OpenGL 1.4) places text in window pixels.
#define GL_GLEXT_PROTOTYPES

#include "viewer/view_overlays.hpp"

#include "view_math/latin1_text.hpp"
#include "view_math/scene_colours.hpp"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

namespace {

constexpr int line_height = tolvex::picture_line_height;
constexpr int char_width = tolvex::picture_char_width; // GLUT's 9 x 15 font is as wide
constexpr int margin = guide_margin;

void draw_latin1(int x, int y, const std::string& latin1) {
    glWindowPos2i(x, y);
    for (const char c : latin1)
        glutBitmapCharacter(GLUT_BITMAP_9_BY_15, static_cast<unsigned char>(c));
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

} // namespace

void draw_window_texts(const std::vector<tolvex::picture_text>& texts, const view_state& view,
                       const std::array<float, 4>& background) {
    const pixel_space pixels(view);
    const float shade = text_shade(background);
    glColor3f(shade, shade, shade);
    for (const tolvex::picture_text& text : texts)
        draw_latin1(text.x, text.y, text.latin1);
}

void draw_guide_lines(const guide_layout& guides, const view_state& view,
                      const std::array<float, 4>& background) {
    const pixel_space pixels(view);
    const float colours[3][3] = {{0.6f, 0.6f, 0.9f}, {0.6f, 0.9f, 0.6f}, {0.9f, 0.6f, 0.6f}};
    glLineWidth(2.0f);
    for (int axis = 0; axis < 3; ++axis) {
        glColor3fv(colours[axis]);
        glBegin(GL_LINES);
        glVertex2d(guides.centre[0], guides.centre[1]);
        glVertex2d(guides.tips[axis][0], guides.tips[axis][1]);
        glEnd();
    }
    const float shade = text_shade(background);
    const double left = guides.bar_left;
    const double right = guides.bar_right;
    const double y = guides.bar_y;
    glColor3f(shade, shade, shade);
    glBegin(GL_LINES); // the bar and its two end ticks
    glVertex2d(left, y);
    glVertex2d(right, y);
    glVertex2d(left, y - 4.0);
    glVertex2d(left, y + 4.0);
    glVertex2d(right, y - 4.0);
    glVertex2d(right, y + 4.0);
    glEnd();
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
        draw_latin1(2 * margin, top - margin - line_height * (static_cast<int>(i) + 1) + 4,
                    latin1_text(lines[i]));
}
