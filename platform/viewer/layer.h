// A drawing laid over the picture itself, in its client pixels (labels, a curve): the screen
// shows it over the presented picture, scaled with it, never in the framebuffer
// the application draws in and the captures save.
#pragma once

#include "core/framebuffer.h"
#include "core/geometry.h"

namespace kv::viewer {

// A layer's pixel that lets the picture show through: no COLORREF has its top byte set.
inline constexpr Color kClear = 0xFF000000u;

struct Layer {
    std::int64_t left = 0; // client position of the image's top-left pixel
    std::int64_t top = 0;
    Framebuffer image; // kClear where the picture shows

    bool empty() const { return image.width() == 0 || image.height() == 0; }
    // The client pixels it may cover.
    Rect place() const { return Rect{left, top, left + image.width(), top + image.height()}; }
    // What client pixel (x, y) shows: the layer's pixel there, or `below`.
    Color over(std::int64_t x, std::int64_t y, Color below) const {
        const Color c = image.get(x - left, y - top);
        return c == kClear || c == kInvalidColor ? below : c;
    }
};

// The client rectangle `area` of `picture` with `layer` over it, written into `out` (of the
// picture's size).
inline void lay_over(const Framebuffer& picture, const Layer& layer, const Rect& area,
                     Framebuffer& out) {
    const Rect part = intersect(area, picture.bounds());
    for (std::int64_t y = part.top; y < part.bottom; ++y)
        for (std::int64_t x = part.left; x < part.right; ++x)
            out.set(x, y, layer.over(x, y, picture.get(x, y)));
}

} // namespace kv::viewer
