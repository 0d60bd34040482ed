// Where every drawing primitive writes: a framebuffer seen through a clip region. Primitives clip
// at their top and call span()/plot() with the pixels they want; the canvas keeps each write
// inside both the region and the buffer, and remembers the bounds of what it wrote (what a
// backend has to present again).
#pragma once

#include "core/framebuffer.h"
#include "core/region.h"

#include <algorithm>

namespace kv {

struct Point {
    std::int64_t x = 0;
    std::int64_t y = 0;
    constexpr bool operator==(const Point&) const = default;
};

class Canvas {
  public:
    // The clip is intersected with the buffer's bounds.
    Canvas(Framebuffer& fb, Region clip);

    Framebuffer& framebuffer() { return fb_; }
    const Region& clip() const { return clip_; }
    // Bounds of the clip: primitives use it to skip work that cannot show.
    const Rect& clip_bounds() const { return clip_bounds_; }

    // [x0, x1) on row y, clipped. Inline: primitives call it for every row they draw.
    void span(std::int64_t y, std::int64_t x0, std::int64_t x1, Color c) {
        if (y < clip_bounds_.top || y >= clip_bounds_.bottom) return;
        // A one-rectangle clip (a DC of the whole window) is its bounds: no search for pieces.
        if (!single_rect_) {
            span_in_pieces(y, x0, x1, c);
            return;
        }
        const std::int64_t a = std::max(x0, clip_bounds_.left);
        const std::int64_t b = std::min(x1, clip_bounds_.right);
        if (a >= b) return;
        fb_.fill_span(y, a, b, c);
        drawn_ = bounding_union(drawn_, Rect{a, y, b, y + 1});
    }
    void plot(std::int64_t x, std::int64_t y, Color c);
    // kInvalidColor outside the clip region.
    Color read(std::int64_t x, std::int64_t y) const;

    const Rect& drawn() const { return drawn_; }

  private:
    void span_in_pieces(std::int64_t y, std::int64_t x0, std::int64_t x1, Color c);

    Framebuffer& fb_;
    Region clip_;
    bool single_rect_;
    Rect clip_bounds_;
    Rect drawn_;
};

} // namespace kv
