// The contract between the window manager and what presents the window: the viewer (over an SDL2
// window or a page's canvas, platform/viewer) and the headless scripted runner. A backend turns
// the outside world into input events and presents the framebuffer; it never calls application
// code.
#pragma once

#include "core/framebuffer.h"
#include "core/region.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

struct InputEvent {
    enum class Kind {
        ButtonDown, // button, x, y
        ButtonUp,   // button, x, y
        MouseMove,  // x, y
        Expose,     // rect: part of the client area to paint again (empty rect: all of it)
        Resize,     // width, height: the client area's new size
        Close,      // the user asks the window to close
    };
    enum class Button { Left, Right };

    Kind kind = Kind::Expose;
    Button button = Button::Left;
    std::int64_t x = 0;
    std::int64_t y = 0;
    int width = 0;
    int height = 0;
    Rect rect{};
};

class Backend {
  public:
    virtual ~Backend() = default;

    // Opens the one window, with a client area of this size. On failure returns false and says
    // why in `why`.
    virtual bool open_window(const std::string& title, int client_width, int client_height,
                             std::string& why) = 0;
    virtual void close_window() = 0;

    // Milliseconds on the backend's clock: wall time for a display, virtual time for scripts.
    virtual std::uint64_t now_ms() = 0;

    // Takes the input that is already waiting, without blocking.
    virtual void poll(std::vector<InputEvent>& out) = 0;

    // The application is idle: block until input arrives or the clock reaches `deadline_ms` (no
    // deadline: until input arrives), and append the input to `out`.
    virtual void wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) = 0;

    // Shows the framebuffer; `changed` holds what was drawn since the previous present.
    virtual void present(const Framebuffer& fb, const Region& changed) = 0;

    // A modal message box; returns when the user has answered it.
    virtual void message_box(const std::string& caption, const std::string& text,
                             unsigned type) = 0;

    // Whether a timer that has fallen due may make its WM_TIMER now. A backend that stops the
    // application's time (the viewer's pause) says no: a Tick that fell due before the stop
    // would otherwise run after it, behind the input that came with the stop.
    virtual bool timers_run() { return true; }

    // A WM_TIMER has just been handed to the application, at `now_ms` on the backend's clock,
    // from a timer of period `period_ms` (as SetTimer set it).
    virtual void timer_delivered(std::uint64_t /*now_ms*/, std::uint64_t /*period_ms*/) {}
};

} // namespace kv
