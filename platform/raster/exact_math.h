// Exact integer arithmetic for the raster rules: 128-bit products, rounding divisions, integer
// square roots and ranges of integers, and their union. Every pixel decision is made in integers,
// so it is exact and the same on every machine (a square root may start from the hardware's, then
// is corrected in integers).
#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <span>
#include <type_traits>

#include "core/geometry.h"

namespace kv::raster::detail {

__extension__ typedef __int128 i128;
__extension__ typedef unsigned __int128 u128;

// Coordinates are clamped to this range on entry: it holds every 32-bit GDI coordinate, and it
// keeps every product below fits in 128 bits.
inline constexpr std::int64_t kCoordLimit = std::int64_t{1} << 31;
// Wider pens are drawn at this width: far wider than any framebuffer.
inline constexpr int kWidestDrawnPen = 1 << 16;

constexpr std::int64_t clamp_coord(std::int64_t v) {
    return std::clamp(v, -kCoordLimit, kCoordLimit);
}

constexpr i128 abs128(i128 v) {
    return v < 0 ? -v : v;
}

using kv::ceil_div;
using kv::floor_div;

// floor(sqrt(n)) by Newton's method from a power of two above the root; T is the narrowest
// unsigned type holding n, since 128-bit division is slow.
template <typename T> constexpr T newton_isqrt(T n, int bits) {
    T x = T{1} << ((bits + 1) / 2);
    for (;;) {
        const T next = (x + n / x) / 2;
        if (next >= x) return x;
        x = next;
    }
}

// floor(sqrt(n)) for n below 2^52 from the hardware square root, then made exact in integers:
// the double's root is within one of the answer, and the two corrections step to the one r with
// r^2 <= n < (r + 1)^2, whatever the rounding (r stays below 2^27, so r^2 cannot overflow).
inline std::uint64_t isqrt_by_double(std::uint64_t n) {
    auto r = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(n)));
    while (r * r > n)
        --r;
    while ((r + 1) * (r + 1) <= n)
        ++r;
    return r;
}

constexpr std::uint64_t isqrt(std::uint64_t n) {
    if (n < 2) return n;
    if (!std::is_constant_evaluated() && n < (std::uint64_t{1} << 52)) return isqrt_by_double(n);
    return newton_isqrt(n, 64 - std::countl_zero(n));
}

constexpr u128 isqrt(u128 n) {
    if (n < 2) return n;
    const auto high = static_cast<std::uint64_t>(n >> 64);
    const auto low = static_cast<std::uint64_t>(n);
    if (high == 0) return newton_isqrt(low, 64 - std::countl_zero(low));
    return newton_isqrt(n, 128 - std::countl_zero(high));
}

constexpr i128 isqrt(i128 n) {
    return n <= 0 ? 0 : static_cast<i128>(isqrt(static_cast<u128>(n)));
}

// Integers [lo, hi) in 128 bits, for the products that find a shape's rows and columns.
using Range = BasicSpan<i128>;

// As good as every integer: wider than any coordinate or product the raster meets.
constexpr Range all_integers() {
    return {-(i128{1} << 100), i128{1} << 100};
}

// Pixel columns of one row, back in 64 bits: the raster's pieces lie within a pen's width of
// coordinates clamped far inside 64 bits, so only the products that find them need 128.
constexpr Span to_span(const Range& r) {
    if (r.empty()) return {};
    return {static_cast<std::int64_t>(r.lo), static_cast<std::int64_t>(r.hi)};
}

// emit(run) for each run of the union of `pieces`, which are sorted by their left ends: pieces
// that overlap or touch are joined, so that no pixel is written twice; empty ones add nothing.
template <typename Emit> void join_sorted(std::span<const Span> pieces, Emit&& emit) {
    Span joined{};
    for (const Span& piece : pieces) {
        if (piece.empty()) continue;
        if (!joined.empty() && piece.lo <= joined.hi) {
            joined.hi = std::max(joined.hi, piece.hi);
            continue;
        }
        if (!joined.empty()) emit(joined);
        joined = piece;
    }
    if (!joined.empty()) emit(joined);
}

} // namespace kv::raster::detail
