// The X error guard on a real X server: the error SDL's wake-up message meets when the window
// is already gone is dropped, every other one still reaches the handler that was there before,
// and nothing at all does once the window is closing.
#include "backends/sdl/x11_error_guard.h"
#include "desktop/desktop_session.h"

#include <gtest/gtest.h>

#include <vector>

// Last: Xlib's macros (None, Bool, ...) would clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace {

struct SeenError {
    int request_code;
    int error_code;
};
std::vector<SeenError> seen;

int record_error(Display*, XErrorEvent* e) {
    seen.push_back(SeenError{e->request_code, e->error_code});
    return 0;
}

// A window id no client has made: the server answers BadWindow to anything sent to it.
constexpr Window kNoWindow = 0x3FFFFFFF;

void send_to_no_window(Display* display) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = kNoWindow;
    event.xclient.format = 32;
    XSendEvent(display, kNoWindow, False, NoEventMask, &event);
    XSync(display, False);
}

void map_no_window(Display* display) {
    XMapWindow(display, kNoWindow);
    XSync(display, False);
}

TEST(X11ErrorGuard, DropsOnlyTheStrayWakeUpErrorUntilTheWindowCloses) {
    if (!kvtest::installed("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
    const kvtest::XServer x(kvtest::scratch_dir());
    ASSERT_TRUE(x.ok()) << x.failure();
    Display* display = XOpenDisplay(x.display().c_str());
    ASSERT_NE(display, nullptr);
    // Stands for Xlib's default handler, which would end the test program.
    const XErrorHandler before = XSetErrorHandler(record_error);
    seen.clear();
    {
        kv::sdl::X11ErrorGuard guard;
        send_to_no_window(display);
        EXPECT_TRUE(seen.empty());

        map_no_window(display);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].request_code, X_MapWindow);
        EXPECT_EQ(seen[0].error_code, BadWindow);

        guard.window_closing();
        map_no_window(display);
        send_to_no_window(display);
        EXPECT_EQ(seen.size(), 1u);
    }
    // The handler from before is back.
    send_to_no_window(display);
    EXPECT_EQ(seen.size(), 2u);
    XSetErrorHandler(before);
    XCloseDisplay(display);
}

} // namespace
