// The desktop window's path to the screen: the presenter, the window's pixels (an X11
// shared-memory image of our own, or SDL's window surface), the zoom and full screen, and the
// window's size, which holds the picture and what lies beside it. The backend hands it frames,
// window events, the toolbar and boxes; its presenter tells where a click lands.
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

// The zoom a window `natural` pixels large at zoom 1 gets when `wanted` is asked for: less where
// the window would not fit the screen it is on (none yet: the first screen).
int fitting_zoom(SDL_Window* window, int wanted, viewer::Size natural);

class WindowScreen {
  public:
    // For `window`, showing a client area of `client` size at `zoom`, with the toolbar.
    WindowScreen(SDL_Window* window, viewer::Size client, int zoom,
                 const std::vector<viewer::ToolbarButton>& toolbar);
    ~WindowScreen();
    WindowScreen(const WindowScreen&) = delete;
    WindowScreen& operator=(const WindowScreen&) = delete;
    // False when the window has neither a shared-memory image nor a surface to draw on.
    bool usable() const;

    // A frame: what was drawn in `fb` since the last one lies within `changed`.
    void show_changes(const Framebuffer& fb, const Region& changed);
    // The whole window again (a new size, or pixels the display lost).
    void show_all();

    // What the window lays over and beside the picture: its toolbar, boxes, ring and layer. Each
    // change returns the window rectangle to draw again with redraw(), at once.
    desktop::Presenter& presenter() { return presenter_; }
    const desktop::Presenter& presenter() const { return presenter_; }
    // Draws `changed` again; where what lies beside the picture changed size, the window is sized
    // again (in full screen, arranged again).
    void redraw(const Rect& changed);

    int zoom() const { return zoom_; }
    // The window's whole zoom: `zoom`, or less where the window would not fit the screen.
    void set_zoom(int zoom);
    bool fullscreen() const { return fullscreen_; }
    void toggle_fullscreen();
    // The window's size changed; returns the new client size when a window (not full screen)
    // now holds another one at its zoom.
    std::optional<viewer::Size> resized(int width, int height);

  private:
    // The window at the zoom asked for, or less where it would not fit the screen, and sized for
    // it with what lies beside the picture: when that is not its size already, or `always`.
    void fit_window(bool always = false);
    desktop::Fit fit() const { return desktop::Fit{zoom_, fullscreen_}; }
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
    int wanted_zoom_ = 1; // the last asked for
    bool fullscreen_ = false;
    // Sizes asked of the window and not seen yet: a resize to one that is not the last asked for
    // is on its way to that one, and changes no client area.
    std::vector<viewer::Size> asked_;
    SDL_Rect windowed_{};       // where the window was before full screen
    bool missed_frame_ = false; // the last frame drew nothing: the next one draws all
    desktop::Presenter presenter_;
    // Kept from one frame to the next: no allocation a Tick.
    std::vector<Rect> written_;
    std::vector<SDL_Rect> update_rects_;
};

} // namespace kv::sdl
