#include "backends/sdl/screen/bare_x11.h"

#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace kv::sdl {

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

// A window manager that follows the EWMH names its own window on the root window.
bool has_window_manager(Display* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == 0) return false;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                          XA_WINDOW, &type, &format, &count, &left, &data);
    const bool found = status == Success && type == XA_WINDOW && count == 1;
    if (data != nullptr) XFree(data);
    return found;
}

} // namespace

bool cover_without_window_manager(SDL_Window* window, const SDL_Rect& area) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
        return false;
    Display* display = info.info.x11.display;
    if (has_window_manager(display)) return false;
    XMoveResizeWindow(display, info.info.x11.window, area.x, area.y, static_cast<unsigned>(area.w),
                      static_cast<unsigned>(area.h));
    XFlush(display);
    return true;
}

#else

bool cover_without_window_manager(SDL_Window*, const SDL_Rect&) {
    return false;
}

#endif

} // namespace kv::sdl
