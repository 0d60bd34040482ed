// Ellipse as GDI draws it: a quarter of the outline traced by an error walk and mirrored into the
// other three, drawn as a closed path with the pen (a wide pen's round tip at every point of the
// path and its band along every diagonal step), the brush filling the path's inside. Every row of
// the walk has a closed form, so that only the visible rows of a huge or far-away ellipse cost
// anything.
#include "raster/coordinates.h"
#include "raster/exact_math.h"
#include "raster/pen_tip.h"
#include "raster/raster.h"
#include "raster/wide_band.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace kv::raster {

namespace {

using detail::i128;
using detail::Range;
using detail::u128;

// The walk over the lower right quarter of the ellipse inscribed in a box of pixel centres
// a + 1 wide and b + 1 high (a, b >= 2). Coordinates are doubled and relative to the centre:
// u = 2x - a, v = 2y - b, so that u has the parity of a and v that of b, and
// E(u, v) = b^2 u^2 + a^2 v^2 - a^2 b^2 is zero on the ellipse. The walk starts at (a, v0), v0 the
// middle row (0, or 1 when b is odd), and ends once u < 0. At (u, v) it moves left when
// E(u - 1, v + 2) >= -b^2 and down when E(u - 2, v + 1) <= -a^2, both tested before either move,
// so a step may be diagonal.
//
// Closed forms: on row v the walk moves down at the first u (going left from where it entered the
// row) that passes the down test; where it enters is one column left of where it left the row
// above when that move was diagonal. The column where it leaves a row is
// max(umin, min(a, down_limit(v), left_limit(v))), umin the smallest u of a's parity: on the
// steep part of the curve it is the column that the left test allows, on the flat part the one
// the down test allows (checked against the walk itself by the tests, for every box up to
// 60 x 60 and for random larger ones).
class QuarterOutline {
  public:
    QuarterOutline(i128 a, i128 b)
        : a_(a), b_(b), a_sq_(static_cast<u128>(a * a)), b_sq_(static_cast<u128>(b * b)),
          umin_(a & 1), v0_(b & 1) {
        // Rows exist from v0 as long as the walk moves down into them; the test of one row is
        // monotone in v, so the last row is found by bisection.
        i128 lo = 0;                 // rows v0 + 2 * k exist for k <= lo
        i128 hi = (b + 4 - v0_) / 2; // and do not for k >= hi
        while (hi - lo > 1) {
            const i128 mid = lo + (hi - lo) / 2;
            (entered(v0_ + 2 * mid) ? lo : hi) = mid;
        }
        v_end_ = v0_ + 2 * lo;
    }

    // The columns u of quarter row v (v of b's parity, v >= v0), or empty when the walk never
    // reaches that row.
    Range row(i128 v) const {
        if (v < v0_ || v > v_end_) return {};
        const i128 enter = first(v);
        return {std::min(enter, last(v)), enter};
    }

    // The walk's move from row v to row v + 2 is diagonal; both rows exist.
    bool diagonal_below(i128 v) const { return first(v + 2) != last_move(v); }
    i128 last_move(i128 v) const { return std::min(first(v), last(v)); }

  private:
    // Largest u of a's parity passing the down test on row v: b^2 (u - 2)^2 <= a^2 (b^2 -
    // (v + 1)^2 - 1), with u >= 2 - m; none when no column passes.
    std::optional<i128> down_limit(i128 v) const {
        const i128 k = b_ * b_ - (v + 1) * (v + 1) - 1;
        if (k < 0) return std::nullopt;
        const auto m = static_cast<i128>(detail::isqrt(a_sq_ * static_cast<u128>(k) / b_sq_));
        const i128 u = with_parity(2 + m);
        if (u < 2 - m) return std::nullopt;
        return u;
    }

