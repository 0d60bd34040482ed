// What the viewer shows over the picture: its boxes (the readout, the list of keys, the program's
// panel), the program's layer, and the badge with its messages; and the picture's zoom.
#include "viewer/viewer.h"

#include <utility>

namespace kv::viewer {

namespace {

constexpr std::uint64_t kMessageMs = 4000; // how long the badge shows a saved file's name
// The list of keys' title, after the program's name, if it gave one.
constexpr Text kKeys{" : touches", ": keys"};
constexpr Text kKeysAlone{"Touches", "Keys"};

std::string help_title(const std::string& program, Lang lang) {
    return program.empty() ? std::string(kKeysAlone(lang)) : program + std::string(kKeys(lang));
}

} // namespace

void Viewer::act_over_picture(Action action) {
    switch (action) {
    case Action::ToggleReadout:
        readout_.toggle();
        break;
    case Action::ToggleLayer:
        layer_.toggle();
        break;
    case Action::ToggleHelp:
    case Action::CloseHelp:
        show_help(action == Action::ToggleHelp && !help_);
        if (action == Action::CloseHelp && focus_.shown()) focus_.focus_out();
        break;
    case Action::TogglePanel:
        toggle_panel();
        break;
    default: // zoom and full screen
        screen_.zoom(action);
        break;
    }
}

bool Viewer::panel_key(const KeyPress& press) {
    // Escape takes away the box on top first: the list of keys.
    if (help_ && press.key == "Escape") return false;
    if (!panel_.key(press, program_.panel, program_.language)) return false;
    show_panel();
    layer_.changed();
    update_status();
    return true;
}

void Viewer::panel_click(std::size_t row, int step) {
    if (!panel_.click(row, step, program_.panel, program_.language)) return;
    show_panel();
    layer_.changed();
}

void Viewer::toggle_panel() {
    if (program_.panel) {
        panel_.toggle();
        show_panel();
    } else if (program_.open_panel) {
        program_.open_panel();
    }
}

void Viewer::show_panel() {
    // A program that shows its panel itself (the page's) has no such box on its screen.
    if (program_.panel) screen_.show(Slot::Panel, panel_.box(program_.panel, program_.language));
}

void Viewer::set_language(Lang lang) {
    program_.language = lang;
    show_help(help_);
    show_panel();
    if (focus_.shown()) focus_.show();
    update_status();
}

void Viewer::show_help(bool shown) {
    help_ = shown;
    const Lang lang = program_.language;
    screen_.show(Slot::Help,
                 help_ ? Box{help_title(program_.name, lang), key_help(program_.actions, lang)}
                       : Box{});
}

void Viewer::update_status() {
    status_.paused = clock_.paused();
    status_.readout = readout_.shown();
    status_.layer = layer_.on();
    status_.sound = sound_.on();
    status_.recording = captures_.recording();
    status_.help = help_;
    status_.panel = program_.panel && panel_.shown();
    status_.clock = clock_badge(clock_);
    screen_.show_status(status_);
    std::vector<ToolbarButton> toolbar =
        toolbar_buttons(program_.actions, program_.language, status_);
    if (toolbar != toolbar_) {
        toolbar_ = std::move(toolbar);
        screen_.show_toolbar(toolbar_);
    }
}

void Viewer::say(const std::optional<std::string>& message) {
    if (!message) return;
    status_.message = *message;
    message_until_ms_ = screen_.now_ms() + kMessageMs;
    update_status();
}

void Viewer::take_message_away(std::uint64_t wall) {
    if (status_.message.empty() || wall < message_until_ms_) return;
    status_.message.clear();
    update_status();
}

} // namespace kv::viewer
