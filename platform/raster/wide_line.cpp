// Wide lines as GDI draws them: the pen's round tip at both end points and, between them, a band
// whose corners are rounded to whole pixels, filled by the polygon rule.
#include "raster/band_rows.h"
#include "raster/coordinates.h"
#include "raster/exact_math.h"
#include "raster/pen_tip.h"
#include "raster/wide_band.h"
#include "raster/raster.h"
#include "raster/segment_cache.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace kv::raster {

namespace {

using detail::PenTip;
using detail::to_span;

// Tips of the widths programs use are the same for every segment: they are traced once.
constexpr int kTabledTipWidth = 32;
const PenTip& tabled_tip(int width) {
    static const std::array<PenTip, kTabledTipWidth - 1> tips = [] {
        return [&]<std::size_t... I>(std::index_sequence<I...>) {
            return std::array<PenTip, sizeof...(I)>{PenTip(static_cast<int>(I) + 2)...};
        }
        (std::make_index_sequence<kTabledTipWidth - 1>{});
    }();
    return tips[static_cast<std::size_t>(width - 2)];
}

// The body between the tips, row after row from a first row down. Level and upright segments are
// rectangles: w rows (or columns) from w / 2 before the line, from the smaller end up to, not
// including, the larger one. Slanted ones are bands, walked edge by edge when small.
class BodyRows {
  public:
    BodyRows(Point a, Point b, int width) {
        const std::int64_t half = width / 2;
        if (a == b) return;
        if (a.y == b.y) {
            rows_ = {a.y - half, a.y - half + width};
            columns_ = {std::min(a.x, b.x), std::max(a.x, b.x)};
        } else if (a.x == b.x) {
            rows_ = {std::min(a.y, b.y), std::max(a.y, b.y)};
            columns_ = {a.x - half, a.x - half + width};
        } else {
            band_.emplace(a, b, width);
            rows_ = to_span(band_->rows());
        }
    }

    // The rows the body may cover.
    Span rows() const { return rows_; }

    // Rows are asked for from `first_row` down.
    void start(std::int64_t first_row) {
        y_ = first_row;
        if (band_ && band_->small()) walk_.emplace(*band_, first_row);
    }

    // The columns of the next rows.size() rows.
    void next(std::span<Span> rows) {
        if (walk_) {
            walk_->next(rows);
            return;
        }
        for (Span& row : rows) {
            const std::int64_t y = y_++;
            row = band_ ? to_span(band_->row(y)) : (rows_.contains(y) ? columns_ : Span{});
        }
    }

