// The body of a slanted wide segment, shared by wide lines and wide ellipse outlines.
#pragma once

#include "core/canvas.h"
#include "raster/exact_math.h"

#include <algorithm>
#include <array>

namespace kv::raster::detail {

// floor(t) and floor(t + 1/2) for t = w * along / (2 * length), length = sqrt(length_sq): how far
// the band reaches on one axis, on its two sides, in whole pixels.
struct HalfWidths {
    i128 narrow; // rounded to nearest, halves up
    i128 wide;   // rounded after adding half a pixel
};

inline HalfWidths half_widths(i128 width, i128 along, i128 length_sq) {
    const i128 product_sq = width * width * along * along; // (w * along)^2
    const i128 floor_half = isqrt(product_sq / (4 * length_sq));
    const i128 odd = 2 * floor_half + 1;
    const i128 narrow = product_sq >= odd * odd * length_sq ? floor_half + 1 : floor_half;
    return {narrow, floor_half + 1};
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
        corners_ = {{{a.x + lx, a.y + ly},
                     {a.x + rx, a.y + ry},
                     {b.x + rx, b.y + ry},
                     {b.x + lx, b.y + ly}}};
    }

    Range row(i128 y) const {
        i128 lo = 0, hi = 0;
        bool found = false;
        for (std::size_t i = 0; i < corners_.size(); ++i) {
            const Corner& p = corners_[i];
            const Corner& q = corners_[(i + 1) % corners_.size()];
            if (p.y == q.y) continue;
            const Corner& top = p.y < q.y ? p : q;
            const Corner& bottom = p.y < q.y ? q : p;
            if (y < top.y || y >= bottom.y) continue;
            const i128 height = bottom.y - top.y;
            const i128 x = ceil_div(top.x * height + (y - top.y) * (bottom.x - top.x), height);
            lo = found ? std::min(lo, x) : x;
            hi = found ? std::max(hi, x) : x;
            found = true;
        }
        if (!found) return {};
        return {lo, hi - 1};
    }

  private:
    struct Corner {
        i128 x, y;
    };
    std::array<Corner, 4> corners_;
};

} // namespace kv::raster::detail
