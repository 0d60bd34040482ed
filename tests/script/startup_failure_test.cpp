// The two start-up failures: a message box, and WinMain returns 1, not the 0 of a normal close.
#include "backends/headless/scripted_backend.h"
#include "user/session.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

namespace {

LRESULT CALLBACK SquatterProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProc(hwnd, msg, wp, lp);
}

class StartUpFailure : public ::testing::Test {
  protected:
    std::ostringstream out, err;
    kv::headless::ScriptedBackend backend{{}, {&out, &err, [] { return std::string(); }}};
    char no_command_line[1] = "";
};

TEST_F(StartUpFailure, ClassThatCannotBeRegistered) {
    kv::Session session(backend);
    WNDCLASSEX taken{};
    taken.cbSize = sizeof(WNDCLASSEX);
    taken.lpfnWndProc = SquatterProc;
    taken.lpszClassName = "MyWindowClass"; // already registered: RegisterClassEx fails
    ASSERT_NE(RegisterClassEx(&taken), 0);

    EXPECT_EQ(WinMain(GetModuleHandle(nullptr), nullptr, no_command_line, SW_SHOWDEFAULT), 1);
    EXPECT_EQ(err.str(), "Error!: Window Registration Failed!\n");
    EXPECT_FALSE(backend.window_open());
}

TEST_F(StartUpFailure, WindowThatCannotBeCreated) {
    backend.set_window_creation_failure("no display");
    kv::Session session(backend);
    EXPECT_EQ(WinMain(GetModuleHandle(nullptr), nullptr, no_command_line, SW_SHOWDEFAULT), 1);
    EXPECT_EQ(err.str(), "Error!: Window Creation Failed!\n");
    EXPECT_EQ(out.str(), "");
}

} // namespace
