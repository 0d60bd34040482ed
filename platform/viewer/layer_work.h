// The program's layer over the picture, asked for again after every Tick and action, and the work
// it needs done between Ticks (a curve to compute, say), in slices short enough that a Tick, or a
// frame of the page, never waits for it.
#pragma once

#include "viewer/program.h"
#include "viewer/readout_box.h"
#include "viewer/screen.h"

#include <cstdint>
#include <optional>

namespace kv::viewer {

class LayerWork {
  public:
    LayerWork(Screen& screen, const Program& program, const ReadoutBox& readout)
        : screen_(screen), program_(program), readout_(readout) {}

    // The layer's own action.
    bool on() const { return on_; }
    void toggle() { on_ = !on_; }
    // Something changed (a Tick, an action): the layer, shown anew if it changed, and the work
    // between Ticks, asked for again.
    void changed();
    // A slice of the work between Ticks, when some is left and `until` leaves time for it;
    // returns the wall time to wait until.
    std::optional<std::uint64_t> slice(std::optional<std::uint64_t> until);

  private:
    void show();

    Screen& screen_;
    const Program& program_;
    const ReadoutBox& readout_;
    bool on_ = false;
    bool work_left_ = false;
};

} // namespace kv::viewer
