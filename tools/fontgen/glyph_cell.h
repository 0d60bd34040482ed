// One character of the bitmap font: a 16-row cell as wide as the character's advance.
#pragma once

#include <array>
#include <cstdint>

namespace fontgen {

inline constexpr int kCellHeight = 16;
// Row index of the first row below the baseline.
inline constexpr int kAscent = 13;
// A row is 16 bits wide, so no advance may exceed this.
inline constexpr int kMaxAdvance = 16;

struct GlyphCell {
    int advance = 0;
    // Top row first; bit 15 is the cell's left column.
    std::array<std::uint16_t, kCellHeight> rows{};

    bool ink(int x, int y) const { return (rows[y] >> (15 - x)) & 1u; }
    void set(int x, int y) { rows[y] = static_cast<std::uint16_t>(rows[y] | (0x8000u >> x)); }
};

} // namespace fontgen
