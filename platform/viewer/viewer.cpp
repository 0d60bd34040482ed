#include "viewer/viewer.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace kv::viewer {

namespace {

constexpr std::uint64_t kMessageMs = 4000; // how long the badge shows a saved file's name
constexpr Text kHelpTitle{"KORVELINE : touches", "KORVELINE: keys"};

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
    return std::nullopt;
}

void Screen::act(Action action) const {
    if (viewer_ != nullptr) viewer_->act(action);
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
    fb_ = nullptr;
    screen_.close_window();
}

void Viewer::poll(std::vector<InputEvent>& out) {
    finish_tick();
    screen_.poll(out);
}

void Viewer::wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) {
    finish_tick();
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
        // A message in the badge wakes us to take it away.
        if (!status_.message.empty())
            until = std::min(until.value_or(message_until_ms_), message_until_ms_);
        screen_.wait(until, out);
        if (!out.empty()) return;
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
    if (status_.readout) show_readout();
}

template <class Capture> void Viewer::tell(const Capture& capture) {
    try {
        const std::string where = capture();
        if (!where.empty()) say("Saved " + where);
    } catch (const std::exception& e) {
        say(e.what());
    }
}

void Viewer::act(Action action) {
    const std::uint64_t wall = screen_.now_ms();
    switch (action) {
    case Action::TogglePause:
        clock_.toggle_pause(wall);
        break;
    case Action::Step:
        clock_.request_step();
        break;
    case Action::Slower:
        clock_.slower(wall);
        break;
    case Action::Faster:
        clock_.faster(wall);
        break;
    case Action::ToggleReadout:
        status_.readout = !status_.readout;
        show_readout();
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
    case Action::ToggleHelp:
    case Action::CloseHelp:
        help_ = action == Action::ToggleHelp && !help_;
        screen_.show(Slot::Help, help_ ? Box{std::string(kHelpTitle(tools_.language)),
                                             key_help(tools_.language)}
                                       : Box{});
        break;
    default: // zoom and full screen
        screen_.zoom(action);
        break;
    }
    update_status();
}

void Viewer::show_readout() {
    const bool on = status_.readout && tools_.readout;
    screen_.show(Slot::Readout, on ? Box{tools_.readout_title, tools_.readout()} : Box{});
}

void Viewer::update_status() {
    status_.paused = clock_.paused();
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
        recording_ =
            std::make_unique<image::GifWriter>(screen_.new_capture(tools_.file_stem, "gif"));
        // The picture as it is now, then one frame after every Tick.
        recording_->add_frame(*fb_, frame_delay_cs());
    } catch (const std::exception& e) {
        recording_.reset();
        say(e.what());
    }
}

} // namespace kv::viewer
