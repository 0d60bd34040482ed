#include "backends/sdl/sdl_backend.h"

#include "backends/sdl/key_controls.h"
#include "backends/sdl/latin1.h"
#include "backends/sdl/video_drivers.h"
#include "backends/sdl/window_icon.h"
#include "backends/sdl/window_surface.h"

#include <windows.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <limits>

namespace kv::sdl {

namespace {

InputEvent event_of(InputEvent::Kind kind) {
    InputEvent e;
    e.kind = kind;
    return e;
}

constexpr unsigned kIconMask = 0xF0; // MB_ICONMASK

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
    if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) != 0) return start_zoom_for_dpi(std::nullopt);
    return start_zoom_for_dpi(dpi);
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

SdlBackend::SdlBackend(const std::string& tick_log_path) : tick_log_(tick_log_path) {}

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
    client_ = Size{client_width, client_height};
    zoom_ = fitting_zoom(start_zoom());
    window_ = SDL_CreateWindow(latin1_to_utf8(title).c_str(), SDL_WINDOWPOS_UNDEFINED,
                               SDL_WINDOWPOS_UNDEFINED, client_width * zoom_, client_height * zoom_,
                               SDL_WINDOW_RESIZABLE);
    if (window_ == nullptr || SDL_GetWindowSurface(window_) == nullptr) {
        why = SDL_GetError();
        close_window();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        video_ = false;
        return false;
    }
    if (!icon_png_.empty()) set_window_icon(window_, icon_png_);
    // Only buttons, keys and the window's own events matter: the rest would wake us for nothing.
    for (const Uint32 type : {SDL_MOUSEMOTION, SDL_MOUSEWHEEL, SDL_TEXTINPUT, SDL_TEXTEDITING,
                              SDL_KEYUP, SDL_FINGERMOTION}) {
        SDL_EventState(type, SDL_IGNORE);
    }
    SDL_StopTextInput();
    clock_ = ViewerClock(wall_ms());
    return true;
}

void SdlBackend::close_window() {
    fb_ = nullptr;
    if (window_ == nullptr) return;
    // SDL's own wake-up message may still be on its way to this window.
    x11_errors_.window_closing();
    SDL_DestroyWindow(window_);
    window_ = nullptr;
}

std::uint64_t SdlBackend::now_ms() {
    return clock_.now(wall_ms());
}

void SdlBackend::poll(std::vector<InputEvent>& out) {
    SDL_Event e;
    while (SDL_PollEvent(&e) != 0)
        translate(e, out);
}

bool SdlBackend::take_step(std::optional<std::uint64_t> deadline_ms) {
    if (pending_steps_ == 0) return false;
    if (!clock_.paused() || !deadline_ms) {
        pending_steps_ = 0;
        return false;
    }
    --pending_steps_;
    clock_.step_to(*deadline_ms);
    return true;
}

void SdlBackend::wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) {
    for (;;) {
        if (take_step(deadline_ms)) return;
        // Fast motion: the rest of this period's Ticks come at once.
        if (deadline_ms && clock_.run_next_tick_now(*deadline_ms, wall_ms())) return;
        // Recomputed on every pass: a key may just have paused or slowed the clock.
        std::optional<std::uint64_t> until;
        if (deadline_ms) until = clock_.wall_deadline(*deadline_ms, wall_ms());
        SDL_Event e;
        int got = 0;
        if (until) {
            const std::uint64_t now = wall_ms();
            if (*until <= now) return;
            const std::uint64_t left = std::min<std::uint64_t>(
                *until - now, static_cast<std::uint64_t>(std::numeric_limits<int>::max()));
            got = SDL_WaitEventTimeout(&e, static_cast<int>(left));
        } else {
            got = SDL_WaitEvent(&e);
            if (got == 0) return; // the event queue is gone; nothing more will come
        }
        if (got == 0) continue; // timed out: the clock decides
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
        // Full screen keeps the client area and puts black around it.
        if (!fullscreen_) {
            const Size client = client_size_for_window(Size{e.data1, e.data2}, zoom_);
            if (!(client == client_)) {
                client_ = client;
                InputEvent resize = event_of(InputEvent::Kind::Resize);
                resize.width = client.width;
                resize.height = client.height;
                out.push_back(resize);
            }
        }
        // The surface is new: show the whole picture again at once, even with nothing to paint.
        if (fb_ != nullptr) show(*fb_, {});
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        if (fb_ != nullptr) show(*fb_, {});
        break;
    default:
        break;
    }
}

