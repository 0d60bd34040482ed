// The window manager as recorded message sequences: what a window procedure receives, in which
// order, for creation, showing, painting, timers, input, resizing and closing.
#include "platform/win32/fake_backend.h"
#include "user/session.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;
std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> g_override;

std::string name_of(UINT msg) {
    switch (msg) {
    case WM_NCCREATE:
        return "WM_NCCREATE";
    case WM_CREATE:
        return "WM_CREATE";
    case WM_SIZE:
        return "WM_SIZE";
    case WM_MOVE:
        return "WM_MOVE";
    case WM_SHOWWINDOW:
        return "WM_SHOWWINDOW";
    case WM_PAINT:
        return "WM_PAINT";
    case WM_ERASEBKGND:
        return "WM_ERASEBKGND";
    case WM_TIMER:
        return "WM_TIMER";
    case WM_CLOSE:
        return "WM_CLOSE";
    case WM_DESTROY:
        return "WM_DESTROY";
    case WM_NCDESTROY:
        return "WM_NCDESTROY";
    case WM_MOUSEMOVE:
        return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN:
        return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP:
        return "WM_LBUTTONUP";
    case WM_RBUTTONDOWN:
        return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP:
        return "WM_RBUTTONUP";
    case WM_USER:
        return "WM_USER";
    default:
        return "0x" + std::to_string(msg);
    }
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    g_log.push_back(name_of(msg));
    if (g_override) {
        if (LRESULT r = g_override(hwnd, msg, wp, lp); r != 0x7777) return r;
    }
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (msg == WM_DESTROY) PostQuitMessage(3);
    return DefWindowProc(hwnd, msg, wp, lp);
}

class WindowManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_log.clear();
        g_override = nullptr;
        brush = CreateSolidBrush(RGB(0, 200, 200));
    }
    void TearDown() override { g_override = nullptr; }

    ATOM register_class(const char* name = "TestClass") {
        WNDCLASSEX wc{};
        wc.cbSize = sizeof(WNDCLASSEX);
        wc.lpfnWndProc = RecordingProc;
        wc.hbrBackground = brush;
        wc.lpszClassName = name;
        return RegisterClassEx(&wc);
    }
    HWND create() {
        return CreateWindowEx(WS_EX_CLIENTEDGE, "TestClass", "Title", WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, nullptr, nullptr, nullptr,
                              nullptr);
    }
    // Takes and dispatches messages until `count` have been handled or the loop ends.
    int pump(int count) {
        MSG msg;
        for (int i = 0; i < count; ++i) {
            if (!GetMessage(&msg, nullptr, 0, 0)) return static_cast<int>(msg.wParam);
            DispatchMessage(&msg);
        }
        return -1;
    }

    kv::testing::FakeBackend backend;
    kv::Session session{backend};
    HBRUSH brush = nullptr;
};

using Log = std::vector<std::string>;

TEST_F(WindowManagerTest, CreationSendsCreateBeforeReturningWithTheClientAreaOfWindows10) {
    ASSERT_NE(register_class(), 0);
    HWND hwnd = create();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(g_log, (Log{"WM_NCCREATE", "WM_CREATE", "WM_SIZE", "WM_MOVE"}));
    RECT rc;
    ASSERT_TRUE(GetClientRect(hwnd, &rc));
    EXPECT_EQ(rc.right, 780);
    EXPECT_EQ(rc.bottom, 557);
    EXPECT_EQ(backend.opened_title, "Title");
    EXPECT_EQ(backend.opened_width, 780);
    EXPECT_EQ(backend.opened_height, 557);
}

TEST_F(WindowManagerTest, RegistrationAndCreationFailures) {
    ASSERT_NE(register_class(), 0);
    EXPECT_EQ(register_class("testclass"), 0) << "class names compare without case";
    WNDCLASSEX bad{};
    bad.cbSize = sizeof(WNDCLASSEX);
    bad.lpszClassName = "NoProc";
    EXPECT_EQ(RegisterClassEx(&bad), 0);
    EXPECT_EQ(
        CreateWindowEx(0, "Unknown", "x", 0, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr),
        nullptr);

    backend.refuse_window = true;
    EXPECT_EQ(create(), nullptr);
    EXPECT_TRUE(g_log.empty()) << "no message reaches a window that could not be opened";
}

TEST_F(WindowManagerTest, CreateReturningMinusOneDestroysTheWindow) {
    ASSERT_NE(register_class(), 0);
    g_override = [](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
        return msg == WM_CREATE ? -1 : 0x7777;
    };
    EXPECT_EQ(create(), nullptr);
    EXPECT_EQ(g_log, (Log{"WM_NCCREATE", "WM_CREATE", "WM_DESTROY", "WM_NCDESTROY"}));
}

