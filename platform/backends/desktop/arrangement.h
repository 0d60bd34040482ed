// Where the parts of a desktop window lie, as the page lays them out: the picture, the toolbar
// under it, and at their right a column of boxes (the laboratory panel, the readout, the list of
// keys), so that none of them covers the picture. In a window the picture is at a whole zoom in
// its top-left corner and the window is sized to hold the rest beside it; in full screen the
// picture is as large as what the toolbar and the boxes leave of the screen holds it.
//
// What lies beside the picture is measured in box pixels, each a square of whole window pixels:
// the window's zoom, or in full screen the largest zoom at which the picture alone would fit.
#pragma once

#include "core/geometry.h"
#include "viewer/zoom_layout.h"

#include <vector>

namespace kv::desktop {

// How the picture fills the window: at a whole zoom in its top-left corner, or as large as it
// fits (full screen).
struct Fit {
    int zoom = 1;
    bool fullscreen = false;
    bool operator==(const Fit&) const = default;
};

// What lies beside the picture, in box pixels: the toolbar's buttons, in order, and the side
// column's boxes, from the top.
struct Beside {
    std::vector<int> buttons; // each one's width; all are viewer::kButtonHeight high
    std::vector<viewer::Size> boxes;
    bool operator==(const Beside&) const = default;
};

// Where everything lies, in window pixels.
struct Arrangement {
    viewer::ZoomLayout picture;
    int box_zoom = 1;          // window pixels per box pixel, each way
    Rect toolbar;              // the toolbar's strip (empty: no buttons)
    std::vector<Rect> buttons; // as Beside::buttons
    Rect side;                 // the side column's strip (empty: no boxes)
    std::vector<Rect> boxes;   // as Beside::boxes
    bool operator==(const Arrangement&) const = default;
};

// The arrangement of a window of `output` pixels whose client area is `client`.
Arrangement arrange(viewer::Size output, viewer::Size client, Fit fit, const Beside& beside);
// The size of a window that shows `client` at `zoom` with what lies beside it: `zoom` times its
// size at zoom 1.
viewer::Size window_size(viewer::Size client, int zoom, const Beside& beside);
// The client area a window of this size holds at `zoom` (a partial client pixel left out): the
// inverse of window_size.
viewer::Size client_for_window(viewer::Size window, int zoom, const Beside& beside);

} // namespace kv::desktop
