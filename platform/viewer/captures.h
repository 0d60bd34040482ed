// The captures: the picture as PNG, the program's data as CSV, and a recording as GIF, a frame a
// Tick, each frame shown for the period of the timer behind its Tick. Each tells what the badge
// should say: where the capture went, or why it failed.
#pragma once

#include "image/gif_writer.h"
#include "viewer/actions.h"
#include "viewer/program.h"
#include "viewer/screen.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kv::viewer {

// What to say in the badge, or nothing.
using Told = std::optional<std::string>;

class Captures {
  public:
    Captures(Screen& screen, const Program& program) : screen_(screen), program_(program) {}

    // The picture presented last (none: the window is closed).
    void picture(const Framebuffer* fb) { fb_ = fb; }
    // SavePicture, SaveData, ToggleRecording.
    Told act(Action action);
    bool recording() const { return recording_ != nullptr; }
    // The timer behind the next Tick, and that Tick done: a frame more while recording.
    void timer_delivered(std::uint64_t period_ms) { period_ms_ = period_ms; }
    Told tick_done();

  private:
    // Makes a capture (`capture` returns where it went) and tells where, or why not.
    template <class Capture> Told tell(const Capture& capture) const;
    Told start_recording();
    // A GIF frame shows for the period of the application's timer, in 1/100 s.
    int frame_delay_cs() const { return static_cast<int>((period_ms_ + 5) / 10); }

    Screen& screen_;
    const Program& program_;
    const Framebuffer* fb_ = nullptr;
    std::unique_ptr<image::GifWriter> recording_;
    std::uint64_t period_ms_ = 0; // of the timer behind the last Tick
};

} // namespace kv::viewer
