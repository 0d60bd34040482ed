#include "bench/app_window.h"

#include "base/palette.h"
#include "shell/scene.h"
#include "shell/wndproc.h"

#include <iostream>
#include <stdexcept>

namespace bench {

void hide_fields() {
    masdessin.show_field1 = masdessin.show_field2 = masdessin.show_field3 = false;
    masdessin.show_resultant = false;
}

AppWindow::AppWindow()
    : backend_({}, kv::headless::ScriptOutput{&std::cout, &std::cerr, {}}), session_(backend_) {
    WNDCLASSEX wc{};
    wc.cbSize = sizeof(WNDCLASSEX);
    wc.lpfnWndProc = WndProc;
    wc.hbrBackground = background_brush;
    wc.lpszClassName = g_szClassName;
    if (!RegisterClassEx(&wc)) throw std::runtime_error("cannot register the window class");
    hwnd_ =
        CreateWindowEx(WS_EX_CLIENTEDGE, g_szClassName, "KORVELINE", WS_OVERLAPPEDWINDOW,
                       CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, nullptr, nullptr, nullptr, nullptr);
    if (hwnd_ == nullptr) throw std::runtime_error("cannot create the window");
    ShowWindow(hwnd_, SW_SHOWDEFAULT);
    UpdateWindow(hwnd_);
    hide_fields();
    click(25, 25);
    click(260, 290);
    click(80, 290);
}

AppWindow::~AppWindow() {
    DestroyWindow(hwnd_);
}

void AppWindow::tick() {
    WndProc(hwnd_, WM_TIMER, 1, 0);
}

void AppWindow::click(int x, int y) {
    WndProc(hwnd_, WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
}

} // namespace bench
