// Start-up: the window class, the one window, and the message loop.
#include <windows.h>

#include "base/palette.h"
#include "shell/scene.h"
#include "shell/wndproc.h"

namespace {

// A start-up failure is not a success: the exit code says so to whoever started the program.
int Echec(LPCSTR texte) {
    MessageBox(NULL, texte, "Error!", MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    return 1;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    (void)hPrevInstance;
    (void)lpCmdLine; // the program takes no command line
    g_hInst = hInstance;

    WNDCLASSEX wc;
    wc.cbSize = sizeof(WNDCLASSEX);
    wc.style = 0; // no redraw on resize: only newly exposed areas are painted
    wc.lpfnWndProc = WndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = g_hInst;
    wc.hIcon = LoadIcon(NULL, IDI_APPLICATION);
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = background_brush;
    wc.lpszMenuName = NULL;
    wc.lpszClassName = g_szClassName;
    wc.hIconSm = LoadIcon(NULL, IDI_APPLICATION);
    if (!RegisterClassEx(&wc)) return Echec("Window Registration Failed!");

    // WM_CREATE starts the timer and runs the first Tick before this returns.
    HWND hwnd = CreateWindowEx(WS_EX_CLIENTEDGE, g_szClassName, "KORVELINE", WS_OVERLAPPEDWINDOW,
                               CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, NULL, NULL, g_hInst, NULL);
    if (hwnd == NULL) return Echec("Window Creation Failed!");

    ShowWindow(hwnd, nCmdShow);
    UpdateWindow(hwnd);

    MSG msg;
    while (GetMessage(&msg, NULL, 0, 0) != 0) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return static_cast<int>(msg.wParam);
}
