// The application's own window on the headless backend, as a user leaves it for the benchmarks:
// supply on, the resultant field and forces shown, and the left coil's field.
#pragma once

#include "backends/headless/scripted_backend.h"
#include "user/session.h"

#include <windows.h>

namespace bench {

class AppWindow {
  public:
    AppWindow();
    ~AppWindow();
    AppWindow(const AppWindow&) = delete;
    AppWindow& operator=(const AppWindow&) = delete;

    // One timer Tick, handed straight to the window procedure.
    void tick();
    HWND hwnd() const { return hwnd_; }

  private:
    void click(int x, int y);

    kv::headless::ScriptedBackend backend_;
    kv::Session session_;
    HWND hwnd_ = nullptr;
};

// Hides every field, the resultant and the forces, as at start-up: the clicks below then show
// exactly what they name, whatever an earlier benchmark left shown.
void hide_fields();

// The clicks that put the window in that state, for korveline-script.
inline constexpr const char* kEverythingShownScript = "click left 25 25\n"   // supply on
                                                      "click left 260 290\n" // resultant, forces
                                                      "click left 80 290\n"; // left coil

} // namespace bench
