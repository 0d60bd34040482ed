// Where every drawing primitive writes: a framebuffer seen through a clip region. Primitives clip
// at their top and call span()/plot() with the pixels they want; the canvas keeps each write
// inside both the region and the buffer, and remembers the bounds of what it wrote (what a
// backend has to present again).
#pragma once

#include "core/framebuffer.h"
#include "core/region.h"

#include <algorithm>
#include <span>
#include <utility>

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
    // The bounds of what was written since the canvas was made or last asked: one caller's
    // drawing calls can then be told apart.
    Rect take_drawn() { return std::exchange(drawn_, Rect{}); }

    class AreaWriter;

  private:
    void span_in_pieces(std::int64_t y, std::int64_t x0, std::int64_t x1, Color c);

    Framebuffer& fb_;
    Region clip_;
    bool single_rect_;
    Rect clip_bounds_;
    Rect drawn_;
};

// Spans that a primitive knows lie inside an area, written without clipping each one: when the
// area lies inside a one-rectangle clip, every pixel of it may be written, so a span only has to be
// checked against the area. Once a span is written the canvas counts the whole area as drawn when
// the writer ends: a few pixels more than were written, which a backend only presents again.
// Unusable (usable() false) when the clip is in pieces or does not hold the whole area: the
// primitive then goes through Canvas::span().
class Canvas::AreaWriter {
  public:
    AreaWriter(Canvas& canvas, const Rect& area)
        : canvas_(canvas), usable_(canvas.single_rect_ && !area.empty() &&
                                   intersect(area, canvas.clip_bounds_) == area) {
        // An unusable writer's area is empty: nothing passes its check.
        if (usable_) area_ = area;
    }
    ~AreaWriter() {
        if (wrote_) canvas_.drawn_ = bounding_union(canvas_.drawn_, area_);
    }
    AreaWriter(const AreaWriter&) = delete;
    AreaWriter& operator=(const AreaWriter&) = delete;

    bool usable() const { return usable_; }

    // [x0, x1) on row y, inside the area of a usable writer. A span reaching out of it is the
    // primitive's error: debug builds stop on it, others drop it.
    void span(std::int64_t y, std::int64_t x0, std::int64_t x1, Color c) {
        KV_EXPECTS(usable_ && y >= area_.top && y < area_.bottom && area_.left <= x0 && x0 < x1 &&
                   x1 <= area_.right);
        if (y < area_.top || y >= area_.bottom || x0 < area_.left || x1 > area_.right || x0 >= x1)
            return;
        canvas_.fb_.fill_span_inside(y, x0, x1, c);
        wrote_ = true;
    }

    // Runs of pixels on rows origin.y + dy, columns moved by origin.x (Run: any type with dy and
    // columns), kept by a primitive that checked each, when it kept it, not to be empty and to lie
    // inside this very area relative to origin: written with no second check (debug and
    // sanitizer builds check again).
    template <typename Run> void kept_spans(Point origin, std::span<const Run> runs, Color c) {
        for (const Run& run : runs) {
            const std::int64_t y = origin.y + run.dy;
            const std::int64_t x0 = origin.x + run.columns.lo, x1 = origin.x + run.columns.hi;
            KV_EXPECTS(usable_ && y >= area_.top && y < area_.bottom && area_.left <= x0 &&
                       x0 < x1 && x1 <= area_.right);
            canvas_.fb_.fill_span_inside(y, x0, x1, c);
        }
        wrote_ = wrote_ || !runs.empty();
    }

  private:
    Canvas& canvas_;
    bool usable_;
    Rect area_;
    bool wrote_ = false;
};

} // namespace kv
