#include "backends/win32/window.h"

#include "backends/win32/wide_text.h"

#include <windowsx.h>

#include <algorithm>

namespace kv::win32 {

namespace {

// The frame the application asks for its own window: a caption, a sizing border, a sunken edge.
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kExStyle = WS_EX_CLIENTEDGE;
constexpr wchar_t kClassName[] = L"KorvelineScreen";
constexpr UINT_PTR kTimerId = 1;
constexpr WORD kIconId = 1; // the exe's icon, in its resources

std::string last_error(const char* what) {
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::string message = std::string(what) + " failed";
    if (text != nullptr) {
        message += ": " + wide_to_utf8(text);
        LocalFree(text);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
            message.pop_back();
    }
    return message;
}

bool register_class(WNDPROC procedure) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, kClassName, &existing)) return true;
    HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
    auto small = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    if (icon == nullptr) icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512)); // IDI_APPLICATION
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = small != nullptr ? small : icon;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
}

// 2 on screens of 144 DPI and more, as the desktop's other window starts.
int start_zoom() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return viewer::start_zoom_for_dpi(dpi > 0 ? std::optional<float>(static_cast<float>(dpi))
                                              : std::nullopt);
}

} // namespace

Window::Window(viewer::Size client, int zoom, WindowEvents& events)
    : events_(events), client_(client), zoom_(zoom) {}

std::unique_ptr<Window> Window::open(const std::wstring& title, viewer::Size client,
                                     const std::vector<viewer::ToolbarButton>& toolbar,
                                     WindowEvents& events, std::string& why) {
    if (!register_class(&Window::procedure)) {
        why = last_error("RegisterClassExW");
        return nullptr;
    }
    std::unique_ptr<Window> window(new Window(client, 1, events));
    desktop::Presenter& presenter = window->presenter();
    presenter.set_toolbar(toolbar);
    presenter.take_resize(); // the window is made at its size
    window->wanted_zoom_ = start_zoom();
    window->zoom_ = window->fitting_zoom(window->wanted_zoom_);
    window->pixels_.set_fit({window->zoom_, false});
    const SIZE outer = window->outer_size(presenter.window_size(client, window->zoom_));
    // WM_NCCREATE hands the window its handle.
    if (CreateWindowExW(kExStyle, kClassName, title.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        outer.cx, outer.cy, nullptr, nullptr, GetModuleHandleW(nullptr),
                        window.get()) == nullptr) {
        why = last_error("CreateWindowExW");
        return nullptr;
    }
    ShowWindow(window->hwnd_, SW_SHOWDEFAULT);
    return window;
}

Window::~Window() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

LRESULT CALLBACK Window::procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* window =
            static_cast<Window*>(reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams);
        window->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY && window != nullptr) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        window->hwnd_ = nullptr;
        window = nullptr;
    }
    if (window == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
    return window->on_message(message, wparam, lparam);
}

LRESULT Window::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CLOSE: // the application decides, through the window manager
        events_.input({.kind = InputEvent::Kind::Close});
        return 0;
    case WM_SIZE:
        if (wparam != SIZE_MINIMIZED) on_size(LOWORD(lparam), HIWORD(lparam));
        return 0;
    case WM_ERASEBKGND: // every pixel is painted from the DIB section
        return 1;
    case WM_PAINT:
        paint();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        on_button(message, lparam);
        return 0;
    case WM_KEYDOWN:
        on_key(wparam, lparam);
        return 0;
    case WM_SYSKEYDOWN: // Alt chords (the viewer takes none) and F10: Alt F4 still closes
        on_key(wparam, lparam);
        break;
    case WM_TIMER:
        if (wparam != kTimerId) break;
        events_.timer();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void Window::on_size(int width, int height) {
    pixels_.resize(width, height);
    // Full screen keeps the client area and scales it.
    if (!fullscreen_) {
        const viewer::Size fits = presenter().client_for_window({width, height}, zoom_);
        if (!(fits == client_)) {
            client_ = fits;
            events_.input(
                {.kind = InputEvent::Kind::Resize, .width = fits.width, .height = fits.height});
        }
    }
    pixels_.show_all(hwnd_);
}

