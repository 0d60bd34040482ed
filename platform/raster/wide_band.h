// The body of a slanted wide segment, shared by wide lines and wide ellipse outlines.
#pragma once

#include "core/canvas.h"
#include "raster/exact_math.h"

#include <algorithm>
#include <array>
#include <span>

namespace kv::raster::detail {

// floor(t) and floor(t + 1/2) for t = w * along / (2 * length), length = sqrt(length_sq): how far
// the band reaches on one axis, on its two sides, in whole pixels.
struct HalfWidths {
    i128 narrow; // rounded to nearest, halves up
    i128 wide;   // rounded after adding half a pixel
};

template <typename T> HalfWidths half_widths_in(T width, T along, T length_sq) {
    const T product_sq = width * width * along * along; // (w * along)^2
    const T floor_half = static_cast<T>(isqrt(product_sq / (4 * length_sq)));
    const T odd = 2 * floor_half + 1;
    const T narrow = product_sq >= odd * odd * length_sq ? floor_half + 1 : floor_half;
    return {narrow, floor_half + 1};
}

// In 64 bits when the operands are small enough that every product below stays under 2^63
// (odd^2 * length_sq is at most (w * along + length)^2): the same integers, without 128-bit
// division. Segments of the size a window holds always are.
inline HalfWidths half_widths(i128 width, i128 along, i128 length_sq) {
    constexpr i128 kSmallOperand = i128{1} << 14;
    if (width < kSmallOperand && along < kSmallOperand && length_sq < kSmallOperand * kSmallOperand)
        return half_widths_in<std::uint64_t>(static_cast<std::uint64_t>(width),
                                             static_cast<std::uint64_t>(along),
                                             static_cast<std::uint64_t>(length_sq));
    return half_widths_in<i128>(width, along, length_sq);
}

// The band of a slanted segment: a parallelogram through the end points offset across the line,
// by the wide half-widths towards larger x and the narrow ones towards smaller x. Rows are filled
// by the polygon rule: on row y, the pixels x with ceil(left edge) <= x < ceil(right edge), an
// edge counting for the rows from its upper end up to, not including, its lower end.
class WideBand {
  public:
    WideBand(Point a, Point b, int width) {
        const i128 dx = i128{b.x} - a.x;
        const i128 dy = i128{b.y} - a.y;
        const i128 length_sq = dx * dx + dy * dy;
        const HalfWidths across_x = half_widths(width, dy < 0 ? -dy : dy, length_sq);
        const HalfWidths across_y = half_widths(width, dx < 0 ? -dx : dx, length_sq);
        // Going down-right or up-left the band's right side lies above the line, otherwise below.
        const i128 s = (dx > 0) == (dy > 0) ? 1 : -1;
        const i128 rx = across_x.wide, ry = -s * across_y.wide;
        const i128 lx = -across_x.narrow, ly = s * across_y.narrow;
        const std::array<Corner, 4> corners{{{a.x + lx, a.y + ly},
                                             {a.x + rx, a.y + ry},
                                             {b.x + rx, b.y + ry},
                                             {b.x + lx, b.y + ly}}};
        const auto within = [](const Corner& c) {
            return -kSmallCorner < c.x && c.x < kSmallCorner && -kSmallCorner < c.y &&
                   c.y < kSmallCorner;
        };
        small_ = std::all_of(corners.begin(), corners.end(), within);
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const Corner& p = corners[i];
            const Corner& q = corners[(i + 1) % corners.size()];
            if (p.y == q.y) continue;
            const bool down = p.y < q.y;
            const Corner& top = down ? p : q;
            const Corner& bottom = down ? q : p;
            // Going round the corners in this order turns the way dy's sign says: then the edges
            // going down have the band on their left when dy > 0, on their right otherwise.
            const bool right_side = down == (dy > 0);
            edges_[edge_count_] = Edge{top, bottom, right_side};
            if (small_) {
                const auto top_x = static_cast<std::int64_t>(top.x);
                const auto top_y = static_cast<std::int64_t>(top.y);
                const auto bottom_y = static_cast<std::int64_t>(bottom.y);
                const auto run = static_cast<std::int64_t>(bottom.x) - top_x;
                const std::int64_t height = bottom_y - top_y;
                small_edges_[edge_count_] = {
                    top_y, bottom_y, height, run, top_x * height - top_y * run, right_side};
            }
            ++edge_count_;
            top_ = std::min(top_, top.y);
            bottom_ = std::max(bottom_, bottom.y);
        }
    }

    // Row y's columns, empty where the band misses the row.
    Range row(i128 y) const {
        if (y < top_ || y >= bottom_) return {};
        i128 lo = 0, hi = 0;
        bool found = false;
        for (std::size_t i = 0; i < edge_count_; ++i) {
            const Edge& e = edges_[i];
            if (y < e.top.y || y >= e.bottom.y) continue;
            const i128 height = e.bottom.y - e.top.y;
            const i128 x =
                ceil_div(e.top.x * height + (y - e.top.y) * (e.bottom.x - e.top.x), height);
            lo = found ? std::min(lo, x) : x;
            hi = found ? std::max(hi, x) : x;
            found = true;
        }
        if (!found) return {};
        return {lo, hi};
    }

    // The rows the band covers, empty when none.
    Range rows() const { return {top_, bottom_}; }

    // The band lies within +-2^29, where its edges are walked in 64 bits (BandRows).
    bool small() const { return small_; }

    // An edge of a small band in 64 bits: x on row y is ceil((base + y * dx) / height), for the
    // rows [top_y, bottom_y). The same numerator as row()'s regrouped, with every term under 2^61.
    // The band is a parallelogram whose sides are never parallel (its sides across the line reach
    // at least one pixel on both axes), so each row of the band meets exactly one edge with the
    // band on its right and one with the band on its left: the row's columns are
    // [left edge's x, right edge's x).
    struct SmallEdge {
        std::int64_t top_y, bottom_y, height, dx, base;
        bool right_side; // the band lies to the left of this edge
    };
    // A small band's edges that are not level (up to four).
    std::span<const SmallEdge> small_edges() const {
        return {small_edges_.data(), small_ ? edge_count_ : 0};
    }

  private:
    struct Corner {
        i128 x, y;
    };
    // An edge that is not level, from its upper end to its lower one.
    struct Edge {
        Corner top, bottom;
        bool right_side; // as SmallEdge's
    };

    // Corners within +-2^29 keep every product of an edge's row under 2^61 in 64 bits, for rows
    // within the band: the same integers as in 128 bits.
    static constexpr i128 kSmallCorner = i128{1} << 29;

    // The first edge_count_ are set (small_edges_ for a small band only); the rest are left unset,
    // since a band is made for every slanted segment drawn.
    std::array<Edge, 4> edges_;
    std::array<SmallEdge, 4> small_edges_;
    std::size_t edge_count_ = 0;
    i128 top_ = all_integers().hi; // rows [top_, bottom_) meet an edge
    i128 bottom_ = all_integers().lo;
    bool small_ = false;
};

} // namespace kv::raster::detail
