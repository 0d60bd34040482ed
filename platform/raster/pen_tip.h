// The round tip of a wide solid pen, shared by wide lines (their caps) and wide ellipse outlines.
#pragma once

#include "core/canvas.h"
#include "raster/exact_math.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kv::raster::detail {

// GDI's round tip of a pen w pixels wide is the elliptic region of a (w + 1)-pixel square box
// whose corner is w / 2 up and left of the centre pixel: w rows and columns, the even widths
// leaning up and left. Its rows come from the error walk GDI's elliptic regions use: the circle
// inscribed in the w x w square of pixel centres is traced from its middle row outwards, the error
// deciding at each step whether the row, the column or both move on. A column moves only when
// twice the error reaches the column increment; the textbook walk (Zingl's) also moves one when
// the updated error passes the row increment, and would give pens of 9, 16 or 23 pixels rows one
// pixel narrower on each side than GDI's.
class PenTip {
  public:
    explicit PenTip(int width)
        : width_(std::clamp(width, 2, kWidestDrawnPen)), offset_(-(width_ / 2)),
          rows_(static_cast<std::size_t>(width_)) {
        // Per row from the top: the leftmost column covered, from the box's left edge (the row
        // is symmetric); -1 for none.
        std::vector<std::int64_t> half(rows_.size(), -1);
        const auto widen = [&](std::int64_t row, std::int64_t left) {
            if (row < 0 || row >= width_) return;
            std::int64_t& slot = half[static_cast<std::size_t>(row)];
            if (slot < 0 || left < slot) slot = left;
        };
        const std::int64_t d = width_ - 1; // the circle's diameter between pixel centres
        const std::int64_t odd = d & 1;
        std::int64_t column_increment = 4 * (1 - d) * d * d;
        std::int64_t row_increment = 4 * (odd + 1) * d * d;
        std::int64_t error = column_increment + row_increment + odd * d * d;
        const std::int64_t column_step = 8 * d * d;
        const std::int64_t row_step = 8 * d * d;

        std::int64_t left = 0;            // leftmost column reached, from the box's left edge
        std::int64_t lower = (d + 1) / 2; // rows below and above the middle, from the top
        std::int64_t upper = lower - odd;
        while (left <= d - left) {
            widen(lower, left);
            widen(upper, left);
            const std::int64_t twice = 2 * error;
            const bool column_moves = twice >= column_increment;
            if (twice <= row_increment) {
                ++lower;
                --upper;
                row_increment += row_step;
                error += row_increment;
            }
            if (column_moves) {
                ++left;
                column_increment += column_step;
                error += column_increment;
            }
        }
        // Flat ends: the walk may stop before reaching the top and bottom rows.
        while (lower - upper < d) {
            widen(lower++, left - 1);
            widen(upper--, left - 1);
        }
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (half[i] >= 0) rows_[i] = {offset_ + half[i], offset_ + width_ - half[i]};
        }
    }

    int width() const { return static_cast<int>(width_); }

    // Offsets from the centre pixel to the rows the tip covers.
    Span rows() const { return {offset_, offset_ + width_}; }

    // Offsets from the centre pixel to the columns the tip covers on row offset `dy`.
    Span row(std::int64_t dy) const {
        const std::int64_t index = dy - offset_;
        if (index < 0 || index >= width_) return {};
        return rows_[static_cast<std::size_t>(index)];
    }

    // The rows a tip centred on `centre` covers, and its columns on row y.
    Span rows(const Point& centre) const {
        return {centre.y + offset_, centre.y + offset_ + width_};
    }
    Span at(const Point& centre, std::int64_t y) const {
        const Span r = row(y - centre.y);
        if (r.empty()) return r;
        return {r.lo + centre.x, r.hi + centre.x};
    }

  private:
    std::int64_t width_;
    std::int64_t offset_;
    std::vector<Span> rows_; // from the top; {} where the tip covers nothing
};

} // namespace kv::raster::detail
