#include "backends/sdl/screen/x11_shm_window.h"

#if defined(KORVELINE_XSHM)
#include <SDL_syswm.h>
#endif

#if defined(KORVELINE_XSHM) && defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <bit>
#include <cstdint>
#endif

namespace kv::sdl {

#if defined(KORVELINE_XSHM) && defined(SDL_VIDEO_DRIVER_X11)

namespace {

// Whether the server refused the segment: Xlib reports errors to one handler per process, so the
// answer of the one check under way is kept here.
bool attach_refused = false;

int note_refusal(Display*, XErrorEvent*) {
    attach_refused = true;
    return 0;
}

bool native_byte_order(int order) {
    return order == (std::endian::native == std::endian::little ? LSBFirst : MSBFirst);
}

} // namespace

struct X11ShmWindow::State {
    Display* display = nullptr;
    ::Window window = 0;
    Visual* visual = nullptr;
    int depth = 0;
    GC gc = nullptr;
    XImage* image = nullptr;
    XShmSegmentInfo segment{};
    desktop::PixelTarget target;

    ~State() {
        drop_image();
        if (gc != nullptr) XFreeGC(display, gc);
    }

    void drop_image() {
        if (image == nullptr) return;
        XShmDetach(display, &segment);
        image->data = nullptr; // ours, not Xlib's to free
        XDestroyImage(image);
        image = nullptr;
        shmdt(segment.shmaddr);
        segment = XShmSegmentInfo{};
        target = desktop::PixelTarget{};
    }

    // A segment of our own the server has attached too; false (and nothing made) where it cannot.
    bool make_image(int width, int height) {
        XImage* made =
            XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, nullptr,
                            &segment, static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (made == nullptr) return false;
        // The image without its pixels, which are ours, not Xlib's to free.
        const auto give_up = [&] {
            made->data = nullptr;
            XDestroyImage(made);
            return false;
        };
        const std::optional<desktop::ChannelShifts> shifts =
            desktop::byte_channels(made->red_mask, made->green_mask, made->blue_mask);
        if (made->bits_per_pixel != 32 || !native_byte_order(made->byte_order) || !shifts)
            return give_up();
        const auto bytes =
            static_cast<std::size_t>(made->bytes_per_line) * static_cast<std::size_t>(height);
        segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        if (segment.shmid < 0) return give_up();
        segment.shmaddr = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
        if (segment.shmaddr == reinterpret_cast<char*>(-1)) {
            shmctl(segment.shmid, IPC_RMID, nullptr);
            return give_up();
        }
        made->data = segment.shmaddr;
        segment.readOnly = False;
        // A server elsewhere (or in another namespace) knows the extension but cannot map our
        // segment: it says so with an error, which only a round trip brings back.
        XSync(display, False);
        attach_refused = false;
        const XErrorHandler previous = XSetErrorHandler(note_refusal);
        const Status sent = XShmAttach(display, &segment);
        XSync(display, False);
        XSetErrorHandler(previous);
        // Gone once both sides have let go of it, whatever happens from now on.
        shmctl(segment.shmid, IPC_RMID, nullptr);
        if (sent == 0 || attach_refused) {
            shmdt(segment.shmaddr);
            segment = XShmSegmentInfo{};
            return give_up();
        }
        image = made;
        target.pixels = reinterpret_cast<std::uint8_t*>(made->data);
        target.pitch = made->bytes_per_line;
        target.width = width;
        target.height = height;
        target.shifts = *shifts;
        return true;
    }
};

std::unique_ptr<X11ShmWindow> X11ShmWindow::attach(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11) {
        return nullptr;
    }
    auto state = std::make_unique<State>();
    state->display = info.info.x11.display;
    state->window = info.info.x11.window;
    if (XShmQueryExtension(state->display) == False) return nullptr;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(state->display, state->window, &attributes) == 0) return nullptr;
    state->visual = attributes.visual;
    state->depth = attributes.depth;
    state->gc = XCreateGC(state->display, state->window, 0, nullptr);
    if (state->gc == nullptr) return nullptr;
    // One image now tells whether the server takes our segments at all.
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    if (width <= 0 || height <= 0 || !state->make_image(width, height)) return nullptr;
    return std::unique_ptr<X11ShmWindow>(new X11ShmWindow(std::move(state)));
}

desktop::PixelTarget* X11ShmWindow::pixels(int width, int height, bool& fresh) {
    State& s = *state_;
    fresh = s.image == nullptr || s.target.width != width || s.target.height != height;
    if (!fresh) return &s.target;
    s.drop_image();
    if (width <= 0 || height <= 0 || !s.make_image(width, height)) return nullptr;
    return &s.target;
}

void X11ShmWindow::send(const std::vector<Rect>& rects) {
    State& s = *state_;
    if (s.image == nullptr) return;
    for (const Rect& r : rects) {
        XShmPutImage(s.display, s.window, s.gc, s.image, static_cast<int>(r.left),
                     static_cast<int>(r.top), static_cast<int>(r.left), static_cast<int>(r.top),
                     static_cast<unsigned>(r.width()), static_cast<unsigned>(r.height()), False);
    }
}

#else

// Without the extension (or without SDL's X11 driver) there is nothing to attach to.
struct X11ShmWindow::State {};

std::unique_ptr<X11ShmWindow> X11ShmWindow::attach(SDL_Window*) {
    return nullptr;
}

desktop::PixelTarget* X11ShmWindow::pixels(int, int, bool& fresh) {
    fresh = true;
    return nullptr;
}

void X11ShmWindow::send(const std::vector<Rect>&) {}

#endif

X11ShmWindow::X11ShmWindow(std::unique_ptr<State> state) : state_(std::move(state)) {}

X11ShmWindow::~X11ShmWindow() = default;

} // namespace kv::sdl
