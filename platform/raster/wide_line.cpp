// Wide lines as GDI draws them: the pen's round tip at both end points and, between them, a band
// whose corners are rounded to whole pixels, filled by the polygon rule.
#include "raster/coordinates.h"
#include "raster/exact_math.h"
#include "raster/pen_tip.h"
#include "raster/wide_band.h"
#include "raster/raster.h"
#include "raster/small_buffer.h"

#include <algorithm>
#include <array>
#include <optional>

namespace kv::raster {

namespace {

using detail::i128;

using detail::Span;
using detail::to_span;

// The rows one wide segment covers, as up to three runs: both tips and the body.
class WideSegment {
  public:
    WideSegment(Point a, Point b, int width)
        : a_(a), b_(b), width_(width), tip_rows_(static_cast<std::size_t>(width), Span{}) {
        const detail::PenTip tip(width);
        tip_top_ = static_cast<std::int64_t>(tip.rows().lo);
        for (std::int64_t dy = 0; dy < width; ++dy)
            tip_rows_[static_cast<std::size_t>(dy)] = to_span(tip.row(tip_top_ + dy));
        if (a.x != b.x && a.y != b.y) band_.emplace(a, b, width);
    }

    std::array<Span, 3> row(std::int64_t y) const {
        return {tip_at(a_, y), tip_at(b_, y), body(y)};
    }

    // Row y meets neither tip: the body is all there is on it.
    bool body_only(std::int64_t y) const {
        const auto outside_tip = [&](const Point& centre) {
            const std::int64_t index = y - centre.y - tip_top_;
            return index < 0 || index >= width_;
        };
        return outside_tip(a_) && outside_tip(b_);
    }
    Span body_row(std::int64_t y) const { return body(y); }

  private:
    Span tip_at(Point centre, std::int64_t y) const {
        const std::int64_t index = y - centre.y - tip_top_;
        if (index < 0 || index >= width_) return {};
        const Span r = tip_rows_[static_cast<std::size_t>(index)];
        if (r.empty()) return r;
        return {r.lo + centre.x, r.hi + centre.x};
    }

    // Level and upright segments are rectangles: w rows (or columns) from w / 2 before the line,
    // from the smaller end up to, not including, the larger one.
    Span body(std::int64_t y) const {
        if (band_) {
            if (!band_->small()) return to_span(band_->row(y));
            Span s;
            if (!band_->columns_small(y, s.lo, s.hi)) return {};
            return s;
        }
        const std::int64_t half = width_ / 2;
        if (a_ == b_) return {};
        if (a_.y == b_.y) {
            if (y < a_.y - half || y >= a_.y - half + width_) return {};
            return {std::min(a_.x, b_.x), std::max(a_.x, b_.x) - 1};
        }
        if (y < std::min(a_.y, b_.y) || y >= std::max(a_.y, b_.y)) return {};
        return {a_.x - half, a_.x - half + width_ - 1};
    }

    Point a_, b_;
    std::int64_t width_;
    std::int64_t tip_top_; // the tip's first row, from its centre
    detail::SmallBuffer<Span, 32>
        tip_rows_;                         // the tip's columns on each of its rows, from its centre
    std::optional<detail::WideBand> band_; // slanted segments only
};

// Runs by their left end, empty ones last. Three elements: three compare-and-swaps put them in
// order, as std::sort would (the merge below does not depend on how equal ends are ordered).
void sort_three(std::array<Span, 3>& runs) {
    auto order = [](Span& p, Span& q) {
        const bool before = p.empty() != q.empty() ? !p.empty() : p.lo <= q.lo;
        if (!before) std::swap(p, q);
    };
    order(runs[0], runs[1]);
    order(runs[1], runs[2]);
    order(runs[0], runs[1]);
}

void emit(Canvas& canvas, std::int64_t y, const Span& run, const Span& columns, Color color) {
    const Span visible{std::max(run.lo, columns.lo), std::min(run.hi, columns.hi)};
    if (!run.empty() && !visible.empty()) canvas.span(y, visible.lo, visible.hi + 1, color);
}

} // namespace

void wide_line(Canvas& canvas, Point from, Point to, int width, Color color) {
    if (width <= 1) {
        thin_line(canvas, from, to, color);
        return;
    }
    from = detail::clamp_point(from);
    to = detail::clamp_point(to);
    width = std::min(width, detail::kMaxPenWidth);
    const std::int64_t reach = width;
    const Rect& clip = canvas.clip_bounds();
    const Rect reached{std::min(from.x, to.x) - reach, std::min(from.y, to.y) - reach,
                       std::max(from.x, to.x) + reach + 1, std::max(from.y, to.y) + reach + 1};
    const Rect rows = intersect(reached, clip);
    if (rows.empty()) return;

    const WideSegment segment(from, to, width);
    const Span columns{clip.left, clip.right - 1};
    for (std::int64_t y = rows.top; y < rows.bottom; ++y) {
        // Away from the end points only the body is on the row: no pieces to order and merge.
        if (segment.body_only(y)) {
            emit(canvas, y, segment.body_row(y), columns, color);
            continue;
        }
        std::array<Span, 3> runs = segment.row(y);
        sort_three(runs);
        // Merge touching runs so that no pixel is written twice.
        Span merged;
        for (const Span& run : runs) {
            if (run.empty()) break;
            if (!merged.empty() && run.lo <= merged.hi + 1) {
                merged.hi = std::max(merged.hi, run.hi);
                continue;
            }
            emit(canvas, y, merged, columns, color);
            merged = run;
        }
        emit(canvas, y, merged, columns, color);
    }
}

} // namespace kv::raster
