// The window manager behind the USER entry points: window classes, the one window, its update
// region and timers, the message queue, and the DCs it hands out.
#pragma once

#include "core/framebuffer.h"
#include "core/region.h"
#include "user/backend.h"

#include <windows.h>

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kv {

struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
};

struct Timer {
    std::uint64_t period_ms = 0;
    std::uint64_t due_ms = 0;
    TIMERPROC proc = nullptr;
};

struct Window {
    HWND handle = nullptr;
    const WindowClass* window_class = nullptr;
    std::string title;
    bool visible = false;
    bool destroying = false;
    Framebuffer framebuffer;
    Region update;      // what WM_PAINT has to draw
    bool erase = false; // WM_ERASEBKGND is due at the next BeginPaint
    Region changed;     // drawn since the last present
    std::map<UINT_PTR, Timer> timers;
    std::vector<HDC> paint_dcs;
};

class WindowManager {
  public:
    explicit WindowManager(Backend& backend) : backend_(backend) {}

    static WindowManager* current();
    static void set_current(WindowManager* manager);

    Backend& backend() { return backend_; }

    ATOM register_class(const WNDCLASSEXA& wc);
    HWND create_window(LPCSTR class_name, LPCSTR title, DWORD style, int width, int height);
    Window* window(HWND hwnd);
    // The window whose class and title match (nullptr matches any); nullptr when none does.
    HWND find_window(LPCSTR class_name, LPCSTR title) const;
    bool destroy_window(HWND hwnd);
    bool show_window(HWND hwnd, int cmd);

    void post(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    LRESULT send(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    void post_quit(int code);
    BOOL get_message(MSG& msg);

    // Gives the window's class another background brush; returns the one it replaces.
    HBRUSH set_class_background(Window& w, HBRUSH brush);

    void invalidate(Window& w, const Rect& rect, bool erase);
    HDC get_dc(Window& w);
    HDC begin_paint(Window& w, PAINTSTRUCT& ps);
    bool release_dc(Window& w, HDC hdc);

    UINT_PTR set_timer(Window& w, UINT_PTR id, UINT elapse, TIMERPROC proc);
    bool kill_timer(Window& w, UINT_PTR id);

    std::uint64_t timer_messages() const { return timer_messages_; }

  private:
    const WindowClass* find_class(const std::string& name) const;
    void handle_input(const std::vector<InputEvent>& events);
    void resize_client(Window& w, int width, int height);
    std::optional<std::uint64_t> next_deadline() const;
    bool take_due_timer(MSG& msg);
    void present_changes();

    Backend& backend_;
    std::deque<WindowClass> classes_; // deque: windows keep pointers to their class
    std::optional<Window> window_;
    std::uintptr_t next_window_serial_ = 1;
    std::deque<MSG> posted_;
    bool quit_posted_ = false;
    int quit_code_ = 0;
    std::uint64_t timer_messages_ = 0;
};

} // namespace kv
