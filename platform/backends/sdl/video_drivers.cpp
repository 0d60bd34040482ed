#include "backends/sdl/video_drivers.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kv::sdl {

namespace {

// Drivers that open no window on any screen.
constexpr std::array<std::string_view, 3> kNotDisplays{"offscreen", "dummy", "evdev"};

} // namespace

std::string display_driver_list(const std::vector<std::string>& compiled,
                                const DriverEnvironment& environment) {
    std::string list;
    for (const std::string& name : compiled) {
        if (std::find(kNotDisplays.begin(), kNotDisplays.end(), name) != kNotDisplays.end()) {
            continue;
        }
        if (name == "wayland" && !environment.wayland_display && !environment.xdg_runtime_dir) {
            continue;
        }
        if (!list.empty()) list += ',';
        list += name;
    }
    return list;
}

} // namespace kv::sdl
