// korveline.exe's screen for the viewer: a real Win32 window (backends/win32/window.h) showing the
// framebuffer with the viewer's toolbar and boxes beside it, mouse buttons in (on the picture the
// application's, on the toolbar and panel the viewer's), keys turned into the viewer's actions,
// zoom and full screen; the wall clock, and waiting on the window's messages; captures in the
// user's Pictures folder; the hum through the system's wave output. This header leaves <windows.h>
// out: the program that makes the screen is compiled against the platform's own.
#pragma once

#include "viewer/screen.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv::win32 {

class Window;
class WaveHum;

class Win32Screen final : public viewer::Screen {
  public:
    Win32Screen();
    ~Win32Screen() override;
    Win32Screen(const Win32Screen&) = delete;
    Win32Screen& operator=(const Win32Screen&) = delete;

    bool open_window(const std::string& title, int client_width, int client_height,
                     std::string& why) override;
    void close_window() override;
    std::uint64_t now_ms() override;
    void poll(std::vector<InputEvent>& out) override;
    void wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) override;
    void present(const Framebuffer& fb, const Region& changed) override;
    void message_box(const std::string& caption, const std::string& text, unsigned type) override;

    void show(viewer::Slot slot, const viewer::Box& box) override;
    void show_status(const viewer::Status& status) override;
    void show_toolbar(const std::vector<viewer::ToolbarButton>& buttons) override;
    void zoom(viewer::Action action) override;
    std::string save_picture(const Framebuffer& fb, const std::string& stem) override;
    std::unique_ptr<image::Output> new_capture(const std::string& stem,
                                               const std::string& extension) override;
    void show_focus(const std::optional<Rect>& around) override;
    void show_layer(const viewer::Layer& layer) override;
    // The wave output, opened when the sound is first turned on and closed when it is turned off.
    bool sound(const std::optional<viewer::Tones>& tones, std::string& why) override;

  private:
    class Events; // what the window's procedure hands over
    std::unique_ptr<Events> events_;
    std::unique_ptr<Window> window_;
    std::unique_ptr<WaveHum> sound_;
    std::vector<InputEvent> input_; // from the window's procedure, for the next poll
    std::vector<viewer::ToolbarButton> toolbar_;
    bool fine_timer_ = false; // the system's timer at 1 ms while the window is open
};

} // namespace kv::win32
