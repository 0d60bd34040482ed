// Integer intervals and rectangles, half-open as Win32's: a span's hi, a rectangle's right and
// bottom are exclusive.
#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>

namespace kv {

// The integers [lo, hi): columns of a row, rows of a band. Empty when hi <= lo. T is a 64-bit
// integer, the raster's 128-bit one where products need it, or a 16-bit one where many are kept.
// No initial values, so that a batch of spans filled row by row costs no clearing first: `{}` is
// the empty span.
template <typename T> struct BasicSpan {
    T lo;
    T hi;

    constexpr bool empty() const { return hi <= lo; }
    constexpr T size() const { return empty() ? T{0} : hi - lo; }
    constexpr bool contains(T v) const { return lo <= v && v < hi; }
    constexpr bool operator==(const BasicSpan&) const = default;
};
using Span = BasicSpan<std::int64_t>;

// What both hold.
template <typename T> constexpr BasicSpan<T> meet(const BasicSpan<T>& a, const BasicSpan<T>& b) {
    return {std::max(a.lo, b.lo), std::min(a.hi, b.hi)};
}

// Smallest span holding both; an empty span adds nothing.
template <typename T> constexpr BasicSpan<T> hull(const BasicSpan<T>& a, const BasicSpan<T>& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {std::min(a.lo, b.lo), std::max(a.hi, b.hi)};
}

// Division rounding towards minus infinity, and towards plus infinity; d > 0. In the type of n:
// 64 bits, or the raster's 128 where its products need them (a far slower division).
template <typename T> constexpr T floor_div(T n, std::type_identity_t<T> d) {
    const T q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}
template <typename T> constexpr T ceil_div(T n, std::type_identity_t<T> d) {
    return -floor_div(-n, d);
}

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
