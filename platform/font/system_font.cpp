#include "font/system_font.h"

#include <array>
#include <climits>

namespace kv::font {

namespace {

struct Glyph {
    std::uint8_t advance;
    // Top row first; bit 15 is the cell's left column.
    std::array<std::uint16_t, kCellHeight> rows;
};

constexpr std::array<Glyph, 256> kGlyphs = {{
#include "font/system_font_data.inc"
}};

static_assert(kGlyphs.front().advance > 0 && kGlyphs.back().advance > 0,
              "the generated table must have all 256 entries");

} // namespace

int advance(unsigned char c) {
    return kGlyphs[c].advance;
}

int text_extent(std::span<const unsigned char> text) {
    std::int64_t width = 0;
    for (const unsigned char c : text) {
        width += kGlyphs[c].advance;
        if (width >= INT_MAX) return INT_MAX;
    }
    return static_cast<int>(width);
}

bool glyph_pixel(unsigned char c, int x, int y) {
    const Glyph& glyph = kGlyphs[c];
    if (x < 0 || x >= glyph.advance || y < 0 || y >= kCellHeight) return false;
    return ((glyph.rows[y] >> (15 - x)) & 1u) != 0;
}

} // namespace kv::font
