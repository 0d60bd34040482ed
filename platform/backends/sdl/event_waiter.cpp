#include "backends/sdl/event_waiter.h"

#include <SDL_syswm.h>

#include <poll.h>

namespace kv::sdl {

namespace {

bool take(SDL_Event& e) {
    return SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
}

} // namespace

void EventWaiter::attach(SDL_Window* window) {
    connection_.reset();
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window != nullptr && SDL_GetWindowWMInfo(window, &info) == SDL_TRUE &&
        info.subsystem == SDL_SYSWM_X11) {
        connection_ = ConnectionNumber(info.info.x11.display);
    }
#else
    (void)window;
#endif
}

bool EventWaiter::next(SDL_Event& e, int timeout_ms) {
    if (!connection_) {
        return (timeout_ms < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, timeout_ms)) != 0;
    }
    // A pump reads all the connection holds and sends what was queued: with nothing found, the
    // next event can only come through the connection.
    SDL_PumpEvents();
    if (take(e)) return true;
    pollfd connection{*connection_, POLLIN, 0};
    if (::poll(&connection, 1, timeout_ms) <= 0) return false;
    SDL_PumpEvents();
    return take(e);
}

} // namespace kv::sdl
