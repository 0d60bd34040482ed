#include "viewer/zoom_layout.h"

#include <algorithm>

namespace kv::viewer {

namespace {

// Rounds towards minus infinity, so that window pixels left of the client area do not map to
// its column 0.
std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int clamp_zoom(int zoom) {
    return std::max(zoom, 1);
}

} // namespace

int start_zoom_for_dpi(std::optional<float> diagonal_dpi) {
    constexpr float kHighDpi = 144.0f;
    return diagonal_dpi && *diagonal_dpi >= kHighDpi ? 2 : 1;
}

ZoomLayout corner_layout(Size output, Size client, int zoom) {
    return ZoomLayout{output, client, clamp_zoom(zoom), 0, 0};
}

ZoomLayout centred_layout(Size output, Size client, int zoom) {
    zoom = clamp_zoom(zoom);
    const std::int64_t spare_x = std::int64_t{output.width} - std::int64_t{client.width} * zoom;
    const std::int64_t spare_y = std::int64_t{output.height} - std::int64_t{client.height} * zoom;
    return ZoomLayout{output, client, zoom, floor_div(spare_x, 2), floor_div(spare_y, 2)};
}

Size client_size_for_window(Size window, int zoom) {
    zoom = clamp_zoom(zoom);
    return Size{std::max(window.width, 0) / zoom, std::max(window.height, 0) / zoom};
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
    const std::int64_t x = floor_div(window_x - layout.offset_x, layout.zoom);
    const std::int64_t y = floor_div(window_y - layout.offset_y, layout.zoom);
    if (x < 0 || y < 0 || x >= layout.client.width || y >= layout.client.height) {
        return std::nullopt;
    }
    return Point{x, y};
}

Rect window_rect(const ZoomLayout& layout, const Rect& client_rect) {
    if (client_rect.empty()) return Rect{};
    const Rect scaled{client_rect.left * layout.zoom + layout.offset_x,
                      client_rect.top * layout.zoom + layout.offset_y,
                      client_rect.right * layout.zoom + layout.offset_x,
                      client_rect.bottom * layout.zoom + layout.offset_y};
    return intersect(scaled, Rect{0, 0, layout.output.width, layout.output.height});
}

} // namespace kv::viewer
