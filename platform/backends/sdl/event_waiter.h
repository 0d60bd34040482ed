// Waiting for SDL's next event. SDL's own wait looks at the display twice before it sleeps, and on
// X11 each look is some eight reads of the connection that find nothing; with the connection's
// file descriptor at hand, one look and a poll() on it do the same. Other drivers use SDL's wait.
#pragma once

#include <SDL_events.h>
#include <SDL_video.h>

#include <optional>

namespace kv::sdl {

class EventWaiter {
  public:
    // The display connection under `window` (none: SDL's own wait).
    void attach(SDL_Window* window);
    void detach() { connection_.reset(); }

    // Takes the next event, waiting up to `timeout_ms` for it (negative: without limit). False
    // when none came: the time ran out, or a signal woke the process (SDL turns SIGINT and
    // SIGTERM into a quit event on the next look).
    bool next(SDL_Event& e, int timeout_ms);

  private:
    std::optional<int> connection_;
};

} // namespace kv::sdl
