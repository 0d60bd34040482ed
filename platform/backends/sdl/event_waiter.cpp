#include "backends/sdl/event_waiter.h"

#include <SDL_syswm.h>
#include <SDL_timer.h>

#include <poll.h>

#include <algorithm>

namespace kv::sdl {

namespace {

bool take(SDL_Event& e) {
    return SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
}

} // namespace

void EventWaiter::attach(SDL_Window* window) {
    detach();
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window != nullptr && SDL_GetWindowWMInfo(window, &info) == SDL_TRUE &&
        info.subsystem == SDL_SYSWM_X11) {
        display_ = info.info.x11.display;
        connection_ = ConnectionNumber(display_);
    }
#else
    (void)window;
#endif
}

void EventWaiter::pump() {
    SDL_PumpEvents();
    pumped_ms_ = SDL_GetTicks64();
}

bool EventWaiter::next(SDL_Event& e, int timeout_ms) {
    if (!connection_) {
        return (timeout_ms < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, timeout_ms)) != 0;
    }
    if (take(e)) return true;
#if defined(SDL_VIDEO_DRIVER_X11)
    const std::uint64_t pump_by = pumped_ms_ + kPumpAtLeastEveryMs;
    std::uint64_t now = SDL_GetTicks64();
    // The frame just drawn, and whatever else was asked since. A flush also reads what the
    // connection holds: events read then, or while Xlib waited for a reply, are in its queue and
    // no longer on the connection.
    XFlush(display_);
    if (now < pump_by && XEventsQueued(display_, QueuedAlready) == 0) {
        const auto until_pump = static_cast<int>(pump_by - now);
        pollfd connection{*connection_, POLLIN, 0};
        const int found =
            ::poll(&connection, 1, timeout_ms < 0 ? until_pump : std::min(timeout_ms, until_pump));
        now = SDL_GetTicks64();
        // Nothing came (a signal would have made poll() fail): nothing for a pump to take in.
        if (found == 0 && now < pump_by) return false;
    }
#endif
    pump();
    return take(e);
}

} // namespace kv::sdl
