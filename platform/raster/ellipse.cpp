// Ellipse as GDI draws it: a quarter of the outline traced by an error walk and mirrored into the
// other three, drawn as a closed path with the pen (a wide pen's round tip at every point of the
// path and its band along every diagonal step), the brush filling the path's inside. Every row of
// the walk has a closed form, so that only the visible rows of a huge or far-away ellipse cost
// anything; each visible row is evaluated once per call, in 64-bit arithmetic unless the box is
// too big for it.
#include "raster/coordinates.h"
#include "raster/exact_math.h"
#include "raster/pen_tip.h"
#include "raster/raster.h"
#include "raster/wide_band.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
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
template <typename S, typename U> class QuarterOutline {
  public:
    QuarterOutline(S a, S b)
        : a_(a), b_(b), a_sq_(static_cast<U>(a * a)), b_sq_(static_cast<U>(b * b)), umin_(a & 1),
          v0_(b & 1) {
        // Rows exist from v0 as long as the walk moves down into them; the test of one row is
        // monotone in v, so the last row is found by bisection.
        S lo = 0;                 // rows v0 + 2 * k exist for k <= lo
        S hi = (b + 4 - v0_) / 2; // and do not for k >= hi
        while (hi - lo > 1) {
            const S mid = lo + (hi - lo) / 2;
            (entered(v0_ + 2 * mid) ? lo : hi) = mid;
        }
        v_end_ = v0_ + 2 * lo;
    }

    S v0() const { return v0_; }
    S v_end() const { return v_end_; }

    // Where the walk leaves row v (when it enters the row further right).
    S last(S v) const {
        const std::optional<S> down = down_limit(v);
        if (!down) return umin_;
        S c = std::min(a_, *down);
        if (const std::optional<S> left = left_limit(v)) c = std::min(c, *left);
        return std::max(umin_, c);
    }

    // Where the walk enters row v > v0, having left row v - 2 at column `from`.
    S enter_below(S from, S v) const { return diagonal_into(from, v) ? from - 2 : from; }

  private:
    // Largest u of a's parity passing the down test on row v: b^2 (u - 2)^2 <= a^2 (b^2 -
    // (v + 1)^2 - 1), with u >= 2 - m; none when no column passes.
    std::optional<S> down_limit(S v) const {
        const S k = b_ * b_ - (v + 1) * (v + 1) - 1;
        if (k < 0) return std::nullopt;
        const auto m = static_cast<S>(detail::isqrt(a_sq_ * static_cast<U>(k) / b_sq_));
        const S u = with_parity(2 + m);
        if (u < 2 - m) return std::nullopt;
        return u;
    }

    // Largest u of a's parity with E(u - 1, v) < -b^2, that is b^2 ((u - 1)^2 + 1) < a^2 (b^2 -
    // v^2): on the steep part, the column where the walk comes down into row v. None when the
    // right side is at most b^2.
    std::optional<S> left_limit(S v) const {
        const S k = b_ * b_ - v * v;
        if (k <= 0) return std::nullopt;
        const U room = a_sq_ * static_cast<U>(k);
        if (room <= b_sq_) return std::nullopt;
        const auto m = static_cast<S>(detail::isqrt((room - b_sq_ - 1) / b_sq_));
        return with_parity(1 + m);
    }

    S with_parity(S u) const { return ((u - a_) & 1) != 0 ? u - 1 : u; }

    S first(S v) const { return v == v0_ ? a_ : enter_below(last(v - 2), v); }

    // The move into row v from column `from` is diagonal: E(from - 1, v) >= -b^2.
    bool diagonal_into(S from, S v) const {
        const S k = b_ * b_ - v * v;
        if (k <= 0) return true;
        const auto w = static_cast<U>(from - 1 < 0 ? 1 - from : from - 1);
        return b_sq_ * (w * w + 1) >= a_sq_ * static_cast<U>(k);
    }

    // Row v > v0 is reached: the row above moves down, and not past the last column.
    bool entered(S v) const {
        if (v == v0_) return true;
        return down_limit(v - 2).has_value() && first(v) >= umin_;
    }

    S a_, b_;
    U a_sq_, b_sq_;
    S umin_, v0_;
    S v_end_ = 0;
};

