// Drawing a window through a shared-memory image on a real X server (a private Xvfb): what the
// server shows is the presenter's picture exactly, whole, after a change, and after the window
// grows (a new image); a server without MIT-SHM leaves the window to SDL's surface.
#include "backends/desktop/presenter.h"
#include "backends/sdl/screen/x11_shm_window.h"
#include "desktop/desktop_session.h"

// Before Xlib, whose macros (None) would break it.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#define KV_LEAK_CHECKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KV_LEAK_CHECKS 1
#endif
#endif
#if defined(KV_LEAK_CHECKS)
// SDL started in this process leaves libdbus's global state at exit, as in korveline (lsan.supp).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
#endif

namespace {

using kv::Framebuffer;
using kv::Rect;
using kv::rgb;
using kv::viewer::Size;

constexpr int kWidth = 64;
constexpr int kHeight = 48;

// Every pixel its own colour, or nearly.
Framebuffer pattern() {
    Framebuffer fb(kWidth, kHeight, rgb(0, 0, 0));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            fb.set(x, y,
                   rgb(static_cast<std::uint8_t>(x * 4), static_cast<std::uint8_t>(y * 5),
                       static_cast<std::uint8_t>(x * y + 7)));
    return fb;
}

std::uint8_t channel(unsigned long pixel, unsigned long mask) {
    return static_cast<std::uint8_t>((pixel & mask) >> std::countr_zero(mask));
}

class SharedMemoryWindow : public ::testing::Test {
  protected:
    // Xvfb with these options, SDL's X11 driver on it, one window of the pattern's size.
    void start(const std::vector<std::string>& options) {
        if (!kvtest::installed("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
        x_ = std::make_unique<kvtest::XServer>(kvtest::scratch_dir(), "1024x768", options);
        ASSERT_TRUE(x_->ok()) << "Xvfb did not start: " << x_->failure();
        setenv("DISPLAY", x_->display().c_str(), 1);
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        window_ = SDL_CreateWindow("test", 0, 0, kWidth, kHeight, 0);
        ASSERT_NE(window_, nullptr) << SDL_GetError();
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        ASSERT_EQ(SDL_GetWindowWMInfo(window_, &info), SDL_TRUE);
        display_ = info.info.x11.display;
        xwindow_ = info.info.x11.window;
    }
    void TearDown() override {
        shm_.reset();
        if (window_ != nullptr) SDL_DestroyWindow(window_);
        SDL_Quit();
    }

    // Draws as the backend does: the whole window, or what changed, then sends what was written.
    void show(const Framebuffer& fb, const kv::Region* changed, int zoom) {
        int width = 0, height = 0;
        SDL_GetWindowSize(window_, &width, &height);
        bool fresh = false;
        kv::desktop::PixelTarget* target = shm_->pixels(width, height, fresh);
        ASSERT_NE(target, nullptr);
        presenter_.set_layout(
            kv::viewer::corner_layout(Size{width, height}, Size{kWidth, kHeight}, zoom));
        std::vector<Rect> written;
        if (changed == nullptr || fresh) {
            written.push_back(presenter_.draw_all(fb, *target));
        } else {
            presenter_.draw_changes(fb, *changed, *target, written);
        }
        shm_->send(written);
    }

    // Window pixels that differ from `fb` zoomed `zoom` times, as the server has them once it
    // has handled everything sent so far.
    int differing(const Framebuffer& fb, int zoom) {
        XImage* image = XGetImage(display_, xwindow_, 0, 0, static_cast<unsigned>(kWidth * zoom),
                                  static_cast<unsigned>(kHeight * zoom), AllPlanes, ZPixmap);
        if (image == nullptr) {
            ADD_FAILURE() << "no image of the window";
            return -1;
        }
        int n = 0;
        for (int y = 0; y < kHeight * zoom; ++y)
            for (int x = 0; x < kWidth * zoom; ++x) {
                const unsigned long p = XGetPixel(image, x, y);
                n += rgb(channel(p, image->red_mask), channel(p, image->green_mask),
                         channel(p, image->blue_mask)) != fb.get(x / zoom, y / zoom);
            }
        XDestroyImage(image);
        return n;
    }

    std::unique_ptr<kvtest::XServer> x_;
    SDL_Window* window_ = nullptr;
    Display* display_ = nullptr;
    ::Window xwindow_ = 0;
    std::unique_ptr<kv::sdl::X11ShmWindow> shm_;
    kv::desktop::Presenter presenter_;
};

TEST_F(SharedMemoryWindow, TheServerShowsThePictureWholeAfterAChangeAndAtTwiceTheSize) {
    start({});
    shm_ = kv::sdl::X11ShmWindow::attach(window_);
    ASSERT_NE(shm_, nullptr) << "Xvfb shares memory, yet the window is not drawn through it";

    Framebuffer fb = pattern();
    show(fb, nullptr, 1);
    EXPECT_EQ(differing(fb, 1), 0);

    // A block and two lone pixels change inside the box reported; the rest of the box does not.
    for (int y = 10; y < 20; ++y)
        for (int x = 5; x < 30; ++x)
            fb.set(x, y, rgb(250, 0, 0));
    fb.set(40, 30, rgb(1, 2, 3));
    fb.set(63, 47, rgb(255, 255, 255));
    const kv::Region changed(Rect{0, 5, kWidth, kHeight});
    show(fb, &changed, 1);
    EXPECT_EQ(differing(fb, 1), 0);

    // A larger window: a new image, drawn whole at zoom 2.
    SDL_SetWindowSize(window_, kWidth * 2, kHeight * 2);
    int width = 0;
    for (int i = 0; i < 200 && width != kWidth * 2; ++i) {
        SDL_PumpEvents();
        SDL_GetWindowSize(window_, &width, nullptr);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(width, kWidth * 2) << "the window did not grow";
    show(fb, &changed, 2);
    EXPECT_EQ(differing(fb, 2), 0);
}

TEST_F(SharedMemoryWindow, AServerWithoutMitShmLeavesTheWindowToSdl) {
    start({"-extension", "MIT-SHM"});
    EXPECT_EQ(kv::sdl::X11ShmWindow::attach(window_), nullptr);
}

} // namespace
