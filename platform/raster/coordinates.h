// How coordinates enter the raster: points clamped to the range 32-bit GDI gives, boxes read the
// way Win32 reads them.
#pragma once

#include "core/canvas.h"
#include "core/geometry.h"
#include "raster/exact_math.h"

#include <utility>

namespace kv::raster::detail {

inline Point clamp_point(Point p) {
    return {clamp_coord(p.x), clamp_coord(p.y)};
}

// Win32 accepts the corners in any order: the box is normalised so that left <= right and
// top <= bottom, with right and bottom exclusive as usual.
inline Rect normalised_box(Rect box) {
    if (box.left > box.right) std::swap(box.left, box.right);
    if (box.top > box.bottom) std::swap(box.top, box.bottom);
    return {clamp_coord(box.left), clamp_coord(box.top), clamp_coord(box.right),
            clamp_coord(box.bottom)};
}

// How far a pen draws outside the one-pixel outline it is centred on.
inline std::int64_t pen_reach(int width) {
    return width <= 1 ? 0 : std::min(width, kWidestDrawnPen);
}

// Nothing drawn within `reach` of the box can show inside `clip`: the shape may be skipped.
inline bool out_of_reach(const Rect& box, std::int64_t reach, const Rect& clip) {
    const Rect reached{box.left - reach, box.top - reach, box.right + reach, box.bottom + reach};
    return intersect(reached, clip).empty();
}

} // namespace kv::raster::detail
