#include "backends/desktop/presenter.h"

#include "viewer/boxes.h"

#include <algorithm>
#include <utility>
#include <cmath>

namespace kv::desktop {

namespace {

constexpr int kInset = 4; // box pixels between a box and the picture's edges

// The focus ring, a client pixel out from what it surrounds: bands a box pixel wide, from the
// inside out. Dark and yellow together stand out on the white, the cyan and the black alike.
constexpr std::int64_t kRingGap = 1;
constexpr std::array<Color, 4> kRingBands{rgb(0, 0, 0), rgb(255, 210, 0), rgb(255, 210, 0),
                                          rgb(0, 0, 0)};

Rect grown(const Rect& r, std::int64_t by) {
    return Rect{r.left - by, r.top - by, r.right + by, r.bottom + by};
}

bool has_image(const Framebuffer& image) {
    return image.width() > 0 && image.height() > 0;
}

} // namespace

int smoothing_for(const viewer::ZoomLayout& layout) {
    const int client = std::max(layout.client.height, 1);
    return (layout.shown.height + client - 1) / client;
}

int Presenter::boxes_zoom() const {
    const viewer::ZoomLayout& picture = layout();
    return std::max(1, static_cast<int>(std::lround(double(picture.shown.height) /
                                                    std::max(picture.client.height, 1))));
}

viewer::ZoomLayout Presenter::overlay_layout(const Framebuffer& image, Anchor anchor) const {
    const viewer::ZoomLayout& picture = layout();
    const int zoom = boxes_zoom();
    const viewer::Size room{picture.shown.width / zoom, picture.shown.height / zoom};
    const int w = image.width(), h = image.height();
    std::int64_t x = 0, y = 0; // in box pixels from the picture's corner
    switch (anchor) {
    case Anchor::TopRight: {
        const Rect place = viewer::badge_place(room.width, w, h);
        x = place.left;
        y = place.top;
        break;
    }
    case Anchor::Centre:
        x = (room.width - w) / 2;
        y = (room.height - h) / 2;
        break;
    case Anchor::BottomLeft:
        x = kInset;
        y = room.height - kInset - h;
        break;
    case Anchor::BottomRight:
        x = room.width - kInset - w;
        y = room.height - kInset - h;
        break;
    }
    return viewer::ZoomLayout{picture.output, viewer::Size{w, h}, viewer::Size{w * zoom, h * zoom},
                              picture.offset_x + x * zoom, picture.offset_y + y * zoom};
}

void Presenter::set_layout(const viewer::ZoomLayout& layout) {
    if (layout == this->layout()) return;
    picture_ = Scaler(layout, smoothing_for(layout));
    for (Placed& overlay : overlays_) {
        if (has_image(overlay.image))
            overlay.scaler = Scaler(overlay_layout(overlay.image, overlay.anchor), kNearest);
    }
}

bool Presenter::has_overlay(Overlay which) const {
    return has_image(overlays_[static_cast<std::size_t>(which)].image);
}

Rect Presenter::set_overlay(Overlay which, Framebuffer image, Anchor anchor) {
    Placed& overlay = overlays_[static_cast<std::size_t>(which)];
    const Rect before = has_image(overlay.image) ? overlay.scaler.layout().picture() : Rect{};
    overlay.image = std::move(image);
    overlay.anchor = anchor;
    overlay.scaler = Scaler(overlay_layout(overlay.image, anchor), kNearest);
    const Rect after = has_image(overlay.image) ? overlay.scaler.layout().picture() : Rect{};
    return viewer::client_rect(layout(), bounding_union(before, after));
}

Rect Presenter::set_box(viewer::Slot slot, const viewer::Box& box) {
    const auto [overlay, anchor] =
        slot == viewer::Slot::Help    ? std::pair{Overlay::Help, Anchor::Centre}
        : slot == viewer::Slot::Panel ? std::pair{Overlay::Panel, Anchor::BottomRight}
                                      : std::pair{Overlay::Readout, Anchor::BottomLeft};
    return set_overlay(
        overlay, box.empty() ? Framebuffer{} : viewer::render_box(box.title, box.rows), anchor);
}

Rect Presenter::set_badge(const std::optional<std::string>& text) {
    if (text == badge_text_) return Rect{};
    badge_text_ = text;
    return set_overlay(Overlay::Badge, text ? viewer::render_badge(*text) : Framebuffer{},
                       Anchor::TopRight);
}

Rect Presenter::set_layer(viewer::Layer layer) {
    const Rect before = layer_.empty() ? Rect{} : layer_.place();
    layer_ = std::move(layer);
    const Rect after = layer_.empty() ? Rect{} : layer_.place();
    // Between whole zooms the window pixels around it blend its edge in too.
    const Rect changed = bounding_union(before, after);
    return changed.empty() ? changed : grown(changed, 1);
}

void Presenter::draw_picture(const Framebuffer& fb, const Rect& out, PixelTarget& target) const {
    // Between whole zooms a window pixel blends its client pixel with the next ones.
    const Rect client = grown(viewer::client_rect(layout(), out), 1);
    if (layer_.empty() || intersect(client, layer_.place()).empty()) {
        picture_.draw(fb, out, target);
        return;
    }
    if (composed_.width() != fb.width() || composed_.height() != fb.height())
        composed_ = Framebuffer(fb.width(), fb.height());
    viewer::lay_over(fb, layer_, client, composed_);
    picture_.draw(composed_, out, target);
}

Rect Presenter::ring_inside() const {
    const viewer::ZoomLayout& l = layout();
    const Rect client{0, 0, l.client.width, l.client.height};
    return viewer::window_rect(l, intersect(grown(*ring_, kRingGap), client));
}

std::int64_t Presenter::ring_width() const {
    return static_cast<std::int64_t>(kRingBands.size()) * boxes_zoom();
}

Rect Presenter::ring_area() const {
    if (!ring_) return Rect{};
    return viewer::client_rect(layout(),
                               intersect(grown(ring_inside(), ring_width()), layout().picture()));
}

Rect Presenter::set_ring(const std::optional<Rect>& around) {
    if (around == ring_) return Rect{};
    const Rect before = ring_area();
    ring_ = around;
    return bounding_union(before, ring_area());
}

void Presenter::paint_ring(const Rect& area, PixelTarget& target) const {
    if (!ring_) return;
    const Rect inside = ring_inside();
    if (intersect(area, grown(inside, ring_width())).empty()) return;
    const std::int64_t band = boxes_zoom();
    for (std::size_t i = 0; i < kRingBands.size(); ++i) {
        const Rect in = grown(inside, band * static_cast<std::int64_t>(i));
        const Rect out = grown(in, band);
        // Its four sides: above, below, left, right.
        for (const Rect& side : {Rect{out.left, out.top, out.right, in.top},
                                 Rect{out.left, in.bottom, out.right, out.bottom},
                                 Rect{out.left, in.top, in.left, in.bottom},
                                 Rect{in.right, in.top, out.right, in.bottom}}) {
            const Rect part = intersect(side, area);
            if (!part.empty()) fill_target(target, part, kRingBands[i]);
        }
    }
}

Rect Presenter::paint(const Framebuffer& fb, const Rect& area, PixelTarget& target) const {
    const Rect out = intersect(area, layout().picture());
    if (out.empty()) return Rect{};
    draw_picture(fb, out, target);
    paint_ring(out, target);
    for (const Placed& overlay : overlays_) {
        if (has_image(overlay.image)) overlay.scaler.draw(overlay.image, out, target);
    }
    return out;
}

void Presenter::draw_changes(const Framebuffer& fb, const Region& changed, PixelTarget& target,
                             std::vector<Rect>& written) {
    // Between whole zooms a window row blends the client rows on either side of its centre: the
    // window rows of client row y show what was written on rows y - 1 to y + 1, a column more
    // each way.
    const std::int64_t reach = layout().zoom() == 0 ? 1 : 0;
    for (const Rect& r : changed.rects()) {
        const Span within{r.left, r.right};
        Rect sent;
        for (std::int64_t y = r.top - reach; y < r.bottom + reach; ++y) {
            Span columns = meet(fb.unpresented(y), within);
            for (std::int64_t d = 1; d <= reach; ++d) {
                columns = hull(columns, meet(fb.unpresented(y - d), within));
                columns = hull(columns, meet(fb.unpresented(y + d), within));
            }
            if (columns.empty()) continue;
            const Rect client{columns.lo - reach, y, columns.hi + reach, y + 1};
            sent = bounding_union(sent, paint(fb, viewer::window_rect(layout(), client), target));
        }
        if (!sent.empty()) written.push_back(sent);
    }
}

void Presenter::draw_area(const Framebuffer& fb, const Rect& area, PixelTarget& target,
                          std::vector<Rect>& written) {
    const Rect w = paint(fb, viewer::window_rect(layout(), area), target);
    if (!w.empty()) written.push_back(w);
}

Rect Presenter::draw_all(const Framebuffer& fb, PixelTarget& target) {
    const viewer::ZoomLayout& l = layout();
    const Rect window{0, 0, l.output.width, l.output.height};
    for (const Rect& r : subtract(window, l.picture()))
        fill_target(target, r, 0);
    paint(fb, l.picture(), target);
    return window;
}

} // namespace kv::desktop