// Where the walk enters and leaves each quarter row of a band of rows, every row evaluated once.
class QuarterRows {
  public:
    // Quarter rows v of b's parity with |v| between v_lo and v_hi (both of b's parity).
    QuarterRows(i128 a, i128 b, i128 v_lo, i128 v_hi) {
        // Products of the walk fit in 64 bits for boxes up to 2^15 pixels; wider ones take the
        // slow 128-bit arithmetic.
        constexpr i128 kNarrow = i128{1} << 15;
        if (a < kNarrow && b < kNarrow) {
            build(QuarterOutline<std::int64_t, std::uint64_t>(static_cast<std::int64_t>(a),
                                                              static_cast<std::int64_t>(b)),
                  a, v_lo, v_hi);
        } else {
            build(QuarterOutline<i128, u128>(a, b), a, v_lo, v_hi);
        }
    }

    // The columns u of quarter row v (of a's parity: the next one after the last is two on),
    // or empty when the walk never reaches that row.
    Range row(i128 v) const {
        const Entry* e = entry(v);
        if (e == nullptr) return {};
        return {std::min(e->first, e->last), e->first + 2};
    }

    // The walk's move from row v to row v + 2 is diagonal; both rows exist.
    bool diagonal_below(i128 v) const {
        const Entry* below = entry(v + 2);
        return below != nullptr && below->first != last_move(v);
    }
    i128 last_move(i128 v) const {
        const Entry* e = entry(v);
        return std::min(e->first, e->last);
    }

  private:
    struct Entry {
        i128 first, last;
    };

    template <typename Walk> void build(const Walk& walk, i128 a, i128 v_lo, i128 v_hi) {
        v_lo_ = std::max(v_lo, i128{walk.v0()});
        v_hi = std::min(v_hi, i128{walk.v_end()});
        if (v_lo_ > v_hi) return;
        using S = decltype(walk.v0());
        i128 left_above = v_lo_ == walk.v0() ? 0 : walk.last(static_cast<S>(v_lo_ - 2));
        rows_.reserve(static_cast<std::size_t>((v_hi - v_lo_) / 2 + 1));
        for (i128 v = v_lo_; v <= v_hi; v += 2) {
            const auto sv = static_cast<S>(v);
            const i128 first =
                v == walk.v0() ? a : walk.enter_below(static_cast<S>(left_above), sv);
            left_above = walk.last(sv);
            rows_.push_back({first, left_above});
        }
    }

    const Entry* entry(i128 v) const {
        if (v < v_lo_ || ((v - v_lo_) & 1) != 0) return nullptr;
        const i128 index = (v - v_lo_) / 2;
        if (index >= static_cast<i128>(rows_.size())) return nullptr;
        return &rows_[static_cast<std::size_t>(index)];
    }

    i128 v_lo_ = 0;
    std::vector<Entry> rows_;
};

// The whole outline in box coordinates: each quarter row mirrored into a left and a right run.
// Only rows y_lo to y_hi of the box (and the steps between them) are asked for.
class EllipseOutline {
  public:
    EllipseOutline(const Rect& box, std::int64_t y_lo, std::int64_t y_hi)
        : box_(box), a_(i128{box.right} - box.left - 1), b_(i128{box.bottom} - box.top - 1),
          quarter_(a_, b_, quarter_low(y_lo, y_hi), quarter_high(y_lo, y_hi)) {}

    // The outline's pixels on row y, left run then right run; empty outside the walk.
    std::array<Range, 2> runs(i128 y) const {
        const Range u = quarter_.row(detail::abs128(v_of(y)));
        if (u.empty()) return {};
        return {Range{x_of(-u.hi) + 1, x_of(-u.lo) + 1}, Range{x_of(u.lo), x_of(u.hi)}};
    }

