// Ellipse: a midpoint outline computed row by row in closed form, so that only the visible rows
// of a huge or far-away ellipse cost anything.
#include "raster/coordinates.h"
#include "raster/exact_math.h"
#include "raster/pen_tip.h"
#include "raster/raster.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kv::raster {

namespace {

using detail::i128;
using detail::Range;
using detail::u128;

// The one-pixel outline of the ellipse inscribed in x l..r-1, y t..b-1. Coordinates are doubled
// and relative to the centre, which may fall between pixels: u = 2x - (l + r - 1) and
// v = 2y - (t + b - 1), with semi-axes a2 = r - l - 1 and b2 = b - t - 1 in the same units; every
// pixel's u has the parity of a2 and its v that of b2. The outline of the quadrant u, v >= 0 is
// mirrored into the other three, so it is symmetric about both axes.
class EllipseOutline {
  public:
    explicit EllipseOutline(const Rect& box)
        : centre_x2_(i128{box.left} + box.right - 1), centre_y2_(i128{box.top} + box.bottom - 1),
          a2_(box.right - box.left - 1), b2_(box.bottom - box.top - 1), first_u_(a2_ % 2) {}

    // The outline's pixels on row y as x ranges, left half then right half.
    std::array<Range, 2> runs(std::int64_t y) const {
        const Range u = quadrant_run(detail::abs128(2 * i128{y} - centre_y2_));
        return {Range{x_of(-u.hi), x_of(-u.lo)}, Range{x_of(u.lo), x_of(u.hi)}};
    }

    // The pixels of row y strictly between the outline's leftmost and rightmost ones.
    Range inside(std::int64_t y) const {
        const i128 e = extent(detail::abs128(2 * i128{y} - centre_y2_));
        return {x_of(-e) + 1, x_of(e) - 1};
    }

  private:
    i128 x_of(i128 u) const { return (centre_x2_ + u) / 2; }

    // Quadrant row v: the columns from just right of the row above's end to this row's end, so
    // that consecutive rows meet corner to corner and the outline has no gaps.
    Range quadrant_run(i128 v) const {
        const i128 last = extent(v);
        if (v + 2 > b2_) return {first_u_, last};
        return {std::min(last, extent(v + 2) + 2), last};
    }

    // The outermost outline column of quadrant row v: the midpoint rule. Where the curve is flat
    // a column takes the row nearest the curve (the point half a pixel nearer the centre
    // vertically is inside); where it is steep a row takes the column nearest the curve (the
    // point half a pixel nearer horizontally is inside). The larger of the two is the rule that
    // applies on that side of the 45-degree point.
    i128 extent(i128 v) const {
        const i128 e = std::max(column_rounded_extent(v - 1), row_rounded_extent(v));
        return std::clamp<i128>(e, first_u_, a2_);
    }

    // Largest u with (u, y) inside the ellipse, or -1.
    i128 column_rounded_extent(i128 y) const {
        const i128 m = room_root(detail::abs128(y));
        return m < 0 ? -1 : with_parity_at_most(m);
    }

    // Largest u with (u - 1, v) inside the ellipse, or -1.
    i128 row_rounded_extent(i128 v) const {
        const i128 m = room_root(v);
        if (m < 0) return -1;
        const i128 u = with_parity_at_most(m + 1);
        return u >= 1 - m ? u : -1;
    }

    // floor(a2 / b2 * sqrt(b2^2 - y^2)): the half width of the ellipse at height y rounded down,
    // -1 beyond its top. b2 and a2 stay below 2^32, so the products fit in 128 bits.
    i128 room_root(i128 y) const {
        if (y > b2_) return -1;
        if (b2_ == 0) return a2_;
        const auto a = static_cast<u128>(a2_);
        const auto b = static_cast<u128>(b2_);
        const auto ya = static_cast<u128>(y);
        const u128 room = a * a * ((b - ya) * (b + ya));
        return static_cast<i128>(detail::isqrt(room / (b * b)));
    }

    i128 with_parity_at_most(i128 u) const { return ((u - first_u_) % 2 != 0) ? u - 1 : u; }

