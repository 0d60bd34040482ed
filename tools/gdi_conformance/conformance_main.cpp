// gdi-conformance: draws the table of primitives on its window's client area with a DC from GetDC,
// as the application draws, reads every pixel back with GetPixel and writes the dump file named
// on the command line. The same source runs on Windows (or Wine) and on our layer, so that the
// two dumps can be compared. Exit code 0 when the dump is written.
#include "tools/gdi_conformance/dump_writer.h"
#include "tools/gdi_conformance/primitive_table.h"

#include <windows.h>

#include <string>

namespace {

const char kClassName[] = "GdiConformance";
std::string g_dump_path;
int g_exit_code = 1;

// The dump path is the whole command line, without the quotes a shell may leave around it.
std::string DumpPath(const char* command_line) {
    const std::string path = command_line ? command_line : "";
    const std::size_t first = path.find_first_not_of(" \"");
    if (first == std::string::npos) return {};
    return path.substr(first, path.find_last_not_of(" \"") - first + 1);
}

// One pass, in the first timer message: by then the window is shown and painted.
void DrawAndDump(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width < gdi_conformance::kTableWidth || height < gdi_conformance::kTableHeight) return;

    HDC hdc = GetDC(hwnd);
    const auto cells = gdi_conformance::DrawTable(hdc);
    const auto pixels = gdi_conformance::ReadBack(hdc, cells);
    const auto probes = gdi_conformance::ProbeEdges(hdc, width, height);
    ReleaseDC(hwnd, hdc);
    if (gdi_conformance::WriteDump(g_dump_path, width, height, pixels, probes)) g_exit_code = 0;
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        SetTimer(hwnd, 1, 50, NULL);
        return 0;
    case WM_TIMER:
        KillTimer(hwnd, 1);
        DrawAndDump(hwnd);
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(g_exit_code);
        return 0;
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    (void)hPrevInstance;
    g_dump_path = DumpPath(lpCmdLine);
    if (g_dump_path.empty()) return 2;

    WNDCLASSEX wc = {};
    wc.cbSize = sizeof(WNDCLASSEX);
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIcon(NULL, IDI_APPLICATION);
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(0, 200, 200));
    wc.lpszClassName = kClassName;
    wc.hIconSm = LoadIcon(NULL, IDI_APPLICATION);
    if (!RegisterClassEx(&wc)) return 3;

    // The application's window: the same styles and outer size.
    HWND hwnd = CreateWindowEx(WS_EX_CLIENTEDGE, kClassName, "GDI conformance", WS_OVERLAPPEDWINDOW,
                               CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, NULL, NULL, hInstance, NULL);
    if (hwnd == NULL) return 4;
    ShowWindow(hwnd, nCmdShow);
    UpdateWindow(hwnd);

    MSG msg;
    while (GetMessage(&msg, NULL, 0, 0) != 0) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return static_cast<int>(msg.wParam);
}
