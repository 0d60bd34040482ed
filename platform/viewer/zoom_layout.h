// Where the client area lies in the window: scaled by a whole zoom at the top-left corner of a
// window, or centred with black around it in full screen, scaled to fill the screen (by a
// non-whole factor where whole ones leave much of it unused).
#pragma once

#include "core/canvas.h"
#include "core/geometry.h"

#include <cstdint>
#include <optional>

namespace kv::viewer {

struct Size {
    int width = 0;
    int height = 0;
    constexpr bool operator==(const Size&) const = default;
};

inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 4;

struct ZoomLayout {
    Size output; // the window's pixels
    Size client; // the client area, before zooming
    Size shown;  // the client area's size in window pixels
    // Window position of the client area's top-left corner; negative when a full screen is
    // smaller than the client area.
    std::int64_t offset_x = 0;
    std::int64_t offset_y = 0;
    constexpr bool operator==(const ZoomLayout&) const = default;

    // Window pixels per client pixel each way when that is a whole number; 0 when it is not.
    int zoom() const;
    // The window pixels the client area covers, clipped to the window.
    Rect picture() const;
};

// The zoom a window starts at: 2 on displays of 144 DPI or more (150 % scaling and up), where
// the picture would be too small to read at 1; 1 when the DPI is unknown.
int start_zoom_for_dpi(std::optional<float> diagonal_dpi);

// The client area at a whole zoom in the window's top-left corner.
ZoomLayout corner_layout(Size output, Size client, int zoom);
// The client area at a whole zoom in the middle of the output.
ZoomLayout centred_layout(Size output, Size client, int zoom);
// The client area as large as the output holds it, in its middle (full screen): the largest
// whole zoom where that fills nine tenths of what a non-whole factor would, that factor otherwise.
ZoomLayout fit_layout(Size output, Size client);

// The largest whole zoom at which the client area fits the output; at least 1.
int zoom_to_fit(Size output, Size client);
// The zoom a window gets when `wanted` is asked for: within kMinZoom..kMaxZoom, and no larger
// than what lets the window, with `frame` pixels of decoration each way, fit the screen's
// `usable` area (the screen less its panels), as full screen does; 1 when even that does not fit.
int window_zoom(int wanted, Size usable, Size client, Size frame);

// The client pixel a window pixel shows (the one under its centre), or none outside the client
// area.
std::optional<Point> client_point(const ZoomLayout& layout, std::int64_t window_x,
                                  std::int64_t window_y);
// The window pixels showing a client rectangle, clipped to the window: those whose centre lies
// over it.
Rect window_rect(const ZoomLayout& layout, const Rect& client_rect);
// The client pixels under a window rectangle: every one a pixel of it shows.
Rect client_rect(const ZoomLayout& layout, const Rect& window_rect);

} // namespace kv::viewer
