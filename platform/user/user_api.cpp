// The USER entry points: classes, the window, messages, timers, painting and message boxes. They
// fail (return 0 or NULL) when no session is running or the handle is not the window's.
#include "gdi/memory_dc.h"
#include "user/window_manager.h"

#include <windows.h>

#include <cstdio>

using kv::Window;
using kv::WindowManager;

namespace {

WindowManager* manager() {
    return WindowManager::current();
}

Window* window_of(HWND hwnd) {
    WindowManager* m = manager();
    return m ? m->window(hwnd) : nullptr;
}

// Fake handles for the stock icon and cursor: the backend's window shows its own.
HICON stock_resource(LPCSTR name) {
    const auto id = reinterpret_cast<std::uintptr_t>(name);
    if (id != 32512) return nullptr;
    return reinterpret_cast<HICON>(std::uintptr_t{0x7F00});
}

} // namespace

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
    WindowManager* m = manager();
    return m && wc ? m->register_class(*wc) : 0;
}

HWND WINAPI CreateWindowExA(DWORD /*exStyle*/, LPCSTR className, LPCSTR windowName, DWORD style,
                            int /*x*/, int /*y*/, int width, int height, HWND /*parent*/,
                            HMENU /*menu*/, HINSTANCE /*instance*/, LPVOID /*param*/) {
    WindowManager* m = manager();
    return m ? m->create_window(className, windowName, style, width, height) : nullptr;
}

BOOL WINAPI ShowWindow(HWND hwnd, int cmdShow) {
    WindowManager* m = manager();
    return m && m->show_window(hwnd, cmdShow) ? TRUE : FALSE;
}

// Paints at once, through the window procedure, if anything is invalid.
BOOL WINAPI UpdateWindow(HWND hwnd) {
    Window* w = window_of(hwnd);
    if (!w) return FALSE;
    if (w->visible && !w->update.empty()) manager()->send(hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
    WindowManager* m = manager();
    return m && m->destroy_window(hwnd) ? TRUE : FALSE;
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
    WindowManager* m = manager();
    return m ? m->find_window(className, windowName) : nullptr;
}

// Of the class's fields only the background brush can be set (GCLP_HBRBACKGROUND); another index
// fails with 0, as an invalid one does on Windows. Returns the brush the class held.
ULONG_PTR WINAPI SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    Window* w = window_of(hwnd);
    if (!w || index != GCLP_HBRBACKGROUND) return 0;
    return reinterpret_cast<ULONG_PTR>(
        manager()->set_class_background(*w, reinterpret_cast<HBRUSH>(value)));
}

// The window and range filters are not needed by a one-window program and are ignored.
BOOL WINAPI GetMessageA(LPMSG msg, HWND /*hwnd*/, UINT /*filterMin*/, UINT /*filterMax*/) {
    WindowManager* m = manager();
    if (!m || !msg) return -1;
    return m->get_message(*msg);
}

// No keyboard layout to translate with: character messages are not made.
BOOL WINAPI TranslateMessage(const MSG* /*msg*/) {
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    WindowManager* m = manager();
    if (!m || !msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
    }
    return m->send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!window_of(hwnd)) return FALSE;
    manager()->post(hwnd, msg, wParam, lParam);
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowManager* m = manager();
    return m ? m->send(hwnd, msg, wParam, lParam) : 0;
}

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM /*lParam*/) {
    Window* w = window_of(hwnd);
    if (!w) return 0;
    switch (msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_ERASEBKGND:
        // Fills what is being painted with the class brush.
        return w->window_class->background && kv::gdi::fill_clip(reinterpret_cast<HDC>(wParam),
                                                                 w->window_class->background)
                   ? 1
                   : 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return 0;
    }
}

void WINAPI PostQuitMessage(int exitCode) {
    if (WindowManager* m = manager()) m->post_quit(exitCode);
}

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    Window* w = window_of(hwnd);
    return w ? manager()->set_timer(*w, id, elapse, proc) : 0;
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
    Window* w = window_of(hwnd);
    return w && manager()->kill_timer(*w, id) ? TRUE : FALSE;
}

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    Window* w = window_of(hwnd);
    if (!w) return FALSE;
    const kv::Rect r =
        rect ? kv::Rect{rect->left, rect->top, rect->right, rect->bottom} : w->framebuffer.bounds();
    manager()->invalidate(*w, r, erase != FALSE);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
    Window* w = window_of(hwnd);
    if (!w || !rect) return FALSE;
    *rect = RECT{0, 0, w->framebuffer.width(), w->framebuffer.height()};
    return TRUE;
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
    if (!ps) return nullptr;
    Window* w = window_of(hwnd);
    if (!w) {
        *ps = PAINTSTRUCT{}; // a failed BeginPaint leaves nothing for EndPaint to release
        return nullptr;
    }
    return manager()->begin_paint(*w, *ps);
}

BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    Window* w = window_of(hwnd);
    if (!w || !ps) return FALSE;
    return manager()->release_dc(*w, ps->hdc) ? TRUE : FALSE;
}

HDC WINAPI GetDC(HWND hwnd) {
    Window* w = window_of(hwnd);
    return w ? manager()->get_dc(*w) : nullptr;
}

int WINAPI ReleaseDC(HWND hwnd, HDC hdc) {
    Window* w = window_of(hwnd);
    return w && manager()->release_dc(*w, hdc) ? 1 : 0;
}

int WINAPI MessageBoxA(HWND /*hwnd*/, LPCSTR text, LPCSTR caption, UINT type) {
    const std::string t = text ? text : "";
    const std::string c = caption ? caption : "Error";
    if (WindowManager* m = manager()) {
        m->backend().message_box(c, t, type);
    } else {
        std::fprintf(stderr, "%s: %s\n", c.c_str(), t.c_str());
    }
    return IDOK;
}

HICON WINAPI LoadIconA(HINSTANCE /*instance*/, LPCSTR name) {
    return stock_resource(name);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE /*instance*/, LPCSTR name) {
    return stock_resource(name);
}

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    return name ? nullptr : reinterpret_cast<HMODULE>(std::uintptr_t{0x400000});
}
