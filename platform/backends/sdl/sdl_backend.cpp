#include "backends/sdl/sdl_backend.h"

#include "image/gif_writer.h"
#include "image/png_writer.h"
#include "backends/sdl/captures.h"
#include "backends/sdl/key_controls.h"
#include "backends/sdl/latin1.h"
#include "backends/sdl/video_drivers.h"
#include "backends/sdl/window_icon.h"

#include <windows.h>

#include <SDL.h>

#include <algorithm>
#include <ctime>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <limits>

namespace kv::sdl {

namespace {

InputEvent event_of(InputEvent::Kind kind) {
    InputEvent e;
    e.kind = kind;
    return e;
}

constexpr unsigned kIconMask = 0xF0;       // MB_ICONMASK
constexpr std::uint64_t kMessageMs = 4000; // how long the badge shows a saved file's name
constexpr int kTickDelayCs = 5;            // a Tick's 50 ms, in a GIF's hundredths of a second
// Pumping SDL's events asks the display's connection some ten times over, and the message loop
// looks for input two or three times a Tick: within this long of the last pump, only what SDL
// already holds is taken. Waiting pumps too, so idle input is still seen at once.
constexpr std::uint64_t kPumpEveryMs = 4;

std::uint64_t wall_ms() {
    return SDL_GetTicks64();
}

// Unless the user names a driver, only real displays are tried. False when SDL has none.
bool prefer_displays() {
    if (std::getenv("SDL_VIDEODRIVER") != nullptr) return true;
    std::vector<std::string> compiled;
    compiled.reserve(static_cast<std::size_t>(std::max(SDL_GetNumVideoDrivers(), 0)));
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i)
        compiled.emplace_back(SDL_GetVideoDriver(i));
    const DriverEnvironment environment{std::getenv("WAYLAND_DISPLAY") != nullptr,
                                        std::getenv("XDG_RUNTIME_DIR") != nullptr};
    const std::string list = display_driver_list(compiled, environment);
    if (list.empty()) return false;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, list.c_str());
    return true;
}

int start_zoom() {
    float dpi = 0;
    if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) != 0)
        return viewer::start_zoom_for_dpi(std::nullopt);
    return viewer::start_zoom_for_dpi(dpi);
}

// The first display's area less its panels; none known: room for any zoom.
viewer::Size usable_area() {
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return viewer::Size{1 << 16, 1 << 16};
    return viewer::Size{usable.w, usable.h};
}

Uint32 message_box_flags(unsigned type) {
    switch (type & kIconMask) {
    case MB_ICONERROR:
        return SDL_MESSAGEBOX_ERROR;
    case MB_ICONEXCLAMATION:
        return SDL_MESSAGEBOX_WARNING;
    default:
        return SDL_MESSAGEBOX_INFORMATION;
    }
}

} // namespace

SdlBackend::SdlBackend(const std::string& tick_log_path, ViewerTools tools)
    : tick_log_(tick_log_path), tools_(std::move(tools)) {}

SdlBackend::~SdlBackend() {
    close_window();
    if (video_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
}

bool SdlBackend::open_window(const std::string& title, int client_width, int client_height,
                             std::string& why) {
    // The lightest path for a picture made on the CPU: the window's own surface, no renderer.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (!prefer_displays()) {
        why = "this SDL has no video driver for a display";
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        why = SDL_GetError();
        return false;
    }
    video_ = true;
    int zoom = viewer::window_zoom(start_zoom(), usable_area(),
                                   viewer::Size{client_width, client_height}, viewer::Size{});
    window_ = SDL_CreateWindow(latin1_to_utf8(title).c_str(), SDL_WINDOWPOS_UNDEFINED,
                               SDL_WINDOWPOS_UNDEFINED, client_width * zoom, client_height * zoom,
                               SDL_WINDOW_RESIZABLE);
    if (window_ != nullptr)
        screen_ = std::make_unique<WindowScreen>(window_, viewer::Size{client_width, client_height},
                                                 zoom);
    if (window_ == nullptr || !screen_->usable()) {
        why = SDL_GetError();
        close_window();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        video_ = false;
        return false;
    }
    if (!icon_png_.empty()) set_window_icon(window_, icon_png_);
    waiter_.attach(window_);
    // Only buttons, keys and the window's own events matter: the rest would wake us for nothing.
    for (const Uint32 type : {SDL_MOUSEMOTION, SDL_MOUSEWHEEL, SDL_TEXTINPUT, SDL_TEXTEDITING,
                              SDL_KEYUP, SDL_FINGERMOTION}) {
        SDL_EventState(type, SDL_IGNORE);
    }
    SDL_StopTextInput();
    clock_ = viewer::ViewerClock(wall_ms());
    return true;
}

