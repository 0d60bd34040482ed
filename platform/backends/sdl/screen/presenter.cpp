#include "backends/sdl/screen/presenter.h"

#include "viewer/boxes.h"

#include <algorithm>

namespace kv::sdl {

Rect Presenter::overlay_rect(const Placed& overlay) const {
    constexpr std::int64_t kInset = 4;
    const std::int64_t w = overlay.image.width();
    const std::int64_t h = overlay.image.height();
    if (w == 0 || h == 0) return Rect{};
    const std::int64_t cw = layout_.client.width;
    const std::int64_t ch = layout_.client.height;
    switch (overlay.anchor) {
    case Anchor::TopRight:
        return viewer::badge_place(layout_.client.width, overlay.image.width(),
                                   overlay.image.height());
    case Anchor::Centre:
        return Rect{(cw - w) / 2, (ch - h) / 2, (cw - w) / 2 + w, (ch - h) / 2 + h};
    case Anchor::BottomLeft:
        return Rect{kInset, ch - kInset - h, kInset + w, ch - kInset};
    }
    return Rect{};
}

bool Presenter::has_overlay(Overlay which) const {
    return !overlay_rect(overlays_[static_cast<std::size_t>(which)]).empty();
}

Rect Presenter::set_overlay(Overlay which, Framebuffer image, Anchor anchor) {
    Placed& overlay = overlays_[static_cast<std::size_t>(which)];
    const Rect before = overlay_rect(overlay);
    overlay = Placed{std::move(image), anchor};
    return bounding_union(before, overlay_rect(overlay));
}

Rect Presenter::set_badge(const std::optional<std::string>& text) {
    if (text == badge_text_) return Rect{};
    badge_text_ = text;
    return set_overlay(Overlay::Badge, text ? viewer::render_badge(*text) : Framebuffer{},
                       Anchor::TopRight);
}

Rect Presenter::paint(const Framebuffer& fb, const Rect& area, PixelTarget& target) const {
    blit_zoomed(fb, area, Point{area.left, area.top}, layout_, target);
    for (const Placed& overlay : overlays_) {
        const Rect place = overlay_rect(overlay);
        const Rect covered = intersect(area, place);
        if (covered.empty()) continue;
        const Rect inside{covered.left - place.left, covered.top - place.top,
                          covered.right - place.left, covered.bottom - place.top};
        blit_zoomed(overlay.image, inside, Point{covered.left, covered.top}, layout_, target);
    }
    return viewer::window_rect(layout_, intersect(area, fb.bounds()));
}

bool Presenter::window_shows_plainly(const PixelTarget& target, const Rect& rect) const {
    if (!target.keeps_pixels || layout_.zoom != 1 || layout_.offset_x != 0 ||
        layout_.offset_y != 0 || !is_xrgb(target.shifts)) {
        return false;
    }
    return std::none_of(overlays_.begin(), overlays_.end(), [&](const Placed& overlay) {
        return !intersect(rect, overlay_rect(overlay)).empty();
    });
}

void Presenter::draw_changes(const Framebuffer& fb, const Region& changed, PixelTarget& target,
                             std::vector<Rect>& written) {
    for (const Rect& r : changed.rects()) {
        const Rect inside = intersect(r, Rect{0, 0, layout_.client.width, layout_.client.height});
        if (window_shows_plainly(target, inside)) {
            // The window keeps what it showed: the copy is not needed, and is left behind.
            shown_.forget();
            take_window_changes(fb, inside, target, pieces_, written);
            continue;
        }
        pieces_.clear();
        shown_.take_changes(fb, r, pieces_);
        for (const Rect& piece : pieces_) {
            const Rect w = paint(fb, piece, target);
            if (!w.empty()) written.push_back(w);
        }
    }
}

void Presenter::draw_area(const Framebuffer& fb, const Rect& area, PixelTarget& target,
                          std::vector<Rect>& written) {
    pieces_.clear();
    shown_.take_changes(fb, area, pieces_); // drawn whole whatever it holds
    const Rect w = paint(fb, area, target);
    if (!w.empty()) written.push_back(w);
}

Rect Presenter::draw_all(const Framebuffer& fb, PixelTarget& target) {
    const Rect window{0, 0, layout_.output.width, layout_.output.height};
    const Rect client{0, 0, layout_.client.width, layout_.client.height};
    for (const Rect& r :
         subtract(window, viewer::window_rect(layout_, intersect(fb.bounds(), client)))) {
        fill_target(target, r, 0);
    }
    shown_.assign(fb);
    paint(fb, fb.bounds(), target);
    return window;
}

} // namespace kv::sdl