void SdlBackend::on_mouse_button(const SDL_MouseButtonEvent& e, std::vector<InputEvent>& out) {
    if (e.button != SDL_BUTTON_LEFT && e.button != SDL_BUTTON_RIGHT) return;
    // Clicks on the black around a full-screen picture are outside the client area.
    const std::optional<Point> at = client_point(presenter_.layout(), e.x, e.y);
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
        pending_steps_ = 0;
        break;
    case ViewerAction::Step:
        if (clock_.paused()) ++pending_steps_;
        break;
    case ViewerAction::Slower:
        clock_.slower(wall_ms());
        break;
    case ViewerAction::Faster:
        clock_.faster(wall_ms());
        break;
    case ViewerAction::ZoomIn:
        set_zoom(zoom_ + 1);
        break;
    case ViewerAction::ZoomOut:
        set_zoom(zoom_ - 1);
        break;
    case ViewerAction::ZoomReset:
        set_zoom(1);
        break;
    case ViewerAction::ToggleFullscreen:
        toggle_fullscreen();
        break;
    case ViewerAction::ToggleHelp:
        show_help(!presenter_.has_overlay(Overlay::Help));
        break;
    case ViewerAction::CloseHelp:
        show_help(false);
        break;
    }
    update_badge();
}

void SdlBackend::show_help(bool on) {
    redraw(presenter_.set_overlay(Overlay::Help,
                                  on ? render_box("KORVELINE: keys", key_help()) : Framebuffer{},
                                  Anchor::Centre));
}

int SdlBackend::fitting_zoom(int wanted) const {
    const int display = window_ != nullptr ? std::max(SDL_GetWindowDisplayIndex(window_), 0) : 0;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) {
        return std::clamp(wanted, kMinZoom, kMaxZoom);
    }
    // Left at 0 where the window manager does not tell (or before the window exists).
    int top = 0, left = 0, bottom = 0, right = 0;
    if (window_ != nullptr) SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right);
    return window_zoom(wanted, Size{usable.w, usable.h}, client_, Size{left + right, top + bottom});
}

void SdlBackend::set_zoom(int zoom) {
    zoom = fitting_zoom(zoom);
    // Full screen chooses the largest zoom that fits by itself.
    if (fullscreen_ || zoom == zoom_ || window_ == nullptr) return;
    zoom_ = zoom;
    // The window follows; its SIZE_CHANGED brings the new layout.
    SDL_SetWindowSize(window_, client_.width * zoom_, client_.height * zoom_);
}

void SdlBackend::toggle_fullscreen() {
    if (window_ == nullptr) return;
    fullscreen_ = !fullscreen_;
    if (SDL_SetWindowFullscreen(window_, fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        fullscreen_ = !fullscreen_;
        return;
    }
    if (!fullscreen_) SDL_SetWindowSize(window_, client_.width * zoom_, client_.height * zoom_);
}

void SdlBackend::update_badge() {
    redraw(presenter_.set_badge(clock_badge(clock_)));
}

void SdlBackend::redraw(const Rect& changed) {
    if (changed.empty() || fb_ == nullptr) return;
    const Framebuffer& fb = *fb_;
    show(fb, [&](PixelTarget& target) { return presenter_.draw_area(fb, changed, target); });
}

ZoomLayout SdlBackend::layout_for(Size output, Size client) const {
    if (fullscreen_) return centred_layout(output, client, zoom_to_fit(output, client));
    return corner_layout(output, client, zoom_);
}

void SdlBackend::show(const Framebuffer& fb, const DrawFn& draw) {
    if (window_ == nullptr) return;
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) return;
    const ZoomLayout layout =
        layout_for(Size{surface->w, surface->h}, Size{fb.width(), fb.height()});
    const bool whole = !draw || !(layout == presenter_.layout());
    presenter_.set_layout(layout);

    std::vector<Rect> written;
    {
        WindowSurfacePixels pixels(*surface, shadow_);
        if (whole) {
            written.push_back(presenter_.draw_all(fb, pixels.target()));
        } else {
            written = draw(pixels.target());
        }
        pixels.commit(written);
    }
    if (written.empty()) return;
    std::vector<SDL_Rect> rects;
    rects.reserve(written.size());
    for (const Rect& r : written) {
        rects.push_back(SDL_Rect{static_cast<int>(r.left), static_cast<int>(r.top),
                                 static_cast<int>(r.width()), static_cast<int>(r.height())});
    }
    SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
}

void SdlBackend::present(const Framebuffer& fb, const Region& changed) {
    fb_ = &fb;
    show(fb, [&](PixelTarget& target) { return presenter_.draw_changes(fb, changed, target); });
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
    clock_.timer_delivered(wall_ms());
    tick_log_.tick();
}

} // namespace kv::sdl