void SdlBackend::close_window() {
    // A recording still running is kept, as if Ctrl R had stopped it.
    if (recording_) finish_recording(false);
    fb_ = nullptr;
    if (window_ == nullptr) return;
    // SDL's own wake-up message may still be on its way to this window.
    x11_errors_.window_closing();
    waiter_.detach();
    screen_.reset();
    SDL_DestroyWindow(window_);
    window_ = nullptr;
}

std::uint64_t SdlBackend::now_ms() {
    return clock_.now(wall_ms());
}

void SdlBackend::poll(std::vector<InputEvent>& out) {
    finish_tick();
    const std::uint64_t now = wall_ms();
    if (now - pumped_ms_ >= kPumpEveryMs) {
        SDL_PumpEvents();
        pumped_ms_ = now;
    }
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        translate(e, out);
}

void SdlBackend::wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) {
    finish_tick();
    for (;;) {
        if (!message_.empty() && wall_ms() >= message_until_ms_) {
            message_.clear();
            update_badge();
        }
        if (clock_.take_step(deadline_ms)) return;
        // Fast motion: the rest of this period's Ticks come at once.
        if (deadline_ms && clock_.run_next_tick_now(*deadline_ms, wall_ms())) return;
        // Recomputed on every pass: a key may just have paused or slowed the clock.
        std::optional<std::uint64_t> until;
        if (deadline_ms) until = clock_.wall_deadline(*deadline_ms, wall_ms());
        // A message in the badge wakes us to take it away.
        std::optional<std::uint64_t> wake = until;
        if (!message_.empty()) wake = std::min(wake.value_or(message_until_ms_), message_until_ms_);
        SDL_Event e;
        bool got = false;
        if (wake) {
            const std::uint64_t now = wall_ms();
            if (until && *until <= now) return;
            if (*wake <= now) continue;
            const std::uint64_t left = std::min<std::uint64_t>(
                *wake - now, static_cast<std::uint64_t>(std::numeric_limits<int>::max()));
            got = waiter_.next(e, static_cast<int>(left));
        } else {
            got = waiter_.next(e, -1);
            if (!got) return; // a signal, or SDL's queue is gone: the message loop decides
        }
        pumped_ms_ = wall_ms(); // waiting took in whatever the display had sent
        if (!got) continue;     // timed out: the clock decides
        translate(e, out);
        poll(out);
        if (!out.empty()) return;
    }
}

void SdlBackend::translate(const SDL_Event& e, std::vector<InputEvent>& out) {
    switch (e.type) {
    case SDL_QUIT:
        out.push_back(event_of(InputEvent::Kind::Close));
        break;
    case SDL_WINDOWEVENT:
        on_window_event(e.window, out);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        on_mouse_button(e.button, out);
        break;
    case SDL_KEYDOWN:
        on_key(e.key);
        break;
    default:
        break;
    }
}

void SdlBackend::on_window_event(const SDL_WindowEvent& e, std::vector<InputEvent>& out) {
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE:
        out.push_back(event_of(InputEvent::Kind::Close));
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (const std::optional<viewer::Size> client = screen_->resized(e.data1, e.data2)) {
            InputEvent resize = event_of(InputEvent::Kind::Resize);
            resize.width = client->width;
            resize.height = client->height;
            out.push_back(resize);
        }
        // The window's pixels are new: show the whole picture again at once.
        screen_->show_all();
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        screen_->show_all();
        break;
    default:
        break;
    }
}

void SdlBackend::on_mouse_button(const SDL_MouseButtonEvent& e, std::vector<InputEvent>& out) {
    if (e.button != SDL_BUTTON_LEFT && e.button != SDL_BUTTON_RIGHT) return;
    // Clicks on the black around a full-screen picture are outside the client area.
    const std::optional<Point> at = screen_->client_point(e.x, e.y);
    if (!at) return;
    InputEvent event = event_of(e.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::ButtonDown
                                                              : InputEvent::Kind::ButtonUp);
    event.button =
        e.button == SDL_BUTTON_LEFT ? InputEvent::Button::Left : InputEvent::Button::Right;
    event.x = at->x;
    event.y = at->y;
    out.push_back(event);
}

