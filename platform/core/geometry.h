// Integer rectangles with Win32's convention: right and bottom are exclusive.
#pragma once

#include <algorithm>
#include <cstdint>

namespace kv {

struct Rect {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;

    constexpr bool empty() const { return right <= left || bottom <= top; }
    constexpr std::int64_t width() const { return empty() ? 0 : right - left; }
    constexpr std::int64_t height() const { return empty() ? 0 : bottom - top; }
    constexpr bool contains(std::int64_t x, std::int64_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    constexpr bool operator==(const Rect&) const = default;
};

constexpr Rect intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return r.empty() ? Rect{} : r;
}

// Smallest rectangle holding both; an empty rectangle adds nothing.
constexpr Rect bounding_union(const Rect& a, const Rect& b) {
    if (a.empty()) return b.empty() ? Rect{} : b;
    if (b.empty()) return a;
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

} // namespace kv
