#include "viewer/zoom_layout.h"

#include <algorithm>

namespace kv::viewer {

namespace {

int clamp_zoom(int zoom) {
    return std::max(zoom, 1);
}

// One axis of a layout: `client` pixels shown on `shown` window pixels from `offset`. Window
// pixel w shows client pixel floor((w - offset + 1/2) * client / shown): rounded down, so that
// window pixels left of the client area do not map to its column 0.
struct Axis {
    std::int64_t client, shown, offset;

    std::int64_t to_client(std::int64_t w) const {
        return floor_div((2 * (w - offset) + 1) * client, 2 * shown);
    }
    // The first window pixel that shows client pixel c or one after it.
    std::int64_t first_window(std::int64_t c) const {
        return offset + ceil_div(2 * c * shown - client, 2 * client);
    }
};

Axis x_axis(const ZoomLayout& l) {
    return {l.client.width, l.shown.width, l.offset_x};
}
Axis y_axis(const ZoomLayout& l) {
    return {l.client.height, l.shown.height, l.offset_y};
}

ZoomLayout centred(Size output, Size client, Size shown) {
    return ZoomLayout{output, client, shown, floor_div(std::int64_t{output.width} - shown.width, 2),
                      floor_div(std::int64_t{output.height} - shown.height, 2)};
}

} // namespace

int ZoomLayout::zoom() const {
    if (client.width <= 0 || client.height <= 0) return 1;
    const int z = shown.width / client.width;
    return shown.width == z * client.width && shown.height == z * client.height ? z : 0;
}

Rect ZoomLayout::picture() const {
    return intersect(Rect{offset_x, offset_y, offset_x + shown.width, offset_y + shown.height},
                     Rect{0, 0, output.width, output.height});
}

int start_zoom_for_dpi(std::optional<float> diagonal_dpi) {
    constexpr float kHighDpi = 144.0f;
    return diagonal_dpi && *diagonal_dpi >= kHighDpi ? 2 : 1;
}

ZoomLayout corner_layout(Size output, Size client, int zoom) {
    zoom = clamp_zoom(zoom);
    return ZoomLayout{output, client, Size{client.width * zoom, client.height * zoom}, 0, 0};
}

ZoomLayout centred_layout(Size output, Size client, int zoom) {
    zoom = clamp_zoom(zoom);
    return centred(output, client, Size{client.width * zoom, client.height * zoom});
}

ZoomLayout fit_layout(Size output, Size client) {
    const int whole = zoom_to_fit(output, client);
    if (client.width <= 0 || client.height <= 0 || output.width <= 0 || output.height <= 0)
        return centred_layout(output, client, whole);
    // The axis that fills first decides; the other keeps the picture's proportions.
    Size shown = output;
    if (std::int64_t{output.width} * client.height > std::int64_t{output.height} * client.width) {
        shown.width = static_cast<int>(std::int64_t{output.height} * client.width / client.height);
    } else {
        shown.height = static_cast<int>(std::int64_t{output.width} * client.height / client.width);
    }
    constexpr int kWholeEnough = 90; // per cent
    const bool fits =
        client.width * whole <= output.width && client.height * whole <= output.height;
    if (fits &&
        std::int64_t{client.height} * whole * 100 >= std::int64_t{shown.height} * kWholeEnough)
        return centred_layout(output, client, whole);
    return centred(output, client, shown);
}

int zoom_to_fit(Size output, Size client) {
    if (client.width <= 0 || client.height <= 0) return 1;
    return std::max(1, std::min(output.width / client.width, output.height / client.height));
}

int window_zoom(int wanted, Size usable, Size client, Size frame) {
    const Size room{usable.width - frame.width, usable.height - frame.height};
    const int largest = std::min(kMaxZoom, zoom_to_fit(room, client));
    return std::clamp(wanted, kMinZoom, largest);
}

std::optional<Point> client_point(const ZoomLayout& layout, std::int64_t window_x,
                                  std::int64_t window_y) {
    if (layout.shown.width <= 0 || layout.shown.height <= 0) return std::nullopt;
    const std::int64_t x = x_axis(layout).to_client(window_x);
    const std::int64_t y = y_axis(layout).to_client(window_y);
    if (x < 0 || y < 0 || x >= layout.client.width || y >= layout.client.height) {
        return std::nullopt;
    }
    return Point{x, y};
}

Rect window_rect(const ZoomLayout& layout, const Rect& client_rect) {
    if (client_rect.empty() || layout.client.width <= 0 || layout.client.height <= 0) return Rect{};
    const Rect window{0, 0, layout.output.width, layout.output.height};
    // A whole zoom, the usual case, needs no division (a frame asks for a few hundred rows).
    if (const std::int64_t z = layout.zoom(); z != 0) {
        return intersect(
            Rect{client_rect.left * z + layout.offset_x, client_rect.top * z + layout.offset_y,
                 client_rect.right * z + layout.offset_x, client_rect.bottom * z + layout.offset_y},
            window);
    }
    const Axis x = x_axis(layout), y = y_axis(layout);
    const Rect shown{x.first_window(client_rect.left), y.first_window(client_rect.top),
                     x.first_window(client_rect.right), y.first_window(client_rect.bottom)};
    return intersect(shown, window);
}

Rect client_rect(const ZoomLayout& layout, const Rect& window_rect) {
    if (window_rect.empty() || layout.shown.width <= 0 || layout.shown.height <= 0) return Rect{};
    const Axis x = x_axis(layout), y = y_axis(layout);
    return intersect(Rect{x.to_client(window_rect.left), y.to_client(window_rect.top),
                          x.to_client(window_rect.right - 1) + 1,
                          y.to_client(window_rect.bottom - 1) + 1},
                     Rect{0, 0, layout.client.width, layout.client.height});
}

} // namespace kv::viewer
