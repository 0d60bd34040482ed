// The page's screen for the viewer: the framebuffer shown in the page's <canvas>, pointer and key
// input handed in by the page's script, the viewer's boxes and status shown by the page beside
// the picture, captures downloaded. Waiting gives the browser back its event loop (the program
// is linked with ASYNCIFY), so the page never blocks.
#pragma once

#include "viewer/screen.h"
#include "viewer/zoom_layout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv::web {

class WebScreen final : public viewer::Screen {
  public:
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
    void zoom(viewer::Action action) override;
    std::string save_picture(const Framebuffer& fb, const std::string& stem) override;
    std::unique_ptr<image::Output> new_capture(const std::string& stem,
                                               const std::string& extension) override;
    void show_focus(const std::optional<Rect>& around) override;
    void show_layer(const viewer::Layer& layer) override;
    void name_focus(const std::string& name) override;
    // Tab past the picture goes on to the page's controls: no trap.
    bool focus_moves_on() const override { return true; }
    // The readout, a table in the page: each new one costs the page a layout and a frame (about
    // 25 ms on a CPU six times slower), which it feels at 20 a second; a reader needs two.
    std::uint64_t readout_every_ms() const override { return 500; }
    // Web Audio, made by the page during the click or key that turns the sound on.
    bool sound(const std::optional<viewer::Tones>& tones, std::string& why) override;

    // From the page: a button pressed (down) or released at a client pixel.
    void pointer(bool down, InputEvent::Button button, std::int64_t x, std::int64_t y);
    // A key; true when it is the viewer's (the page then keeps it from the browser; not Tab
    // leaving the picture, which the browser takes on).
    bool key(const viewer::KeyPress& press);
    // The room the picture may take, in CSS pixels, device pixels per CSS pixel (times 1000),
    // and whether the page is in full screen.
    void viewport(int css_width, int css_height, int device_per_css_milli, bool fullscreen);

  private:
    // The part's pixels into opaque_, as the page's canvas takes them.
    void copy_opaque(const Framebuffer& fb, const Rect& part);
    void apply_layout();

    bool open_ = false;
    viewer::Size client_;
    viewer::Size room_{0, 0}; // device pixels the picture may take
    int device_milli_ = 0;
    bool fullscreen_ = false;
    std::optional<int> zoom_; // whole device pixels per client pixel; none: fit the room
    // CSS pixels per client pixel, kept while the browser zooms the page: the picture then grows
    // and shrinks with it, as everything else on the page does.
    std::optional<double> css_scale_;
    double device_scale_ = 1; // device pixels per client pixel, as shown
    std::uint64_t ticks_ = 0;
    bool first_frame_ = true;
    std::vector<InputEvent> queue_;
    std::vector<std::uint32_t> opaque_; // the picture as the page last showed it, opaque
};

} // namespace kv::web
