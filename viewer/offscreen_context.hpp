// A desktop OpenGL context without any window or display: EGL on Mesa's surfaceless platform,
// through the same dispatch as the window, current on a pbuffer of the given size while the
// object lives.
#pragma once

namespace tolvex {

class offscreen_context {
  public:
    // Throws std::runtime_error ("offscreen rendering unavailable: ...") when no EGL display or
    // compatibility context can be had.
    offscreen_context(int width, int height);
    ~offscreen_context();

    offscreen_context(const offscreen_context&) = delete;
    offscreen_context& operator=(const offscreen_context&) = delete;

  private:
    void open(int width, int height);
    void release();

    // EGLDisplay, EGLSurface and EGLContext, which are pointers; the EGL header stays out of here.
    void* display_;
    void* surface_;
    void* context_;
};

} // namespace tolvex
