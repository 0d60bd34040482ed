// Writing framebuffer pixels into a window's 32-bit pixels: the format conversion and the
// nearest-neighbour zoom, a row at a time.
#pragma once

#include "viewer/zoom_layout.h"
#include "core/framebuffer.h"

#include <cstdint>

namespace kv::sdl {

// Where each 8-bit channel sits in a 32-bit pixel (XRGB8888: 16, 8, 0).
struct ChannelShifts {
    int red = 16;
    int green = 8;
    int blue = 0;
};

inline bool is_xrgb(const ChannelShifts& s) {
    return s.red == 16 && s.green == 8 && s.blue == 0;
}

// COLORREF to XRGB8888, the usual window format: red and blue trade places.
inline std::uint32_t xrgb_of(Color c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// A row of `count` pixels into XRGB8888.
void xrgb_row(const Color* src, std::int64_t count, std::uint32_t* out);

// 32-bit pixels somebody else owns: a window surface, or a buffer converted afterwards.
struct PixelTarget {
    std::uint8_t* pixels = nullptr;
    std::int64_t pitch = 0; // bytes from one row to the next
    int width = 0;
    int height = 0;
    ChannelShifts shifts;
    // The pixels stay as drawn until drawn again (an image of our own, not a surface the system
    // may replace or scribble on): a frame need only draw what was written since the last one.
    bool keeps_pixels = false;
};

// Draws the part `source_rect` of `source` zoomed as `layout` says, its top-left corner landing
// on client (at.x, at.y). Everything is clipped: to the source, to the client area, to the target.
void blit_zoomed(const Framebuffer& source, const Rect& source_rect, Point at,
                 const viewer::ZoomLayout& layout, PixelTarget& target);

// Fills a rectangle of target pixels with one colour (the black around a full-screen picture).
void fill_target(PixelTarget& target, const Rect& rect, Color color);

// The pixel value at (x, y) of the target, as a Color; kInvalidColor outside it.
Color target_pixel(const PixelTarget& target, int x, int y);

} // namespace kv::sdl
