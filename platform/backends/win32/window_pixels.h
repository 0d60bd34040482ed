// The window's client area as pixels of our own: a DIB section of its size, into which
// backends/desktop's presenter draws the framebuffer zoomed with the viewer's toolbar and boxes
// beside it (as it draws the Linux window's), and from which the rectangles drawn are copied to
// the screen.
#pragma once

#include "backends/desktop/presenter.h"
#include "core/framebuffer.h"
#include "core/region.h"
#include "viewer/zoom_layout.h"

#include <windows.h>

#include <vector>

namespace kv::win32 {

class WindowPixels {
  public:
    WindowPixels() = default;
    ~WindowPixels();
    WindowPixels(const WindowPixels&) = delete;
    WindowPixels& operator=(const WindowPixels&) = delete;

    // The client area is `width` x `height` now: pixels of that size, drawn whole at the next
    // frame (none for an empty area).
    void resize(int width, int height);
    // A new fit takes effect with the next frame, drawn whole.
    void set_fit(desktop::Fit fit) { fit_ = fit; }

    // A frame: what was drawn in `fb` since the last one lies within `changed`.
    void show_changes(HWND window, const Framebuffer& fb, const Region& changed);
    // The whole client area again.
    void show_all(HWND window);
    // What the window lays over and beside the picture: its toolbar, boxes, ring and layer. Each
    // change returns the window rectangle to draw again with redraw(), at once.
    desktop::Presenter& presenter() { return presenter_; }
    const desktop::Presenter& presenter() const { return presenter_; }
    void redraw(HWND window, const Rect& changed);
    // WM_PAINT: the rectangle from the pixels, black while none has been drawn.
    void paint(HDC dc, const RECT& area) const;

  private:
    void free();
    // Draws with `draw(target, written)`, which appends the rectangles it wrote, and copies those
    // to the window; draws all of it instead when asked, when the layout has changed, or when the
    // pixels are new.
    template <class Draw> void show(HWND window, bool whole, const Draw& draw);
    void copy_to_screen(HWND window, const std::vector<Rect>& written);

    HDC memory_dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_bitmap_ = nullptr;
    desktop::PixelTarget target_; // the DIB section's bits
    bool fresh_ = true;           // not drawn whole since they were made
    desktop::Fit fit_;
    const Framebuffer* fb_ = nullptr; // the window manager's, once it showed one
    desktop::Presenter presenter_;
    std::vector<Rect> written_; // kept from one frame to the next: no allocation a Tick
};

} // namespace kv::win32
