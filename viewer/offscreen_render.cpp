#include "offscreen_render.hpp"

#include "scene_drawing.hpp"
#include "view_state.hpp"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace tolvex {
namespace {

[[noreturn]] void fail(const std::string& what) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04x", static_cast<unsigned>(eglGetError()));
    throw std::runtime_error("offscreen rendering unavailable: " + what + " (EGL error " + code +
                             ")");
}

// One surfaceless EGL display with a pbuffer and a desktop GL context current on it; all of it
// released again when the object goes.
class egl_session {
  public:
    egl_session(int width, int height) {
        try {
            open(width, height);
        } catch (...) {
            release();
            throw;
        }
    }

    ~egl_session() { release(); }

    egl_session(const egl_session&) = delete;
    egl_session& operator=(const egl_session&) = delete;

  private:
    void open(int width, int height) {
        auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
            eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!get_platform_display)
            fail("eglGetPlatformDisplayEXT is missing");
        display_ =
            get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display_ == EGL_NO_DISPLAY)
            fail("no surfaceless EGL display");
        if (!eglInitialize(display_, nullptr, nullptr)) {
            display_ = EGL_NO_DISPLAY;
            fail("the surfaceless EGL display cannot be initialised");
        }
        if (!eglBindAPI(EGL_OPENGL_API))
            fail("desktop OpenGL is not offered");

        const EGLint config_attributes[] = {EGL_SURFACE_TYPE,
                                            EGL_PBUFFER_BIT,
                                            EGL_RENDERABLE_TYPE,
                                            EGL_OPENGL_BIT,
                                            EGL_RED_SIZE,
                                            8,
                                            EGL_GREEN_SIZE,
                                            8,
                                            EGL_BLUE_SIZE,
                                            8,
                                            EGL_ALPHA_SIZE,
                                            8,
                                            EGL_DEPTH_SIZE,
                                            24,
                                            EGL_NONE};
        EGLConfig config = nullptr;
        EGLint count = 0;
        if (!eglChooseConfig(display_, config_attributes, &config, 1, &count) || count < 1)
            fail("no RGBA pbuffer configuration with a depth buffer");

        const EGLint surface_attributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
        surface_ = eglCreatePbufferSurface(display_, config, surface_attributes);
        if (surface_ == EGL_NO_SURFACE)
            fail("the pbuffer cannot be created");

        // The drawing is immediate mode, so the context must be a compatibility one.
        const EGLint context_attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                             EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                             EGL_NONE};
        context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, context_attributes);
        if (context_ == EGL_NO_CONTEXT)
            fail("no compatibility OpenGL context");
        if (!eglMakeCurrent(display_, surface_, surface_, context_))
            fail("the context cannot be made current");
    }

    void release() {
        if (display_ == EGL_NO_DISPLAY)
            return;
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (context_ != EGL_NO_CONTEXT)
            eglDestroyContext(display_, context_);
        if (surface_ != EGL_NO_SURFACE)
            eglDestroySurface(display_, surface_);
        eglTerminate(display_);
        eglReleaseThread();
        display_ = EGL_NO_DISPLAY;
    }

    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLSurface surface_ = EGL_NO_SURFACE;
    EGLContext context_ = EGL_NO_CONTEXT;
};

} // namespace

scene_pixels render_scene_pixels(const std::vector<block>& blocks, const point_list& tracers,
                                 const scene_image_options& options) {
    if (options.width < 1 || options.height < 1)
        throw std::runtime_error("picture size " + std::to_string(options.width) + "x" +
                                 std::to_string(options.height) + " is not positive");
    egl_session session(options.width, options.height);

    view_state view;
    view.ww = options.width;
    view.hh = options.height;
    view = initial_view(view, options.eye);
    apply_fixed_state(options.clear_color);
    apply_camera(view);
    draw_scene(blocks, tracers);
    glFinish();

    scene_pixels pixels;
    pixels.width = options.width;
    pixels.height = options.height;
    pixels.rgba.resize(static_cast<std::size_t>(options.width) * options.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // GL counts rows from the bottom; the picture's first row is the top one.
    const std::size_t row = static_cast<std::size_t>(options.width) * 4;
    for (int y = 0; y < options.height; ++y)
        glReadPixels(0, options.height - 1 - y, options.width, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                     &pixels.rgba[y * row]);
    return pixels;
}

} // namespace tolvex
