// What the window shows: the framebuffer scaled into the window's pixels with the viewer's layer
// over the picture scaled alike, black around it in full screen, and the viewer's boxes over it
// (the badge in its top-right corner, the help in the middle, the readout) and the keyboard's focus
// ring, each at a whole zoom so that its text stays sharp. Works on any 32-bit pixels, so that it
// can be checked without a display.
//
// A frame draws again only the columns the framebuffer noted as written since it was last
// presented, then the boxes over them: the window's pixels keep the rest.
#pragma once

#include "backends/desktop/pixel_target.h"
#include "core/framebuffer.h"
#include "core/region.h"
#include "viewer/layer.h"
#include "viewer/screen.h"
#include "viewer/zoom_layout.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kv::desktop {

// The viewer's boxes, from the bottom one up.
enum class Overlay { Readout, Panel, Help, Badge };
inline constexpr std::size_t kOverlayCount = 4;

// Where a box sits over the picture, a few pixels in from its edges.
enum class Anchor { TopRight, Centre, BottomLeft, BottomRight };

// Between whole zooms the picture is zoomed by the whole factor just above by nearest
// neighbour, then scaled down linearly: text and one-pixel lines stay sharp and even, where
// nearest neighbour alone leaves some lines twice as thick as others and linear alone blurs them
// (tests/desktop/smoothing_test.cpp compares the three).
int smoothing_for(const viewer::ZoomLayout& layout);

class Presenter {
  public:
    const viewer::ZoomLayout& layout() const { return picture_.layout(); }
    // A new layout takes effect with the next draw_all.
    void set_layout(const viewer::ZoomLayout& layout);

    // Shows `text` in the badge, or no badge. Returns the client rectangle whose picture this
    // changes (the old and the new badge), empty when nothing changes.
    Rect set_badge(const std::optional<std::string>& text);
    // Lays `image` over the picture at `anchor` (an empty image: none). Returns the client
    // rectangle whose picture this changes.
    Rect set_overlay(Overlay which, Framebuffer image, Anchor anchor);
    bool has_overlay(Overlay which) const;
    // Shows the viewer's box in its place (an empty one: none): the keys in the middle, the
    // readout bottom left, the laboratory over the instructions. Returns the client rectangle
    // whose picture this changes.
    Rect set_box(viewer::Slot slot, const viewer::Box& box);
    // Lays `layer` over the picture, scaled with it (an empty one: none). Returns the client
    // rectangle whose picture this changes.
    Rect set_layer(viewer::Layer layer);
    // The keyboard's focus ring around the client rectangle `around`, or none; under the boxes.
    // Returns the client rectangle whose picture this changes.
    Rect set_ring(const std::optional<Rect>& around);

    // Draws, within `changed`, the columns `fb` noted as written since it was last presented,
    // and the boxes over them; appends the window rectangles written to `written`.
    void draw_changes(const Framebuffer& fb, const Region& changed, PixelTarget& target,
                      std::vector<Rect>& written);
    // Draws the client rectangle `area` of `fb` whether it changed or not (a box came or went);
    // appends the window rectangle written to `written`.
    void draw_area(const Framebuffer& fb, const Rect& area, PixelTarget& target,
                   std::vector<Rect>& written);
    // Draws the whole window: the picture, the boxes, black around. Returns the window's
    // rectangle.
    Rect draw_all(const Framebuffer& fb, PixelTarget& target);

  private:
    // The whole zoom the boxes and the ring are drawn at: the picture's, or the nearest one.
    int boxes_zoom() const;
    // The window pixels the ring covers: its inside edge, and how wide it is.
    Rect ring_inside() const;
    std::int64_t ring_width() const;
    // The client rectangle the ring covers (none: empty).
    Rect ring_area() const;
    void paint_ring(const Rect& area, PixelTarget& target) const;

    struct Placed {
        Framebuffer image;
        Anchor anchor = Anchor::TopRight;
        Scaler scaler; // where it lies in the window, at the boxes' zoom
    };
    // The box's window pixels at `anchor` over the picture, at the boxes' zoom.
    viewer::ZoomLayout overlay_layout(const Framebuffer& image, Anchor anchor) const;
    // Draws the window rectangle `area` of the picture with the boxes over it; returns what it
    // wrote.
    Rect paint(const Framebuffer& fb, const Rect& area, PixelTarget& target) const;

    // The picture's window rectangle `out`, with the layer over it where they meet.
    void draw_picture(const Framebuffer& fb, const Rect& out, PixelTarget& target) const;

    Scaler picture_;
    viewer::Layer layer_;
    mutable Framebuffer composed_; // the picture with the layer over it, where drawn last
    std::optional<std::string> badge_text_;
    std::array<Placed, kOverlayCount> overlays_;
    std::optional<Rect> ring_; // around this client rectangle
};

} // namespace kv::desktop