void Window::on_button(UINT message, LPARAM lparam) {
    const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN;
    const bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONUP;
    events_.button(down ? InputEvent::Kind::ButtonDown : InputEvent::Kind::ButtonUp,
                   left ? InputEvent::Button::Left : InputEvent::Button::Right,
                   GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
}

void Window::on_key(WPARAM wparam, LPARAM lparam) {
    constexpr UINT kDeadKey = 0x80000000u;
    const auto down = [](int vk) { return GetKeyState(vk) < 0; };
    KeyDown key;
    key.virtual_key = static_cast<unsigned>(wparam);
    const UINT character = MapVirtualKeyW(key.virtual_key, MAPVK_VK_TO_CHAR);
    key.character = (character & kDeadKey) != 0 ? 0 : static_cast<char32_t>(character & 0xFFFF);
    key.shift = down(VK_SHIFT);
    key.ctrl = down(VK_CONTROL);
    key.alt = down(VK_MENU) || down(VK_LWIN) || down(VK_RWIN);
    key.repeat = (lparam & (LPARAM{1} << 30)) != 0;
    events_.key(key);
}

void Window::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    pixels_.paint(dc, ps.rcPaint);
    EndPaint(hwnd_, &ps);
}

SIZE Window::outer_size(viewer::Size client) const {
    RECT r{0, 0, client.width, client.height};
    AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

int Window::fitting_zoom(int wanted) const {
    HMONITOR monitor = hwnd_ != nullptr ? MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST)
                                        : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return std::clamp(wanted, viewer::kMinZoom, viewer::kMaxZoom);
    const RECT& work = info.rcWork;
    const SIZE frame = outer_size({0, 0});
    return viewer::window_zoom(wanted, viewer::Size{work.right - work.left, work.bottom - work.top},
                               presenter().window_size(client_, 1),
                               viewer::Size{frame.cx, frame.cy});
}

void Window::set_zoom(int zoom) {
    // Full screen fills the screen by itself.
    if (fullscreen_) return;
    wanted_zoom_ = zoom;
    fit_window();
}

void Window::fit_window() {
    zoom_ = fitting_zoom(wanted_zoom_);
    pixels_.set_fit({zoom_, false});
    const viewer::Size size = presenter().window_size(client_, zoom_);
    RECT now{};
    GetClientRect(hwnd_, &now);
    if (size == viewer::Size{now.right - now.left, now.bottom - now.top}) {
        pixels_.show_all(hwnd_);
        return;
    }
    if (IsZoomed(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    // Its WM_SIZE brings the new layout.
    const SIZE outer = outer_size(size);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::redraw(const Rect& changed) {
    if (presenter().take_resize()) {
        if (fullscreen_)
            pixels_.show_all(hwnd_);
        else
            fit_window();
        return;
    }
    pixels_.redraw(hwnd_, changed);
}

void Window::toggle_fullscreen() {
    constexpr UINT kRestyle = SWP_FRAMECHANGED | SWP_NOOWNERZORDER;
    if (!fullscreen_) {
        windowed_.length = sizeof windowed_;
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!GetWindowPlacement(hwnd_, &windowed_) ||
            !GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &info)) {
            return;
        }
        fullscreen_ = true;
        pixels_.set_fit({zoom_, true});
        SetWindowLongPtrW(hwnd_, GWL_STYLE, WS_POPUP | WS_VISIBLE);
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, 0);
        const RECT& screen = info.rcMonitor;
        SetWindowPos(hwnd_, HWND_TOP, screen.left, screen.top, screen.right - screen.left,
                     screen.bottom - screen.top, kRestyle);
        return;
    }
    fullscreen_ = false;
    pixels_.set_fit({zoom_, false});
    SetWindowLongPtrW(hwnd_, GWL_STYLE, kStyle | WS_VISIBLE);
    SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, kExStyle);
    SetWindowPlacement(hwnd_, &windowed_);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 kRestyle | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // What lies beside the picture may have changed meanwhile.
    fit_window();
}

void Window::start_timer(unsigned period_ms) {
    SetTimer(hwnd_, kTimerId, period_ms, nullptr);
}

void Window::stop_timer() {
    KillTimer(hwnd_, kTimerId);
}

} // namespace kv::win32
