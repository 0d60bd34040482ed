// A small wide band's columns row after row, for a caller that draws its rows from top to bottom.
#pragma once

#include "raster/exact_math.h"
#include "raster/wide_band.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <span>

namespace kv::raster::detail {

// One edge walked down its rows: x = ceil((base + y * dx) / height) kept as a quotient and a
// remainder (numerator = x * height - rest, 0 <= rest < height). Moving one row down adds dx to
// the numerator: dx's own quotient and remainder are added, and a remainder that drops below zero
// carries one into x. The very integers the division gives, for an addition and a comparison.
// A plain aggregate with no initial values: a walk is made from its edge by start() before it is
// used, four to a segment.
struct EdgeWalk {
    std::int64_t height;
    std::int64_t step;      // floor(dx / height)
    std::int64_t step_rest; // dx - step * height, in [0, height)
    std::int64_t x;
    std::int64_t rest; // in [0, height)

    // The walk of `edge` at row y.
    static EdgeWalk start(const WideBand::SmallEdge& edge, std::int64_t y) {
        EdgeWalk walk;
        walk.height = edge.height;
        walk.step = floor_div(edge.dx, edge.height);
        walk.step_rest = edge.dx - walk.step * edge.height;
        const std::int64_t numerator = edge.base + y * edge.dx;
        walk.x = ceil_div(numerator, edge.height);
        walk.rest = walk.x * edge.height - numerator;
        return walk;
    }

    // Without a branch: whether the remainder carries depends on the row, so a branch on it would
    // be mispredicted about as often as taken.
    void next() {
        x += step;
        rest -= step_rest;
        const std::int64_t borrow = -static_cast<std::int64_t>(rest < 0); // -1 or 0
        rest += height & borrow;
        x -= borrow;
    }
};

// The rows of a small band (WideBand::small()) from `first_row` down, as WideBand::row() gives
// them, a batch of rows at a time: each edge walks its part of the batch in a loop of its own.
class BandRows {
  public:
    BandRows(const WideBand& band, std::int64_t first_row) : y_(first_row) {
        for (const WideBand::SmallEdge& edge : band.small_edges())
            walks_[count_++] = {edge.top_y, edge.bottom_y, edge.right_side,
                                EdgeWalk::start(edge, std::max(edge.top_y, first_row))};
    }

    // The columns of the next rows.size() rows (empty where the band misses a row). Each row of
    // the band gets its left end from the one edge with the band on its right, and its right end
    // from the one with the band on its left (WideBand::SmallEdge): the extremes of the two. A
    // batch is written whole before it is read, and one is made for every segment drawn: the
    // caller's spans need no initial value.
    void next(std::span<Span> rows) {
        for (Span& row : rows)
            row = {1, 1};
        const std::int64_t end = y_ + static_cast<std::int64_t>(rows.size());
        for (std::size_t i = 0; i < count_; ++i) {
            Walk& walk = walks_[i];
            EdgeWalk edge = walk.edge;
            const std::int64_t stop = std::min(walk.bottom_y, end);
            const std::int64_t start = std::max(walk.top_y, y_);
            if (start >= stop) continue;
            Span* row = rows.data() + (start - y_);
            if (walk.right_side) {
                for (std::int64_t y = start; y < stop; ++y, ++row, edge.next())
                    row->hi = edge.x; // the right edge's pixel is outside
            } else {
                for (std::int64_t y = start; y < stop; ++y, ++row, edge.next())
                    row->lo = edge.x;
            }
            walk.edge = edge;
        }
        y_ = end;
    }

  private:
    struct Walk {
        std::int64_t top_y, bottom_y; // the edge's rows [top_y, bottom_y)
        bool right_side;
        EdgeWalk edge;
    };
    std::array<Walk, 4> walks_; // the first count_ are set

    std::size_t count_ = 0;
    std::int64_t y_;
};

} // namespace kv::raster::detail