    i128 centre_x2_, centre_y2_;
    i128 a2_, b2_;
    i128 first_u_; // 0 when the box has an odd width (a middle column), 1 when even
};

Range clip_columns(const Rect& clip) {
    return {clip.left, clip.right - 1};
}

void emit(Canvas& canvas, std::int64_t y, Range run, const Rect& clip, Color color) {
    run = detail::meet(run, clip_columns(clip));
    if (run.empty()) return;
    canvas.span(y, static_cast<std::int64_t>(run.lo), static_cast<std::int64_t>(run.hi) + 1, color);
}

// Win32 fills the ellipse's interior, leaving the outline to the pen.
void fill_interior(Canvas& canvas, const EllipseOutline& outline, const Rect& box, Color brush) {
    const Rect& clip = canvas.clip_bounds();
    const Rect rows = intersect(box, clip);
    for (std::int64_t y = rows.top; y < rows.bottom; ++y) {
        emit(canvas, y, outline.inside(y), clip, brush);
    }
}

void thin_outline(Canvas& canvas, const EllipseOutline& outline, const Rect& box, Color color) {
    const Rect& clip = canvas.clip_bounds();
    const Rect rows = intersect(box, clip);
    for (std::int64_t y = rows.top; y < rows.bottom; ++y) {
        for (const Range& run : outline.runs(y))
            emit(canvas, y, run, clip, color);
    }
}

// A wide pen outlines the ellipse as a closed path with round joins: the union of the pen's tip
// centred on every pixel of the one-pixel outline. Each row of the result is the union of the
// outline runs of nearby rows, each widened by the tip's width at that distance.
void wide_outline(Canvas& canvas, const EllipseOutline& outline, const Rect& box,
                  const detail::PenTip& tip, Color color) {
    const Rect& clip = canvas.clip_bounds();
    const Range reach = tip.rows();
    const auto reach_lo = static_cast<std::int64_t>(reach.lo);
    const auto reach_hi = static_cast<std::int64_t>(reach.hi);
    const std::int64_t side = tip.width();
    const Rect rows = intersect(
        Rect{box.left - side, box.top + reach_lo, box.right + side, box.bottom + reach_hi}, clip);
    if (rows.empty()) return;

    std::vector<Range> widening; // tip columns at each row offset, from reach_lo
    for (std::int64_t dy = reach_lo; dy <= reach_hi; ++dy)
        widening.push_back(tip.row(0, 0, dy));

    // Outline runs of every row that can reach a visible row, computed once.
    const std::int64_t source_top = std::max(box.top, rows.top - reach_hi);
    const std::int64_t source_bottom = std::min(box.bottom, rows.bottom - reach_lo);
    std::vector<std::array<Range, 2>> sources;
    for (std::int64_t y = source_top; y < source_bottom; ++y)
        sources.push_back(outline.runs(y));

    std::vector<Range> pieces;
    for (std::int64_t y = rows.top; y < rows.bottom; ++y) {
        pieces.clear();
        const std::int64_t first_dy = std::max(reach_lo, y - source_bottom + 1);
        const std::int64_t last_dy = std::min(reach_hi, y - source_top);
        for (std::int64_t dy = first_dy; dy <= last_dy; ++dy) {
            const std::int64_t source = y - dy;
            const Range& widen = widening[static_cast<std::size_t>(dy - reach_lo)];
            if (widen.empty()) continue;
            for (const Range& run : sources[static_cast<std::size_t>(source - source_top)]) {
                pieces.push_back({run.lo + widen.lo, run.hi + widen.hi});
            }
        }
        std::sort(pieces.begin(), pieces.end(),
                  [](const Range& a, const Range& b) { return a.lo < b.lo; });
        Range merged;
        for (const Range& piece : pieces) {
            if (!merged.empty() && piece.lo <= merged.hi + 1) {
                merged.hi = std::max(merged.hi, piece.hi);
                continue;
            }
            emit(canvas, y, merged, clip, color);
            merged = piece;
        }
        emit(canvas, y, merged, clip, color);
    }
}

} // namespace

void ellipse(Canvas& canvas, Rect box, const Pen& pen, std::optional<Color> brush) {
    box = detail::normalised_box(box);
    if (box.empty()) return;
    const std::int64_t reach = detail::pen_reach(pen.width);
    const Rect reached{box.left - reach, box.top - reach, box.right + reach, box.bottom + reach};
    if (intersect(reached, canvas.clip_bounds()).empty()) return;

    const EllipseOutline outline(box);
    if (brush) fill_interior(canvas, outline, box, *brush);
    if (pen.width <= 1) {
        thin_outline(canvas, outline, box, pen.color);
    } else {
        wide_outline(canvas, outline, box, detail::PenTip(pen.width), pen.color);
    }
}

} // namespace kv::raster