    // Largest u of a's parity with E(u - 1, v) < -b^2, that is b^2 ((u - 1)^2 + 1) < a^2 (b^2 -
    // v^2): on the steep part, the column where the walk comes down into row v. None when the
    // right side is at most b^2.
    std::optional<i128> left_limit(i128 v) const {
        const i128 k = b_ * b_ - v * v;
        if (k <= 0) return std::nullopt;
        const u128 room = a_sq_ * static_cast<u128>(k);
        if (room <= b_sq_) return std::nullopt;
        const auto m = static_cast<i128>(detail::isqrt((room - b_sq_ - 1) / b_sq_));
        return with_parity(1 + m);
    }

    i128 with_parity(i128 u) const { return ((u - a_) & 1) != 0 ? u - 1 : u; }

    // Where the walk leaves row v (when it enters the row further right).
    i128 last(i128 v) const {
        const std::optional<i128> down = down_limit(v);
        if (!down) return umin_;
        i128 c = std::min(a_, *down);
        if (const std::optional<i128> left = left_limit(v)) c = std::min(c, *left);
        return std::max(umin_, c);
    }

    // Where the walk enters row v.
    i128 first(i128 v) const {
        if (v == v0_) return a_;
        const i128 from = last(v - 2);
        return diagonal_into(from, v) ? from - 2 : from;
    }

    // The move into row v from column `from` is diagonal: E(from - 1, v) >= -b^2.
    bool diagonal_into(i128 from, i128 v) const {
        const i128 k = b_ * b_ - v * v;
        if (k <= 0) return true;
        const auto w = static_cast<u128>(from - 1 < 0 ? 1 - from : from - 1);
        return b_sq_ * (w * w + 1) >= a_sq_ * static_cast<u128>(k);
    }

    // Row v > v0 is reached: the row above moves down, and not past the last column.
    bool entered(i128 v) const {
        if (v == v0_) return true;
        return down_limit(v - 2).has_value() && first(v) >= umin_;
    }

    i128 a_, b_;
    u128 a_sq_, b_sq_;
    i128 umin_, v0_;
    i128 v_end_ = 0;
};

// The whole outline in box coordinates: each quarter row mirrored into a left and a right run.
class EllipseOutline {
  public:
    explicit EllipseOutline(const Rect& box)
        : box_(box), a_(i128{box.right} - box.left - 1), b_(i128{box.bottom} - box.top - 1),
          quarter_(a_, b_) {}

    // The outline's pixels on row y, left run then right run; empty outside the walk.
    std::array<Range, 2> runs(i128 y) const {
        const Range u = quarter_.row(quarter_row(y));
        if (u.empty()) return {};
        return {Range{x_of(-u.hi), x_of(-u.lo)}, Range{x_of(u.lo), x_of(u.hi)}};
    }

    // The brush's pixels on row y: strictly between the two runs.
    Range inside(i128 y) const {
        const Range u = quarter_.row(quarter_row(y));
        if (u.empty()) return {};
        return {x_of(-u.lo) + 1, x_of(u.lo) - 1};
    }

    // The path's diagonal steps between rows y and y + 1: up to one on each side, as the step's
    // upper and lower points' x.
    struct Step {
        i128 upper_x, lower_x;
    };
    std::array<std::optional<Step>, 2> steps_below(i128 y) const {
        const i128 v_upper = 2 * (y - box_.top) - b_;
        const i128 v_lower = v_upper + 2;
        if (v_upper < 0 && v_lower > 0) return {}; // the two middle rows of an odd b: upright
        // The quarter's move between |v| rows, from the row nearer the middle to the next one,
        // goes down in the lower half and up in the upper half.
        const bool lower_half = v_upper >= 0;
        const i128 near = lower_half ? v_upper : -v_lower;
        if (quarter_.row(near).empty() || quarter_.row(near + 2).empty()) return {};
        if (!quarter_.diagonal_below(near)) return {};
        const i128 leave = quarter_.last_move(near);
        const i128 enter = leave - 2;
        const i128 upper_u = lower_half ? leave : enter;
        const i128 lower_u = lower_half ? enter : leave;
        return {Step{x_of(-upper_u), x_of(-lower_u)}, Step{x_of(upper_u), x_of(lower_u)}};
    }

