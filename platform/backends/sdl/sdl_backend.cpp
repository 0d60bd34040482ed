#include "backends/sdl/sdl_backend.h"

#include "image/png_writer.h"
#include "backends/sdl/captures.h"
#include "backends/sdl/screen/huge_page_memory.h"
#include "backends/sdl/key_controls.h"
#include "backends/sdl/latin1.h"
#include "backends/sdl/video_drivers.h"
#include "backends/sdl/window_icon.h"
#include "backends/sdl/screen/window_surface.h"
#include "backends/sdl/screen/x11_shm_window.h"

#include <windows.h>

#include <SDL.h>

#include <algorithm>
#include <cctype>
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

constexpr unsigned kIconMask = 0xF0; // MB_ICONMASK
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
    client_ = viewer::Size{client_width, client_height};
    zoom_ = fitting_zoom(start_zoom());
    window_ = SDL_CreateWindow(latin1_to_utf8(title).c_str(), SDL_WINDOWPOS_UNDEFINED,
                               SDL_WINDOWPOS_UNDEFINED, client_width * zoom_, client_height * zoom_,
                               SDL_WINDOW_RESIZABLE);
    if (window_ != nullptr) shm_window_ = X11ShmWindow::attach(window_);
    if (window_ == nullptr ||
        (shm_window_ == nullptr && SDL_GetWindowSurface(window_) == nullptr)) {
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

void SdlBackend::close_window() {
    fb_ = nullptr;
    if (window_ == nullptr) return;
    // SDL's own wake-up message may still be on its way to this window.
    x11_errors_.window_closing();
    waiter_.detach();
    shm_window_.reset();
    SDL_DestroyWindow(window_);
    window_ = nullptr;
}

std::uint64_t SdlBackend::now_ms() {
    return wall_ms();
}

void SdlBackend::poll(std::vector<InputEvent>& out) {
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
    int timeout = -1;
    if (deadline_ms) {
        const std::uint64_t now = wall_ms();
        if (*deadline_ms <= now) return;
        timeout = static_cast<int>(std::min<std::uint64_t>(
            *deadline_ms - now, static_cast<std::uint64_t>(std::numeric_limits<int>::max())));
    }
    SDL_Event e;
    const bool got = waiter_.next(e, timeout);
    pumped_ms_ = wall_ms(); // waiting took in whatever the display had sent
    if (!got) return;       // timed out, or a signal: the viewer decides
    translate(e, out);
    poll(out);
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
            const viewer::Size client =
                viewer::client_size_for_window(viewer::Size{e.data1, e.data2}, zoom_);
            if (!(client == client_)) {
                client_ = client;
                InputEvent resize = event_of(InputEvent::Kind::Resize);
                resize.width = client.width;
                resize.height = client.height;
                out.push_back(resize);
            }
        }
        // The surface is new: show the whole picture again at once, even with nothing to paint.
        if (fb_ != nullptr) show_whole(*fb_);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        if (fb_ != nullptr) show_whole(*fb_);
        break;
    default:
        break;
    }
}

void SdlBackend::on_mouse_button(const SDL_MouseButtonEvent& e, std::vector<InputEvent>& out) {
    if (e.button != SDL_BUTTON_LEFT && e.button != SDL_BUTTON_RIGHT) return;
    // Clicks on the black around a full-screen picture are outside the client area.
    const std::optional<Point> at = viewer::client_point(presenter_.layout(), e.x, e.y);
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
    if (const std::optional<viewer::Action> action = viewer_action(e.keysym, e.repeat != 0))
        act(*action);
}

void SdlBackend::show(viewer::Slot slot, const viewer::Box& box) {
    const bool help = slot == viewer::Slot::Help;
    redraw(presenter_.set_overlay(help ? Overlay::Help : Overlay::Readout,
                                  box.empty() ? Framebuffer{}
                                              : viewer::render_box(box.title, box.rows),
                                  help ? Anchor::Centre : Anchor::BottomLeft));
}

void SdlBackend::show_status(const viewer::Status& status) {
    redraw(presenter_.set_badge(status.badge()));
}

void SdlBackend::zoom(viewer::Action action) {
    using viewer::Action;
    if (action == Action::ToggleFullscreen) {
        toggle_fullscreen();
    } else {
        set_zoom(action == Action::ZoomIn ? zoom_ + 1 : action == Action::ZoomOut ? zoom_ - 1 : 1);
    }
}

std::string SdlBackend::save_picture(const Framebuffer& fb, const std::string& stem) {
    std::string path = new_capture_path(captures_folder(), stem, "png", std::time(nullptr));
    image::write_png(fb, path);
    return path;
}

