#include "backends/desktop/arrangement.h"

#include "viewer/toolbar.h"

#include <algorithm>

namespace kv::desktop {

namespace {

using viewer::Size;

constexpr int kMargin = 4; // box pixels around the toolbar's rows and the side column's boxes
constexpr int kGap = 4;    // between buttons, rows of buttons, boxes and columns of boxes

// Things laid out in a strip, from the strip's inner corner (inside its margin), and the room
// they take.
struct Flow {
    std::vector<Rect> places;
    int width = 0;
    int height = 0;
};

// Buttons left to right in rows no wider than the strip, `strip` box pixels wide.
Flow button_rows(const std::vector<int>& buttons, int strip) {
    Flow flow;
    int x = 0, y = 0;
    for (const int w : buttons) {
        if (x > 0 && x + w > strip - 2 * kMargin) {
            x = 0;
            y += viewer::kButtonHeight + kGap;
        }
        flow.places.push_back(Rect{x, y, x + w, y + viewer::kButtonHeight});
        flow.width = std::max(flow.width, x + w);
        x += w + kGap;
    }
    if (!buttons.empty()) flow.height = y + viewer::kButtonHeight;
    return flow;
}

// Boxes top to bottom in columns no higher than the strip, `strip` box pixels high.
Flow box_columns(const std::vector<Size>& boxes, int strip) {
    Flow flow;
    int x = 0, y = 0, column = 0;
    for (const Size& box : boxes) {
        if (y > 0 && y + box.height > strip - 2 * kMargin) {
            x += column + kGap;
            y = 0;
            column = 0;
        }
        flow.places.push_back(Rect{x, y, x + box.width, y + box.height});
        column = std::max(column, box.width);
        flow.width = x + column;
        flow.height = std::max(flow.height, y + box.height);
        y += box.height + kGap;
    }
    return flow;
}

// A strip's thickness across its flow: nothing without things in it.
int strip_size(const Flow& flow, int across) {
    return flow.places.empty() ? 0 : across + 2 * kMargin;
}

// The toolbar's height under a picture `width` box pixels wide, and the side column's width
// beside a window `height` box pixels high.
int toolbar_height(const Beside& beside, int width) {
    const Flow rows = button_rows(beside.buttons, width);
    return strip_size(rows, rows.height);
}
int side_width(const Beside& beside, int height) {
    const Flow columns = box_columns(beside.boxes, height);
    return strip_size(columns, columns.width);
}

// Box rectangle `r` of a strip whose corner is at window pixel (x, y), `zoom` window pixels a box
// pixel.
Rect placed(std::int64_t x, std::int64_t y, int zoom, const Rect& r) {
    return Rect{x + r.left * zoom, y + r.top * zoom, x + r.right * zoom, y + r.bottom * zoom};
}

// The toolbar's strip at window pixel (x, y), `width` box pixels wide: its rows in the middle.
void place_toolbar(Arrangement& a, const Beside& beside, std::int64_t x, std::int64_t y,
                   int width) {
    const Flow rows = button_rows(beside.buttons, width);
    if (rows.places.empty()) return;
    const int zoom = a.box_zoom;
    a.toolbar = placed(x, y, zoom, Rect{0, 0, width, rows.height + 2 * kMargin});
    const int left = std::max(kMargin, (width - rows.width) / 2);
    for (const Rect& r : rows.places)
        a.buttons.push_back(placed(
            x, y, zoom, Rect{left + r.left, kMargin + r.top, left + r.right, kMargin + r.bottom}));
}

// The side column's strip at window pixel (x, 0), `height` box pixels high.
void place_side(Arrangement& a, const Beside& beside, std::int64_t x, int height) {
    const Flow columns = box_columns(beside.boxes, height);
    if (columns.places.empty()) return;
    const int zoom = a.box_zoom;
    a.side = placed(x, 0, zoom, Rect{0, 0, columns.width + 2 * kMargin, height});
    for (const Rect& r : columns.places)
        a.boxes.push_back(
            placed(x, 0, zoom,
                   Rect{kMargin + r.left, kMargin + r.top, kMargin + r.right, kMargin + r.bottom}));
}

} // namespace

Size window_size(Size client, int zoom, const Beside& beside) {
    zoom = std::max(zoom, 1);
    const int high = client.height + toolbar_height(beside, client.width);
    return Size{zoom * (client.width + side_width(beside, high)), zoom * high};
}

Size client_for_window(Size window, int zoom, const Beside& beside) {
    zoom = std::max(zoom, 1);
    const Size all{std::max(window.width, 0) / zoom, std::max(window.height, 0) / zoom};
    const int width = std::max(all.width - side_width(beside, all.height), 0);
    return Size{width, std::max(all.height - toolbar_height(beside, width), 0)};
}

Arrangement arrange(Size output, Size client, Fit fit, const Beside& beside) {
    Arrangement a;
    if (!fit.fullscreen) {
        const int zoom = std::max(fit.zoom, 1);
        a.picture = viewer::corner_layout(output, client, zoom);
        a.box_zoom = zoom;
        const int bar = toolbar_height(beside, client.width);
        place_toolbar(a, beside, 0, std::int64_t{client.height} * zoom, client.width);
        place_side(a, beside, std::int64_t{client.width} * zoom, client.height + bar);
        return a;
    }
    // Full screen: the boxes at the zoom the picture alone would have, at the screen's right; the
    // toolbar under the picture; the picture as large as the rest holds it, in its middle.
    const int zoom = viewer::zoom_to_fit(output, client);
    a.box_zoom = zoom;
    const int high = output.height / zoom;
    const int side = side_width(beside, high);
    const int left = std::max(output.width / zoom - side, 0);
    const int bar = toolbar_height(beside, left);
    const Size room{std::max(output.width - side * zoom, 0),
                    std::max(output.height - bar * zoom, 0)};
    a.picture = viewer::fit_layout(room, client);
    a.picture.output = output;
    place_toolbar(a, beside, 0, room.height, left);
    place_side(a, beside, room.width, high);
    return a;
}

} // namespace kv::desktop
