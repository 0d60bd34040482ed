#include "backends/sdl/screen/window_screen.h"

#include "backends/sdl/screen/bare_x11.h"
#include "backends/sdl/screen/window_surface.h"

#include <algorithm>

namespace kv::sdl {

WindowScreen::WindowScreen(SDL_Window* window, viewer::Size client, int zoom,
                           const std::vector<viewer::ToolbarButton>& toolbar)
    : window_(window), shm_(X11ShmWindow::attach(window)), client_(client), zoom_(zoom),
      wanted_zoom_(zoom) {
    presenter_.set_toolbar(toolbar);
    presenter_.take_resize(); // the window was made at its size
}

WindowScreen::~WindowScreen() = default;

bool WindowScreen::usable() const {
    return shm_ != nullptr || SDL_GetWindowSurface(window_) != nullptr;
}

int fitting_zoom(SDL_Window* window, int wanted, viewer::Size natural) {
    const int display = window != nullptr ? std::max(SDL_GetWindowDisplayIndex(window), 0) : 0;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) {
        return std::clamp(wanted, viewer::kMinZoom, viewer::kMaxZoom);
    }
    // Left at 0 where the window manager does not tell, or there is no window yet.
    int top = 0, left = 0, bottom = 0, right = 0;
    if (window != nullptr) SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right);
    return viewer::window_zoom(wanted, viewer::Size{usable.w, usable.h}, natural,
                               viewer::Size{left + right, top + bottom});
}

void WindowScreen::set_zoom(int zoom) {
    // Full screen fills the screen by itself.
    if (fullscreen_) return;
    wanted_zoom_ = zoom;
    fit_window();
}

void WindowScreen::fit_window(bool always) {
    zoom_ = fitting_zoom(window_, wanted_zoom_, presenter_.window_size(client_, 1));
    const viewer::Size size = presenter_.window_size(client_, zoom_);
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    if (!always && size == viewer::Size{width, height}) return;
    // The window follows; its SIZE_CHANGED brings the new layout.
    asked_.push_back(size);
    SDL_SetWindowSize(window_, size.width, size.height);
}

void WindowScreen::toggle_fullscreen() {
    if (!fullscreen_) {
        SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
        if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return;
        fullscreen_ = true;
        SDL_Rect screen{};
        if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window_), 0), &screen) == 0)
            cover_without_window_manager(window_, screen);
        return;
    }
    if (SDL_SetWindowFullscreen(window_, 0) != 0) return;
    fullscreen_ = false;
    // Its size asked for again, whatever SDL reports while full screen ends.
    fit_window(true);
    SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
}

std::optional<viewer::Size> WindowScreen::resized(int width, int height) {
    const viewer::Size size{width, height};
    const auto seen = std::find(asked_.begin(), asked_.end(), size);
    if (seen != asked_.end()) {
        asked_.erase(asked_.begin(), seen + 1);
        // On its way to a size asked for later.
        if (!asked_.empty()) return std::nullopt;
    }
    std::optional<viewer::Size> client;
    // Full screen keeps the client area and scales it.
    if (!fullscreen_) {
        const viewer::Size fits = presenter_.client_for_window(size, zoom_);
        if (!(fits == client_)) client = client_ = fits;
    }
    return client;
}

void WindowScreen::redraw(const Rect& changed) {
    if (fb_ == nullptr) return;
    if (presenter_.take_resize()) {
        // In a window, the window follows, and its SIZE_CHANGED draws it whole again.
        if (!fullscreen_) fit_window();
        show_all();
        return;
    }
    if (changed.empty()) return;
    show(false, [&](desktop::PixelTarget& target, std::vector<Rect>& written) {
        presenter_.draw_area(*fb_, changed, target, written);
    });
}

void WindowScreen::show_changes(const Framebuffer& fb, const Region& changed) {
    fb_ = &fb;
    show(false, [&](desktop::PixelTarget& target, std::vector<Rect>& written) {
        presenter_.draw_changes(fb, changed, target, written);
    });
}

void WindowScreen::show_all() {
    if (fb_ != nullptr) show(true, [](desktop::PixelTarget&, std::vector<Rect>&) {});
}

template <class Draw> void WindowScreen::show(bool whole, const Draw& draw) {
    // The framebuffer's notes start again after every frame: a frame that could not be drawn
    // leaves the window behind, and the next one is drawn whole.
    whole = whole || missed_frame_;
    missed_frame_ = true;
    const auto draw_on = [&](desktop::PixelTarget& target) {
        const bool moved = presenter_.arrange(viewer::Size{target.width, target.height},
                                              viewer::Size{fb_->width(), fb_->height()}, fit());
        written_.clear();
        if (whole || moved) {
            written_.push_back(presenter_.draw_all(*fb_, target));
        } else {
            draw(target, written_);
        }
    };
    if (shm_ != nullptr) {
        int width = 0, height = 0;
        SDL_GetWindowSize(window_, &width, &height);
        if (width <= 0 || height <= 0) return; // nothing to show, and no image to make
        bool fresh = false;
        if (desktop::PixelTarget* target = shm_->pixels(width, height, fresh)) {
            whole = whole || fresh;
            draw_on(*target);
            shm_->send(written_);
            missed_frame_ = false;
            return;
        }
        // The server took no new image: SDL's surface from now on, drawn whole.
        shm_.reset();
        whole = true;
    }
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) return;
    whole = whole || surface != surface_;
    surface_ = surface;
    {
        WindowSurfacePixels pixels(*surface, shadow_);
        draw_on(pixels.target());
        pixels.commit(written_);
    }
    missed_frame_ = false;
    send(written_);
}

void WindowScreen::send(const std::vector<Rect>& written) {
    if (written.empty()) return;
    update_rects_.clear();
    for (const Rect& r : written) {
        update_rects_.push_back(SDL_Rect{static_cast<int>(r.left), static_cast<int>(r.top),
                                         static_cast<int>(r.width()),
                                         static_cast<int>(r.height())});
    }
    SDL_UpdateWindowSurfaceRects(window_, update_rects_.data(),
                                 static_cast<int>(update_rects_.size()));
}

} // namespace kv::sdl
