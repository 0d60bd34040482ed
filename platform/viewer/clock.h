// The time the application sees on the desktop: the wall clock slowed down or stopped by the
// viewer's controls. The window manager keeps its timer deadlines on this clock, so pausing or
// slowing the program down needs no help from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kv::viewer {

// How fast the program's time runs for the viewer: x1/4, x1/2, x1, x2, x4, x8.
enum class Speed { Quarter, Half, Normal, Double, Quadruple, Octuple };

// Wall milliseconds per viewer millisecond between Ticks: 4 and 2 for slow motion, else 1.
int wall_per_viewer_ms(Speed speed);
// Ticks run back to back, one after the other, every time the timer falls due on the wall:
// 2, 4 or 8 in fast motion, else 1. Each is the application's own WM_TIMER, so a fast run goes
// through the very same Ticks in the same order, only more of them per wall period.
int ticks_per_period(Speed speed);
// The program's time on screen against its own pace: 0.25 at x1/4 ... 8 at x8.
double pace(Speed speed);

class ViewerClock {
  public:
    // The viewer clock reads 0 at `wall_ms`.
    explicit ViewerClock(std::uint64_t wall_ms = 0);

    // The viewer time at `wall_ms`; wall times must not go backwards between calls.
    std::uint64_t now(std::uint64_t wall_ms) const;

    bool paused() const { return paused_; }
    Speed speed() const { return speed_; }

    void toggle_pause(std::uint64_t wall_ms);
    // One step towards x1/4, or towards x8. Beyond either end nothing changes.
    void slower(std::uint64_t wall_ms);
    void faster(std::uint64_t wall_ms);

    // While paused: moves the clock on to `viewer_ms`, so that the timer due then fires once.
    // Does nothing while running, or when the clock is already there.
    void step_to(std::uint64_t viewer_ms);

    // One Tick more, asked for while paused (ignored while running); each pause or resume
    // forgets the steps not yet taken.
    void request_step();
    // The application waits for the timer due at `deadline_ms`: when a step is pending and the
    // clock is paused, moves the clock there (that timer fires) and says so.
    bool take_step(std::optional<std::uint64_t> deadline_ms);
    // Whether a timer that has fallen due may fire: always while running; while paused, only
    // the one Tick a step has just let through. A Tick that fell due before the pause never
    // runs after it.
    bool ticks_run() const { return !paused_ || step_taken_; }

    // The first wall time at which the clock reads `viewer_ms` or more (at the latest `wall_ms`
    // itself when it already does); none while paused, since the clock then never gets there.
    std::optional<std::uint64_t> wall_deadline(std::uint64_t viewer_ms,
                                               std::uint64_t wall_ms) const;

    // A timer message went to the application at `wall_ms`.
    void timer_delivered(std::uint64_t wall_ms);
    // In fast motion, while the Ticks of this wall period are not all run: moves the clock on
    // to the next timer at `viewer_ms` at once, and says so. The period stays on the wall's
    // grid: the clock then reads `viewer_ms` plus the wall time since the period began.
    bool run_next_tick_now(std::uint64_t viewer_ms, std::uint64_t wall_ms);

  private:
    // Starts a new linear piece at `wall_ms` so that a change of speed or pause applies only
    // from now on.
    void rebase(std::uint64_t wall_ms);

    std::uint64_t wall_base_ = 0;
    std::uint64_t viewer_base_ = 0;
    Speed speed_ = Speed::Normal;
    bool paused_ = false;
    int pending_steps_ = 0;
    bool step_taken_ = false; // paused: a step lets its Tick through, until it is delivered
    int ticks_in_period_ = 0; // of ticks_per_period(speed_); 0: the next waits
    std::uint64_t period_start_ms_ = 0; // wall time of the period's first Tick
};

// What the viewer is shown about the clock: "PAUSE", "x1/4" ... "x8", or nothing at x1.
std::optional<std::string> clock_badge(const ViewerClock& clock);

} // namespace kv::viewer
