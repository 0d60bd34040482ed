// The pixels of wide segments already drawn, kept by the segment's offset (to - from) and pen
// width. Every rule a wide segment follows is in integers of its end points, so its pixels are
// those of the segment with the same offset drawn from (0, 0), moved by its first end point. A
// picture that turns comes back to the same offsets again and again: a segment found here costs
// only its fills, not its band and tips.
#pragma once

#include "core/geometry.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kv::raster {

class SegmentCache {
  public:
    // The pixels of row dy, relative to the segment's first end point.
    struct Run {
        std::int16_t dy;
        BasicSpan<std::int16_t> columns;
    };
    // A kept segment: its rows and its runs, relative to its first end point. Every run was
    // checked when it was kept: not empty, and inside area(dx, width, rows).
    struct Kept {
        Span rows;
        std::span<const Run> runs;
    };

    // At most max_runs runs (6 bytes each) of at most max_segments segments (a 12-byte header and
    // a table slot of 8 bytes, the table twice their number) are kept; past that the cache starts
    // afresh, so that a picture that never repeats does not grow it without end. By default well
    // under a megabyte a pen: the web page's memory is fixed.
    SegmentCache() = default;
    SegmentCache(std::size_t max_runs, std::size_t max_segments)
        : max_runs_(max_runs), max_segments_(max_segments) {}

    // Where a segment of this offset and width may write, relative to its first end point: its
    // rows, and the columns within a pen's width of its end points.
    static Rect area(std::int64_t dx, int width, Span rows) {
        return {std::min<std::int64_t>(0, dx) - width, rows.lo,
                std::max<std::int64_t>(0, dx) + width + 1, rows.hi};
    }

    // Offsets and widths small enough to be kept: segments of the size a window holds.
    static bool keeps(std::int64_t dx, std::int64_t dy, int width) {
        return -kMaxOffset <= dx && dx <= kMaxOffset && -kMaxOffset <= dy && dy <= kMaxOffset &&
               width >= 0 && width <= kMaxWidth;
    }

    // The segment with this offset and width, if kept; valid until the next record().
    const Kept* find(std::int64_t dx, std::int64_t dy, int width);

    // Keeps a segment's runs as it is drawn: add() each run, then done() when the whole segment
    // was drawn. A recording dropped without done(), or given a run that is empty or outside the
    // segment's area, keeps nothing.
    class Recording {
      public:
        // Pixels [lo, hi) of row dy.
        void add(std::int64_t dy, std::int64_t lo, std::int64_t hi) {
            within_ = within_ && area_.top <= dy && dy < area_.bottom && area_.left <= lo &&
                      lo < hi && hi <= area_.right;
            cache_.runs_.push_back(
                {static_cast<std::int16_t>(dy),
                 {static_cast<std::int16_t>(lo), static_cast<std::int16_t>(hi)}});
        }
        void done();
        ~Recording();
        Recording(const Recording&) = delete;
        Recording& operator=(const Recording&) = delete;

      private:
        friend class SegmentCache;
        Recording(SegmentCache& cache, std::uint32_t key, const Rect& area);
        SegmentCache& cache_;
        std::uint32_t key_;
        Rect area_;
        std::size_t start_;
        bool within_ = true;
        bool done_ = false;
    };
    // For a segment keeps() accepts and find() did not, drawn whole on `rows` from its first end
    // point.
    Recording record(std::int64_t dx, std::int64_t dy, int width, Span rows) {
        return Recording(*this, key(dx, dy, width), area(dx, width, rows));
    }

  private:
    // Offsets and width fit 11 and 9 bits of a 32-bit key; rows and counts then fit 16 bits.
    static constexpr std::int64_t kMaxOffset = (1 << 10) - 1;
    static constexpr int kMaxWidth = (1 << 9) - 1;
    static constexpr std::size_t kDefaultMaxRuns = std::size_t{1} << 16;
    static constexpr std::size_t kDefaultMaxSegments = std::size_t{1} << 12;

    // Where a kept segment's runs are in runs_, and its rows.
    struct Header {
        std::uint32_t first_run;
        std::uint16_t count;
        BasicSpan<std::int16_t> rows;
    };
    // The table's slots are small, so that finding one seldom misses the cache.
    struct Slot {
        std::uint32_t key = 0;    // 0: empty
        std::uint32_t header = 0; // in headers_
    };

    // Offsets and width packed in distinct bits, never 0.
    static std::uint32_t key(std::int64_t dx, std::int64_t dy, int width) {
        return static_cast<std::uint32_t>(dx + kMaxOffset) |
               static_cast<std::uint32_t>(dy + kMaxOffset) << 11 |
               static_cast<std::uint32_t>(width) << 22 | std::uint32_t{1} << 31;
    }
    Slot& slot_for(std::uint32_t key);
    void grow();

    std::size_t max_runs_ = kDefaultMaxRuns;
    std::size_t max_segments_ = kDefaultMaxSegments;
    std::vector<Slot> slots_; // open addressing, a power of two in size
    std::size_t used_ = 0;
    std::vector<Run> runs_;
    std::vector<Header> headers_;
    Kept found_{};
};

} // namespace kv::raster
