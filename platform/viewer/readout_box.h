// Key I: the program's readout in a box over the picture, asked again after every Tick while it
// shows, though no more often than the screen takes it; the last Tick's always shows once the
// Ticks stop.
#pragma once

#include "viewer/clock.h"
#include "viewer/program.h"
#include "viewer/screen.h"

#include <cstdint>
#include <optional>

namespace kv::viewer {

class ReadoutBox {
  public:
    ReadoutBox(Screen& screen, const Program& program, const ViewerClock& clock)
        : screen_(screen), program_(program), clock_(clock) {}

    bool shown() const { return shown_; }
    void toggle();
    // Shown now, or hidden.
    void show();
    // A Tick has run: shown again now, or held back until it is due.
    void tick_done();
    // A readout held back shows once due, or at once before a wait for input alone (no `until`);
    // returns the wall time to wait until, the readout's due time at the latest.
    std::optional<std::uint64_t> show_when_due(std::optional<std::uint64_t> until,
                                               std::uint64_t wall);

  private:
    Screen& screen_;
    const Program& program_;
    const ViewerClock& clock_;
    bool shown_ = false;
    bool stale_ = false;       // a Tick ran since it last showed
    std::uint64_t due_ms_ = 0; // wall clock: when it may show again
};

} // namespace kv::viewer
