#include "backends/sdl/screen/pixel_target.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kv::sdl {

namespace {

std::uint32_t convert(Color c, const ChannelShifts& s) {
    return (std::uint32_t{red_of(c)} << s.red) | (std::uint32_t{green_of(c)} << s.green) |
           (std::uint32_t{blue_of(c)} << s.blue);
}

std::uint32_t* target_row(PixelTarget& target, std::int64_t y) {
    return reinterpret_cast<std::uint32_t*>(target.pixels + y * target.pitch);
}

Rect target_bounds(const PixelTarget& target) {
    return Rect{0, 0, target.width, target.height};
}

// Fills `count` window pixels from source pixels, each repeated `zoom` times; `src` is the
// source pixel under out[0], which is the `phase`-th of its repeats.
void zoom_row(const Color* src, std::int64_t phase, std::int64_t zoom, std::int64_t count,
              const ChannelShifts& shifts, std::uint32_t* out) {
    if (zoom == 1 && is_xrgb(shifts)) {
        xrgb_row(src, count, out);
        return;
    }
    if (zoom == 1) {
        const int r = shifts.red, g = shifts.green, b = shifts.blue;
        for (std::int64_t i = 0; i < count; ++i) {
            const Color c = src[i];
            out[i] = ((c & 0xFFu) << r) | (((c >> 8) & 0xFFu) << g) | (((c >> 16) & 0xFFu) << b);
        }
        return;
    }
    std::uint32_t pixel = convert(*src, shifts);
    for (std::int64_t i = 0; i < count; ++i) {
        out[i] = pixel;
        if (++phase == zoom && i + 1 < count) {
            phase = 0;
            pixel = convert(*++src, shifts);
        }
    }
}

} // namespace

// Eight pixels go through a local block at a time, which the compiler turns into vector
// instructions: the source and the window cannot overlap there.
void xrgb_row(const Color* src, std::int64_t count, std::uint32_t* out) {
    constexpr std::int64_t kBlock = 8;
    std::int64_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        std::array<std::uint32_t, kBlock> block;
        std::memcpy(block.data(), src + i, sizeof block);
        for (std::uint32_t& pixel : block)
            pixel = xrgb_of(pixel);
        std::memcpy(out + i, block.data(), sizeof block);
    }
    for (; i < count; ++i)
        out[i] = xrgb_of(src[i]);
}

void blit_zoomed(const Framebuffer& source, const Rect& source_rect, Point at,
                 const viewer::ZoomLayout& layout, PixelTarget& target) {
    const Rect src = intersect(source_rect, source.bounds());
    if (src.empty() || target.pixels == nullptr) return;
    // The source part in client coordinates, kept inside the client area.
    const Rect placed{at.x + src.left - source_rect.left, at.y + src.top - source_rect.top,
                      at.x + src.right - source_rect.left, at.y + src.bottom - source_rect.top};
    const Rect client = intersect(placed, Rect{0, 0, layout.client.width, layout.client.height});
    const Rect out = intersect(viewer::window_rect(layout, client), target_bounds(target));
    if (out.empty()) return;

    // Client (cx, cy) shows source (cx - dx, cy - dy).
    const std::int64_t dx = placed.left - src.left;
    const std::int64_t dy = placed.top - src.top;
    const std::int64_t zoom = layout.zoom;
    std::int64_t previous_row = -1;
    for (std::int64_t y = out.top; y < out.bottom; ++y) {
        const std::int64_t client_y = (y - layout.offset_y) / zoom;
        std::uint32_t* row = target_row(target, y);
        if (client_y == previous_row) {
            // The same client row again: copy the window row above.
            std::memcpy(row + out.left, target_row(target, y - 1) + out.left,
                        static_cast<std::size_t>(out.width()) * sizeof(std::uint32_t));
            continue;
        }
        previous_row = client_y;
        const Color* src_row = source.row(static_cast<int>(client_y - dy));
        if (src_row == nullptr) continue;
        const std::int64_t zoomed_x = out.left - layout.offset_x;
        zoom_row(src_row + (zoomed_x / zoom - dx), zoomed_x % zoom, zoom, out.width(),
                 target.shifts, row + out.left);
    }
}

void fill_target(PixelTarget& target, const Rect& rect, Color color) {
    const Rect r = intersect(rect, target_bounds(target));
    if (r.empty() || target.pixels == nullptr) return;
    const std::uint32_t pixel = convert(color, target.shifts);
    for (std::int64_t y = r.top; y < r.bottom; ++y) {
        std::uint32_t* row = target_row(target, y);
        std::fill(row + r.left, row + r.right, pixel);
    }
}

Color target_pixel(const PixelTarget& target, int x, int y) {
    if (target.pixels == nullptr || !target_bounds(target).contains(x, y)) return kInvalidColor;
    std::uint32_t value = 0;
    std::memcpy(&value, target.pixels + y * target.pitch + std::int64_t{x} * 4, sizeof value);
    const ChannelShifts& s = target.shifts;
    return rgb(static_cast<std::uint8_t>(value >> s.red),
               static_cast<std::uint8_t>(value >> s.green),
               static_cast<std::uint8_t>(value >> s.blue));
}

} // namespace kv::sdl
