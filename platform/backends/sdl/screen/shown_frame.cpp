#include "backends/sdl/screen/shown_frame.h"

#include "backends/sdl/screen/huge_page_memory.h"
#include "backends/sdl/screen/row_diff.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <utility>

namespace kv::sdl {

namespace {

// Rectangles that grow downwards as rows with changes nearby come in.
class RectGrower {
  public:
    explicit RectGrower(std::vector<Rect>& storage) : open_(storage) { open_.clear(); }
    void add(std::int64_t y, std::int64_t left, std::int64_t right) {
        for (Rect& r : open_) {
            // bottom == y + 1: an earlier piece of this same row already joined it.
            const bool touches = r.bottom == y || r.bottom == y + 1;
            if (touches && left < r.right + ShownFrame::kJoinGap &&
                right + ShownFrame::kJoinGap > r.left) {
                r = Rect{std::min(r.left, left), r.top, std::max(r.right, right), y + 1};
                return;
            }
        }
        open_.push_back(Rect{left, y, right, y + 1});
    }
    // Rectangles that did not reach row y can grow no more.
    void close_before(std::int64_t y, std::vector<Rect>& out) {
        std::erase_if(open_, [&](const Rect& r) {
            if (r.bottom >= y) return false;
            out.push_back(r);
            return true;
        });
    }
    void close_all(std::vector<Rect>& out) {
        out.insert(out.end(), open_.begin(), open_.end());
        open_.clear();
    }

  private:
    std::vector<Rect>& open_;
};

// Pixels [start, end) of a row.
struct Run {
    std::int64_t start = 0;
    std::int64_t end = 0;
};

// Runs of changed pixels along one row, joined while fewer than kJoinGap unchanged pixels lie
// between them.
class RowRuns {
  public:
    // Takes a run to the right of those before it. Returns the open run when this one stays apart
    // from it: that one is finished.
    std::optional<Run> add(Run run) {
        if (open_ && run.start - open_->end < ShownFrame::kJoinGap) {
            open_->end = run.end;
            return std::nullopt;
        }
        return std::exchange(open_, run);
    }
    // The row ends: the open run, if any, is finished.
    std::optional<Run> finish() { return std::exchange(open_, std::nullopt); }

  private:
    std::optional<Run> open_;
};

// The mask without its lowest `bits` bits.
std::uint64_t above(std::uint64_t mask, int bits) {
    return bits >= 64 ? 0 : mask & (~std::uint64_t{0} << bits);
}

// The pixels changes are found against: the copy, in the framebuffer's own format.
struct CopyRows {
    Color* pixels;
    std::int64_t width;

    Color* row(std::int64_t y) const { return pixels + y * width; }
    static bool same(const Color* now, const Color* shown, std::int64_t count) {
        return std::memcmp(now, shown, static_cast<std::size_t>(count) * sizeof(Color)) == 0;
    }
    static std::uint64_t mask(const Color* now, const Color* shown, std::int64_t count) {
        return diff_mask(now, shown, count);
    }
    static void take(const Color* now, Color* shown, std::int64_t count) {
        std::copy(now, now + count, shown);
    }
};

// The window's own XRGB8888 pixels at zoom 1.
struct WindowRows {
    std::uint8_t* pixels;
    std::int64_t pitch;

