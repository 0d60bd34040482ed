#include "viewer/viewer.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace kv::viewer {

namespace {

constexpr std::uint64_t kMessageMs = 4000; // how long the badge shows a saved file's name
// The longest slice of work between Ticks: a frame of the page, or a Tick, waits no longer.
constexpr std::uint64_t kSliceMs = 8;
constexpr Text kHelpTitle{"KORVELINE : touches", "KORVELINE: keys"};
constexpr Text kSaved{"Enregistré : ", "Saved "};       // then where
constexpr Text kNoSound{"Pas de son : ", "No sound: "}; // then why

} // namespace

std::optional<std::string> Status::badge() const {
    if (!message.empty()) return message;
    const std::string text =
        (recording ? "REC" : "") + std::string(recording && clock ? "  " : "") + clock.value_or("");
    if (text.empty()) return std::nullopt;
    return text;
}

std::optional<bool> Status::on(Action action) const {
    if (action == Action::TogglePause) return paused;
    if (action == Action::ToggleRecording) return recording;
    if (action == Action::ToggleReadout) return readout;
    if (action == Action::ToggleSteadyCurve) return steady_curve;
    if (action == Action::ToggleSound) return sound;
    return std::nullopt;
}

bool Screen::act(Action action) const {
    return viewer_ == nullptr || viewer_->act(action);
}

bool Screen::panel_key(const KeyPress& press) const {
    return viewer_ != nullptr && viewer_->panel_key(press);
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

Viewer::Viewer(Screen& screen, Tools tools) : screen_(screen), tools_(std::move(tools)) {
    screen_.connect(*this);
}

bool Viewer::open_window(const std::string& title, int client_width, int client_height,
                         std::string& why) {
    if (!screen_.open_window(title, client_width, client_height, why)) return false;
    clock_ = ViewerClock(screen_.now_ms());
    update_status();
    return true;
}

void Viewer::close_window() {
    // A recording still running is kept, as if Ctrl R had stopped it.
    if (recording_) act(Action::ToggleRecording);
    if (sound_) act(Action::ToggleSound);
    fb_ = nullptr;
    screen_.close_window();
}

void Viewer::poll(std::vector<InputEvent>& out) {
    finish_tick();
    screen_.poll(out);
    take_clicks(out);
}

void Viewer::wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) {
    finish_tick();
    if (!clicks_.empty()) {
        take_clicks(out);
        return;
    }
    for (;;) {
        const std::uint64_t wall = screen_.now_ms();
        if (!status_.message.empty() && wall >= message_until_ms_) {
            status_.message.clear();
            update_status();
        }
        if (clock_.take_step(deadline_ms)) return;
        // Fast motion: the rest of this period's Ticks come at once.
        if (deadline_ms && clock_.run_next_tick_now(*deadline_ms, wall)) return;
        // Recomputed on every pass: an action may just have paused or slowed the clock.
        std::optional<std::uint64_t> until;
        if (deadline_ms) until = clock_.wall_deadline(*deadline_ms, wall);
        if (until && *until <= wall) return;
        // A readout held back shows once due, or at once before a wait for input alone.
        if (readout_stale_) {
            if (!until || wall >= readout_due_ms_)
                show_readout();
            else
                until = std::min(*until, readout_due_ms_);
        }
        // A message in the badge wakes us to take it away.
        if (!status_.message.empty())
            until = std::min(until.value_or(message_until_ms_), message_until_ms_);
        until = work_between_ticks(until);
        screen_.wait(until, out);
        take_clicks(out);
        // Woken before its time: by input, or by something handed in that may have posted the
        // window a message (the key L, the page's language): the application takes it now, not
        // at the next Tick, which a paused clock never brings.
        if (!out.empty() || !until || screen_.now_ms() < *until) return;
    }
}

void Viewer::present(const Framebuffer& fb, const Region& changed) {
    fb_ = &fb;
    screen_.present(fb, changed);
}

void Viewer::timer_delivered(std::uint64_t /*now_ms*/, std::uint64_t period_ms) {
    finish_tick();
    if (tools_.ticks.starting) tools_.ticks.starting();
    tick_running_ = true;
    period_ms_ = period_ms;
    clock_.timer_delivered(screen_.now_ms());
    screen_.timer_delivered(screen_.now_ms(), period_ms);
}

