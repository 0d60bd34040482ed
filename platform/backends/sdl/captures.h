// Where the window's pictures, recordings and data files go (their names:
// backends/desktop/capture_names.h).
#pragma once

#include <string>

namespace kv::sdl {

// The user's pictures folder (`xdg-user-dir PICTURES`) when that names an existing folder, else
// the current folder ("."). Asked each time: the user may change it while the program runs.
std::string captures_folder();

} // namespace kv::sdl