  private:
    std::int64_t y_ = 0;
    Span rows_{}, columns_{};
    std::optional<detail::WideBand> band_; // slanted segments only
    std::optional<detail::BandRows> walk_; // small bands
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
    const Span visible = meet(run, columns);
    if (!run.empty() && !visible.empty()) canvas.span(y, visible.lo, visible.hi, color);
}

// Two runs of one row, merged when they touch, left one first.
template <typename Emit> void emit_two(std::int64_t y, Span p, Span q, Emit& emit) {
    if (p.empty() || q.empty()) {
        const Span& run = p.empty() ? q : p;
        if (!run.empty()) emit(y, run);
        return;
    }
    if (q.lo < p.lo) std::swap(p, q);
    if (q.lo <= p.hi) {
        emit(y, Span{p.lo, std::max(p.hi, q.hi)});
        return;
    }
    emit(y, p);
    emit(y, q);
}

// The segment's rows, each as its runs of pixels: the body's columns, merged with the tips' on the
// rows they cover. emit(y, run) gets every run, none empty, none touching another, so that no
// pixel is written twice.
template <typename Emit>
void draw_rows(BodyRows& body, const PenTip& tip, Point from, Point to, Span rows, Emit&& emit) {
    const Span from_tip = tip.rows(from), to_tip = tip.rows(to);
    constexpr std::int64_t kBatch = 64;
    std::array<Span, kBatch> body_rows; // written by body.next() before use
    for (std::int64_t top = rows.lo; top < rows.hi; top += kBatch) {
        const std::int64_t count = std::min(kBatch, rows.hi - top);
        body.next(std::span(body_rows.data(), static_cast<std::size_t>(count)));
        for (std::int64_t i = 0; i < count; ++i) {
            const std::int64_t y = top + i;
            const Span& body_row = body_rows[static_cast<std::size_t>(i)];
            const bool on_from = from_tip.contains(y), on_to = to_tip.contains(y);
            // Away from the end points only the body is on the row; near one only one tip.
            if (!on_from && !on_to) {
                if (!body_row.empty()) emit(y, body_row);
                continue;
            }
            if (on_from != on_to) {
                emit_two(y, on_from ? tip.at(from, y) : tip.at(to, y), body_row, emit);
                continue;
            }
            std::array<Span, 3> runs{tip.at(from, y), tip.at(to, y), body_row};
            sort_three(runs);
            detail::join_sorted(runs, [&](const Span& run) { emit(y, run); });
        }
    }
}

Rect moved(const Rect& r, Point by) {
    return {r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y};
}

// A segment kept in a cache, drawn where the clip holds the whole of it; false where the clip cuts
// it.
bool draw_kept(Canvas& canvas, const SegmentCache::Kept& kept, Point from, Point to, int width,
               Color color) {
    const Rect relative = SegmentCache::area(to.x - from.x, width, kept.rows);
    Canvas::AreaWriter writer(canvas, moved(relative, from));
    if (!writer.usable()) return false;
    writer.kept_spans(from, kept.runs, color);
    return true;
}

// The segment's rows, kept in `cache` (if any) when it is drawn whole.
void draw_segment(Canvas& canvas, Point from, Point to, int width, const PenTip& tip, Color color,
                  SegmentCache* cache) {
    // Only the rows the tips or the body cover, within the clip.
    const Rect& clip = canvas.clip_bounds();
    BodyRows body(from, to, width);
    const Span covered = hull(hull(tip.rows(from), tip.rows(to)), body.rows());
    const Span rows = meet(covered, Span{clip.top, clip.bottom});
    body.start(rows.lo);

    // Everything the segment covers lies within a pen's width of its end points.
    const Span relative_rows{rows.lo - from.y, rows.hi - from.y};
    const Rect relative = SegmentCache::area(to.x - from.x, width, relative_rows);
    Canvas::AreaWriter writer(canvas, moved(relative, from));
    if (writer.usable() && cache != nullptr && rows == covered) {
        // The whole segment is drawn: its runs are kept as they are written.
        SegmentCache::Recording recording =
            cache->record(to.x - from.x, to.y - from.y, width, relative_rows);
        draw_rows(body, tip, from, to, rows, [&](std::int64_t y, const Span& run) {
            writer.span(y, run.lo, run.hi, color);
            recording.add(y - from.y, run.lo - from.x, run.hi - from.x);
        });
        recording.done();
        return;
    }
    if (writer.usable()) {
        draw_rows(body, tip, from, to, rows,
                  [&](std::int64_t y, const Span& run) { writer.span(y, run.lo, run.hi, color); });
        return;
    }
    const Span columns{clip.left, clip.right};
    draw_rows(body, tip, from, to, rows,
              [&](std::int64_t y, const Span& run) { emit(canvas, y, run, columns, color); });
}

} // namespace

void wide_line(Canvas& canvas, Point from, Point to, int width, Color color, SegmentCache* cache) {
    if (width <= 1) {
        thin_line(canvas, from, to, color);
        return;
    }
    from = detail::clamp_point(from);
    to = detail::clamp_point(to);
    width = std::min(width, detail::kWidestDrawnPen);
    const Rect ends{std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x) + 1,
                    std::max(from.y, to.y) + 1};
    if (detail::out_of_reach(ends, width, canvas.clip_bounds())) return;
    const std::int64_t dx = to.x - from.x, dy = to.y - from.y;
    if (cache != nullptr && SegmentCache::keeps(dx, dy, width)) {
        if (const SegmentCache::Kept* kept = cache->find(dx, dy, width)) {
            if (draw_kept(canvas, *kept, from, to, width, color)) return;
            cache = nullptr; // kept already; here the clip cuts it
        }
    } else {
        cache = nullptr;
    }
    if (width <= kTabledTipWidth)
        draw_segment(canvas, from, to, width, tabled_tip(width), color, cache);
    else
        draw_segment(canvas, from, to, width, PenTip(width), color, cache);
}

} // namespace kv::raster
