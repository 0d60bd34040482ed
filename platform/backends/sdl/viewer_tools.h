// What the program adds to the desktop viewer beyond showing it: the Ticks it wants to hear of,
// the data it saves, the rows of the readout. The viewer calls these at its keys and around each
// Tick; it knows nothing of what the rows say.
#pragma once

#include "viewer/boxes.h"

#include <functional>
#include <string>
#include <vector>

namespace kv::sdl {

struct ViewerTools {
    // Names of saved files: STEM-date-time.png, .gif, .csv.
    std::string file_stem = "capture";
    // Just before each Tick runs, and once it has run (before any further input is handled).
    std::function<void()> tick_starting;
    std::function<void()> tick_done;
    // Ctrl+E: writes the run's data so far to `path`. Throws std::exception saying why not.
    std::function<void(const std::string& path)> write_data;
    // Key I: the readout's title and rows, asked again after every Tick while it shows.
    std::string readout_title;
    std::function<std::vector<viewer::BoxRow>()> readout;
};

} // namespace kv::sdl
