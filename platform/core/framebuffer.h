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

// For each row of a buffer, the columns written since the row was last cleared (every column at
// first): one min and one max a write. Two readers: repaint() clears the rows it paints and reads
// what was written on them since; a window reads what was written since it last looked, which is
// what the rows hold now and what clear() took from them since, kept for it. A write costs the
// same with the window as without: the keeping happens at clear(), a few hundred rows a Tick,
// not at each of the thousands of spans a Tick writes.
class RowNotes {
  public:
    // `rows` rows of `width` columns, written whole; the window has not looked.
    void reset(std::int64_t rows, std::int64_t width) {
        width_ = width;
        written_.assign(static_cast<std::size_t>(rows), Span{0, width});
        kept_.assign(static_cast<std::size_t>(rows), kClean);
        kept_rows_ = Span{};
        looked_ = false;
    }
    // Columns [lo, hi) of row y, inside the buffer.
    void note(std::int64_t y, std::int64_t lo, std::int64_t hi) {
        Span& s = written_[static_cast<std::size_t>(y)];
        s.lo = std::min(s.lo, lo);
        s.hi = std::max(s.hi, hi);
    }
    // The columns of row y written since it was last cleared.
    Span written(std::int64_t y) const { return inside(y) ? nonempty(row(written_, y)) : Span{}; }
    // Rows `rows` hold no writes any more (clipped to the rows there are).
    void clear(Span rows);

    // At least the columns of row y written since the window last looked: more where the row
    // was written before that and not cleared since.
    Span unseen(std::int64_t y) const {
        if (!inside(y)) return {};
        if (!looked_) return Span{0, width_};
        const Span s =
            kept_rows_.contains(y) ? joined(row(written_, y), row(kept_, y)) : row(written_, y);
        return nonempty(s);
    }
    void looked() {
        looked_ = true;
        kept_rows_ = Span{};
    }

  private:
    // Empty, and taking a write's columns by min and max alone.
    static constexpr Span kClean{std::numeric_limits<std::int64_t>::max(),
                                 std::numeric_limits<std::int64_t>::min()};
    static Span joined(const Span& a, const Span& b) {
        return {std::min(a.lo, b.lo), std::max(a.hi, b.hi)};
    }
    static Span nonempty(const Span& s) { return s.empty() ? Span{} : s; }
    static Span row(const std::vector<Span>& notes, std::int64_t y) {
        return notes[static_cast<std::size_t>(y)];
    }
    bool inside(std::int64_t y) const {
        return y >= 0 && y < static_cast<std::int64_t>(written_.size());
    }

    std::int64_t width_ = 0;
    std::vector<Span> written_;
    // What clear() took from rows kept_rows_ since the window looked; other rows' entries mean
    // nothing.
    std::vector<Span> kept_;
    Span kept_rows_{};
    bool looked_ = false; // since reset(): until then, everything is unseen
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
    // Always inline: the raster's loops write through it, and a call a span costs more than the
    // span (the compiler leaves it out of line once the notes are counted in).
    [[gnu::always_inline]] void fill_span_inside(std::int64_t y, std::int64_t x0, std::int64_t x1,
                                                 Color c) {
        KV_EXPECTS(y >= 0 && y < height_ && 0 <= x0 && x0 < x1 && x1 <= width_);
        fill_pixels(pixels_.data() + (y * width_ + x0), static_cast<std::size_t>(x1 - x0), c);
        notes_.note(y, x0, x1);
    }

    // Paints rows [top, bottom) of a primitive painted again and again (a disc wiped every Tick),
    // whose pixels are named by `key`. Where the buffer still holds what `key` painted last, they
    // differ from it only in the columns written since: `paint(needed)` is called once, and
    // needed(y) gives the columns of row y it must paint again (all of them where the buffer
    // holds something else).
    template <typename Paint>
    void repaint(const PaintKey& key, std::int64_t top, std::int64_t bottom, Paint&& paint) {
        const bool holds = painted_ == key;
        paint([&](std::int64_t y) { return holds ? notes_.written(y) : Span{0, width_}; });
        painted_ = key;
        notes_.clear(Span{top, bottom});
    }

    // A window showing the buffer need only draw again the columns of row y written since it
    // last showed them all (every column before): unpresented(y) holds at least those.
    // presented() says it now shows them all.
    Span unpresented(std::int64_t y) const { return notes_.unseen(y); }
    void presented() { notes_.looked(); }

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
    // WebAssembly (the web page) has no 16-byte store without SIMD, which not every browser a
    // school has runs: each store below would become four 4-byte ones. There 8-byte stores of two
    // pixels each, four to a loop step, cost a Tick a quarter fewer instructions.
    static void fill_pixels(Color* first, std::size_t n, Color c) {
#if defined(__wasm__)
        const std::uint64_t two = c | std::uint64_t{c} << 32;
        std::size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            std::memcpy(first + i, &two, sizeof two);
            std::memcpy(first + i + 2, &two, sizeof two);
            std::memcpy(first + i + 4, &two, sizeof two);
            std::memcpy(first + i + 6, &two, sizeof two);
        }
        for (; i + 2 <= n; i += 2)
            std::memcpy(first + i, &two, sizeof two);
        if (i < n) first[i] = c;
#else
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
#endif
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
    RowNotes notes_;                  // for repaint() and for the window
    std::optional<PaintKey> painted_; // what repaint() last painted
};

} // namespace kv