    std::uint32_t* row(std::int64_t y) const {
        return reinterpret_cast<std::uint32_t*>(pixels + y * pitch);
    }
};

// Both rows of a compare or a copy are reached long after the caches lost them, each row from a
// page of its own, and the processor's own prefetching stops at page ends: left alone it waits on
// memory at the start of every row. Rows asked for this many rows ahead come in meanwhile.
constexpr std::int64_t kRowsAhead = 3;

void ask_early(const void* row, std::int64_t bytes) {
    constexpr std::int64_t kLine = 64;
    const auto* at = static_cast<const char*>(row);
    for (std::int64_t i = 0; i < bytes; i += kLine)
        __builtin_prefetch(at + i);
}

// Columns [left, left + n) of a row.
struct Columns {
    std::int64_t left = 0;
    std::int64_t n = 0;
};

// The columns of row y within `r` that can differ from what the window shows: those written
// since the buffer was last presented.
Columns unshown_columns(const Framebuffer& fb, const Rect& r, std::int64_t y) {
    const Framebuffer::Written w = fb.unpresented(y);
    const std::int64_t left = std::max(r.left, w.lo);
    return Columns{left, std::max<std::int64_t>(std::min(r.right, w.hi) - left, 0)};
}

// Asks early for the columns of row y that unshown_columns() gives, in `fb` and in `rows`.
template <class Rows>
void ask_early_for_row(const Framebuffer& fb, const Rect& r, const Rows& rows, std::int64_t y) {
    if (y >= r.bottom) return;
    const Columns cols = unshown_columns(fb, r, y);
    ask_early(fb.row(static_cast<int>(y)) + cols.left, cols.n * std::int64_t{sizeof(Color)});
    ask_early(rows.row(y) + cols.left, cols.n * std::int64_t{sizeof(*rows.row(y))});
}

// Compares rectangle `r` (inside both) of `fb` with the copy `rows`, takes what differs into it,
// and appends rectangles covering every changed pixel to `out`. `rows` must hold what `fb` held
// when it was last presented, wherever it has not been written since.
void find_changes(const Framebuffer& fb, const Rect& r, const CopyRows& rows,
                  std::vector<Rect>& growing, std::vector<Rect>& out) {
    RectGrower grower(growing);
    for (std::int64_t y = r.top; y < r.bottom; ++y) {
        const Columns cols = unshown_columns(fb, r, y);
        ask_early_for_row(fb, r, rows, y + kRowsAhead);
        grower.close_before(y, out);
        const std::int64_t n = cols.n;
        if (n == 0) continue;
        const Color* now = fb.row(static_cast<int>(y)) + cols.left;
        auto* shown = rows.row(y) + cols.left;
        if (CopyRows::same(now, shown, n)) continue;
        const auto take = [&](const std::optional<Run>& run) {
            if (!run) return;
            CopyRows::take(now + run->start, shown + run->start, run->end - run->start);
            grower.add(y, cols.left + run->start, cols.left + run->end);
        };
        RowRuns runs;
        // Most of a Tick's bounding box is unchanged: a block at a time, each in one compare.
        for (std::int64_t block = 0; block < n; block += kDiffMaskPixels) {
            const std::int64_t count = std::min(kDiffMaskPixels, n - block);
            if (CopyRows::same(now + block, shown + block, count)) continue;
            for (std::uint64_t mask = CopyRows::mask(now + block, shown + block, count);
                 mask != 0;) {
                const int first = std::countr_zero(mask);
                const int length = std::countr_one(mask >> first);
                mask = above(mask, first + length);
                take(runs.add(Run{block + first, block + first + length}));
            }
        }
        take(runs.finish());
    }
    grower.close_all(out);
}

} // namespace

void ShownFrame::assign(const Framebuffer& fb) {
    if (pixels_.size() != fb.pixels().size())
        pixels_ = PixelBuffer(fb.pixels().size(), 0, huge_page_memory());
    width_ = fb.width();
    height_ = fb.height();
    std::copy(fb.pixels().begin(), fb.pixels().end(), pixels_.pixels().begin());
}

void ShownFrame::take_changes(const Framebuffer& fb, const Rect& rect, std::vector<Rect>& out) {
    const Rect r = intersect(rect, fb.bounds());
    if (r.empty()) return;
    if (fb.width() != width_ || fb.height() != height_) {
        assign(fb);
        out.push_back(r);
        return;
    }
    find_changes(fb, r, CopyRows{pixels_.pixels().data(), width_}, growing_, out);
}

void take_window_changes(const Framebuffer& fb, const Rect& rect, PixelTarget& window,
                         std::vector<Rect>& growing, std::vector<Rect>& out) {
    const Rect r = intersect(intersect(rect, fb.bounds()), Rect{0, 0, window.width, window.height});
    if (r.empty() || window.pixels == nullptr) return;
    const WindowRows rows{window.pixels, window.pitch};
    RectGrower grower(growing);
    for (std::int64_t y = r.top; y < r.bottom; ++y) {
        grower.close_before(y, out);
        ask_early_for_row(fb, r, rows, y + kRowsAhead);
        const Columns cols = unshown_columns(fb, r, y);
        if (cols.n == 0) continue;
        xrgb_row(fb.row(static_cast<int>(y)) + cols.left, cols.n, rows.row(y) + cols.left);
        grower.add(y, cols.left, cols.left + cols.n);
    }
    grower.close_all(out);
}

} // namespace kv::sdl
