// The desktop window's path to the screen: the presenter, the window's pixels (an X11
// shared-memory image of our own, or SDL's window surface), the zoom and full screen. The backend
// hands it frames, window events and boxes to lay over the picture; it hands back where a click
// lands.
#pragma once

#include "backends/desktop/presenter.h"
#include "backends/sdl/screen/x11_shm_window.h"
#include "core/framebuffer.h"
#include "core/region.h"
#include "viewer/zoom_layout.h"

#include <SDL_video.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace kv::sdl {

// The zoom a window showing a client area of `client` size gets when `wanted` is asked for:
// less where the window would not fit the screen it is on (none yet: the first screen).
int fitting_zoom(SDL_Window* window, int wanted, viewer::Size client);

class WindowScreen {
  public:
    // For `window`, showing a client area of `client` size at `zoom`.
    WindowScreen(SDL_Window* window, viewer::Size client, int zoom);
    ~WindowScreen();
    WindowScreen(const WindowScreen&) = delete;
    WindowScreen& operator=(const WindowScreen&) = delete;
    // False when the window has neither a shared-memory image nor a surface to draw on.
    bool usable() const;

    // A frame: what was drawn in `fb` since the last one lies within `changed`.
    void show_changes(const Framebuffer& fb, const Region& changed);
    // The whole window again (a new size, or pixels the display lost).
    void show_all();

    // What the window lays over the picture: its boxes, ring and layer. Each change returns the
    // client rectangle to draw again with redraw(), at once.
    desktop::Presenter& presenter() { return presenter_; }
    void redraw(const Rect& changed);

    int zoom() const { return zoom_; }
    // The window's whole zoom: `zoom`, or less where the window would not fit the screen.
    void set_zoom(int zoom);
    bool fullscreen() const { return fullscreen_; }
    void toggle_fullscreen();
    // The window's size changed; returns the new client size when a window (not full screen)
    // now holds another one at its zoom.
    std::optional<viewer::Size> resized(int width, int height);

    // The client pixel under a window pixel, or none (the black around a full-screen picture).
    std::optional<Point> client_point(std::int64_t x, std::int64_t y) const;

  private:
    viewer::ZoomLayout layout_for(viewer::Size output) const;
    // Draws with `draw(target, written)` on the window's pixels, which appends the window
    // rectangles it wrote, and sends those; draws the whole window instead when asked, when the
    // layout has changed, or when the pixels are new.
    template <class Draw> void show(bool whole, const Draw& draw);
    void send(const std::vector<Rect>& written);

    SDL_Window* window_;
    // The window's pixels where X shares memory with us; SDL's window surface elsewhere.
    std::unique_ptr<X11ShmWindow> shm_;
    SDL_Surface* surface_ = nullptr; // the last one drawn on: another one is drawn whole
    std::vector<std::uint32_t> shadow_;
    const Framebuffer* fb_ = nullptr; // the window manager's, once it showed one
    viewer::Size client_;
    int zoom_ = 1;
    bool fullscreen_ = false;
    SDL_Rect windowed_{};       // where the window was before full screen
    bool missed_frame_ = false; // the last frame drew nothing: the next one draws all
    desktop::Presenter presenter_;
    // Kept from one frame to the next: no allocation a Tick.
    std::vector<Rect> written_;
    std::vector<SDL_Rect> update_rects_;
};

} // namespace kv::sdl
