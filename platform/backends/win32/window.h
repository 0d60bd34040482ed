// korveline.exe's window: a real Win32 window whose client area shows the framebuffer zoomed, with
// the viewer's toolbar and boxes beside it (window_pixels.h); its zoom and full screen (a
// borderless window over the monitor); its messages turned into the viewer's input and key
// presses.
#pragma once

#include "backends/win32/key_names.h"
#include "backends/win32/window_pixels.h"
#include "core/framebuffer.h"
#include "core/region.h"
#include "user/backend.h"
#include "viewer/zoom_layout.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv::win32 {

// Where the window's messages go.
class WindowEvents {
  public:
    virtual void input(const InputEvent& event) = 0;
    // A mouse button pressed or released at client pixel (x, y) of the window (the picture's
    // and what lies beside it).
    virtual void button(InputEvent::Kind kind, InputEvent::Button button, std::int64_t x,
                        std::int64_t y) = 0;
    virtual void key(const KeyDown& key) = 0;
    // The window's timer (start_timer) fell due.
    virtual void timer() = 0;

  protected:
    ~WindowEvents() = default;
};

class Window {
  public:
    // A window with the title, whose client area shows `client` pixels at the zoom the screen's
    // DPI asks for (less where it would not fit the screen) with the toolbar under them, shown.
    // Null on failure, saying why.
    static std::unique_ptr<Window> open(const std::wstring& title, viewer::Size client,
                                        const std::vector<viewer::ToolbarButton>& toolbar,
                                        WindowEvents& events, std::string& why);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND handle() const { return hwnd_; }

    // A frame: what was drawn in `fb` since the last one lies within `changed`.
    void show_changes(const Framebuffer& fb, const Region& changed) {
        pixels_.show_changes(hwnd_, fb, changed);
    }
    // What the window lays over and beside the picture: its toolbar, boxes, ring and layer. Each
    // change returns the window rectangle to draw again with redraw(), at once.
    desktop::Presenter& presenter() { return pixels_.presenter(); }
    const desktop::Presenter& presenter() const { return pixels_.presenter(); }
    // Draws `changed` again; where what lies beside the picture changed size, the window is sized
    // again (in full screen, arranged again).
    void redraw(const Rect& changed);

    int zoom() const { return zoom_; }
    // The window's whole zoom: `zoom`, or less where the window would not fit the screen.
    void set_zoom(int zoom);
    void toggle_fullscreen();

    // WM_TIMER every `period_ms` (WindowEvents::timer), also while a move or a resize holds the
    // message loop; or none.
    void start_timer(unsigned period_ms);
    void stop_timer();

  private:
    Window(viewer::Size client, int zoom, WindowEvents& events);
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam);
    void on_size(int width, int height);
    void on_button(UINT message, LPARAM lparam);
    void on_key(WPARAM wparam, LPARAM lparam);
    void paint();

    // The window's zoom for `wanted`: no larger than lets it fit the work area of its monitor.
    int fitting_zoom(int wanted) const;
    // The window at the zoom asked for, or less where it would not fit the screen, and sized for
    // it with what lies beside the picture.
    void fit_window();
    // The window's outer size for a client area of `client` size.
    SIZE outer_size(viewer::Size client) const;

    HWND hwnd_ = nullptr;
    WindowEvents& events_;
    viewer::Size client_;
    int zoom_ = 1;
    int wanted_zoom_ = 1; // the last asked for
    bool fullscreen_ = false;
    WINDOWPLACEMENT windowed_{}; // where the window was before full screen
    WindowPixels pixels_;
};

} // namespace kv::win32
