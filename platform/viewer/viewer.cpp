#include "viewer/viewer.h"

#include <utility>

namespace kv::viewer {

Viewer::Viewer(Screen& screen, Program program) : screen_(screen), program_(std::move(program)) {
    screen_.connect(*this);
}

bool Viewer::open_window(const std::string& title, int client_width, int client_height,
                         std::string& why) {
    // The window is made with room for its toolbar.
    toolbar_ = toolbar_buttons(program_.actions, program_.language, status_);
    screen_.show_toolbar(toolbar_);
    if (!screen_.open_window(title, client_width, client_height, why)) return false;
    clock_ = ViewerClock(screen_.now_ms());
    update_status();
    return true;
}

void Viewer::close_window() {
    // A recording still running is kept, as if Ctrl R had stopped it.
    if (captures_.recording()) act(Action::ToggleRecording);
    if (sound_.on()) act(Action::ToggleSound);
    captures_.picture(nullptr);
    screen_.close_window();
}

void Viewer::present(const Framebuffer& fb, const Region& changed) {
    captures_.picture(&fb);
    screen_.present(fb, changed);
}

bool Viewer::act(Action action) {
    bool focus_stays = true;
    switch (action) {
    case Action::TogglePause:
    case Action::Step:
    case Action::Slower:
    case Action::Faster:
        act_on_clock(action);
        break;
    case Action::SavePicture:
    case Action::SaveData:
    case Action::ToggleRecording:
        say(captures_.act(action));
        break;
    case Action::ToggleSound:
        say(sound_.toggle(clock_.paused()));
        break;
    case Action::FocusNext:
    case Action::FocusPrevious:
    case Action::FocusClick:
    case Action::FocusRightClick:
        focus_stays = focus_.act(action);
        break;
    case Action::NextLanguage:
        if (program_.next_language) set_language(program_.next_language());
        break;
    case Action::NextLook:
        if (program_.next_look) program_.next_look();
        break;
    default:
        act_over_picture(action);
        break;
    }
    layer_.changed();
    update_status();
    return focus_stays;
}

void Viewer::act_on_clock(Action action) {
    const std::uint64_t wall = screen_.now_ms();
    if (action == Action::TogglePause) {
        clock_.toggle_pause(wall);
        sound_.follow(clock_.paused());
    } else if (action == Action::Step) {
        clock_.request_step();
    } else {
        if (action == Action::Slower)
            clock_.slower(wall);
        else
            clock_.faster(wall);
        // The readout tells how slowed down the program's time is: paused, no Tick would redraw
        // it.
        if (readout_.shown()) readout_.show();
    }
}

} // namespace kv::viewer
