#include "viewer/viewer_clock.h"

namespace kv::sdl {

int wall_per_viewer_ms(Speed speed) {
    switch (speed) {
    case Speed::Quarter:
        return 4;
    case Speed::Half:
        return 2;
    case Speed::Normal:
        break;
    }
    return 1;
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
}

void ViewerClock::toggle_pause(std::uint64_t wall_ms) {
    rebase(wall_ms);
    paused_ = !paused_;
}

void ViewerClock::slower(std::uint64_t wall_ms) {
    rebase(wall_ms);
    if (speed_ == Speed::Normal) {
        speed_ = Speed::Half;
    } else if (speed_ == Speed::Half) {
        speed_ = Speed::Quarter;
    }
}

void ViewerClock::faster(std::uint64_t wall_ms) {
    rebase(wall_ms);
    if (speed_ == Speed::Quarter) {
        speed_ = Speed::Half;
    } else if (speed_ == Speed::Half) {
        speed_ = Speed::Normal;
    }
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

std::optional<std::string> clock_badge(const ViewerClock& clock) {
    if (clock.paused()) return "PAUSE";
    switch (clock.speed()) {
    case Speed::Quarter:
        return "x1/4";
    case Speed::Half:
        return "x1/2";
    case Speed::Normal:
        break;
    }
    return std::nullopt;
}

} // namespace kv::sdl
