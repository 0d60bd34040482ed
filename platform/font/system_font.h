// The built-in "system font" (what a fresh device context selects): proportional, bold, 1 bit per
// pixel, 16-pixel cells, ISO 8859-1. Its glyphs were rendered once from Liberation Sans Bold by
// tools/fontgen; nothing is loaded at run time. Codes without a printable character draw the
// default character, a hollow box as wide as 'n'.
#pragma once

#include "core/canvas.h"

#include <cstdint>
#include <optional>
#include <span>

namespace kv::font {

// tmHeight 16: ascent 13 (row 13 is the first row below the baseline), descent 3.
inline constexpr int kCellHeight = 16;
inline constexpr int kAscent = 13;

// Pixels the pen moves after drawing `c`; every glyph's ink lies within it.
int advance(unsigned char c);
// Sum of the advances: the width TextOutA fills. Saturates at INT_MAX.
int text_extent(std::span<const unsigned char> text);
// Whether the glyph's pixel (x, y) of its cell is ink; false outside [0, advance) x [0, 16).
bool glyph_pixel(unsigned char c, int x, int y);

// TextOutA with TA_LEFT | TA_TOP: (x, y) is the first cell's top-left corner. With a background
// (OPAQUE mode) the cells [x, x + extent) x [y, y + 16) are filled with it first; the glyphs' ink
// is then drawn in `foreground`. Only pixels inside the canvas's clip are written.
void draw_text(Canvas& canvas, std::int64_t x, std::int64_t y, std::span<const unsigned char> text,
               Color foreground, std::optional<Color> background);

} // namespace kv::font