  private:
    i128 quarter_row(i128 y) const {
        const i128 v = 2 * (y - box_.top) - b_;
        return v < 0 ? -v : v;
    }
    i128 x_of(i128 u) const { return box_.left + (a_ + u) / 2; }

    Rect box_;
    i128 a_, b_;
    QuarterOutline quarter_;
};

Range clip_columns(const Rect& clip) {
    return {clip.left, clip.right - 1};
}

void emit(Canvas& canvas, std::int64_t y, Range run, const Rect& clip, Color color) {
    run = detail::meet(run, clip_columns(clip));
    if (run.empty()) return;
    canvas.span(y, static_cast<std::int64_t>(run.lo), static_cast<std::int64_t>(run.hi) + 1, color);
}

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

// A wide pen puts its tip on every pixel of the path, and along every diagonal step between two
// rows the band of that one-pixel segment, which reaches a little further on the step's right
// side. Level and upright steps add nothing the two tips do not cover.
void wide_outline(Canvas& canvas, const EllipseOutline& outline, const Rect& box,
                  const detail::PenTip& tip, Color color) {
    const Rect& clip = canvas.clip_bounds();
    const Range reach = tip.rows();
    const auto reach_lo = static_cast<std::int64_t>(reach.lo) - 1;
    const auto reach_hi = static_cast<std::int64_t>(reach.hi) + 1;
    const std::int64_t side = tip.width() + 1;
    const Rect rows = intersect(
        Rect{box.left - side, box.top + reach_lo, box.right + side, box.bottom + reach_hi}, clip);
    if (rows.empty()) return;

    // The bands of the two kinds of diagonal step, from an upper point at (0, 0).
    const detail::WideBand down_left(Point{0, 0}, Point{-1, 1}, tip.width());
    const detail::WideBand down_right(Point{0, 0}, Point{1, 1}, tip.width());

    // Outline runs and steps of every row that can reach a visible row, computed once.
    const std::int64_t source_top = std::max(box.top, rows.top - reach_hi);
    const std::int64_t source_bottom = std::min(box.bottom, rows.bottom - reach_lo);
    std::vector<std::array<Range, 2>> sources;
    std::vector<std::array<std::optional<EllipseOutline::Step>, 2>> steps;
    for (std::int64_t y = source_top; y < source_bottom; ++y) {
        sources.push_back(outline.runs(y));
        steps.push_back(y + 1 < box.bottom ? outline.steps_below(y)
                                           : std::array<std::optional<EllipseOutline::Step>, 2>{});
    }

    std::vector<Range> pieces;
    for (std::int64_t y = rows.top; y < rows.bottom; ++y) {
        pieces.clear();
        const std::int64_t first = std::max(source_top, y - reach_hi);
        const std::int64_t last = std::min(source_bottom - 1, y - reach_lo);
        for (std::int64_t source = first; source <= last; ++source) {
            const auto index = static_cast<std::size_t>(source - source_top);
            const Range widen = tip.row(y - source);
            if (!widen.empty()) {
                for (const Range& run : sources[index]) {
                    if (!run.empty()) pieces.push_back({run.lo + widen.lo, run.hi + widen.hi});
                }
            }
            for (const auto& step : steps[index]) {
                if (!step) continue;
                const detail::WideBand& band =
                    step->lower_x < step->upper_x ? down_left : down_right;
                const Range r = band.row(y - source);
                if (!r.empty()) pieces.push_back({r.lo + step->upper_x, r.hi + step->upper_x});
            }
        }
        std::sort(pieces.begin(), pieces.end(),
                  [](const Range& p, const Range& q) { return p.lo < q.lo; });
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
    // Too narrow or too flat for the walk: GDI draws the box's rectangle instead.
    if (box.width() <= 2 || box.height() <= 2) {
        rectangle(canvas, box, pen, brush);
        return;
    }
    const std::int64_t reach = detail::pen_reach(pen.width) + 1;
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
