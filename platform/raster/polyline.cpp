// Polylines: one segment at a time, so a middle vertex is drawn as the next segment's first pixel
// while the final point stays undrawn with a 1-pixel pen.
#include "raster/raster.h"

namespace kv::raster {

void polyline(Canvas& canvas, std::span<const Point> points, const Pen& pen, SegmentCache* cache) {
    if (points.size() < 2 || canvas.clip_bounds().empty()) return;
    // Round joins come for free: each wide segment ends in the pen's round tip (wide_line draws
    // a one-pixel pen's segments as thin_line).
    for (std::size_t i = 1; i < points.size(); ++i)
        wide_line(canvas, points[i - 1], points[i], pen.width, pen.color, cache);
}

} // namespace kv::raster
