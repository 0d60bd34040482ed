#include "core/canvas.h"

#include <algorithm>

namespace kv {

Canvas::Canvas(Framebuffer& fb, Region clip) : fb_(fb), clip_(std::move(clip)) {
    clip_.intersect(fb_.bounds());
    clip_bounds_ = clip_.bounds();
    single_rect_ = clip_.rects().size() == 1;
}

void Canvas::span_in_pieces(std::int64_t y, std::int64_t x0, std::int64_t x1, Color c) {
    for (const Rect& r : clip_.rects()) {
        if (y < r.top || y >= r.bottom) continue;
        const std::int64_t a = std::max(x0, r.left);
        const std::int64_t b = std::min(x1, r.right);
        if (a >= b) continue;
        fb_.fill_span(y, a, b, c);
        drawn_ = bounding_union(drawn_, Rect{a, y, b, y + 1});
    }
}

void Canvas::plot(std::int64_t x, std::int64_t y, Color c) {
    if (!clip_bounds_.contains(x, y) || !clip_.contains(x, y)) return;
    fb_.set(x, y, c);
    drawn_ = bounding_union(drawn_, Rect{x, y, x + 1, y + 1});
}

Color Canvas::read(std::int64_t x, std::int64_t y) const {
    if (!clip_bounds_.contains(x, y) || !clip_.contains(x, y)) return kInvalidColor;
    return fb_.get(x, y);
}

} // namespace kv
