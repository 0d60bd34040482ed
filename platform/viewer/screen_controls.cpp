// What a screen's keys and buttons reach of the viewer it is connected to.
#include "viewer/viewer.h"

namespace kv::viewer {

bool Screen::act(Action action) const {
    return viewer_ == nullptr || viewer_->act(action);
}

bool Screen::panel_key(const KeyPress& press) const {
    return viewer_ != nullptr && viewer_->panel_key(press);
}

void Screen::panel_click(std::size_t row, int step) const {
    if (viewer_ != nullptr) viewer_->panel_click(row, step);
}

std::span<const ActionInfo> Screen::actions() const {
    if (viewer_ == nullptr) return {};
    return viewer_->actions();
}

std::optional<Action> Screen::action_for_key(const KeyPress& press) const {
    return viewer::action_for_key(actions(), press);
}

void Screen::focus_in(bool backwards) const {
    if (viewer_ != nullptr) viewer_->focus_in(backwards);
}

void Screen::focus_out() const {
    if (viewer_ != nullptr) viewer_->focus_out();
}

void Screen::language(Lang lang) const {
    if (viewer_ != nullptr) viewer_->set_language(lang);
}

} // namespace kv::viewer
