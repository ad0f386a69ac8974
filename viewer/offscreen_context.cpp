#include "viewer/offscreen_context.hpp"

#include <EGL/egl.h>
#include <EGL/eglext.h>

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

} // namespace

offscreen_context::offscreen_context(int width, int height)
    : display_(EGL_NO_DISPLAY), surface_(EGL_NO_SURFACE), context_(EGL_NO_CONTEXT) {
    try {
        open(width, height);
    } catch (...) {
        release();
        throw;
    }
}

offscreen_context::~offscreen_context() {
    release();
}

void offscreen_context::open(int width, int height) {
    auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!get_platform_display)
        fail("eglGetPlatformDisplayEXT is missing");
    display_ = get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
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

    // The drawing is immediate mode and display lists, so the context must be a compatibility one.
    const EGLint context_attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                         EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, context_attributes);
    if (context_ == EGL_NO_CONTEXT)
        fail("no compatibility OpenGL context");
    if (!eglMakeCurrent(display_, surface_, surface_, context_))
        fail("the context cannot be made current");
}

void offscreen_context::release() {
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

} // namespace tolvex
