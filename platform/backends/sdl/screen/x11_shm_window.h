// The window's pixels in a shared-memory image of our own on X11 (MIT-SHM), sent to the server
// with XShmPutImage and a flush. SDL's window surface does the same but then waits for the server
// to have drawn every frame (XSync): a round trip, and a second sleep and wake-up, each Tick.
//
// Nothing waits for the server here. The image always holds what the window must show, and the
// server handles our requests in order: had it not yet read one frame's rectangles when the next
// frame is written, it would show some of the newer pixels early, and those are in the newer
// frame's rectangles, sent again behind it. Once the last request is handled the window shows
// the image exactly.
//
// Only for windows on an X server that shares memory with us and whose visual has 32 bits a
// pixel with a byte a channel; elsewhere (Wayland, a remote display, other visuals, a build
// without the extension's headers) attach() finds nothing and SDL's window surface serves.
#pragma once

#include "backends/desktop/pixel_target.h"

#include <SDL_video.h>

#include <memory>
#include <vector>

namespace kv::sdl {

class X11ShmWindow {
  public:
    // None where the window cannot be drawn this way.
    static std::unique_ptr<X11ShmWindow> attach(SDL_Window* window);
    ~X11ShmWindow();
    X11ShmWindow(const X11ShmWindow&) = delete;
    X11ShmWindow& operator=(const X11ShmWindow&) = delete;

    // The image, `width` x `height`: made anew when the size differs from the last one (then
    // `fresh` is set: none of it is on the screen). Null when the server refused a new image;
    // the window then cannot be drawn this way any more.
    desktop::PixelTarget* pixels(int width, int height, bool& fresh);
    // Queues the rectangles of the image for the window. They leave with the connection's next
    // flush: the event waiter's, before it sleeps (a flush reads the connection too, so one a
    // frame is enough).
    void send(const std::vector<Rect>& rects);

    struct State; // the X resources, apart: Xlib's names must not meet the rest of the program
  private:
    explicit X11ShmWindow(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

} // namespace kv::sdl
