#include "viewer/readout_box.h"

#include <algorithm>

namespace kv::viewer {

void ReadoutBox::toggle() {
    shown_ = !shown_;
    show();
}

void ReadoutBox::show() {
    stale_ = false;
    due_ms_ = screen_.now_ms() + screen_.readout_every_ms();
    const bool on = shown_ && program_.readout;
    screen_.show(Slot::Readout, on ? Box{program_.readout_title ? program_.readout_title() : "",
                                         program_.readout(pace(clock_.speed()))}
                                   : Box{});
}

void ReadoutBox::tick_done() {
    if (!shown_) return;
    if (screen_.now_ms() >= due_ms_)
        show();
    else
        stale_ = true;
}

std::optional<std::uint64_t> ReadoutBox::show_when_due(std::optional<std::uint64_t> until,
                                                       std::uint64_t wall) {
    if (!stale_) return until;
    if (!until || wall >= due_ms_) {
        show();
        return until;
    }
    return std::min(*until, due_ms_);
}

} // namespace kv::viewer
