#include "backends/sdl/x11_error_guard.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace kv::sdl {

namespace {

// Xlib's handler is one per process, a plain function: its state has to be global too.
XErrorHandler previous_handler = nullptr;
bool closing = false;

int on_x_error(Display* display, XErrorEvent* error) {
    if (x11_error_is_harmless(error->request_code, error->error_code, closing)) return 0;
    if (previous_handler != nullptr) return previous_handler(display, error);
    return 0;
}

} // namespace

bool x11_error_is_harmless(int request_code, int error_code, bool window_closing) {
    if (window_closing) return true;
    return request_code == X_SendEvent && error_code == BadWindow;
}

X11ErrorGuard::X11ErrorGuard() {
    closing = false;
    previous_handler = XSetErrorHandler(on_x_error);
}

X11ErrorGuard::~X11ErrorGuard() {
    XSetErrorHandler(previous_handler);
    previous_handler = nullptr;
    closing = false;
}

void X11ErrorGuard::window_closing() {
    closing = true;
}

} // namespace kv::sdl
