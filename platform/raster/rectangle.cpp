// Rectangle: Win32's box rule, the brush inside and the pen centred on the one-pixel outline.
#include "raster/coordinates.h"
#include "raster/raster.h"

#include <array>

namespace kv::raster {

namespace {

// Win32 fills [l, r-1) x [t, b-1): the brush reaches under the left and top outline but stops
// short of the right and bottom ones.
void fill_interior(Canvas& canvas, const Rect& box, Color brush) {
    const Rect inside =
        intersect(Rect{box.left, box.top, box.right - 1, box.bottom - 1}, canvas.clip_bounds());
    for (std::int64_t y = inside.top; y < inside.bottom; ++y) {
        canvas.span(y, inside.left, inside.right, brush);
    }
}

// A 1-pixel pen lights x = l, x = r-1, y = t and y = b-1, all inside the box. The outline of a
// one-pixel box is a path whose points all coincide: like a zero-length line, it draws nothing.
void thin_outline(Canvas& canvas, const Rect& box, Color color) {
    if (box.width() == 1 && box.height() == 1) return;
    const Rect rows = intersect(box, canvas.clip_bounds());
    for (std::int64_t y = rows.top; y < rows.bottom; ++y) {
        if (y == box.top || y == box.bottom - 1) {
            canvas.span(y, box.left, box.right, color);
        } else {
            canvas.plot(box.left, y, color);
            canvas.plot(box.right - 1, y, color);
        }
    }
}

// A wide pen follows the closed path through the outline's corners, as a wide line with round
// joins: it is centred on the 1-pixel outline.
void wide_outline(Canvas& canvas, const Rect& box, const Pen& pen) {
    const std::int64_t r = box.right - 1;
    const std::int64_t b = box.bottom - 1;
    const std::array<Point, 5> path{
        {{box.left, box.top}, {r, box.top}, {r, b}, {box.left, b}, {box.left, box.top}}};
    polyline(canvas, path, pen);
}

} // namespace

void rectangle(Canvas& canvas, Rect box, const Pen& pen, std::optional<Color> brush) {
    box = detail::normalised_box(box);
    if (box.empty()) return;
    if (detail::out_of_reach(box, detail::pen_reach(pen.width), canvas.clip_bounds())) return;

    if (brush) fill_interior(canvas, box, *brush);
    if (pen.width <= 1) {
        thin_outline(canvas, box, pen.color);
    } else {
        wide_outline(canvas, box, pen);
    }
}

} // namespace kv::raster
