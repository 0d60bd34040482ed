// A 32-bit pixel buffer (one Color per pixel, rows top to bottom). Every access is bounds-checked:
// reads outside give kInvalidColor, writes outside do nothing.
#pragma once

#include "core/color.h"
#include "core/geometry.h"

#include <cstdint>
#include <vector>

namespace kv {

class Framebuffer {
  public:
    Framebuffer() = default;
    Framebuffer(int width, int height, Color fill = 0);

    int width() const { return width_; }
    int height() const { return height_; }
    Rect bounds() const { return Rect{0, 0, width_, height_}; }

    Color get(std::int64_t x, std::int64_t y) const;
    void set(std::int64_t x, std::int64_t y, Color c);
    // Fills [x0, x1) of row y; the span is clipped to the buffer.
    void fill_span(std::int64_t y, std::int64_t x0, std::int64_t x1, Color c);

    // Changes the size, keeping the pixels of the overlap; new pixels take `fill`.
    void resize(int width, int height, Color fill = 0);

    const std::vector<Color>& pixels() const { return pixels_; }
    const Color* row(int y) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Color> pixels_;
};

} // namespace kv
