#include "viewer/clock.h"

#include <algorithm>
#include <array>

namespace kv::viewer {

namespace {

struct SpeedInfo {
    int wall_per_viewer_ms;
    int ticks_per_period;
    const char* badge; // none at x1
};

constexpr std::array<SpeedInfo, 6> kSpeeds{{
    {4, 1, "x1/4"},
    {2, 1, "x1/2"},
    {1, 1, nullptr},
    {1, 2, "x2"},
    {1, 4, "x4"},
    {1, 8, "x8"},
}};

const SpeedInfo& info(Speed speed) {
    return kSpeeds[static_cast<std::size_t>(speed)];
}

} // namespace

int wall_per_viewer_ms(Speed speed) {
    return info(speed).wall_per_viewer_ms;
}

int ticks_per_period(Speed speed) {
    return info(speed).ticks_per_period;
}

double pace(Speed speed) {
    return static_cast<double>(ticks_per_period(speed)) / wall_per_viewer_ms(speed);
}

ViewerClock::ViewerClock(std::uint64_t wall_ms) : wall_base_(wall_ms) {}

std::uint64_t ViewerClock::now(std::uint64_t wall_ms) const {
    if (paused_ || wall_ms <= wall_base_) return viewer_base_;
    const auto divisor = static_cast<std::uint64_t>(wall_per_viewer_ms(speed_));
    return viewer_base_ + (wall_ms - wall_base_) / divisor;
}

void ViewerClock::rebase(std::uint64_t wall_ms) {
    viewer_base_ = now(wall_ms);
    wall_base_ = wall_ms;
    // A new speed or a pause starts a new period.
    ticks_in_period_ = 0;
}

void ViewerClock::toggle_pause(std::uint64_t wall_ms) {
    rebase(wall_ms);
    paused_ = !paused_;
    pending_steps_ = 0;
    step_taken_ = false;
}

void ViewerClock::request_step() {
    if (paused_) ++pending_steps_;
}

bool ViewerClock::take_step(std::optional<std::uint64_t> deadline_ms) {
    if (pending_steps_ == 0) return false;
    if (!paused_ || !deadline_ms) {
        pending_steps_ = 0;
        return false;
    }
    --pending_steps_;
    step_to(*deadline_ms);
    step_taken_ = true;
    return true;
}

void ViewerClock::slower(std::uint64_t wall_ms) {
    rebase(wall_ms);
    if (speed_ != Speed::Quarter) speed_ = static_cast<Speed>(static_cast<int>(speed_) - 1);
}

void ViewerClock::faster(std::uint64_t wall_ms) {
    rebase(wall_ms);
    if (speed_ != Speed::Octuple) speed_ = static_cast<Speed>(static_cast<int>(speed_) + 1);
}

void ViewerClock::step_to(std::uint64_t viewer_ms) {
    if (paused_ && viewer_ms > viewer_base_) viewer_base_ = viewer_ms;
}

std::optional<std::uint64_t> ViewerClock::wall_deadline(std::uint64_t viewer_ms,
                                                        std::uint64_t wall_ms) const {
    if (paused_) return std::nullopt;
    if (now(wall_ms) >= viewer_ms) return wall_ms;
    const auto divisor = static_cast<std::uint64_t>(wall_per_viewer_ms(speed_));
    return wall_base_ + (viewer_ms - viewer_base_) * divisor;
}

void ViewerClock::timer_delivered(std::uint64_t wall_ms) {
    step_taken_ = false;
    if (paused_) return;
    if (ticks_in_period_ == 0) period_start_ms_ = wall_ms;
    if (++ticks_in_period_ >= ticks_per_period(speed_)) ticks_in_period_ = 0;
}

bool ViewerClock::run_next_tick_now(std::uint64_t viewer_ms, std::uint64_t wall_ms) {
    if (paused_ || ticks_in_period_ == 0) return false;
    const std::uint64_t since_start = wall_ms - std::min(wall_ms, period_start_ms_);
    const int in_period = ticks_in_period_;
    rebase(wall_ms);
    ticks_in_period_ = in_period;
    viewer_base_ = std::max(viewer_base_, viewer_ms + since_start);
    return true;
}

std::optional<std::string> clock_badge(const ViewerClock& clock) {
    if (clock.paused()) return "PAUSE";
    const char* badge = info(clock.speed()).badge;
    if (badge == nullptr) return std::nullopt;
    return badge;
}

} // namespace kv::viewer