    // The brush's pixels on row y: strictly between the two runs.
    Range inside(i128 y) const {
        const Range u = quarter_.row(detail::abs128(v_of(y)));
        if (u.empty()) return {};
        return {x_of(-u.lo) + 1, x_of(u.lo)};
    }

    // The path's diagonal steps between rows y and y + 1: up to one on each side, as the step's
    // upper and lower points' x.
    struct Step {
        i128 upper_x, lower_x;
    };
    std::array<std::optional<Step>, 2> steps_below(i128 y) const {
        const i128 v_upper = v_of(y);
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
    // Row y's v (its quarter row is |v|); the quarter rows that rows y_lo to y_hi + 1 map to
    // (steps_below looks one row down).
    i128 v_of(i128 y) const { return 2 * (y - box_.top) - b_; }
    i128 quarter_low(std::int64_t y_lo, std::int64_t y_hi) const {
        const i128 top = v_of(y_lo), bottom = v_of(y_hi) + 2;
        if (top <= 0 && bottom >= 0) return 0;
        return std::min(detail::abs128(top), detail::abs128(bottom));
    }
    i128 quarter_high(std::int64_t y_lo, std::int64_t y_hi) const {
        return std::max(detail::abs128(v_of(y_lo)), detail::abs128(v_of(y_hi) + 2));
    }

    // u has a's parity: the halving is exact.
    i128 x_of(i128 u) const { return box_.left + ((a_ + u) >> 1); }

    Rect box_;
    i128 a_, b_;
    QuarterRows quarter_;
};

using detail::to_span;

using Run = EllipseShape::Run;

void emit(std::vector<Run>& out, std::int64_t y, Span run, const Rect& clip, bool brush) {
    run = meet(run, Span{clip.left, clip.right});
    if (run.empty()) return;
    out.push_back({y, run, brush});
}

void fill_interior(std::vector<Run>& out, const Rect& clip, const EllipseOutline& outline,
                   const Rect& box) {
    const Rect rows = intersect(box, clip);
    for (std::int64_t y = rows.top; y < rows.bottom; ++y) {
        emit(out, y, to_span(outline.inside(y)), clip, true);
    }
}

void thin_outline(std::vector<Run>& out, const Rect& clip, const EllipseOutline& outline,
                  const Rect& box) {
    const Rect rows = intersect(box, clip);
    for (std::int64_t y = rows.top; y < rows.bottom; ++y) {
        for (const Range& run : outline.runs(y))
            emit(out, y, to_span(run), clip, false);
    }
}

// A wide pen puts its tip on every pixel of the path, and along every diagonal step between two
// rows the band of that one-pixel segment, which reaches a little further on the step's right
// side. Level and upright steps add nothing the two tips do not cover.
void wide_outline(std::vector<Run>& out, const Rect& clip, const EllipseOutline& outline,
                  const Rect& box, const detail::PenTip& tip) {
    // The rows below a source row that it reaches: [reach_lo, reach_hi].
    const std::int64_t reach_lo = tip.rows().lo - 1;
    const std::int64_t reach_hi = tip.rows().hi;
    const std::int64_t side = tip.width() + 1;
    const Rect rows = intersect(
        Rect{box.left - side, box.top + reach_lo, box.right + side, box.bottom + reach_hi}, clip);
    if (rows.empty()) return;

    // The rows of the bands of the two kinds of diagonal step (from an upper point at (0, 0)),
    // by offset from reach_lo.
    const detail::WideBand down_left(Point{0, 0}, Point{-1, 1}, tip.width());
    const detail::WideBand down_right(Point{0, 0}, Point{1, 1}, tip.width());
    std::vector<Span> left_rows, right_rows;
    for (std::int64_t dy = reach_lo; dy <= reach_hi; ++dy) {
        left_rows.push_back(to_span(down_left.row(dy)));
        right_rows.push_back(to_span(down_right.row(dy)));
    }

    // Everything that row `source` puts on the row dy below it, as pieces relative to the tip's
    // and the bands' rows: the two outline runs and the upper points of up to two steps.
    struct Source {
        std::array<Span, 2> runs;
        std::array<std::int64_t, 2> step_x;
        std::array<const std::vector<Span>*, 2> band; // null: no step
    };
    const std::int64_t source_top = std::max(box.top, rows.top - reach_hi);
    const std::int64_t source_bottom = std::min(box.bottom, rows.bottom - reach_lo);
    std::vector<Source> sources;
    for (std::int64_t y = source_top; y < source_bottom; ++y) {
        Source source{};
        const std::array<Range, 2> runs = outline.runs(y);
        for (std::size_t i = 0; i < 2; ++i)
            source.runs[i] = to_span(runs[i]);
        if (y + 1 < box.bottom) {
            const auto steps = outline.steps_below(y);
            for (std::size_t i = 0; i < 2; ++i) {
                if (!steps[i]) continue;
                source.step_x[i] = static_cast<std::int64_t>(steps[i]->upper_x);
                source.band[i] = steps[i]->lower_x < steps[i]->upper_x ? &left_rows : &right_rows;
            }
        }
        sources.push_back(source);
    }

    std::vector<Span> pieces(static_cast<std::size_t>(4 * (reach_hi - reach_lo + 1)));
    for (std::int64_t y = rows.top; y < rows.bottom; ++y) {
        std::size_t count = 0;
        const std::int64_t first = std::max(source_top, y - reach_hi);
        const std::int64_t last = std::min(source_bottom - 1, y - reach_lo);
        // One side at a time, taking the rows in the order in which that side's pieces move
        // right (left side up in the upper half, down in the lower half), so that the pieces
        // arrive nearly sorted.
        const bool upper_half = 2 * (y - box.top) < box.height() - 1;
        for (std::size_t half = 0; half < 2; ++half) {
            const bool downwards = (half == 0) != upper_half;
            for (std::int64_t k = 0; k <= last - first; ++k) {
                const std::int64_t row = downwards ? first + k : last - k;
                const Source& source = sources[static_cast<std::size_t>(row - source_top)];
                const auto offset = static_cast<std::size_t>(y - row - reach_lo);
                const Span widen = tip.row(y - row);
                const Span& run = source.runs[half];
                if (!widen.empty() && !run.empty())
                    pieces[count++] = {run.lo + widen.lo, run.hi + widen.hi - 1};
                if (source.band[half] == nullptr) continue;
                const Span r = (*source.band[half])[offset];
                if (!r.empty())
                    pieces[count++] = {r.lo + source.step_x[half], r.hi + source.step_x[half]};
            }
        }
        // Few pieces, nearly in order: insertion sort.
        for (std::size_t i = 1; i < count; ++i) {
            const Span piece = pieces[i];
            std::size_t j = i;
            for (; j > 0 && pieces[j - 1].lo > piece.lo; --j)
                pieces[j] = pieces[j - 1];
            pieces[j] = piece;
        }
        detail::join_sorted(std::span(pieces.data(), count),
                            [&](const Span& run) { emit(out, y, run, clip, false); });
    }
}

// The pixels of `runs` as one span per row and stretch: what they cover when all are drawn in one
// colour. Then the order of the writes cannot show, only which pixels they reach, and a pixel
// written twice (inside and outline overlap by the pen's width) is written once.
std::vector<Run> merged_by_row(std::vector<Run> runs) {
    std::sort(runs.begin(), runs.end(), [](const Run& p, const Run& q) {
        return p.y != q.y ? p.y < q.y : p.columns.lo < q.columns.lo;
    });
    std::vector<Run> merged;
    for (const Run& run : runs) {
        if (!merged.empty() && merged.back().y == run.y &&
            run.columns.lo <= merged.back().columns.hi) {
            merged.back().columns.hi = std::max(merged.back().columns.hi, run.columns.hi);
            continue;
        }
        merged.push_back({run.y, run.columns, false});
    }
    return merged;
}

} // namespace

