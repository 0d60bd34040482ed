// The desktop's screen for the viewer: one SDL2 window whose surface shows the framebuffer with the
// viewer's toolbar and boxes beside it, mouse buttons in (on the picture the application's, on
// the toolbar and panel the viewer's), keys turned into the viewer's actions, zoom and full
// screen; captures go to the user's pictures folder. The application sees a client area of its
// own size.
#pragma once

#include "backends/sdl/event_waiter.h"
#include "backends/sdl/hum_audio.h"
#include "backends/sdl/screen/window_screen.h"
#include "backends/sdl/tick_log.h"
#include "backends/sdl/x11_error_guard.h"
#include "viewer/screen.h"

#include <SDL_events.h>
#include <SDL_video.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kv::sdl {

class SdlScreen final : public viewer::Screen {
  public:
    // With a non-empty `tick_log_path`, the time of every WM_TIMER is written there at exit.
    explicit SdlScreen(const std::string& tick_log_path = {});
    ~SdlScreen() override;
    SdlScreen(const SdlScreen&) = delete;
    SdlScreen& operator=(const SdlScreen&) = delete;

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
    void timer_delivered(std::uint64_t now_ms, std::uint64_t period_ms) override;

    void show(viewer::Slot slot, const viewer::Box& box) override;
    void show_status(const viewer::Status& status) override;
    void show_toolbar(const std::vector<viewer::ToolbarButton>& buttons) override;
    void zoom(viewer::Action action) override;
    std::string save_picture(const Framebuffer& fb, const std::string& stem) override;
    std::unique_ptr<image::Output> new_capture(const std::string& stem,
                                               const std::string& extension) override;
    void show_focus(const std::optional<Rect>& around) override;
    void show_layer(const viewer::Layer& layer) override;
    // SDL's audio, opened when the sound is first turned on and closed when it is turned off.
    bool sound(const std::optional<viewer::Tones>& tones, std::string& why) override;

  private:
    void translate(const SDL_Event& e, std::vector<InputEvent>& out);
    void on_window_event(const SDL_WindowEvent& e, std::vector<InputEvent>& out);
    void on_mouse_button(const SDL_MouseButtonEvent& e, std::vector<InputEvent>& out);
    void on_key(const SDL_KeyboardEvent& e);

    // First in, last out: it must see every X error from SDL's start to SDL_Quit.
    X11ErrorGuard x11_errors_;
    SDL_Window* window_ = nullptr;
    std::unique_ptr<WindowScreen> screen_; // the path to the screen, while the window is open
    EventWaiter waiter_;
    bool video_ = false;
    TickLog tick_log_;
    std::span<const unsigned char> icon_png_;
    std::unique_ptr<HumAudio> audio_;
    std::vector<viewer::ToolbarButton> toolbar_;
    std::uint64_t pumped_ms_ = 0; // wall clock of the last look at the display's events
};

} // namespace kv::sdl
