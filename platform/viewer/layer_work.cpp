#include "viewer/layer_work.h"

#include <algorithm>

namespace kv::viewer {

namespace {

// The longest slice of work between Ticks: a frame of the page, or a Tick, waits no longer.
constexpr std::uint64_t kSliceMs = 8;

} // namespace

void LayerWork::changed() {
    show();
    work_left_ = true;
}

void LayerWork::show() {
    if (!program_.layer) return;
    if (std::optional<Layer> layer = program_.layer({readout_.shown(), on_}))
        screen_.show_layer(*layer);
}

std::optional<std::uint64_t> LayerWork::slice(std::optional<std::uint64_t> until) {
    if (!work_left_ || !program_.between_ticks) return until;
    const std::uint64_t wall = screen_.now_ms();
    if (until && *until <= wall) return until;
    const std::uint64_t end = std::min(until.value_or(wall + kSliceMs), wall + kSliceMs);
    work_left_ = program_.between_ticks([&] { return screen_.now_ms() < end; });
    show();
    // More to do: back after a short wait, which lets the screen take its input (and the page
    // its frames) in between.
    if (work_left_) return std::min(until.value_or(wall + 1), screen_.now_ms() + 1);
    return until;
}

} // namespace kv::viewer
