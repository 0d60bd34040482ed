// Which of SDL's video drivers count as a display. Without one SDL would fall back to its
// offscreen driver and run with a window nobody can see; we would rather fail and say so.
#pragma once

#include <string>
#include <vector>

namespace kv::sdl {

struct DriverEnvironment {
    bool wayland_display = false; // WAYLAND_DISPLAY is set
    bool xdg_runtime_dir = false; // XDG_RUNTIME_DIR is set
};

// The drivers to try, in SDL's order, as SDL_HINT_VIDEODRIVER's comma-separated list: every one
// that shows something on a screen. Wayland is left out when it has no socket to look for,
// where the attempt would only print a complaint.
std::string display_driver_list(const std::vector<std::string>& compiled,
                                const DriverEnvironment& environment);

} // namespace kv::sdl
