// The time the application sees on the desktop: the wall clock slowed down or stopped by the
// viewer's controls. The window manager keeps its timer deadlines on this clock, so pausing or
// slowing the motor needs no help from the application.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kv::sdl {

// How fast the viewer clock runs against the wall clock.
enum class Speed { Quarter, Half, Normal };

// Wall milliseconds per viewer millisecond: 4, 2 or 1.
int wall_per_viewer_ms(Speed speed);

class ViewerClock {
  public:
    // The viewer clock reads 0 at `wall_ms`.
    explicit ViewerClock(std::uint64_t wall_ms = 0);

    // The viewer time at `wall_ms`; wall times must not go backwards between calls.
    std::uint64_t now(std::uint64_t wall_ms) const;

    bool paused() const { return paused_; }
    Speed speed() const { return speed_; }

    void toggle_pause(std::uint64_t wall_ms);
    // One step towards a quarter of the wall clock's speed, or back towards the full speed.
    // Beyond either end nothing changes.
    void slower(std::uint64_t wall_ms);
    void faster(std::uint64_t wall_ms);

    // While paused: moves the clock on to `viewer_ms`, so that the timer due then fires once.
    // Does nothing while running, or when the clock is already there.
    void step_to(std::uint64_t viewer_ms);

    // The first wall time at which the clock reads `viewer_ms` or more (at the latest `wall_ms`
    // itself when it already does); none while paused, since the clock then never gets there.
    std::optional<std::uint64_t> wall_deadline(std::uint64_t viewer_ms,
                                               std::uint64_t wall_ms) const;

  private:
    // Starts a new linear piece at `wall_ms` so that a change of speed or pause applies only
    // from now on.
    void rebase(std::uint64_t wall_ms);

    std::uint64_t wall_base_ = 0;
    std::uint64_t viewer_base_ = 0;
    Speed speed_ = Speed::Normal;
    bool paused_ = false;
};

// What the viewer is shown about the clock: "PAUSE", "x1/2", "x1/4", or nothing at full speed.
std::optional<std::string> clock_badge(const ViewerClock& clock);

} // namespace kv::sdl