void SdlBackend::on_key(const SDL_KeyboardEvent& e) {
    const std::optional<ViewerAction> action = viewer_action(e.keysym, e.repeat != 0);
    if (!action) return;
    switch (*action) {
    case ViewerAction::TogglePause:
        clock_.toggle_pause(wall_ms());
        break;
    case ViewerAction::Step:
        clock_.request_step();
        break;
    case ViewerAction::Slower:
        clock_.slower(wall_ms());
        break;
    case ViewerAction::Faster:
        clock_.faster(wall_ms());
        break;
    case ViewerAction::ZoomIn:
        screen_->set_zoom(screen_->zoom() + 1);
        break;
    case ViewerAction::ZoomOut:
        screen_->set_zoom(screen_->zoom() - 1);
        break;
    case ViewerAction::ZoomReset:
        screen_->set_zoom(1);
        break;
    case ViewerAction::ToggleFullscreen:
        screen_->toggle_fullscreen();
        break;
    case ViewerAction::ToggleHelp:
        show_help(!screen_->has_overlay(Overlay::Help));
        break;
    case ViewerAction::CloseHelp:
        show_help(false);
        break;
    case ViewerAction::SavePicture:
        save_picture();
        break;
    case ViewerAction::ToggleRecording:
        recording_ ? finish_recording(true) : start_recording();
        break;
    case ViewerAction::SaveData:
        save_data();
        break;
    case ViewerAction::ToggleReadout:
        readout_ = !readout_;
        update_readout();
        break;
    }
    update_badge();
}

void SdlBackend::say(const std::string& message) {
    message_ = message;
    message_until_ms_ = wall_ms() + kMessageMs;
    update_badge();
}

void SdlBackend::save_picture() {
    if (fb_ == nullptr) return;
    const std::string path =
        new_capture_path(captures_folder(), tools_.file_stem, "png", std::time(nullptr));
    try {
        image::write_png(*fb_, path);
        say("Saved " + path);
    } catch (const std::exception& e) {
        say(e.what());
    }
}

void SdlBackend::start_recording() {
    if (fb_ == nullptr) return;
    const std::string path =
        new_capture_path(captures_folder(), tools_.file_stem, "gif", std::time(nullptr));
    try {
        auto writer = std::make_unique<image::GifWriter>(path);
        // The picture as it is now, then one frame after every Tick.
        writer->add_frame(*fb_, kTickDelayCs);
        recording_ = std::move(writer);
        recording_path_ = path;
    } catch (const std::exception& e) {
        say(e.what());
    }
}

void SdlBackend::finish_recording(bool tell) {
    std::unique_ptr<image::GifWriter> writer = std::move(recording_);
    try {
        writer->finish();
        if (tell) say("Saved " + recording_path_);
    } catch (const std::exception& e) {
        if (tell) say(e.what());
    }
}

void SdlBackend::save_data() {
    if (!tools_.write_data) return;
    const std::string path =
        new_capture_path(captures_folder(), tools_.file_stem, "csv", std::time(nullptr));
    try {
        tools_.write_data(path);
        say("Saved " + path);
    } catch (const std::exception& e) {
        say(e.what());
    }
}

void SdlBackend::update_readout() {
    if (!screen_) return;
    const bool on = readout_ && tools_.readout;
    screen_->set_overlay(Overlay::Readout,
                         on ? viewer::render_box(tools_.readout_title, tools_.readout())
                            : Framebuffer{},
                         Anchor::BottomLeft);
}

void SdlBackend::finish_tick() {
    if (!tick_running_) return;
    tick_running_ = false;
    if (tools_.tick_done) tools_.tick_done();
    if (recording_ && fb_ != nullptr) {
        try {
            recording_->add_frame(*fb_, kTickDelayCs);
        } catch (const std::exception& e) {
            recording_.reset();
            say(e.what());
        }
    }
    if (readout_) update_readout();
}

void SdlBackend::show_help(bool on) {
    if (!screen_) return;
    screen_->set_overlay(Overlay::Help,
                         on ? viewer::render_box("KORVELINE: keys", key_help()) : Framebuffer{},
                         Anchor::Centre);
}

void SdlBackend::update_badge() {
    if (!screen_) return;
    if (!message_.empty()) {
        screen_->set_badge(message_);
        return;
    }
    std::string text = recording_ ? "REC" : "";
    if (const std::optional<std::string> clock = viewer::clock_badge(clock_)) {
        text += (text.empty() ? "" : "  ") + *clock;
    }
    screen_->set_badge(text.empty() ? std::nullopt : std::optional<std::string>(text));
}

void SdlBackend::present(const Framebuffer& fb, const Region& changed) {
    fb_ = &fb;
    if (screen_) screen_->show_changes(fb, changed);
    tick_log_.frame_presented();
}

void SdlBackend::message_box(const std::string& caption, const std::string& text, unsigned type) {
    // Without a display there is no box to show: say it where a terminal user will see it.
    if (SDL_ShowSimpleMessageBox(message_box_flags(type), latin1_to_utf8(caption).c_str(),
                                 latin1_to_utf8(text).c_str(), window_) != 0) {
        std::cerr << caption << ": " << text << '\n';
    }
}

void SdlBackend::timer_delivered(std::uint64_t /*now_ms*/) {
    finish_tick();
    if (tools_.tick_starting) tools_.tick_starting();
    tick_running_ = true;
    clock_.timer_delivered(wall_ms());
    tick_log_.tick();
}

} // namespace kv::sdl
