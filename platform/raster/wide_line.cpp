// Wide lines as GDI draws them: the pen's round tip at both end points and, between them, a band
// whose corners are rounded to whole pixels, filled by the polygon rule.
#include "raster/coordinates.h"
#include "raster/exact_math.h"
#include "raster/pen_tip.h"
#include "raster/wide_band.h"
#include "raster/raster.h"

#include <algorithm>
#include <array>
#include <optional>

namespace kv::raster {

namespace {

using detail::i128;
using detail::Range;

// The rows one wide segment covers, as up to three runs: both tips and the body.
class WideSegment {
  public:
    WideSegment(Point a, Point b, int width) : tip_(width), a_(a), b_(b), width_(width) {
        if (a.x != b.x && a.y != b.y) band_.emplace(a, b, width);
    }

    std::array<Range, 3> row(i128 y) const { return {tip_at(a_, y), tip_at(b_, y), body(y)}; }

  private:
    Range tip_at(Point centre, i128 y) const {
        const Range r = tip_.row(y - centre.y);
        if (r.empty()) return r;
        return {r.lo + centre.x, r.hi + centre.x};
    }

    // Level and upright segments are rectangles: w rows (or columns) from w / 2 before the line,
    // from the smaller end up to, not including, the larger one.
    Range body(i128 y) const {
        if (band_) return band_->row(y);
        const i128 half = width_ / 2;
        if (a_ == b_) return {};
        if (a_.y == b_.y) {
            if (y < a_.y - half || y >= a_.y - half + width_) return {};
            return {std::min(a_.x, b_.x), i128{std::max(a_.x, b_.x)} - 1};
        }
        if (y < std::min(a_.y, b_.y) || y >= std::max(a_.y, b_.y)) return {};
        return {a_.x - half, a_.x - half + width_ - 1};
    }

    detail::PenTip tip_;
    Point a_, b_;
    int width_;
    std::optional<detail::WideBand> band_; // slanted segments only
};

// Runs by their left end, empty ones last. Three elements: three compare-and-swaps put them in
// order, as std::sort would (the merge below does not depend on how equal ends are ordered).
void sort_three(std::array<Range, 3>& runs) {
    auto order = [](Range& p, Range& q) {
        const bool before = p.empty() != q.empty() ? !p.empty() : p.lo <= q.lo;
        if (!before) std::swap(p, q);
    };
    order(runs[0], runs[1]);
    order(runs[1], runs[2]);
    order(runs[0], runs[1]);
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
    const Range columns{clip.left, clip.right - 1};
    for (std::int64_t y = rows.top; y < rows.bottom; ++y) {
        std::array<Range, 3> runs = segment.row(y);
        sort_three(runs);
        // Merge touching runs so that no pixel is written twice.
        Range merged;
        for (const Range& run : runs) {
            if (run.empty()) break;
            if (!merged.empty() && run.lo <= merged.hi + 1) {
                merged.hi = std::max(merged.hi, run.hi);
                continue;
            }
            const Range visible = detail::meet(merged, columns);
            if (!merged.empty() && !visible.empty())
                canvas.span(y, static_cast<std::int64_t>(visible.lo),
                            static_cast<std::int64_t>(visible.hi) + 1, color);
            merged = run;
        }
        const Range visible = detail::meet(merged, columns);
        if (!merged.empty() && !visible.empty())
            canvas.span(y, static_cast<std::int64_t>(visible.lo),
                        static_cast<std::int64_t>(visible.hi) + 1, color);
    }
}

} // namespace kv::raster
