#include "backends/sdl/screen/row_diff.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kv::sdl {

namespace {

#if defined(__SSE2__)
// All ones in each lane where a and b are equal.
__m128i equal_lanes(const Color* a, const Color* b) {
    return _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(b)));
}
#endif

} // namespace

// Sixteen pixels a step: four compares of four lanes, packed down to a byte a pixel, then a bit a
// pixel; the rest one by one.
std::uint64_t diff_mask(const Color* a, const Color* b, std::int64_t count) {
    std::uint64_t mask = 0;
    std::int64_t i = 0;
#if defined(__SSE2__)
    constexpr std::int64_t kStep = 16;
    for (; i + kStep <= count; i += kStep) {
        const __m128i low =
            _mm_packs_epi32(equal_lanes(a + i, b + i), equal_lanes(a + i + 4, b + i + 4));
        const __m128i high =
            _mm_packs_epi32(equal_lanes(a + i + 8, b + i + 8), equal_lanes(a + i + 12, b + i + 12));
        const auto same = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
        mask |= std::uint64_t{~same & 0xFFFFu} << i;
    }
#endif
    for (; i < count; ++i)
        mask |= std::uint64_t{a[i] != b[i]} << i;
    return mask;
}

} // namespace kv::sdl
