// The browser backend: the framebuffer shown in the page's <canvas>, pointer and key input handed
// in by the page's script, and the viewer's controls (pause, single step, slow motion, zoom) kept
// here as on the desktop. The application's message loop waits by giving the browser back its
// event loop (the program is linked with ASYNCIFY), so the page never blocks.
#pragma once

#include "user/backend.h"
#include "viewer/clock.h"
#include "viewer/zoom_layout.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kv::web {

// The viewer's clock and zoom, shared with the desktop.
using viewer::Size;
using viewer::ViewerClock;

// What the page's keys and toolbar ask of the viewer.
enum class ViewerAction {
    TogglePause = 0,
    Step = 1,
    Slower = 2,
    Faster = 3,
    ZoomIn = 4,
    ZoomOut = 5,
    ZoomFit = 6,
};

// What the page's program hears of each Tick: just before it runs, and once it has run (before
// any further input is handled).
struct TickHooks {
    std::function<void()> starting;
    std::function<void()> done;
};

class WebBackend final : public Backend {
  public:
    explicit WebBackend(TickHooks hooks = {}) : hooks_(std::move(hooks)) {}
    WebBackend(const WebBackend&) = delete;
    WebBackend& operator=(const WebBackend&) = delete;

    bool open_window(const std::string& title, int client_width, int client_height,
                     std::string& why) override;
    void close_window() override;
    std::uint64_t now_ms() override;
    void poll(std::vector<InputEvent>& out) override;
    void wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) override;
    void present(const Framebuffer& fb, const Region& changed) override;
    void message_box(const std::string& caption, const std::string& text, unsigned type) override;
    void timer_delivered(std::uint64_t now_ms) override;

    // From the page: a button pressed (down) or released at a client pixel.
    void pointer(bool down, InputEvent::Button button, std::int64_t x, std::int64_t y);
    void act(ViewerAction action);
    // From the page: the room the picture may take, in CSS pixels, and device pixels per CSS
    // pixel (times 1000).
    void viewport(int css_width, int css_height, int device_per_css_milli);

  private:
    void apply_layout();
    void show_status();
    void finish_tick();

    bool open_ = false;
    Size client_;
    Size room_{0, 0}; // device pixels the picture may take
    int device_milli_ = 1000;
    std::optional<int> zoom_; // none: fit the room
    std::uint64_t ticks_ = 0;
    bool first_frame_ = true;
    bool tick_running_ = false;
    TickHooks hooks_;
    ViewerClock clock_;
    std::vector<InputEvent> queue_;
};

} // namespace kv::web
