#include "backends/desktop/presenter.h"

#include "viewer/boxes.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kv::desktop {

namespace {

using viewer::Slot;

// A box's room grows by this many box pixels at a time: a readout whose values change width now
// and then does not resize the window each time.
constexpr int kRoomStep = 8;

// The focus ring, a client pixel out from what it surrounds: bands a box pixel wide, from the
// inside out. Dark and yellow together stand out on the white, the cyan and the black alike.
constexpr std::int64_t kRingGap = 1;
constexpr std::array<Color, 4> kRingBands{rgb(0, 0, 0), rgb(255, 210, 0), rgb(255, 210, 0),
                                          rgb(0, 0, 0)};
constexpr Color kBeside = rgb(0, 0, 0); // around the toolbar's buttons and the boxes

Rect grown(const Rect& r, std::int64_t by) {
    return Rect{r.left - by, r.top - by, r.right + by, r.bottom + by};
}

bool has_image(const Framebuffer& image) {
    return image.width() > 0 && image.height() > 0;
}

int rounded_up(int v) {
    return (v + kRoomStep - 1) / kRoomStep * kRoomStep;
}

std::size_t index(Slot slot) {
    return static_cast<std::size_t>(slot);
}

// `image` with its top-left corner at window pixel (x, y), `zoom` window pixels a pixel, in a
// window of `output` pixels.
Scaler scaled(const Framebuffer& image, viewer::Size output, std::int64_t x, std::int64_t y,
              int zoom) {
    const int w = image.width(), h = image.height();
    return Scaler(
        viewer::ZoomLayout{output, viewer::Size{w, h}, viewer::Size{w * zoom, h * zoom}, x, y},
        kNearest);
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

void Presenter::place_badge() {
    if (!has_image(badge_image_)) {
        badge_ = Placed{};
        return;
    }
    const viewer::ZoomLayout& picture = layout();
    const int zoom = boxes_zoom();
    const Rect place = viewer::badge_place(picture.shown.width / zoom, badge_image_.width(),
                                           badge_image_.height());
    badge_.image = &badge_image_;
    badge_.scaler = scaled(badge_image_, picture.output, picture.offset_x + place.left * zoom,
                           picture.offset_y + place.top * zoom, zoom);
    badge_.at = badge_.shown();
}

void Presenter::set_layout(const viewer::ZoomLayout& layout) {
    window_.reset();
    if (layout == this->layout() && beside_images_.empty()) return;
    arrangement_ = Arrangement{};
    arrangement_.picture = layout;
    beside_images_.clear();
    picture_ = Scaler(layout, smoothing_for(layout));
    place_badge();
}

bool Presenter::arrange(viewer::Size output, viewer::Size client, Fit fit) {
    if (window_ && window_->output == output && window_->client == client && window_->fit == fit)
        return false;
    window_ = Window{output, client, fit};
    return rearrange();
}

bool Presenter::take_resize() {
    return std::exchange(resize_, false);
}

std::vector<Slot> Presenter::side_slots() const {
    if (has_image(side_[index(Slot::Help)].image)) return {Slot::Help};
    std::vector<Slot> slots;
    for (const Slot slot : {Slot::Panel, Slot::Readout}) {
        if (has_image(side_[index(slot)].image)) slots.push_back(slot);
    }
    return slots;
}

bool Presenter::rearrange() {
    Beside beside;
    for (const viewer::ToolbarButton& button : buttons_)
        beside.buttons.push_back(button.width);
    for (const Slot slot : side_slots())
        beside.boxes.push_back(side_[index(slot)].room);
    if (beside != beside_) {
        beside_ = std::move(beside);
        resize_ = true;
    }
    if (!window_) return false;
    Arrangement next = desktop::arrange(window_->output, window_->client, window_->fit, beside_);
    if (next == arrangement_) return false;
    const bool picture_moved = !(next.picture == arrangement_.picture);
    arrangement_ = std::move(next);
    if (picture_moved) {
        picture_ = Scaler(layout(), smoothing_for(layout()));
        place_badge();
    }
    place_beside();
    return true;
}

void Presenter::place_beside() {
    beside_images_.clear();
    const Arrangement& a = arrangement_;
    const viewer::Size output = layout().output;
    const auto place = [&](const Framebuffer& image, const Rect& at) {
        beside_images_.push_back(
            Placed{&image, at, scaled(image, output, at.left, at.top, a.box_zoom)});
    };
    for (std::size_t i = 0; i < button_images_.size() && i < a.buttons.size(); ++i)
        place(button_images_[i], a.buttons[i]);
    const std::vector<Slot> slots = side_slots();
    for (std::size_t i = 0; i < slots.size() && i < a.boxes.size(); ++i)
        place(side_[index(slots[i])].image, a.boxes[i]);
}

Rect Presenter::set_box(Slot slot, const viewer::Box& box) {
    SideBox& side = side_[index(slot)];
    const bool had_image = has_image(side.image);
    side.box = slot == Slot::Help
                   ? viewer::Box{box.title, viewer::wrap_right(box.rows, kHelpTextWidth)}
                   : box;
    side.image = box.empty() ? Framebuffer{} : viewer::render_box(side.box.title, side.box.rows);
    side.room = !has_image(side.image)
                    ? viewer::Size{}
                    : viewer::Size{std::max(side.room.width, rounded_up(side.image.width())),
                                   std::max(side.room.height, rounded_up(side.image.height()))};
    const Rect window{0, 0, layout().output.width, layout().output.height};
    if (rearrange() || had_image != has_image(side.image)) {
        place_beside();
        return window;
    }
    // The same place: the new image there.
    const std::vector<Slot> slots = side_slots();
    const auto shown = std::find(slots.begin(), slots.end(), slot);
    const std::size_t at = buttons_.size() + static_cast<std::size_t>(shown - slots.begin());
    if (shown == slots.end() || at >= beside_images_.size()) return Rect{};
    Placed& placed = beside_images_[at];
    placed.scaler =
        scaled(side.image, layout().output, placed.at.left, placed.at.top, arrangement_.box_zoom);
    return placed.at;
}

Rect Presenter::set_toolbar(const std::vector<viewer::ToolbarButton>& buttons) {
    if (buttons == buttons_) return Rect{};
    buttons_ = buttons;
    button_images_.clear();
    for (const viewer::ToolbarButton& button : buttons_)
        button_images_.push_back(viewer::render_button(button));
    if (rearrange()) return Rect{0, 0, layout().output.width, layout().output.height};
    place_beside();
    return arrangement_.toolbar;
}

Rect Presenter::set_badge(const std::optional<std::string>& text) {
    if (text == badge_text_) return Rect{};
    badge_text_ = text;
    const Rect before = badge_.at;
    badge_image_ = text ? viewer::render_badge(*text) : Framebuffer{};
    place_badge();
    return bounding_union(before, badge_.at);
}

Rect Presenter::set_layer(viewer::Layer layer) {
    const Rect before = layer_.empty() ? Rect{} : layer_.place();
    layer_ = std::move(layer);
    const Rect after = layer_.empty() ? Rect{} : layer_.place();
    // Between whole zooms the window pixels around it blend its edge in too.
    const Rect changed = bounding_union(before, after);
    return changed.empty() ? changed : viewer::window_rect(layout(), grown(changed, 1));
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
    return intersect(grown(ring_inside(), ring_width()), layout().picture());
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

void Presenter::paint_beside(const Rect& area, PixelTarget& target) const {
    std::vector<Rect> bare{area};
    for (const Placed& placed : beside_images_) {
        if (intersect(placed.at, area).empty()) continue;
        std::vector<Rect> rest;
        for (const Rect& r : bare) {
            for (const Rect& piece : subtract(r, placed.shown()))
                rest.push_back(piece);
        }
        bare = std::move(rest);
    }
    for (const Rect& r : bare)
        fill_target(target, r, kBeside);
    for (const Placed& placed : beside_images_) {
        if (!intersect(placed.at, area).empty()) placed.scaler.draw(*placed.image, area, target);
    }
}

Rect Presenter::paint(const Framebuffer& fb, const Rect& area, PixelTarget& target) const {
    const viewer::ZoomLayout& l = layout();
    const Rect all = intersect(area, Rect{0, 0, l.output.width, l.output.height});
    if (all.empty()) return Rect{};
    const Rect picture = l.picture();
    if (const Rect out = intersect(all, picture); !out.empty()) {
        draw_picture(fb, out, target);
        paint_ring(out, target);
        if (badge_.image != nullptr) badge_.scaler.draw(*badge_.image, out, target);
    }
    for (const Rect& r : subtract(all, picture))
        paint_beside(r, target);
    return all;
}

Hit Presenter::hit(std::int64_t x, std::int64_t y) const {
    Hit hit;
    if (layout().picture().contains(x, y)) {
        if (const std::optional<Point> at = viewer::client_point(layout(), x, y)) {
            hit.kind = Hit::Kind::Picture;
            hit.point = *at;
        }
        return hit;
    }
    for (std::size_t i = 0; i < buttons_.size() && i < beside_images_.size(); ++i) {
        if (!beside_images_[i].shown().contains(x, y)) continue;
        if (buttons_[i].enabled) {
            hit.kind = Hit::Kind::Button;
            hit.action = buttons_[i].action;
        }
        return hit;
    }
    // The panel's rows: a click on a value's left half steps it down (its "<"), on its right
    // half up (its ">"), on its name chooses it.
    const std::vector<Slot> slots = side_slots();
    const auto panel = std::find(slots.begin(), slots.end(), Slot::Panel);
    const std::size_t at = buttons_.size() + static_cast<std::size_t>(panel - slots.begin());
    if (panel == slots.end() || at >= beside_images_.size()) return hit;
    const Rect box = beside_images_[at].shown();
    if (!box.contains(x, y)) return hit;
    const viewer::Box& shown = side_[index(Slot::Panel)].box;
    const viewer::BoxGeometry geometry = viewer::box_geometry(shown.title, shown.rows);
    const std::int64_t zoom = arrangement_.box_zoom;
    const std::int64_t bx = (x - box.left) / zoom, by = (y - box.top) / zoom;
    if (by < geometry.rows_top) return hit;
    const auto row = static_cast<std::size_t>((by - geometry.rows_top) / geometry.row_height);
    if (row >= shown.rows.size()) return hit;
    hit.kind = Hit::Kind::PanelRow;
    hit.row = row;
    const int middle = geometry.right_start + viewer::text_width(shown.rows[row].right) / 2;
    hit.step = bx < geometry.right_start ? 0 : bx < middle ? -1 : 1;
    return hit;
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
            const Rect out = intersect(viewer::window_rect(layout(), client), layout().picture());
            sent = bounding_union(sent, paint(fb, out, target));
        }
        if (!sent.empty()) written.push_back(sent);
    }
}

void Presenter::draw_area(const Framebuffer& fb, const Rect& area, PixelTarget& target,
                          std::vector<Rect>& written) {
    const Rect w = paint(fb, area, target);
    if (!w.empty()) written.push_back(w);
}

Rect Presenter::draw_all(const Framebuffer& fb, PixelTarget& target) {
    const viewer::ZoomLayout& l = layout();
    return paint(fb, Rect{0, 0, l.output.width, l.output.height}, target);
}

} // namespace kv::desktop
