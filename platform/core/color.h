// Pixel values: 0x00BBGGRR, the layout of COLORREF.
#pragma once

#include <cstdint>

namespace kv {

using Color = std::uint32_t;

inline constexpr Color kInvalidColor = 0xFFFFFFFFu;

constexpr Color rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Color{r} | (Color{g} << 8) | (Color{b} << 16);
}
constexpr std::uint8_t red_of(Color c) {
    return static_cast<std::uint8_t>(c);
}
constexpr std::uint8_t green_of(Color c) {
    return static_cast<std::uint8_t>(c >> 8);
}
constexpr std::uint8_t blue_of(Color c) {
    return static_cast<std::uint8_t>(c >> 16);
}

} // namespace kv
