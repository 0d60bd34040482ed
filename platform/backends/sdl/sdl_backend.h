// The desktop backend: one SDL2 window whose surface shows the framebuffer, mouse buttons in, and
// the viewer's controls (pause, single step, slow motion, zoom, full screen) kept entirely here:
// the application sees only a clock that runs slower or stops, and a client area of its own size.
#pragma once

#include "backends/sdl/event_waiter.h"
#include "backends/sdl/screen/window_screen.h"
#include "backends/sdl/tick_log.h"
#include "backends/sdl/viewer_tools.h"
#include "backends/sdl/x11_error_guard.h"
#include "user/backend.h"
#include "viewer/clock.h"

#include <SDL_events.h>
#include <SDL_video.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kv::image {
class GifWriter;
}

namespace kv::sdl {

class SdlBackend final : public Backend {
  public:
    // With a non-empty `tick_log_path`, the time of every WM_TIMER is written there at exit.
    explicit SdlBackend(const std::string& tick_log_path = {}, ViewerTools tools = {});
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    // The window's icon, as a PNG: used from open_window on.
    void set_icon_png(std::span<const unsigned char> png) { icon_png_ = png; }

    bool open_window(const std::string& title, int client_width, int client_height,
                     std::string& why) override;
    void close_window() override;
    std::uint64_t now_ms() override;
    void poll(std::vector<InputEvent>& out) override;
    void wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) override;
    void present(const Framebuffer& fb, const Region& changed) override;
    void message_box(const std::string& caption, const std::string& text, unsigned type) override;
    void timer_delivered(std::uint64_t now_ms) override;

  private:
    void translate(const SDL_Event& e, std::vector<InputEvent>& out);
    void on_window_event(const SDL_WindowEvent& e, std::vector<InputEvent>& out);
    void on_mouse_button(const SDL_MouseButtonEvent& e, std::vector<InputEvent>& out);
    void on_key(const SDL_KeyboardEvent& e);
    void update_badge();
    void show_help(bool on);
    // F12, Ctrl R, Ctrl E, I.
    void save_picture();
    void start_recording();
    // Ends the recording, and with `tell` says in the badge where it went (or why it failed).
    void finish_recording(bool tell);
    void save_data();
    void update_readout();
    // The badge shows `message` for a few seconds.
    void say(const std::string& message);
    // The Tick handed out last has run: what follows it (data, frame, readout).
    void finish_tick();
    // First in, last out: it must see every X error from SDL's start to SDL_Quit.
    X11ErrorGuard x11_errors_;
    SDL_Window* window_ = nullptr;
    std::unique_ptr<WindowScreen> screen_; // while the window is open
    EventWaiter waiter_;
    bool video_ = false;
    const Framebuffer* fb_ = nullptr; // the window manager's, while the window is open
    viewer::ViewerClock clock_;
    TickLog tick_log_;
    std::span<const unsigned char> icon_png_;
    ViewerTools tools_;
    bool tick_running_ = false;
    bool readout_ = false;
    std::unique_ptr<image::GifWriter> recording_;
    std::string recording_path_;
    std::string message_;
    std::uint64_t message_until_ms_ = 0; // wall clock
    std::uint64_t pumped_ms_ = 0;        // wall clock of the last look at the display's events
};

} // namespace kv::sdl