void Viewer::finish_tick() {
    if (!tick_running_) return;
    tick_running_ = false;
    if (tools_.ticks.done) tools_.ticks.done();
    if (recording_ && fb_ != nullptr) {
        try {
            recording_->add_frame(*fb_, frame_delay_cs());
        } catch (const std::exception& e) {
            recording_.reset();
            say(e.what());
        }
    }
    if (status_.readout) {
        if (screen_.now_ms() >= readout_due_ms_)
            show_readout();
        else
            readout_stale_ = true;
    }
    if (sound_) play_sound();
    show_layer();
    work_left_ = true;
}

void Viewer::show_layer() {
    if (!tools_.layer) return;
    if (std::optional<Layer> layer = tools_.layer({status_.readout, status_.steady_curve}))
        screen_.show_layer(*layer);
}

std::optional<std::uint64_t> Viewer::work_between_ticks(std::optional<std::uint64_t> until) {
    if (!work_left_ || !tools_.between_ticks) return until;
    const std::uint64_t wall = screen_.now_ms();
    if (until && *until <= wall) return until;
    const std::uint64_t end = std::min(until.value_or(wall + kSliceMs), wall + kSliceMs);
    work_left_ = tools_.between_ticks([&] { return screen_.now_ms() < end; });
    show_layer();
    // More to do: back after a short wait, which lets the screen take its input (and the page
    // its frames) in between.
    if (work_left_) return std::min(until.value_or(wall + 1), screen_.now_ms() + 1);
    return until;
}

template <class Capture> void Viewer::tell(const Capture& capture) {
    try {
        const std::string where = capture();
        if (!where.empty()) say(latin1(kSaved(tools_.language)) + where);
    } catch (const std::exception& e) {
        say(e.what());
    }
}

bool Viewer::act(Action action) {
    const std::uint64_t wall = screen_.now_ms();
    bool focus_stays = true;
    switch (action) {
    case Action::TogglePause:
        clock_.toggle_pause(wall);
        if (sound_) play_sound();
        break;
    case Action::Step:
        clock_.request_step();
        break;
    case Action::Slower:
    case Action::Faster:
        if (action == Action::Slower)
            clock_.slower(wall);
        else
            clock_.faster(wall);
        // The readout tells how slowed down the motor's time is: paused, no Tick would redraw it.
        if (status_.readout) show_readout();
        break;
    case Action::ToggleReadout:
        status_.readout = !status_.readout;
        show_readout();
        break;
    case Action::ToggleSteadyCurve:
        status_.steady_curve = !status_.steady_curve;
        break;
    case Action::SavePicture:
        if (fb_ != nullptr) tell([&] { return screen_.save_picture(*fb_, tools_.file_stem); });
        break;
    case Action::SaveData:
        if (!tools_.write_data) break;
        tell([&] {
            const std::unique_ptr<image::Output> out = screen_.new_capture(tools_.file_stem, "csv");
            tools_.write_data(*out);
            return out->keep();
        });
        break;
    case Action::ToggleRecording:
        if (recording_) {
            tell([writer = std::move(recording_)] { return writer->finish(); });
        } else {
            start_recording();
        }
        break;
    case Action::ToggleSound:
        toggle_sound();
        break;
    case Action::NextLanguage:
        if (tools_.next_language) set_language(tools_.next_language());
        break;
    case Action::NextLook:
        if (tools_.next_look) tools_.next_look();
        break;
    case Action::ToggleHelp:
    case Action::CloseHelp:
        help_ = action == Action::ToggleHelp && !help_;
        show_help();
        if (action == Action::CloseHelp && ring_) focus_out();
        break;
    case Action::ToggleLab:
        if (tools_.lab) {
            lab_.toggle();
            show_lab();
        } else if (tools_.open_lab) {
            tools_.open_lab();
        }
        break;
    case Action::FocusNext:
    case Action::FocusPrevious:
        focus_stays = move_focus(action == Action::FocusNext);
        break;
    case Action::FocusClick:
        click_focused(InputEvent::Button::Left);
        break;
    case Action::FocusRightClick:
        click_focused(InputEvent::Button::Right);
        break;
    default: // zoom and full screen
        screen_.zoom(action);
        break;
    }
    show_layer();
    work_left_ = true;
    update_status();
    return focus_stays;
}

