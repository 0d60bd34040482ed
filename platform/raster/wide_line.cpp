// Wide lines: the capsule swept by the pen's round tip along the segment, filled row by row.
#include "raster/coordinates.h"
#include "raster/exact_math.h"
#include "raster/pen_tip.h"
#include "raster/raster.h"

#include <algorithm>

namespace kv::raster {

namespace {

using detail::i128;
using detail::Range;

// Win32's geometric pen with round caps: a pixel is covered when the distance from its point
// (2px + s, 2py + s) to the doubled segment is at most sqrt(w(w-1)), the same disc as a lone dot.
// The capsule is convex, so each row is one run: the union of the band beside the segment and
// the two end discs.
class Capsule {
  public:
    Capsule(Point a, Point b, const detail::PenTip& tip)
        : tip_(tip), ax_(i128{2} * a.x), ay_(i128{2} * a.y), bx_(i128{2} * b.x), by_(i128{2} * b.y),
          dx_(bx_ - ax_), dy_(by_ - ay_), length_sq_(dx_ * dx_ + dy_ * dy_),
          band_half_(detail::isqrt(tip.radius_sq() * length_sq_)) {}

    Range row(i128 py) const {
        Range cover = detail::hull(tip_.row(ax_, ay_, py), tip_.row(bx_, by_, py));
        return length_sq_ == 0 ? cover : detail::hull(cover, band_row(py));
    }

  private:
    // Points whose projection falls on the segment and whose distance to its line, times the
    // segment's length, is at most band_half_.
    Range band_row(i128 py) const {
        const i128 rel_x = tip_.lean() - ax_; // doubled x of column 0 relative to a
        const i128 rel_y = 2 * py + tip_.lean() - ay_;
        const Range along = detail::solve_linear(2 * dx_, rel_x * dx_ + rel_y * dy_, 0, length_sq_);
        const Range across =
            detail::solve_linear(2 * dy_, rel_x * dy_ - rel_y * dx_, -band_half_, band_half_);
        return detail::meet(along, across);
    }

    detail::PenTip tip_;
    i128 ax_, ay_, bx_, by_;
    i128 dx_, dy_;
    i128 length_sq_;
    i128 band_half_;
};

} // namespace

void wide_line(Canvas& canvas, Point from, Point to, int width, Color color) {
    if (width <= 1) {
        thin_line(canvas, from, to, color);
        return;
    }
    from = detail::clamp_point(from);
    to = detail::clamp_point(to);
    const detail::PenTip tip(width);
    const std::int64_t reach = tip.width();
    const Rect& clip = canvas.clip_bounds();
    const Rect reached{std::min(from.x, to.x) - reach, std::min(from.y, to.y) - reach,
                       std::max(from.x, to.x) + reach + 1, std::max(from.y, to.y) + reach + 1};
    const Rect rows = intersect(reached, clip);
    if (rows.empty()) return;

    const Capsule capsule(from, to, tip);
    for (std::int64_t y = rows.top; y < rows.bottom; ++y) {
        const Range run = detail::meet(capsule.row(y), Range{clip.left, clip.right - 1});
        if (run.empty()) continue;
        canvas.span(y, static_cast<std::int64_t>(run.lo), static_cast<std::int64_t>(run.hi) + 1,
                    color);
    }
}

} // namespace kv::raster
