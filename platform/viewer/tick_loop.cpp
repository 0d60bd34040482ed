// The viewer between the application's Ticks: what follows each Tick, and the wait for the next
// one on the viewer's clock, during which the readout, the badge's message and the work between
// Ticks get their turn.
#include "viewer/viewer.h"

#include <algorithm>
#include <utility>

namespace kv::viewer {

void Viewer::poll(std::vector<InputEvent>& out) {
    finish_tick();
    screen_.poll(out);
    focus_.take_clicks(out);
}

void Viewer::wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) {
    finish_tick();
    if (focus_.take_clicks(out)) return;
    for (;;) {
        const std::uint64_t wall = screen_.now_ms();
        take_message_away(wall);
        if (tick_due(deadline_ms, wall)) return;
        const std::optional<std::uint64_t> until = wake_time(deadline_ms, wall);
        screen_.wait(until, out);
        focus_.take_clicks(out);
        // Woken before its time: by input, or by something handed in that may have posted the
        // window a message (the key L, the page's language): the application takes it now, not
        // at the next Tick, which a paused clock never brings.
        if (!out.empty() || !until || screen_.now_ms() < *until) return;
    }
}

bool Viewer::tick_due(std::optional<std::uint64_t> deadline_ms, std::uint64_t wall) {
    if (clock_.take_step(deadline_ms)) return true;
    if (!deadline_ms) return false;
    // Fast motion: the rest of this period's Ticks come at once.
    if (clock_.run_next_tick_now(*deadline_ms, wall)) return true;
    const std::optional<std::uint64_t> until = clock_.wall_deadline(*deadline_ms, wall);
    return until && *until <= wall;
}

std::optional<std::uint64_t> Viewer::wake_time(std::optional<std::uint64_t> deadline_ms,
                                               std::uint64_t wall) {
    // Recomputed on every pass: an action may just have paused or slowed the clock.
    std::optional<std::uint64_t> until;
    if (deadline_ms) until = clock_.wall_deadline(*deadline_ms, wall);
    until = readout_.show_when_due(until, wall);
    // A message in the badge wakes us to take it away.
    if (!status_.message.empty())
        until = std::min(until.value_or(message_until_ms_), message_until_ms_);
    return layer_.slice(until);
}

void Viewer::timer_delivered(std::uint64_t /*now_ms*/, std::uint64_t period_ms) {
    finish_tick();
    if (program_.ticks.starting) program_.ticks.starting();
    tick_running_ = true;
    captures_.timer_delivered(period_ms);
    clock_.timer_delivered(screen_.now_ms());
    screen_.timer_delivered(screen_.now_ms(), period_ms);
}

void Viewer::finish_tick() {
    if (!std::exchange(tick_running_, false)) return;
    if (program_.ticks.done) program_.ticks.done();
    say(captures_.tick_done());
    readout_.tick_done();
    sound_.follow(clock_.paused());
    layer_.changed();
}

} // namespace kv::viewer
