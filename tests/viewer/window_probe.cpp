// Looks at or acts on an X window by id, for the smoke test under Xvfb (which runs no window
// manager):
//   window_probe close ID   asks the window to close, as a window manager's close button does
//                           (WM_DELETE_WINDOW);
//   window_probe scene ID   exits 0 when the window shows faces (white, or horizons through
//                           see-through ones), green tracers and an axis
//                           colour, 1 otherwise;
//   window_probe ink ID X Y WIDTH HEIGHT
//                           exits 0 when the rectangle (window coordinates) holds dark pixels,
//                           such as text, 1 otherwise;
//   window_probe pointer-free
//                           exits 0 when no client holds the pointer grabbed (a popup does while
//                           it is open, and a click then goes to it), 1 otherwise.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void request_close(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
}

bool shows_scene(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return false;
    XImage* image =
        XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image)
        return false;
    int white = 0, green = 0, axis = 0, bright = 0;
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
            white += r == 255 && g == 255 && b == 255;
            // White faces, or the horizons' colours where see-through faces show them.
            bright += std::max({r, g, b}) > 150;
            green += r == 0 && g == 255 && b < 40;
            axis += r > 140 && r < 240 && g > 140 && g < 240 && b > 140 && b < 240 &&
                    (r != g || g != b);
        }
    XDestroyImage(image);
    std::printf("window pixels: %d white, %d green, %d axis, %d bright\n", white, green, axis,
                bright);
    return bright > 1000 && green > 0 && axis > 0;
}

bool shows_ink(Display* display, Window window, int x, int y, int width, int height) {
    XImage* image = XGetImage(display, window, x, y, width, height, AllPlanes, ZPixmap);
    if (!image)
        return false;
    int dark = 0;
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) {
            const unsigned long p = XGetPixel(image, column, row);
            dark += ((p >> 16) & 0xff) < 100 && ((p >> 8) & 0xff) < 100 && (p & 0xff) < 100;
        }
    XDestroyImage(image);
    std::printf("rectangle pixels: %d dark\n", dark);
    return dark >= 10;
}

// True when no client holds the pointer grabbed: a click now reaches the window under it.
bool pointer_free(Display* display) {
    if (XGrabPointer(display, DefaultRootWindow(display), False, 0, GrabModeAsync, GrabModeAsync,
                     None, None, CurrentTime) != GrabSuccess)
        return false;
    XUngrabPointer(display, CurrentTime);
    XSync(display, False);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const int arguments = mode == "ink"                        ? 7
                          : mode == "pointer-free"             ? 2
                          : mode == "close" || mode == "scene" ? 3
                                                               : 0;
    if (argc != arguments) {
        std::fprintf(stderr, "usage: window_probe close|scene WINDOW_ID\n"
                             "       window_probe ink WINDOW_ID X Y WIDTH HEIGHT\n"
                             "       window_probe pointer-free\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "window_probe: no display\n");
        return 2;
    }
    const Window window = argc > 2 ? std::strtoul(argv[2], nullptr, 0) : None;
    bool ok = true;
    if (mode == "pointer-free")
        ok = pointer_free(display);
    else if (mode == "ink")
        ok = shows_ink(display, window, std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                       std::atoi(argv[6]));
    else if (mode == "close")
        request_close(display, window);
    else
        ok = shows_scene(display, window);
    XCloseDisplay(display);
    return ok ? 0 : 1;
}
