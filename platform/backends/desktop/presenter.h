// What the window shows: the framebuffer scaled into the window's pixels with the viewer's layer
// over the picture scaled alike, the badge in its top-right corner and the keyboard's focus ring;
// and beside the picture, never over it (arrangement.h), the toolbar and the viewer's boxes (the
// laboratory panel, the readout, the list of keys), each at a whole zoom so that its text stays
// sharp, black around them. Works on any 32-bit pixels, so that it can be checked without a
// display; and tells which part of it a window pixel shows, for the mouse.
//
// A frame draws again only the columns the framebuffer noted as written since it was last
// presented, then the badge and the ring over them: the window's pixels keep the rest.
#pragma once

#include "backends/desktop/arrangement.h"
#include "backends/desktop/pixel_target.h"
#include "core/framebuffer.h"
#include "core/region.h"
#include "viewer/layer.h"
#include "viewer/screen.h"
#include "viewer/toolbar.h"
#include "viewer/zoom_layout.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kv::desktop {

// Between whole zooms the picture is zoomed by the whole factor just above by nearest
// neighbour, then scaled down linearly: text and one-pixel lines stay sharp and even, where
// nearest neighbour alone leaves some lines twice as thick as others and linear alone blurs them
// (tests/desktop/smoothing_test.cpp compares the three).
int smoothing_for(const viewer::ZoomLayout& layout);

// What a window pixel shows, for a mouse button pressed over it.
struct Hit {
    enum class Kind { Nothing, Picture, Button, PanelRow };
    Kind kind = Kind::Nothing;
    Point point{};                                       // Picture: the client pixel
    viewer::Action action = viewer::Action::TogglePause; // Button: an enabled button's
    std::size_t row = 0;                                 // PanelRow: the row of the panel's box
    int step = 0; // PanelRow: -1 on the left half of its value, +1 on the right half, 0 its name
};

// The list of keys' descriptions are broken into lines this wide (pixels), so that its box fits
// beside the picture on a screen 1366 pixels wide.
inline constexpr int kHelpTextWidth = 360;

class Presenter {
  public:
    Presenter() = default;
    // What it places points into its own images.
    Presenter(const Presenter&) = delete;
    Presenter& operator=(const Presenter&) = delete;

    const viewer::ZoomLayout& layout() const { return arrangement_.picture; }
    const Arrangement& arrangement() const { return arrangement_; }
    // The picture alone where `layout` says, nothing beside it.
    void set_layout(const viewer::ZoomLayout& layout);
    // A window of `output` pixels showing a client area of `client` size as `fit` says, with the
    // toolbar and the boxes beside it; true when anything now lies elsewhere (draw_all then).
    bool arrange(viewer::Size output, viewer::Size client, Fit fit);
    // The window's size for a client area at a whole zoom, with what lies beside it now; and the
    // client area a window of that size holds.
    viewer::Size window_size(viewer::Size client, int zoom) const {
        return desktop::window_size(client, zoom, beside_);
    }
    viewer::Size client_for_window(viewer::Size window, int zoom) const {
        return desktop::client_for_window(window, zoom, beside_);
    }
    // Whether what lies beside the picture changed its size since the last call: the window is
    // then sized again (in full screen, arranged again).
    bool take_resize();

    // Each of these returns the window rectangle it changes, to draw again with draw_area.
    // The badge over the picture, or none.
    Rect set_badge(const std::optional<std::string>& text);
    // A box beside the picture (an empty one: none): the laboratory panel, under it the readout;
    // the list of keys takes the column alone while it shows.
    Rect set_box(viewer::Slot slot, const viewer::Box& box);
    Rect set_toolbar(const std::vector<viewer::ToolbarButton>& buttons);
    // Lays `layer` over the picture, scaled with it (an empty one: none).
    Rect set_layer(viewer::Layer layer);
    // The keyboard's focus ring around the client rectangle `around`, or none; under the badge.
    Rect set_ring(const std::optional<Rect>& around);

    Hit hit(std::int64_t x, std::int64_t y) const;

    // Draws, within `changed` (client pixels), the columns `fb` noted as written since it was
    // last presented, and the badge and ring over them; appends the window rectangles written to
    // `written`.
    void draw_changes(const Framebuffer& fb, const Region& changed, PixelTarget& target,
                      std::vector<Rect>& written);
    // Draws the window rectangle `area` whether it changed or not (a box came or went); appends
    // what it wrote to `written`.
    void draw_area(const Framebuffer& fb, const Rect& area, PixelTarget& target,
                   std::vector<Rect>& written);
    // Draws the whole window. Returns the window's rectangle.
    Rect draw_all(const Framebuffer& fb, PixelTarget& target);

  private:
    // A picture of the viewer's at its place in the window, and how it is scaled there.
    struct Placed {
        const Framebuffer* image = nullptr;
        Rect at; // window pixels kept for it
        Scaler scaler;
        Rect shown() const { return scaler.layout().picture(); }
    };
    struct SideBox {
        viewer::Box box;   // as shown (the list of keys with its lines broken)
        Framebuffer image; // empty: none
        viewer::Size room; // box pixels kept for it while it shows: it only grows
    };

    // The whole zoom the badge and the ring are drawn at: the picture's, or the nearest one.
    int boxes_zoom() const;
    // The window pixels the ring covers: its inside edge, and how wide it is.
    Rect ring_inside() const;
    std::int64_t ring_width() const;
    Rect ring_area() const;
    void paint_ring(const Rect& area, PixelTarget& target) const;
    // The badge at its place over the picture.
    void place_badge();

    // The boxes the side column shows, from the top.
    std::vector<viewer::Slot> side_slots() const;
    // What lies beside the picture changed: its sizes, and the arrangement; true when they moved.
    bool rearrange();
    // The toolbar's buttons and the side's boxes at their places.
    void place_beside();

    // Draws the window rectangle `area` of the picture with what lies over and beside it; returns
    // what it wrote.
    Rect paint(const Framebuffer& fb, const Rect& area, PixelTarget& target) const;
    // The picture's window rectangle `out`, with the layer over it where they meet.
    void draw_picture(const Framebuffer& fb, const Rect& out, PixelTarget& target) const;
    // The window rectangle `area`, beside the picture: black, with the toolbar and boxes on it.
    void paint_beside(const Rect& area, PixelTarget& target) const;

    struct Window {
        viewer::Size output;
        viewer::Size client;
        Fit fit;
    };
    std::optional<Window> window_; // none: the picture alone, set_layout's
    Arrangement arrangement_;
    Beside beside_;
    bool resize_ = false;
    Scaler picture_;
    viewer::Layer layer_;
    mutable Framebuffer composed_; // the picture with the layer over it, where drawn last
    std::optional<std::string> badge_text_;
    Framebuffer badge_image_;
    Placed badge_;
    std::optional<Rect> ring_; // around this client rectangle
    std::vector<viewer::ToolbarButton> buttons_;
    std::vector<Framebuffer> button_images_;
    std::array<SideBox, 3> side_; // by Slot
    // The buttons, then the boxes of side_slots(), where they lie now.
    std::vector<Placed> beside_images_;
};

} // namespace kv::desktop
