// Waiting for SDL's next event. SDL's own wait looks at the display twice before it sleeps, and on
// X11 each look (a pump) is some eight reads of the connection that find nothing. With the
// connection at hand, a pump comes only when there is something to take in: Xlib holds events
// already read, or poll() on the connection finds some. Other drivers use SDL's wait.
#pragma once

#include <SDL_events.h>
#include <SDL_video.h>

#include <cstdint>
#include <optional>

// Xlib's Display, kept out of the rest of the program; the name is Xlib's own.
struct _XDisplay; // NOLINT(bugprone-reserved-identifier)

namespace kv::sdl {

class EventWaiter {
  public:
    // The display connection under `window` (none: SDL's own wait).
    void attach(SDL_Window* window);
    void detach() {
        connection_.reset();
        display_ = nullptr;
    }

    // Takes the next event, waiting up to `timeout_ms` for it (negative: without limit). False
    // when none came: the time ran out, or a signal woke the process (SDL turns SIGINT and
    // SIGTERM into a quit event on the next pump).
    bool next(SDL_Event& e, int timeout_ms);

    // A signal that lands while we are not waiting interrupts nothing: at least this often a
    // pump runs anyway, so that SDL turns it into its quit event.
    static constexpr std::uint64_t kPumpAtLeastEveryMs = 1000;

  private:
    void pump();

    std::optional<int> connection_;
    _XDisplay* display_ = nullptr;
    std::uint64_t pumped_ms_ = 0;
};

} // namespace kv::sdl