bool Viewer::panel_key(const KeyPress& press) {
    if (!lab_.key(press, tools_.lab, tools_.language)) return false;
    show_lab();
    return true;
}

void Viewer::show_lab() {
    // A program without the panel (the page shows its own) has no such box on its screen.
    if (tools_.lab) screen_.show(Slot::Lab, lab_.box(tools_.lab, tools_.language));
}

void Viewer::set_language(Lang lang) {
    tools_.language = lang;
    show_help();
    show_lab();
    if (ring_) show_focus();
}

void Viewer::focus_in(bool backwards) {
    const std::size_t parts = tools_.focus_regions.size();
    if (parts == 0) return;
    ring_ = true;
    focus_ = backwards ? parts - 1 : 0;
    show_focus();
}

void Viewer::focus_out() {
    if (!ring_ && focus_ == 0) return;
    ring_ = false;
    focus_ = 0;
    show_focus();
}

bool Viewer::move_focus(bool forward) {
    const std::size_t parts = tools_.focus_regions.size();
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
    show_focus();
    return true;
}

void Viewer::click_focused(InputEvent::Button button) {
    if (tools_.focus_regions.empty()) return;
    ring_ = true;
    show_focus();
    const Rect& r = tools_.focus_regions[focus_].rect;
    for (const InputEvent::Kind kind : {InputEvent::Kind::ButtonDown, InputEvent::Kind::ButtonUp})
        clicks_.push_back({kind, button, (r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void Viewer::show_focus() {
    screen_.show_focus(ring_ ? std::optional<Rect>(tools_.focus_regions[focus_].rect)
                             : std::nullopt);
    screen_.name_focus(ring_ ? std::string(tools_.focus_regions[focus_].name(tools_.language))
                             : std::string());
}

void Viewer::take_clicks(std::vector<InputEvent>& out) {
    out.insert(out.end(), clicks_.begin(), clicks_.end());
    clicks_.clear();
}

void Viewer::show_help() {
    screen_.show(Slot::Help,
                 help_ ? Box{latin1(kHelpTitle(tools_.language)), key_help(tools_.language)}
                       : Box{});
}

void Viewer::show_readout() {
    readout_stale_ = false;
    readout_due_ms_ = screen_.now_ms() + screen_.readout_every_ms();
    const bool on = status_.readout && tools_.readout;
    screen_.show(Slot::Readout, on ? Box{tools_.readout_title ? tools_.readout_title() : "",
                                         tools_.readout(pace(clock_.speed()))}
                                   : Box{});
}

void Viewer::toggle_sound() {
    std::string why;
    if (sound_) {
        sound_ = false;
        screen_.sound(std::nullopt, why);
        return;
    }
    tones_ = hum_tones();
    if (!screen_.sound(tones_, why)) {
        say(latin1(kNoSound(tools_.language)) + why);
        return;
    }
    sound_ = true;
}

Tones Viewer::hum_tones() const {
    return tones_for(tools_.hum ? tools_.hum() : std::nullopt, clock_.paused());
}

void Viewer::play_sound() {
    const Tones now = hum_tones();
    if (now == tones_) return;
    tones_ = now;
    std::string why;
    screen_.sound(tones_, why);
}

void Viewer::update_status() {
    status_.paused = clock_.paused();
    status_.sound = sound_;
    status_.recording = recording_ != nullptr;
    status_.clock = clock_badge(clock_);
    screen_.show_status(status_);
}

void Viewer::say(const std::string& message) {
    status_.message = message;
    message_until_ms_ = screen_.now_ms() + kMessageMs;
    update_status();
}

void Viewer::start_recording() {
    if (fb_ == nullptr) return;
    try {
        recording_ = std::make_unique<image::GifWriter>(
            screen_.new_capture(tools_.file_stem, "gif"),
            tools_.recording_comment ? tools_.recording_comment() : "");
        // The picture as it is now, then one frame after every Tick.
        recording_->add_frame(*fb_, frame_delay_cs());
    } catch (const std::exception& e) {
        recording_.reset();
        say(e.what());
    }
}

} // namespace kv::viewer
