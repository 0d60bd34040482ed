// A 32-bit pixel buffer (one Color per pixel, rows top to bottom). Every access is bounds-checked:
// reads outside give kInvalidColor, writes outside do nothing.
#pragma once

#include "core/color.h"
#include "core/contract.h"
#include "core/geometry.h"
#include "core/pixel_buffer.h"

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

class Framebuffer {
  public:
    Framebuffer() = default;
    // Its pixels come from `memory`, which must outlive it and every buffer moved from it.
    Framebuffer(int width, int height, Color fill = 0,
                PixelMemory* memory = default_pixel_memory());
    // A buffer copied or moved in counts as written everywhere: notes on what the pixels before
    // it held say nothing of its own. One moved from is left empty, 0 x 0. A copy's pixels come
    // from the default memory, or from the memory of the buffer it is assigned to.
    Framebuffer(const Framebuffer& other);
    Framebuffer(Framebuffer&& other) noexcept;
    Framebuffer& operator=(const Framebuffer& other);
    Framebuffer& operator=(Framebuffer&& other) noexcept;
    ~Framebuffer() = default;

    // Columns [lo, hi) of a row; empty when lo >= hi.
    struct Written {
        std::int64_t lo = 0, hi = 0;
    };

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
        fill_pixels(pixels_.data() + (y * width_ + x0), static_cast<std::size_t>(x1 - x0), c);
        mark(y, x0, x1);
    }

    // The same for a span its caller has already checked to lie inside the buffer, as a canvas's
    // area writer does against an area it checked once: no second check in release builds.
    void fill_span_inside(std::int64_t y, std::int64_t x0, std::int64_t x1, Color c) {
        KV_EXPECTS(y >= 0 && y < height_ && 0 <= x0 && x0 < x1 && x1 <= width_);
        fill_pixels(pixels_.data() + (y * width_ + x0), static_cast<std::size_t>(x1 - x0), c);
        mark(y, x0, x1);
    }

    // A primitive painted again and again (a disc wiped every frame) need only repaint where
    // something wrote since it was last painted whole. The buffer notes, row by row, the columns
    // every write reaches; painted() says that rows [top, bottom) now hold `key`'s pixels and
    // forgets their notes. While holds(key), key's pixels differ from what it would paint only
    // within written(y) on each of its rows.
    void painted(const PaintKey& key, std::int64_t top, std::int64_t bottom);
    bool holds(const PaintKey& key) const { return painted_ && *painted_ == key; }
    // Columns [lo, hi) of row y written since it was last painted whole (all of it before).
    Written written(std::int64_t y) const {
        if (y < 0 || y >= height_) return {};
        const Mark& m = marks_[static_cast<std::size_t>(y)];
        return m.lo < m.hi ? Written{m.lo, m.hi} : Written{};
    }

    // A window showing the buffer need only look again where something wrote since it last
    // showed it: presented() says it now shows every pixel, and unpresented(y) holds (at least)
    // the columns of row y written since. The notes above serve this too, at no cost a write:
    // painted() keeps the columns it forgets. Rows it does not hold keep every column written
    // since they were last painted (all of them before), more than was written since presented():
    // the rectangles a window is told were drawn keep those narrow.
    void presented() {
        presented_ = true;
        unpresented_top_ = unpresented_bottom_ = 0;
    }
    Written unpresented(std::int64_t y) const {
        if (y < 0 || y >= height_) return {};
        if (!presented_) return Written{0, width_};
        Mark m = marks_[static_cast<std::size_t>(y)];
        if (unpresented_top_ <= y && y < unpresented_bottom_)
            m = joined(m, unpresented_[static_cast<std::size_t>(y)]);
        return m.lo < m.hi ? Written{m.lo, m.hi} : Written{};
    }

    // Changes the size, keeping the pixels of the overlap; new pixels take `fill`.
    void resize(int width, int height, Color fill = 0);

    std::span<const Color> pixels() const { return pixels_.pixels(); }
    const Color* row(int y) const;

  private:
    // Columns a row's writes reached, [lo, hi); empty when lo >= hi, as a cleared row is (it then
    // takes a write's columns by min and max alone).
    struct Mark {
        std::int64_t lo, hi;
    };
    static constexpr Mark kClean{std::numeric_limits<std::int64_t>::max(),
                                 std::numeric_limits<std::int64_t>::min()};
    // Every row written whole, nothing painted or presented since.
    void forget_notes();
    // Keeps the notes of rows [top, bottom) (inside the buffer) in unpresented_ before painted()
    // clears them.
    void keep_unpresented(std::int64_t top, std::int64_t bottom);
    static Mark joined(const Mark& a, const Mark& b) {
        return Mark{std::min(a.lo, b.lo), std::max(a.hi, b.hi)};
    }
    void mark(std::int64_t y, std::int64_t x0, std::int64_t x1) {
        Mark& m = marks_[static_cast<std::size_t>(y)];
        m.lo = std::min(m.lo, x0);
        m.hi = std::max(m.hi, x1);
    }

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
    PixelBuffer pixels_;
    std::vector<Mark> marks_; // one a row; whole rows at first
    // One a row: what painted() cleared since presented(), in rows [unpresented_top_,
    // unpresented_bottom_) only; the other rows' entries mean nothing.
    std::vector<Mark> unpresented_;
    std::int64_t unpresented_top_ = 0, unpresented_bottom_ = 0;
    bool presented_ = false; // since the notes were last forgotten: until then, all is unpresented
    std::optional<PaintKey> painted_; // what painted() was last told
};

} // namespace kv
