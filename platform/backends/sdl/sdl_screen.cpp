#include "backends/sdl/sdl_screen.h"

#include "image/png_writer.h"
#include "backends/desktop/capture_names.h"
#include "backends/desktop/mouse_buttons.h"
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
#include <utility>

namespace kv::sdl {

namespace {

constexpr unsigned kIconMask = 0xF0; // MB_ICONMASK
// Pumping SDL's events asks the display's connection some ten times over, and the message loop
// looks for input two or three times a Tick: within this long of the last pump, only what SDL
// already holds is taken. Waiting pumps too, so idle input is still seen at once.
constexpr std::uint64_t kPumpEveryMs = 4;

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

SdlScreen::SdlScreen(const std::string& tick_log_path) : tick_log_(tick_log_path) {}

SdlScreen::~SdlScreen() {
    close_window();
    audio_.reset();
    if (video_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
}

bool SdlScreen::open_window(const std::string& title, int client_width, int client_height,
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
    const viewer::Size client{client_width, client_height};
    // The window holds the picture and its toolbar.
    desktop::Presenter sizes;
    sizes.set_toolbar(toolbar_);
    const int zoom = fitting_zoom(nullptr, start_zoom(), sizes.window_size(client, 1));
    const viewer::Size size = sizes.window_size(client, zoom);
    window_ =
        SDL_CreateWindow(latin1_to_utf8(title).c_str(), SDL_WINDOWPOS_UNDEFINED,
                         SDL_WINDOWPOS_UNDEFINED, size.width, size.height, SDL_WINDOW_RESIZABLE);
    if (window_ != nullptr)
        screen_ = std::make_unique<WindowScreen>(window_, client, zoom, toolbar_);
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
    return true;
}

void SdlScreen::close_window() {
    if (window_ == nullptr) return;
    // SDL's own wake-up message may still be on its way to this window.
    x11_errors_.window_closing();
    waiter_.detach();
    screen_.reset();
    SDL_DestroyWindow(window_);
    window_ = nullptr;
}

std::uint64_t SdlScreen::now_ms() {
    return SDL_GetTicks64();
}

void SdlScreen::poll(std::vector<InputEvent>& out) {
    const std::uint64_t now = SDL_GetTicks64();
    if (now - pumped_ms_ >= kPumpEveryMs) {
        SDL_PumpEvents();
        pumped_ms_ = now;
    }
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        translate(e, out);
}

void SdlScreen::wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) {
    int timeout = -1;
    if (deadline_ms) {
        const std::uint64_t now = SDL_GetTicks64();
        if (*deadline_ms <= now) return;
        timeout = static_cast<int>(std::min<std::uint64_t>(
            *deadline_ms - now, static_cast<std::uint64_t>(std::numeric_limits<int>::max())));
    }
    SDL_Event e;
    const bool got = waiter_.next(e, timeout);
    pumped_ms_ = SDL_GetTicks64(); // waiting took in whatever the display had sent
    if (!got) return;              // timed out, or a signal: the viewer decides
    translate(e, out);
    poll(out);
}

void SdlScreen::translate(const SDL_Event& e, std::vector<InputEvent>& out) {
    switch (e.type) {
    case SDL_QUIT:
        out.push_back({.kind = InputEvent::Kind::Close});
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

void SdlScreen::on_window_event(const SDL_WindowEvent& e, std::vector<InputEvent>& out) {
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE:
        out.push_back({.kind = InputEvent::Kind::Close});
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (const std::optional<viewer::Size> client = screen_->resized(e.data1, e.data2)) {
            out.push_back({.kind = InputEvent::Kind::Resize,
                           .width = client->width,
                           .height = client->height});
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

void SdlScreen::on_mouse_button(const SDL_MouseButtonEvent& e, std::vector<InputEvent>& out) {
    if (e.button != SDL_BUTTON_LEFT && e.button != SDL_BUTTON_RIGHT) return;
    desktop::mouse_button(
        screen_->presenter(), *this,
        e.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::ButtonDown : InputEvent::Kind::ButtonUp,
        e.button == SDL_BUTTON_LEFT ? InputEvent::Button::Left : InputEvent::Button::Right, e.x,
        e.y, out);
}

void SdlScreen::on_key(const SDL_KeyboardEvent& e) {
    const std::string name = key_name(e.keysym);
    const viewer::KeyPress press = key_press(e.keysym, name, e.repeat != 0);
    // While the program's panel shows, the arrows, + - and Escape are its own.
    if (panel_key(press)) return;
    if (const std::optional<viewer::Action> action = action_for_key(press)) act(*action);
}

void SdlScreen::show(viewer::Slot slot, const viewer::Box& box) {
    if (screen_) screen_->redraw(screen_->presenter().set_box(slot, box));
}

void SdlScreen::show_focus(const std::optional<Rect>& around) {
    if (screen_) screen_->redraw(screen_->presenter().set_ring(around));
}

void SdlScreen::show_layer(const viewer::Layer& layer) {
    if (screen_) screen_->redraw(screen_->presenter().set_layer(layer));
}

bool SdlScreen::sound(const std::optional<viewer::Tones>& tones, std::string& why) {
    if (!tones) {
        audio_.reset();
        return true;
    }
    if (!audio_) {
        auto audio = std::make_unique<HumAudio>();
        if (!audio->open(why)) return false;
        audio_ = std::move(audio);
    }
    audio_->play(*tones);
    return true;
}

void SdlScreen::show_status(const viewer::Status& status) {
    if (screen_) screen_->redraw(screen_->presenter().set_badge(status.badge()));
}

void SdlScreen::show_toolbar(const std::vector<viewer::ToolbarButton>& buttons) {
    toolbar_ = buttons;
    if (screen_) screen_->redraw(screen_->presenter().set_toolbar(buttons));
}

void SdlScreen::zoom(viewer::Action action) {
    using viewer::Action;
    if (!screen_) return;
    if (action == Action::ToggleFullscreen) {
        screen_->toggle_fullscreen();
        return;
    }
    const int zoom = screen_->zoom();
    screen_->set_zoom(action == Action::ZoomIn    ? zoom + 1
                      : action == Action::ZoomOut ? zoom - 1
                                                  : 1);
}

std::string SdlScreen::save_picture(const Framebuffer& fb, const std::string& stem) {
    std::string path =
        desktop::new_capture_path(captures_folder(), stem, "png", std::time(nullptr));
    image::write_png(fb, path);
    return path;
}

std::unique_ptr<image::Output> SdlScreen::new_capture(const std::string& stem,
                                                      const std::string& extension) {
    return desktop::new_capture_file(captures_folder(), stem, extension);
}

void SdlScreen::present(const Framebuffer& fb, const Region& changed) {
    if (screen_) screen_->show_changes(fb, changed);
    tick_log_.frame_presented();
}

void SdlScreen::message_box(const std::string& caption, const std::string& text, unsigned type) {
    // Without a display there is no box to show: say it where a terminal user will see it.
    if (SDL_ShowSimpleMessageBox(message_box_flags(type), latin1_to_utf8(caption).c_str(),
                                 latin1_to_utf8(text).c_str(), window_) != 0) {
        std::cerr << caption << ": " << text << '\n';
    }
}

void SdlScreen::timer_delivered(std::uint64_t /*now_ms*/, std::uint64_t /*period_ms*/) {
    tick_log_.tick();
}

} // namespace kv::sdl
