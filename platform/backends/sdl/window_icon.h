// The window's icon (what the task bar and the window switcher show; _NET_WM_ICON on X11),
// from a PNG held in memory.
#pragma once

#include <SDL_video.h>

#include <span>

namespace kv::sdl {

// Decodes `png` and makes it the window's icon. False (the icon left as it was) when the bytes
// are not a PNG it can read.
bool set_window_icon(SDL_Window* window, std::span<const unsigned char> png);

} // namespace kv::sdl