EllipseShape::EllipseShape(Rect box, int pen_width, bool filled, const Rect& clip)
    : box_(detail::normalised_box(box)), pen_width_(pen_width), filled_(filled), clip_(clip) {
    if (box_.empty()) return;
    // Too narrow or too flat for the walk: GDI draws the box's rectangle instead.
    if (box_.width() <= 2 || box_.height() <= 2) {
        as_rectangle_ = true;
        return;
    }
    const std::int64_t reach = detail::pen_reach(pen_width) + 1;
    if (detail::out_of_reach(box_, reach, clip)) return;

    // Only the rows the clip lets the pen reach are traced.
    const EllipseOutline outline(box_, std::max(box_.top, clip.top - reach),
                                 std::min(box_.bottom - 1, clip.bottom + reach));
    if (filled) fill_interior(runs_, clip, outline, box_);
    if (pen_width <= 1) {
        thin_outline(runs_, clip, outline, box_);
    } else {
        wide_outline(runs_, clip, outline, box_, detail::PenTip(pen_width));
    }
}

bool EllipseShape::traced_for(const Rect& box, int pen_width, bool filled, const Rect& clip) const {
    return detail::normalised_box(box) == box_ && pen_width == pen_width_ && filled == filled_ &&
           clip == clip_;
}