TEST_F(WindowManagerTest, ShowAndUpdatePaintAtOnceAndEraseWithTheClassBrush) {
    ASSERT_NE(register_class(), 0);
    HWND hwnd = create();
    g_log.clear();
    ShowWindow(hwnd, SW_SHOWDEFAULT);
    UpdateWindow(hwnd);
    EXPECT_EQ(g_log, (Log{"WM_SHOWWINDOW", "WM_PAINT", "WM_ERASEBKGND"}));
    HDC hdc = GetDC(hwnd);
    EXPECT_EQ(GetPixel(hdc, 0, 0), RGB(0, 200, 200));
    EXPECT_EQ(GetPixel(hdc, 779, 556), RGB(0, 200, 200));
    EXPECT_EQ(GetPixel(hdc, 780, 0), CLR_INVALID);
    ReleaseDC(hwnd, hdc);
    g_log.clear();
    UpdateWindow(hwnd);
    EXPECT_TRUE(g_log.empty()) << "nothing is invalid any more";
}

TEST_F(WindowManagerTest, AnotherClassBrushErasesFromTheNextPaintOnAndPaintedPixelsStay) {
    ASSERT_NE(register_class(), 0);
    HWND hwnd = create();
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    const HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    EXPECT_EQ(SetClassLongPtr(hwnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(white)),
              reinterpret_cast<ULONG_PTR>(brush))
        << "returns the brush it replaces";
    g_log.clear();
    UpdateWindow(hwnd);
    EXPECT_TRUE(g_log.empty()) << "changing the class paints nothing";
    RECT part{0, 0, 50, 40};
    InvalidateRect(hwnd, &part, TRUE);
    UpdateWindow(hwnd);
    HDC hdc = GetDC(hwnd);
    EXPECT_EQ(GetPixel(hdc, 49, 39), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(hdc, 50, 39), RGB(0, 200, 200)) << "outside the paint, as it was";
    EXPECT_EQ(GetPixel(hdc, 400, 300), RGB(0, 200, 200));
    ReleaseDC(hwnd, hdc);

    EXPECT_EQ(SetClassLongPtr(hwnd, 12345, reinterpret_cast<LONG_PTR>(brush)), 0u);
    EXPECT_EQ(SetClassLongPtr(nullptr, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush)), 0u);
    EXPECT_EQ(SetClassLongPtr(hwnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush)),
              reinterpret_cast<ULONG_PTR>(white))
        << "the failed calls changed nothing";
}

TEST_F(WindowManagerTest, FindWindowMatchesClassAndTitleWithoutRegardToCase) {
    ASSERT_NE(register_class(), 0);
    EXPECT_EQ(FindWindow("TestClass", nullptr), nullptr) << "no window yet";
    HWND hwnd = create();
    EXPECT_EQ(FindWindow("testCLASS", nullptr), hwnd) << "a hidden window is found too";
    EXPECT_EQ(FindWindow(nullptr, "TITLE"), hwnd);
    EXPECT_EQ(FindWindow("TestClass", "Title"), hwnd);
    EXPECT_EQ(FindWindow(nullptr, nullptr), hwnd);
    EXPECT_EQ(FindWindow("OtherClass", nullptr), nullptr);
    EXPECT_EQ(FindWindow("TestClass", "Titl"), nullptr);
    DestroyWindow(hwnd);
    EXPECT_EQ(FindWindow("TestClass", nullptr), nullptr);
}

TEST_F(WindowManagerTest, PostedThenPaintThenTimerAndMissedTicksMergeIntoOne) {
    ASSERT_NE(register_class(), 0);
    HWND hwnd = create();
    ShowWindow(hwnd, SW_SHOW);
    SetTimer(hwnd, 1, 50, nullptr);
    backend.now = 50; // the timer is due, a paint is pending, and a message is posted
    PostMessage(hwnd, WM_USER, 0, 0);
    g_log.clear();
    pump(3);
    EXPECT_EQ(g_log, (Log{"WM_USER", "WM_PAINT", "WM_ERASEBKGND", "WM_TIMER"}));

    backend.now = 520; // a stall over nine periods: one message, then back on the 50 ms grid
    g_log.clear();
    pump(1);
    EXPECT_EQ(g_log, (Log{"WM_TIMER"}));
    backend.batches.push_back({});
    pump(1); // nothing is due before 550: the backend waits until then
    EXPECT_EQ(backend.now, 550u);
    EXPECT_EQ(g_log, (Log{"WM_TIMER", "WM_TIMER"}));
}

TEST_F(WindowManagerTest, InputBecomesButtonMessagesWithSixteenBitCoordinates) {
    ASSERT_NE(register_class(), 0);
    HWND hwnd = create();
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    using K = kv::InputEvent::Kind;
    using B = kv::InputEvent::Button;
    std::vector<LPARAM> points;
    g_override = [&](HWND, UINT msg, WPARAM, LPARAM lp) -> LRESULT {
        if (msg == WM_RBUTTONDOWN) points.push_back(lp);
        return 0x7777;
    };
    backend.batches.push_back({kv::testing::event(K::ButtonDown, B::Right, -1, 70000),
                               kv::testing::event(K::ButtonUp, B::Right)});
    g_log.clear();
    pump(2);
    EXPECT_EQ(g_log, (Log{"WM_RBUTTONDOWN", "WM_RBUTTONUP"}));
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(LOWORD(points[0]), 65535);
    EXPECT_EQ(HIWORD(points[0]), 70000 - 65536);
}

