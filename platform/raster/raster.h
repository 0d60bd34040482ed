// Win32's pixel rules for lines, rectangles and ellipses, drawn on a Canvas. Every function clips
// at its top and writes through the canvas only; coordinates may lie anywhere in the int64 range
// that 32-bit Win32 coordinates give.
#pragma once

#include "core/canvas.h"
#include "raster/segment_cache.h"

#include <optional>
#include <span>
#include <vector>

namespace kv::raster {

struct Pen {
    int width = 1; // 0 and 1 both give the 1-pixel cosmetic pen
    Color color = 0;
};

// One segment with a 1-pixel pen: first pixel drawn, last pixel not, diamond-exit rule with
// Win32's bias. Equal end points draw nothing.
void thin_line(Canvas& canvas, Point from, Point to, Color color);

// One segment with a wide (width > 1) solid pen, as GDI draws it: the pen's round tip at both
// ends (even widths leaning up and left) and between them a band whose corners are rounded to
// whole pixels, the extra half pixel of the rounding on the side of larger x. Equal end points
// leave the round dot. With a cache, segments drawn whole are kept and drawn again from it.
void wide_line(Canvas& canvas, Point from, Point to, int width, Color color,
               SegmentCache* cache = nullptr);

// Polyline: each segment with the pen's rule; wide segments join round.
void polyline(Canvas& canvas, std::span<const Point> points, const Pen& pen,
              SegmentCache* cache = nullptr);

// Rectangle(l, t, r, b): right and bottom exclusive; interior in the brush (if any), outline in the
// pen centred on the one-pixel outline.
void rectangle(Canvas& canvas, Rect box, const Pen& pen, std::optional<Color> brush);

// Ellipse inscribed in the same box: GDI's error walk traces the one-pixel outline, the pen goes
// along it (a wide pen as a closed path of one-pixel segments) and the brush fills inside it.
// Boxes two pixels wide or high or less are drawn as rectangle().
void ellipse(Canvas& canvas, Rect box, const Pen& pen, std::optional<Color> brush);

// What ellipse() draws for one box, pen width, brush or none, and clip, traced once and drawn in
// any colours as often as needed: the spans it writes, in the order it writes them. Drawing it
// is ellipse() itself (which traces one and draws it), so a kept shape drawn again gives the very
// same pixels, for the price of the fills alone.
class EllipseShape {
  public:
    // Columns of row y, in the brush's colour or the pen's.
    struct Run {
        std::int64_t y;
        Span columns;
        bool brush;
    };

    EllipseShape(Rect box, int pen_width, bool filled, const Rect& clip);

    // This is the shape ellipse() would trace for these.
    bool traced_for(const Rect& box, int pen_width, bool filled, const Rect& clip) const;
    // As ellipse(canvas, box, Pen{pen_width, pen}, brush), on a canvas with the traced clip.
    // In one colour (a brush of the pen's colour, or none) each row's spans are merged first:
    // the same pixels, each written once.
    void draw(Canvas& canvas, Color pen, std::optional<Color> brush) const;
    // The same, every span written in the order traced: what ellipse() does.
    void draw_in_order(Canvas& canvas, Color pen, std::optional<Color> brush) const;

  private:
    Rect box_; // normalised
    int pen_width_;
    bool filled_;
    Rect clip_;
    bool as_rectangle_ = false; // a box too narrow or too flat: rectangle() draws it
    std::vector<Run> runs_;
    // runs_ merged by row, made when first drawn in one colour
    mutable std::optional<std::vector<Run>> one_colour_runs_;
    mutable Rect one_colour_bounds_; // of one_colour_runs_
};

} // namespace kv::raster
