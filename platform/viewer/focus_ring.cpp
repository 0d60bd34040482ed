#include "viewer/focus_ring.h"

namespace kv::viewer {

bool FocusRing::act(Action action) {
    if (action == Action::FocusNext || action == Action::FocusPrevious)
        return move(action == Action::FocusNext);
    click(action == Action::FocusClick ? InputEvent::Button::Left : InputEvent::Button::Right);
    return true;
}

void FocusRing::focus_in(bool backwards) {
    const std::size_t parts = program_.focus_regions.size();
    if (parts == 0) return;
    ring_ = true;
    focus_ = backwards ? parts - 1 : 0;
    show();
}

void FocusRing::focus_out() {
    if (!ring_ && focus_ == 0) return;
    ring_ = false;
    focus_ = 0;
    show();
}

bool FocusRing::move(bool forward) {
    const std::size_t parts = program_.focus_regions.size();
    if (parts == 0) return false;
    if (!ring_) {
        ring_ = true; // first the part where the focus stands
    } else if (forward ? focus_ + 1 < parts : focus_ > 0) {
        focus_ = forward ? focus_ + 1 : focus_ - 1;
    } else if (screen_.focus_moves_on()) {
        focus_out();
        return false;
    } else {
        focus_ = forward ? 0 : parts - 1;
    }
    show();
    return true;
}

void FocusRing::click(InputEvent::Button button) {
    if (program_.focus_regions.empty()) return;
    ring_ = true;
    show();
    const Rect& r = program_.focus_regions[focus_].rect;
    for (const InputEvent::Kind kind : {InputEvent::Kind::ButtonDown, InputEvent::Kind::ButtonUp})
        clicks_.push_back({kind, button, (r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void FocusRing::show() {
    const FocusRegion* part = ring_ ? &program_.focus_regions[focus_] : nullptr;
    screen_.show_focus(part != nullptr ? std::optional<Rect>(part->rect) : std::nullopt);
    screen_.name_focus(part != nullptr ? std::string(part->name(program_.language))
                                       : std::string());
}

bool FocusRing::take_clicks(std::vector<InputEvent>& out) {
    if (clicks_.empty()) return false;
    out.insert(out.end(), clicks_.begin(), clicks_.end());
    clicks_.clear();
    return true;
}

} // namespace kv::viewer