void EllipseShape::draw(Canvas& canvas, Color pen, std::optional<Color> brush) const {
    if (!as_rectangle_ && brush.value_or(pen) == pen) {
        if (!one_colour_runs_) {
            one_colour_runs_ = merged_by_row(runs_);
            for (const Run& run : *one_colour_runs_)
                one_colour_bounds_ = bounding_union(
                    one_colour_bounds_, Rect{run.columns.lo, run.y, run.columns.hi, run.y + 1});
        }
        // The shape is drawn again every frame: inside the clip, its rows need no clipping, and
        // where it lies whole in the buffer since it was last drawn, only the columns written
        // since need it again.
        Canvas::AreaWriter writer(canvas, one_colour_bounds_);
        if (!writer.usable()) {
            for (const Run& run : *one_colour_runs_)
                canvas.span(run.y, run.columns.lo, run.columns.hi, pen);
            return;
        }
        Framebuffer& fb = canvas.framebuffer();
        const PaintKey key{{box_.left, box_.top, box_.right, box_.bottom, pen_width_, filled_,
                            clip_.left, clip_.top, clip_.right, clip_.bottom, pen, 0}};
        fb.repaint(key, one_colour_bounds_.top, one_colour_bounds_.bottom, [&](const auto& needed) {
            for (const Run& run : *one_colour_runs_) {
                const Span columns = meet(run.columns, needed(run.y));
                if (!columns.empty()) writer.span(run.y, columns.lo, columns.hi, pen);
            }
        });
        return;
    }
    draw_in_order(canvas, pen, brush);
}

void EllipseShape::draw_in_order(Canvas& canvas, Color pen, std::optional<Color> brush) const {
    if (as_rectangle_) {
        rectangle(canvas, box_, Pen{pen_width_, pen}, brush);
        return;
    }
    const Color brush_color = brush.value_or(pen);
    for (const Run& run : runs_)
        canvas.span(run.y, run.columns.lo, run.columns.hi, run.brush ? brush_color : pen);
}

void ellipse(Canvas& canvas, Rect box, const Pen& pen, std::optional<Color> brush) {
    EllipseShape(box, pen.width, brush.has_value(), canvas.clip_bounds())
        .draw_in_order(canvas, pen.color, brush);
}

} // namespace kv::raster