std::unique_ptr<image::Output> SdlBackend::new_capture(const std::string& stem,
                                                       const std::string& extension) {
    std::string kind;
    for (const char c : extension)
        kind += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return std::make_unique<image::OutputFile>(
        new_capture_path(captures_folder(), stem, extension, std::time(nullptr)), kind);
}

int SdlBackend::fitting_zoom(int wanted) const {
    const int display = window_ != nullptr ? std::max(SDL_GetWindowDisplayIndex(window_), 0) : 0;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) {
        return std::clamp(wanted, viewer::kMinZoom, viewer::kMaxZoom);
    }
    // Left at 0 where the window manager does not tell (or before the window exists).
    int top = 0, left = 0, bottom = 0, right = 0;
    if (window_ != nullptr) SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right);
    return viewer::window_zoom(wanted, viewer::Size{usable.w, usable.h}, client_,
                               viewer::Size{left + right, top + bottom});
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

void SdlBackend::redraw(const Rect& changed) {
    if (changed.empty() || fb_ == nullptr) return;
    const Framebuffer& fb = *fb_;
    show(fb, false, [&](PixelTarget& target, std::vector<Rect>& written) {
        presenter_.draw_area(fb, changed, target, written);
    });
}

viewer::ZoomLayout SdlBackend::layout_for(viewer::Size output, viewer::Size client) const {
    if (fullscreen_)
        return viewer::centred_layout(output, client, viewer::zoom_to_fit(output, client));
    return viewer::corner_layout(output, client, zoom_);
}

template <class Draw>
void SdlBackend::draw_on(PixelTarget& target, const Framebuffer& fb, bool whole, const Draw& draw) {
    const viewer::ZoomLayout layout = layout_for(viewer::Size{target.width, target.height},
                                                 viewer::Size{fb.width(), fb.height()});
    whole = whole || !(layout == presenter_.layout());
    presenter_.set_layout(layout);
    written_.clear();
    if (whole) {
        written_.push_back(presenter_.draw_all(fb, target));
    } else {
        draw(target, written_);
    }
}

template <class Draw> void SdlBackend::show(const Framebuffer& fb, bool whole, const Draw& draw) {
    // Changes are looked for only where the buffer was written since it was last presented: a
    // frame that could not be drawn leaves the window behind, and the next one is drawn whole.
    whole = whole || missed_frame_;
    missed_frame_ = true;
    if (window_ == nullptr) return;
    if (shm_window_ != nullptr) {
        int width = 0, height = 0;
        SDL_GetWindowSize(window_, &width, &height);
        if (width <= 0 || height <= 0) return; // nothing to show, and no image to make
        bool fresh = false;
        if (PixelTarget* target = shm_window_->pixels(width, height, fresh)) {
            draw_on(*target, fb, whole || fresh, draw);
            shm_window_->send(written_);
            missed_frame_ = false;
            return;
        }
        // The server took no new image: SDL's surface from now on, drawn whole.
        shm_window_.reset();
        whole = true;
    }
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) return;
    {
        WindowSurfacePixels pixels(*surface, shadow_);
        draw_on(pixels.target(), fb, whole, draw);
        pixels.commit(written_);
    }
    missed_frame_ = false;
    if (written_.empty()) return;
    update_rects_.clear();
    for (const Rect& r : written_) {
        update_rects_.push_back(SDL_Rect{static_cast<int>(r.left), static_cast<int>(r.top),
                                         static_cast<int>(r.width()),
                                         static_cast<int>(r.height())});
    }
    SDL_UpdateWindowSurfaceRects(window_, update_rects_.data(),
                                 static_cast<int>(update_rects_.size()));
}

void SdlBackend::show_whole(const Framebuffer& fb) {
    show(fb, true, [](PixelTarget&, std::vector<Rect>&) {});
}

void SdlBackend::present(const Framebuffer& fb, const Region& changed) {
    fb_ = &fb;
    show(fb, false, [&](PixelTarget& target, std::vector<Rect>& written) {
        presenter_.draw_changes(fb, changed, target, written);
    });
    tick_log_.frame_presented();
}

PixelMemory* SdlBackend::pixel_memory() {
    return huge_page_memory();
}

void SdlBackend::message_box(const std::string& caption, const std::string& text, unsigned type) {
    // Without a display there is no box to show: say it where a terminal user will see it.
    if (SDL_ShowSimpleMessageBox(message_box_flags(type), latin1_to_utf8(caption).c_str(),
                                 latin1_to_utf8(text).c_str(), window_) != 0) {
        std::cerr << caption << ": " << text << '\n';
    }
}

void SdlBackend::timer_delivered(std::uint64_t /*now_ms*/, std::uint64_t /*period_ms*/) {
    tick_log_.tick();
}

} // namespace kv::sdl