TEST_F(WindowManagerTest, CloseDestroysThroughDefWindowProcAndEndsTheLoop) {
    ASSERT_NE(register_class(), 0);
    HWND hwnd = create();
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    g_log.clear();
    backend.batches.push_back({kv::testing::event(kv::InputEvent::Kind::Close)});
    EXPECT_EQ(pump(10), 3);
    EXPECT_EQ(g_log, (Log{"WM_CLOSE", "WM_DESTROY", "WM_NCDESTROY"}));
    EXPECT_EQ(backend.closes, 1);
    EXPECT_EQ(GetDC(hwnd), nullptr) << "the handle is dead";
}

TEST_F(WindowManagerTest, PaintIsClippedToTheUpdateRegion) {
    ASSERT_NE(register_class(), 0);
    HWND hwnd = create();
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    RECT part{10, 10, 20, 20};
    InvalidateRect(hwnd, &part, FALSE);
    COLORREF inside = 0, outside = 0;
    g_override = [&](HWND h, UINT msg, WPARAM, LPARAM) -> LRESULT {
        if (msg != WM_PAINT) return 0x7777;
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(h, &ps);
        EXPECT_EQ(ps.rcPaint.left, 10);
        EXPECT_EQ(ps.rcPaint.bottom, 20);
        SelectObject(hdc, CreateSolidBrush(RGB(1, 2, 3)));
        Rectangle(hdc, 0, 0, 100, 100);
        inside = GetPixel(hdc, 15, 15);
        outside = GetPixel(hdc, 50, 50);
        EndPaint(h, &ps);
        return 0;
    };
    g_log.clear();
    pump(1);
    EXPECT_EQ(g_log, (Log{"WM_PAINT"})) << "InvalidateRect without erase: no WM_ERASEBKGND";
    EXPECT_EQ(inside, RGB(1, 2, 3));
    EXPECT_EQ(outside, CLR_INVALID);
    HDC hdc = GetDC(hwnd);
    EXPECT_EQ(GetPixel(hdc, 50, 50), RGB(0, 200, 200)) << "nothing drawn outside the region";
    ReleaseDC(hwnd, hdc);
}

TEST_F(WindowManagerTest, ResizeInvalidatesOnlyWhatIsNewlyExposed) {
    ASSERT_NE(register_class(), 0);
    HWND hwnd = create();
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    std::vector<RECT> painted;
    g_override = [&](HWND h, UINT msg, WPARAM, LPARAM) -> LRESULT {
        if (msg != WM_PAINT) return 0x7777;
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        painted.push_back(ps.rcPaint);
        EndPaint(h, &ps);
        return 0;
    };
    using K = kv::InputEvent::Kind;
    kv::InputEvent grow = kv::testing::event(K::Resize);
    grow.width = 900;
    grow.height = 557;
    kv::InputEvent shrink = kv::testing::event(K::Resize);
    shrink.width = 300;
    shrink.height = 200;
    backend.batches.push_back({grow});
    backend.batches.push_back({shrink});
    backend.batches.push_back({kv::testing::event(K::Close)});
    g_log.clear();
    pump(20);
    ASSERT_EQ(painted.size(), 1u) << "shrinking paints nothing";
    EXPECT_EQ(painted[0].left, 780);
    EXPECT_EQ(painted[0].right, 900);
    EXPECT_EQ(painted[0].top, 0);
    EXPECT_EQ(painted[0].bottom, 557);
}

TEST_F(WindowManagerTest, EachDcStartsFromTheDefaultsAndAHiddenWindowShowsNothing) {
    ASSERT_NE(register_class(), 0);
    HWND hwnd = create();
    HDC hidden = GetDC(hwnd);
    EXPECT_EQ(SetPixel(hidden, 5, 5, RGB(9, 9, 9)), CLR_INVALID);
    ReleaseDC(hwnd, hidden);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);

    HDC first = GetDC(hwnd);
    SelectObject(first, CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    SelectObject(first, CreateSolidBrush(RGB(0, 0, 255)));
    ReleaseDC(hwnd, first);
    HDC second = GetDC(hwnd);
    Rectangle(second, 10, 10, 20, 20);
    EXPECT_EQ(GetPixel(second, 10, 10), RGB(0, 0, 0)) << "default pen: black";
    EXPECT_EQ(GetPixel(second, 15, 15), RGB(255, 255, 255)) << "default brush: white";
    EXPECT_EQ(GetPixel(second, 20, 20), RGB(0, 200, 200)) << "right and bottom exclusive";
    ReleaseDC(hwnd, second);
    EXPECT_EQ(ReleaseDC(hwnd, second), 0) << "a DC is released once";
}

TEST(WindowManagerWithoutSession, EntryPointsFailQuietly) {
    MSG msg;
    EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), -1);
    EXPECT_EQ(GetDC(nullptr), nullptr);
    EXPECT_EQ(MessageBox(nullptr, "text", "Caption", MB_OK), IDOK);
}

} // namespace
