// Binds a backend to the Win32 window-manager entry points for as long as it lives. A program's
// main() makes one, then calls WinMain. One session at a time.
#pragma once

#include "user/backend.h"

#include <cstdint>
#include <memory>

namespace kv {

class WindowManager;

// Windows 10's non-client area at 96 DPI for WS_OVERLAPPEDWINDOW with WS_EX_CLIENTEDGE: frame 4 +
// padded border 4 per side, caption 23, client edge 2 per side; an 800 x 600 window has a
// 780 x 557 client area.
struct NonClientInsets {
    int horizontal;
    int vertical;
};
inline constexpr NonClientInsets kOverlappedClientEdgeInsets{2 * (4 + 4 + 2), 2 * (4 + 4 + 2) + 23};
static_assert(800 - kOverlappedClientEdgeInsets.horizontal == 780);
static_assert(600 - kOverlappedClientEdgeInsets.vertical == 557);

class Session {
  public:
    explicit Session(Backend& backend);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // WM_TIMER messages handed out by GetMessage so far.
    std::uint64_t timer_messages() const;

  private:
    std::unique_ptr<WindowManager> manager_;
};

} // namespace kv
