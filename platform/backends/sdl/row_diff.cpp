#include "backends/sdl/row_diff.h"

#include "backends/sdl/pixel_target.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kv::sdl {

namespace {

#if defined(__SSE2__)
__m128i equal_lanes(const Color* a, const Color* b) {
    return _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(b)));
}

// COLORREF to XRGB8888 (red and blue trade places), four at a time.
__m128i xrgb_lanes(const Color* a) {
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    const __m128i byte = _mm_set1_epi32(0xFF);
    return _mm_or_si128(_mm_or_si128(_mm_slli_epi32(_mm_and_si128(c, byte), 16),
                                     _mm_and_si128(c, _mm_set1_epi32(0xFF00))),
                        _mm_and_si128(_mm_srli_epi32(c, 16), byte));
}

__m128i equal_xrgb_lanes(const Color* a, const std::uint32_t* b) {
    return _mm_cmpeq_epi32(xrgb_lanes(a), _mm_loadu_si128(reinterpret_cast<const __m128i*>(b)));
}
#endif

// A bit for each of `count` (at most 64) pixels where a and b differ: sixteen pixels a step, four
// compares of four lanes (equal(a, b), all ones where equal) packed down to a byte a pixel, then
// a bit a pixel; the rest one by one (differ(x, y)).
template <typename Shown, typename EqualLanes, typename Differ>
std::uint64_t mask_of(const Color* a, const Shown* b, std::int64_t count,
                      [[maybe_unused]] EqualLanes equal, Differ differ) {
    std::uint64_t mask = 0;
    std::int64_t i = 0;
#if defined(__SSE2__)
    constexpr std::int64_t kStep = 16;
    for (; i + kStep <= count; i += kStep) {
        const __m128i low = _mm_packs_epi32(equal(a + i, b + i), equal(a + i + 4, b + i + 4));
        const __m128i high =
            _mm_packs_epi32(equal(a + i + 8, b + i + 8), equal(a + i + 12, b + i + 12));
        const auto same = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
        mask |= std::uint64_t{~same & 0xFFFFu} << i;
    }
#endif
    for (; i < count; ++i)
        mask |= std::uint64_t{differ(a[i], b[i])} << i;
    return mask;
}

} // namespace

std::uint64_t diff_mask_xrgb(const Color* a, const std::uint32_t* b, std::int64_t count) {
#if defined(__SSE2__)
    const auto equal = equal_xrgb_lanes;
#else
    const auto equal = nullptr;
#endif
    return mask_of(a, b, count, equal, [](Color x, std::uint32_t y) { return xrgb_of(x) != y; });
}

std::uint64_t diff_mask(const Color* a, const Color* b, std::int64_t count) {
#if defined(__SSE2__)
    const auto equal = equal_lanes;
#else
    const auto equal = nullptr;
#endif
    return mask_of(a, b, count, equal, [](Color x, Color y) { return x != y; });
}

} // namespace kv::sdl
