// The small label the viewer sees while the clock is paused or slowed ("PAUSE", "x1/2"): light
// text in a dark box. It is laid over the presented picture only, never into the framebuffer the
// application draws in and reads back.
#pragma once

#include "core/framebuffer.h"
#include "core/geometry.h"

#include <string_view>

namespace kv::sdl {

inline constexpr Color kBadgeBox = 0x00303030;  // RGB(48, 48, 48)
inline constexpr Color kBadgeText = 0x00F0F0F0; // RGB(240, 240, 240)

// The label drawn with the built-in system font in a box with a margin of a few pixels.
Framebuffer render_badge(std::string_view text);

// Where a badge of `badge` size goes in a client area of `client` size: its top-right corner,
// a few pixels in.
Rect badge_place(int client_width, int badge_width, int badge_height);

} // namespace kv::sdl
