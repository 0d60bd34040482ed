#include "user/window_manager.h"

#include "gdi/memory_dc.h"
#include "user/session.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace kv {

namespace {

WindowManager* g_current = nullptr;

// Win32 compares class names without regard to case.
bool same_name(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

LPARAM point_lparam(std::int64_t x, std::int64_t y) {
    return MAKELPARAM(static_cast<WORD>(x & 0xFFFF), static_cast<WORD>(y & 0xFFFF));
}

constexpr UINT kMinimumTimerPeriod = 10; // USER_TIMER_MINIMUM

} // namespace

WindowManager* WindowManager::current() {
    return g_current;
}
void WindowManager::set_current(WindowManager* manager) {
    g_current = manager;
}

const WindowClass* WindowManager::find_class(const std::string& name) const {
    for (const WindowClass& c : classes_) {
        if (same_name(c.name, name)) return &c;
    }
    return nullptr;
}

ATOM WindowManager::register_class(const WNDCLASSEXA& wc) {
    if (wc.cbSize != sizeof(WNDCLASSEXA) || !wc.lpfnWndProc || !wc.lpszClassName ||
        !*wc.lpszClassName)
        return 0;
    if (find_class(wc.lpszClassName)) return 0; // ERROR_CLASS_ALREADY_EXISTS
    classes_.push_back(WindowClass{wc.lpszClassName, wc.style, wc.lpfnWndProc, wc.hbrBackground});
    return static_cast<ATOM>(0xC000 + classes_.size() - 1);
}

Window* WindowManager::window(HWND hwnd) {
    if (!hwnd || !window_ || window_->handle != hwnd) return nullptr;
    return &*window_;
}

// Win32 compares both names without regard to case, and finds hidden windows too.
HWND WindowManager::find_window(LPCSTR class_name, LPCSTR title) const {
    if (!window_ || window_->destroying) return nullptr;
    if (class_name && !same_name(window_->window_class->name, class_name)) return nullptr;
    if (title && !same_name(window_->title, title)) return nullptr;
    return window_->handle;
}

HWND WindowManager::create_window(LPCSTR class_name, LPCSTR title, DWORD /*style*/, int width,
                                  int height) {
    const WindowClass* wc = class_name ? find_class(class_name) : nullptr;
    if (!wc || window_) return nullptr; // one top-level window at a time
    if (width == CW_USEDEFAULT) width = 800;
    if (height == CW_USEDEFAULT) height = 600;
    const int client_w = std::clamp(width - kOverlappedClientEdgeInsets.horizontal, 0, 8192);
    const int client_h = std::clamp(height - kOverlappedClientEdgeInsets.vertical, 0, 8192);

    std::string why;
    if (!backend_.open_window(title ? title : "", client_w, client_h, why)) {
        std::fprintf(stderr, "cannot open a window: %s\n", why.c_str());
        return nullptr;
    }
    Window& w = window_.emplace();
    w.handle = reinterpret_cast<HWND>(0x10000 + next_window_serial_++ * 16);
    w.window_class = wc;
    w.title = title ? title : "";
    w.framebuffer = Framebuffer(client_w, client_h, 0);
    invalidate(w, w.framebuffer.bounds(), true);

    const HWND hwnd = w.handle;
    if (!send(hwnd, WM_NCCREATE, 0, 0) || send(hwnd, WM_CREATE, 0, 0) == -1) {
        destroy_window(hwnd);
        return nullptr;
    }
    if (window(hwnd)) {
        send(hwnd, WM_SIZE, SIZE_RESTORED, point_lparam(client_w, client_h));
        send(hwnd, WM_MOVE, 0, 0);
    }
    return window(hwnd) ? hwnd : nullptr;
}

bool WindowManager::destroy_window(HWND hwnd) {
    Window* w = window(hwnd);
    if (!w || w->destroying) return false;
    w->destroying = true;
    w->visible = false;
    send(hwnd, WM_DESTROY, 0, 0);
    send(hwnd, WM_NCDESTROY, 0, 0);
    // Messages still queued for the window die with it.
    std::erase_if(posted_, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
    for (HDC hdc : w->paint_dcs)
        gdi::release_dc(hdc);
    window_.reset();
    backend_.close_window();
    return true;
}

bool WindowManager::show_window(HWND hwnd, int cmd) {
    Window* w = window(hwnd);
    if (!w) return false;
    const bool was_visible = w->visible;
    const bool show = cmd != SW_HIDE;
    if (show == was_visible) return was_visible;
    send(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if ((w = window(hwnd)) == nullptr) return was_visible;
    w->visible = show;
    // A window that appears must be painted whole.
    if (show) invalidate(*w, w->framebuffer.bounds(), true);
    return was_visible;
}

void WindowManager::post(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    posted_.push_back(MSG{hwnd, msg, wparam, lparam, static_cast<DWORD>(backend_.now_ms()), {}});
}

LRESULT WindowManager::send(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    Window* w = window(hwnd);
    if (!w) return 0;
    return w->window_class->proc(hwnd, msg, wparam, lparam);
}

void WindowManager::post_quit(int code) {
    quit_posted_ = true;
    quit_code_ = code;
}

// The class, not the window: every window of the class erases with the new brush from its next
// WM_ERASEBKGND on; nothing already painted changes.
HBRUSH WindowManager::set_class_background(Window& w, HBRUSH brush) {
    for (WindowClass& c : classes_) {
        if (&c != w.window_class) continue;
        const HBRUSH previous = c.background;
        c.background = brush;
        return previous;
    }
    return nullptr;
}

void WindowManager::invalidate(Window& w, const Rect& rect, bool erase) {
    Rect r = intersect(rect, w.framebuffer.bounds());
    if (r.empty()) return;
    w.update.add(r);
    w.erase = w.erase || erase;
}

HDC WindowManager::get_dc(Window& w) {
    // Drawing on a hidden window shows nothing, as on Windows.
    const Region clip = w.visible ? Region(w.framebuffer.bounds()) : Region();
    return gdi::create_dc(w.framebuffer, clip);
}

HDC WindowManager::begin_paint(Window& w, PAINTSTRUCT& ps) {
    Region clip = w.visible ? w.update : Region();
    const bool erase = w.erase;
    // BeginPaint validates: what is invalidated from here on needs a paint of its own.
    w.update.clear();
    w.erase = false;
    HDC hdc = gdi::create_dc(w.framebuffer, clip);
    w.paint_dcs.push_back(hdc);
    const HWND hwnd = w.handle;
    ps = PAINTSTRUCT{};
    ps.hdc = hdc;
    const Rect b = clip.bounds();
    ps.rcPaint = RECT{static_cast<LONG>(b.left), static_cast<LONG>(b.top),
                      static_cast<LONG>(b.right), static_cast<LONG>(b.bottom)};
    ps.fErase = TRUE;
    if (erase && !clip.empty()) {
        ps.fErase = send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) ? FALSE : TRUE;
    }
    return hdc;
}

bool WindowManager::release_dc(Window& w, HDC hdc) {
    std::erase(w.paint_dcs, hdc);
    const std::optional<Region> drawn = gdi::release_dc(hdc);
    if (!drawn) return false;
    w.changed.add(*drawn);
    return true;
}

UINT_PTR WindowManager::set_timer(Window& w, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    const std::uint64_t period = std::clamp<UINT>(elapse, kMinimumTimerPeriod, 0x7FFFFFFF);
    w.timers[id] = Timer{period, backend_.now_ms() + period, proc};
    return id == 0 ? 1 : id;
}

bool WindowManager::kill_timer(Window& w, UINT_PTR id) {
    return w.timers.erase(id) > 0;
}

std::optional<std::uint64_t> WindowManager::next_deadline() const {
    if (!window_ || window_->timers.empty()) return std::nullopt;
    std::uint64_t due = UINT64_MAX;
    for (const auto& [id, timer] : window_->timers)
        due = std::min(due, timer.due_ms);
    return due;
}

// WM_TIMER is made on demand when nothing else waits; expirations missed during a stall merge
// into this one message (no catch-up), and the next deadline stays on the period's grid.
bool WindowManager::take_due_timer(MSG& msg) {
    if (!window_ || !backend_.timers_run()) return false;
    const std::uint64_t now = backend_.now_ms();
    for (auto& [id, timer] : window_->timers) {
        if (timer.due_ms > now) continue;
        const std::uint64_t missed = (now - timer.due_ms) / timer.period_ms;
        timer.due_ms += (missed + 1) * timer.period_ms;
        msg = MSG{window_->handle,         WM_TIMER, id, reinterpret_cast<LPARAM>(timer.proc),
                  static_cast<DWORD>(now), {}};
        ++timer_messages_;
        backend_.timer_delivered(now, timer.period_ms);
        return true;
    }
    return false;
}

void WindowManager::resize_client(Window& w, int width, int height) {
    width = std::clamp(width, 0, 8192);
    height = std::clamp(height, 0, 8192);
    const Rect old = w.framebuffer.bounds();
    w.framebuffer.resize(width, height);
    w.update.intersect(w.framebuffer.bounds());
    // Without CS_HREDRAW/CS_VREDRAW only the newly exposed parts need painting.
    for (const Rect& r : subtract(w.framebuffer.bounds(), old))
        invalidate(w, r, true);
    w.changed.intersect(w.framebuffer.bounds());
    const HWND hwnd = w.handle;
    send(hwnd, WM_SIZE, SIZE_RESTORED, point_lparam(width, height));
}

void WindowManager::handle_input(const std::vector<InputEvent>& events) {
    for (const InputEvent& e : events) {
        Window* w = window_ ? &*window_ : nullptr;
        if (!w) return;
        const HWND hwnd = w->handle;
        const bool left = e.button == InputEvent::Button::Left;
        switch (e.kind) {
        case InputEvent::Kind::ButtonDown:
            post(hwnd, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON,
                 point_lparam(e.x, e.y));
            break;
        case InputEvent::Kind::ButtonUp:
            post(hwnd, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, point_lparam(e.x, e.y));
            break;
        case InputEvent::Kind::MouseMove:
            post(hwnd, WM_MOUSEMOVE, 0, point_lparam(e.x, e.y));
            break;
        case InputEvent::Kind::Expose:
            invalidate(*w, e.rect.empty() ? w->framebuffer.bounds() : e.rect, true);
            break;
        case InputEvent::Kind::Resize:
            resize_client(*w, e.width, e.height);
            break;
        case InputEvent::Kind::Close:
            post(hwnd, WM_CLOSE, 0, 0);
            break;
        }
    }
}

void WindowManager::present_changes() {
    if (!window_ || window_->changed.empty()) return;
    backend_.present(window_->framebuffer, window_->changed);
    window_->changed.clear();
    window_->framebuffer.presented();
}

// Win32's order: posted and input messages, then WM_PAINT while something is invalid, then
// WM_TIMER; when nothing waits, present what changed and block in the backend.
BOOL WindowManager::get_message(MSG& msg) {
    std::vector<InputEvent> events;
    for (;;) {
        if (!posted_.empty()) {
            msg = posted_.front();
            posted_.pop_front();
            return TRUE;
        }
        if (quit_posted_) {
            quit_posted_ = false;
            msg = MSG{nullptr,
                      WM_QUIT,
                      static_cast<WPARAM>(quit_code_),
                      0,
                      static_cast<DWORD>(backend_.now_ms()),
                      {}};
            return FALSE;
        }
        events.clear();
        backend_.poll(events);
        if (!events.empty()) {
            handle_input(events);
            continue;
        }
        if (window_ && window_->visible && !window_->update.empty()) {
            msg = MSG{window_->handle, WM_PAINT, 0, 0, static_cast<DWORD>(backend_.now_ms()), {}};
            return TRUE;
        }
        if (take_due_timer(msg)) return TRUE;
        present_changes();
        backend_.wait(next_deadline(), events);
        handle_input(events);
    }
}

Session::Session(Backend& backend) : manager_(std::make_unique<WindowManager>(backend)) {
    WindowManager::set_current(manager_.get());
}

Session::~Session() {
    if (WindowManager::current() == manager_.get()) WindowManager::set_current(nullptr);
}

std::uint64_t Session::timer_messages() const {
    return manager_->timer_messages();
}

} // namespace kv
