// Where the window's pictures, recordings and data files go, and under which names.
#pragma once

#include <ctime>
#include <string>

namespace kv::sdl {

// The user's pictures folder (`xdg-user-dir PICTURES`) when that names an existing folder, else
// the current folder ("."). Asked each time: the user may change it while the program runs.
std::string captures_folder();

// A file name in `folder` that is not taken yet: STEM-YYYYMMDD-HHMMSS.EXTENSION (local time
// `when`), then STEM-YYYYMMDD-HHMMSS-2.EXTENSION and so on.
std::string new_capture_path(const std::string& folder, const std::string& stem,
                             const std::string& extension, std::time_t when);

} // namespace kv::sdl
