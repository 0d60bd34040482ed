// Keeps X errors that only a window being torn down can cause from ending the program. Xlib's
// default handler exits on any error, and SDL's own handler passes errors on to it. While SDL
// waits for events it wakes itself with a message sent to its window over a second connection;
// when the window is destroyed before the server handles that message, the server answers
// BadWindow, which surfaces later (at the latest when SDL closes its connections).
//
// A guard installs its handler before SDL starts, so that SDL's handler chains to it; every
// other error goes on to the handler that was there before. At destruction the previous handler
// comes back.
#pragma once

namespace kv::sdl {

class X11ErrorGuard {
  public:
    X11ErrorGuard();
    ~X11ErrorGuard();
    X11ErrorGuard(const X11ErrorGuard&) = delete;
    X11ErrorGuard& operator=(const X11ErrorGuard&) = delete;

    // From now on the window is gone or going: any error is about what no longer matters.
    void window_closing();
};

// Whether an X error (its request's major opcode and error code) is ignored: BadWindow for a
// SendEvent at any time, anything at all once the window is closing.
bool x11_error_is_harmless(int request_code, int error_code, bool window_closing);

} // namespace kv::sdl
