#include "font/system_font.h"

#include <algorithm>

namespace kv::font {

namespace {

// Rows [first_row, last_row) of one glyph cell whose left edge is at `left`, as horizontal runs
// of ink.
void draw_glyph(Canvas& canvas, unsigned char c, std::int64_t left, std::int64_t top, int first_row,
                int last_row, Color foreground) {
    const int width = advance(c);
    for (int row = first_row; row < last_row; ++row) {
        int col = 0;
        while (col < width) {
            if (!glyph_pixel(c, col, row)) {
                ++col;
                continue;
            }
            int end = col + 1;
            while (end < width && glyph_pixel(c, end, row))
                ++end;
            canvas.span(top + row, left + col, left + end, foreground);
            col = end;
        }
    }
}

} // namespace

void draw_text(Canvas& canvas, std::int64_t x, std::int64_t y, std::span<const unsigned char> text,
               Color foreground, std::optional<Color> background) {
    const Rect& clip = canvas.clip_bounds();
    // The clip lies inside the framebuffer, so these comparisons cannot overflow even for
    // coordinates near the ends of the int64 range.
    if (text.empty() || clip.empty()) return;
    if (x >= clip.right || y >= clip.bottom || y <= clip.top - kCellHeight) return;
    const int first_row = static_cast<int>(std::max<std::int64_t>(clip.top - y, 0));
    const int last_row = static_cast<int>(std::min<std::int64_t>(clip.bottom - y, kCellHeight));

    if (background) {
        std::int64_t extent = 0;
        for (const unsigned char c : text)
            extent += advance(c);
        for (int row = first_row; row < last_row; ++row)
            canvas.span(y + row, x, x + extent, *background);
    }

    std::int64_t pen = x;
    for (const unsigned char c : text) {
        if (pen >= clip.right) break;
        const int width = advance(c);
        if (pen + width > clip.left) draw_glyph(canvas, c, pen, y, first_row, last_row, foreground);
        pen += width;
    }
}

} // namespace kv::font
