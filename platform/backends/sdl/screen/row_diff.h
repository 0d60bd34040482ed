// Which pixels of two rows differ, as the bits of a mask: where finding a frame's changes spends
// its time, so it looks at many pixels per instruction where the machine allows.
#pragma once

#include "core/color.h"

#include <cstdint>

namespace kv::sdl {

// The most pixels one mask holds.
inline constexpr std::int64_t kDiffMaskPixels = 64;

// Bit i is set when a[i] != b[i], for i < count (at most kDiffMaskPixels); the bits from count on
// are clear.
std::uint64_t diff_mask(const Color* a, const Color* b, std::int64_t count);

} // namespace kv::sdl
