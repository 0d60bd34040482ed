// The round tip of a wide solid pen, shared by wide lines (their caps) and wide ellipse outlines.
#pragma once

#include "raster/exact_math.h"

#include <algorithm>

namespace kv::raster::detail {

// Win32's round pen tip: in doubled coordinates a pixel (px, py) is covered when its point
// (2px + s, 2py + s) lies within sqrt(w(w-1)) of the tip's centre, s = 1 for even widths so that
// they lean up and left, as Windows' even-width dots and lines do.
class PenTip {
  public:
    explicit PenTip(int width)
        : width_(std::clamp(width, 2, kMaxPenWidth)), radius_sq_(i128{width_} * (width_ - 1)),
          lean_(width_ % 2 == 0 ? 1 : 0) {}

    int width() const { return width_; }
    i128 radius_sq() const { return radius_sq_; }
    int lean() const { return lean_; }

    // Columns px covered on row py by the tip centred on the doubled point (cx2, cy2).
    Range row(i128 cx2, i128 cy2, i128 py) const {
        const i128 dy = 2 * py + lean_ - cy2;
        const i128 room = radius_sq_ - dy * dy;
        if (room < 0) return {};
        const i128 half = isqrt(room);
        return solve_linear(2, lean_ - cx2, -half, half);
    }

    // Offsets from a centre pixel to the rows the tip reaches.
    Range rows() const {
        const i128 half = isqrt(radius_sq_);
        return solve_linear(2, lean_, -half, half);
    }

  private:
    int width_;
    i128 radius_sq_;
    int lean_;
};

} // namespace kv::raster::detail
