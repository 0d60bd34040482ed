// What the window shows: the framebuffer zoomed into the window's pixels, black around it in full
// screen, and the viewer's boxes over it (the badge in its top-right corner, the help in the
// middle, the readout). Works on any 32-bit pixels, so that it can be checked without a display.
#pragma once

#include "backends/sdl/screen/pixel_target.h"
#include "backends/sdl/screen/shown_frame.h"
#include "viewer/zoom_layout.h"
#include "core/framebuffer.h"
#include "core/region.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kv::sdl {

// The viewer's boxes, from the bottom one up.
enum class Overlay { Readout, Help, Badge };
inline constexpr std::size_t kOverlayCount = 3;

// Where a box sits in the client area, a few pixels in from its edges.
enum class Anchor { TopRight, Centre, BottomLeft };

class Presenter {
  public:
    const viewer::ZoomLayout& layout() const { return layout_; }
    // A new layout takes effect with the next draw_all.
    void set_layout(const viewer::ZoomLayout& layout) { layout_ = layout; }

    // Shows `text` in the badge, or no badge. Returns the client rectangle whose picture this
    // changes (the old and the new badge), empty when nothing changes.
    Rect set_badge(const std::optional<std::string>& text);
    // Lays `image` over the picture at `anchor` (an empty image: none). Returns the client
    // rectangle whose picture this changes.
    Rect set_overlay(Overlay which, Framebuffer image, Anchor anchor);
    bool has_overlay(Overlay which) const;

    // Draws what differs from the last picture within `changed` of `fb`; appends the window
    // rectangles written to `written`.
    void draw_changes(const Framebuffer& fb, const Region& changed, PixelTarget& target,
                      std::vector<Rect>& written);
    // Draws `area` of `fb` whether it changed or not (the badge came or went); appends the
    // window rectangle written to `written`.
    void draw_area(const Framebuffer& fb, const Rect& area, PixelTarget& target,
                   std::vector<Rect>& written);
    // Draws the whole window: the client area, the badge, black around. Returns the window's
    // rectangle.
    Rect draw_all(const Framebuffer& fb, PixelTarget& target);

  private:
    struct Placed {
        Framebuffer image;
        Anchor anchor = Anchor::TopRight;
    };
    // A box's rectangle in the client area; empty without it.
    Rect overlay_rect(const Placed& overlay) const;
    // Whether what was written within `rect` can go straight into the window's own pixels: they
    // keep what was drawn, are XRGB8888 at zoom 1 from the corner, and no box lies over `rect`.
    bool window_shows_plainly(const PixelTarget& target, const Rect& rect) const;
    // Draws `area` of `fb` with the boxes over it; returns the window rectangle written.
    Rect paint(const Framebuffer& fb, const Rect& area, PixelTarget& target) const;

    viewer::ZoomLayout layout_;
    ShownFrame shown_;
    std::vector<Rect> pieces_; // kept from one frame to the next: no allocation a Tick
    std::optional<std::string> badge_text_;
    std::array<Placed, kOverlayCount> overlays_;
};

} // namespace kv::sdl
