// A 32-bit pixel buffer (one Color per pixel, rows top to bottom). Every access is bounds-checked:
// reads outside give kInvalidColor, writes outside do nothing.
#pragma once

#include "core/color.h"
#include "core/contract.h"
#include "core/geometry.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

namespace kv {

// What a primitive painted whole, named by whatever decides its pixels (its shape and colours):
// two keys that are equal paint the same pixels.
struct PaintKey {
    std::array<std::int64_t, 12> words{};
    bool operator==(const PaintKey&) const = default;
};

// For each row of a buffer, the columns written since the notes were last cleared (every column
// at first): one min and one max a write.
class RowNotes {
  public:
    // `rows` rows written whole, `width` columns each.
    void reset(std::int64_t rows, std::int64_t width) {
        rows_.assign(static_cast<std::size_t>(rows), Span{0, width});
    }
    void note(std::int64_t y, std::int64_t lo, std::int64_t hi) {
        Span& s = rows_[static_cast<std::size_t>(y)];
        s.lo = std::min(s.lo, lo);
        s.hi = std::max(s.hi, hi);
    }
    Span at(std::int64_t y) const {
        if (y < 0 || y >= static_cast<std::int64_t>(rows_.size())) return {};
        const Span s = rows_[static_cast<std::size_t>(y)];
        return s.empty() ? Span{} : s;
    }
    // Rows [top, bottom) hold no writes (clipped to the rows there are).
    void clear(std::int64_t top, std::int64_t bottom) {
        top = std::max<std::int64_t>(top, 0);
        bottom = std::min(bottom, static_cast<std::int64_t>(rows_.size()));
        if (top < bottom) std::fill(rows_.begin() + top, rows_.begin() + bottom, kClean);
    }

  private:
    // Empty, and taking a write's columns by min and max alone.
    static constexpr Span kClean{std::numeric_limits<std::int64_t>::max(),
                                 std::numeric_limits<std::int64_t>::min()};
    std::vector<Span> rows_;
};

class Framebuffer {
  public:
    Framebuffer() = default;
    Framebuffer(int width, int height, Color fill = 0);
    // A buffer copied or moved in counts as written everywhere: notes on what the pixels before
    // it held say nothing of its own. One moved from is left empty, 0 x 0.
    Framebuffer(const Framebuffer& other);
    Framebuffer(Framebuffer&& other) noexcept;
    Framebuffer& operator=(const Framebuffer& other);
    Framebuffer& operator=(Framebuffer&& other) noexcept;
    ~Framebuffer() = default;

    int width() const { return width_; }
    int height() const { return height_; }
    Rect bounds() const { return Rect{0, 0, width_, height_}; }

    Color get(std::int64_t x, std::int64_t y) const;
    void set(std::int64_t x, std::int64_t y, Color c);
    // Fills [x0, x1) of row y. Inline: the raster fills rows of a few pixels by the thousand.
    // Callers clip (the Canvas does, to its clip region): what reaches here is a non-empty span
    // inside the buffer, and debug and sanitizer builds stop on one that is not. Release builds
    // still keep every write inside the buffer.
    void fill_span(std::int64_t y, std::int64_t x0, std::int64_t x1, Color c) {
        KV_EXPECTS(y >= 0 && y < height_ && 0 <= x0 && x0 < x1 && x1 <= width_);
        if (y < 0 || y >= height_) return;
        x0 = std::max<std::int64_t>(x0, 0);
        x1 = std::min<std::int64_t>(x1, width_);
        if (x0 >= x1) return;
        fill_span_inside(y, x0, x1, c);
    }

    // The same for a span its caller has already checked to lie inside the buffer, as a canvas's
    // area writer does against an area it checked once: no second check in release builds.
    void fill_span_inside(std::int64_t y, std::int64_t x0, std::int64_t x1, Color c) {
        KV_EXPECTS(y >= 0 && y < height_ && 0 <= x0 && x0 < x1 && x1 <= width_);
        fill_pixels(pixels_.data() + (y * width_ + x0), static_cast<std::size_t>(x1 - x0), c);
        since_painted_.note(y, x0, x1);
        since_presented_.note(y, x0, x1);
    }

    // Paints rows [top, bottom) of a primitive painted again and again (a disc wiped every Tick),
    // whose pixels are named by `key`. Where the buffer still holds what `key` painted last, they
    // differ from it only in the columns written since: `paint(needed)` is called once, and
    // needed(y) gives the columns of row y it must paint again (all of them where the buffer
    // holds something else).
    template <typename Paint>
    void repaint(const PaintKey& key, std::int64_t top, std::int64_t bottom, Paint&& paint) {
        const bool holds = painted_ == key;
        paint([&](std::int64_t y) { return holds ? since_painted_.at(y) : Span{0, width_}; });
        painted_ = key;
        since_painted_.clear(top, bottom);
    }

    // A window showing the buffer need only draw again the columns of row y written since it
    // last showed them all (every column before): unpresented(y). presented() says it now shows
    // them all.
    Span unpresented(std::int64_t y) const { return since_presented_.at(y); }
    void presented() { since_presented_.clear(0, height_); }

    // Changes the size, keeping the pixels of the overlap; new pixels take `fill`.
    void resize(int width, int height, Color fill = 0);

    std::span<const Color> pixels() const { return pixels_; }
    const Color* row(int y) const;

  private:
    // Every row written whole, nothing painted or presented since.
    void forget_notes();

    // n > 0 pixels from `first`, by stores of four pixels (one 16-byte vector store each), two
    // to a loop step. The last stores are placed to end on the last pixel, overlapping the ones
    // before them rather than finishing pixel by pixel. Spans of a few pixels are most of what the
    // raster writes: they take no loop.
    static void fill_pixels(Color* first, std::size_t n, Color c) {
        const std::array<Color, 4> four{c, c, c, c};
        if (n <= 8) {
            fill_up_to_eight(first, n, four);
            return;
        }
        std::size_t i = 0;
        for (; i + 8 < n; i += 8) {
            std::memcpy(first + i, four.data(), sizeof four);
            std::memcpy(first + i + 4, four.data(), sizeof four);
        }
        // 1 to 8 pixels left, and at least four pixels of the span before the last one.
        if (i + 4 < n) std::memcpy(first + i, four.data(), sizeof four);
        std::memcpy(first + n - 4, four.data(), sizeof four);
    }

    // 1 to 8 pixels without a branch on how many: lengths change from span to span, and a
    // mispredicted branch costs more than the stores. The first, middle and last pixels cover up
    // to three; two stores of four pixels, at the start and ending on the last pixel, cover four
    // to eight. For fewer than four those two go to a scratch block instead, so they never write
    // outside the span.
    static void fill_up_to_eight(Color* first, std::size_t n, const std::array<Color, 4>& four) {
        first[0] = four[0];
        first[n / 2] = four[0];
        first[n - 1] = four[0];
        std::array<Color, 4> scratch;
        const bool wide = n >= 4;
        Color* const head = wide ? first : scratch.data();
        Color* const tail = wide ? first + n - 4 : scratch.data();
        std::memcpy(head, four.data(), sizeof four);
        std::memcpy(tail, four.data(), sizeof four);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<Color> pixels_;
    // Two sets of notes, each with a reader of its own: what repaint() and the window need.
    RowNotes since_painted_;
    RowNotes since_presented_;
    std::optional<PaintKey> painted_; // what repaint() last painted
};

} // namespace kv
