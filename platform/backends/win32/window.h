// korveline.exe's window: a real Win32 window whose client area shows the framebuffer zoomed, with
// the viewer's boxes over it, drawn by backends/desktop's presenter into a DIB section of the
// client area's size and copied to the screen; its zoom and full screen (a borderless window over
// the monitor); its messages turned into the viewer's input and key presses.
#pragma once

#include "backends/desktop/presenter.h"
#include "backends/win32/key_names.h"
#include "core/framebuffer.h"
#include "core/region.h"
#include "user/backend.h"
#include "viewer/zoom_layout.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv::win32 {

// Where the window's messages go.
class WindowEvents {
  public:
    virtual void input(const InputEvent& event) = 0;
    virtual void key(const KeyDown& key) = 0;
    // The window's timer (start_timer) fell due.
    virtual void timer() = 0;

  protected:
    ~WindowEvents() = default;
};

class Window {
  public:
    // A window with the title, whose client area shows `client` pixels at the zoom the screen's
    // DPI asks for (less where it would not fit the screen), shown. Null on failure, saying why.
    static std::unique_ptr<Window> open(const std::wstring& title, viewer::Size client,
                                        WindowEvents& events, std::string& why);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND handle() const { return hwnd_; }

    // A frame: what was drawn in `fb` since the last one lies within `changed`.
    void show_changes(const Framebuffer& fb, const Region& changed);
    // What the window lays over the picture: its boxes, ring and layer. Each change returns the
    // client rectangle to draw again with redraw(), at once.
    desktop::Presenter& presenter() { return presenter_; }
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
    // The window's outer size for a client area of `client` size.
    SIZE outer_size(viewer::Size client) const;
    // The DIB section: the client area's pixels, made anew at each new size.
    void make_pixels(int width, int height);
    void free_pixels();
    viewer::ZoomLayout layout_for(viewer::Size output) const;
    // Draws with `draw(target, written)` into the DIB, which appends the window rectangles it
    // wrote, and copies those to the screen; draws all of it instead when asked, when the layout
    // has changed, or when the pixels are new.
    template <class Draw> void show(bool whole, const Draw& draw);
    void copy_to_screen(const std::vector<Rect>& written);

    HWND hwnd_ = nullptr;
    WindowEvents& events_;
    viewer::Size client_;
    int zoom_ = 1;
    bool fullscreen_ = false;
    WINDOWPLACEMENT windowed_{}; // where the window was before full screen
    HDC memory_dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_bitmap_ = nullptr;
    desktop::PixelTarget target_;     // the DIB section's bits
    bool fresh_ = true;               // the pixels have not been drawn whole since they were made
    const Framebuffer* fb_ = nullptr; // the window manager's, once it showed one
    desktop::Presenter presenter_;
    std::vector<Rect> written_; // kept from one frame to the next: no allocation a Tick
};

} // namespace kv::win32
