#include "backends/sdl/badge.h"

#include "core/canvas.h"
#include "font/system_font.h"

#include <span>

namespace kv::sdl {

namespace {

constexpr int kPadding = 4; // around the text, inside the box
constexpr int kInset = 4;   // between the box and the client area's edges

std::span<const unsigned char> bytes(std::string_view text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

} // namespace

Framebuffer render_badge(std::string_view text) {
    const int width = font::text_extent(bytes(text)) + 2 * kPadding;
    const int height = font::kCellHeight + 2 * kPadding;
    Framebuffer badge(width, height, kBadgeBox);
    Canvas canvas(badge, Region(badge.bounds()));
    font::draw_text(canvas, kPadding, kPadding, bytes(text), kBadgeText, std::nullopt);
    return badge;
}

Rect badge_place(int client_width, int badge_width, int badge_height) {
    const std::int64_t right = std::int64_t{client_width} - kInset;
    return Rect{right - badge_width, kInset, right, kInset + std::int64_t{badge_height}};
}

} // namespace kv::sdl
