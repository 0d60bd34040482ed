#include "backends/sdl/presenter.h"

#include "backends/sdl/badge.h"

namespace kv::sdl {

Rect Presenter::badge_rect() const {
    if (!badge_text_) return Rect{};
    return badge_place(layout_.client.width, badge_.width(), badge_.height());
}

Rect Presenter::set_badge(const std::optional<std::string>& text) {
    if (text == badge_text_) return Rect{};
    const Rect before = badge_rect();
    badge_text_ = text;
    badge_ = text ? render_badge(*text) : Framebuffer{};
    return bounding_union(before, badge_rect());
}

Rect Presenter::paint(const Framebuffer& fb, const Rect& area, PixelTarget& target) const {
    blit_zoomed(fb, area, Point{area.left, area.top}, layout_, target);
    const Rect badge = badge_rect();
    const Rect covered = intersect(area, badge);
    if (!covered.empty()) {
        const Rect in_badge{covered.left - badge.left, covered.top - badge.top,
                            covered.right - badge.left, covered.bottom - badge.top};
        blit_zoomed(badge_, in_badge, Point{covered.left, covered.top}, layout_, target);
    }
    return window_rect(layout_, intersect(area, fb.bounds()));
}

std::vector<Rect> Presenter::draw_changes(const Framebuffer& fb, const Region& changed,
                                          PixelTarget& target) {
    std::vector<Rect> written;
    for (const Rect& r : changed.rects()) {
        for (const Rect& piece : shown_.take_changes(fb, r)) {
            const Rect w = paint(fb, piece, target);
            if (!w.empty()) written.push_back(w);
        }
    }
    return written;
}

std::vector<Rect> Presenter::draw_area(const Framebuffer& fb, const Rect& area,
                                       PixelTarget& target) {
    shown_.take_changes(fb, area);
    const Rect w = paint(fb, area, target);
    if (w.empty()) return {};
    return {w};
}

Rect Presenter::draw_all(const Framebuffer& fb, PixelTarget& target) {
    const Rect window{0, 0, layout_.output.width, layout_.output.height};
    const Rect client{0, 0, layout_.client.width, layout_.client.height};
    for (const Rect& r : subtract(window, window_rect(layout_, intersect(fb.bounds(), client)))) {
        fill_target(target, r, 0);
    }
    shown_.assign(fb);
    paint(fb, fb.bounds(), target);
    return window;
}

} // namespace kv::sdl
