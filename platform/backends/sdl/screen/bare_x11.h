// A window on an X server with no window manager: nobody acts on a request for full screen.
#pragma once

#include <SDL_video.h>

namespace kv::sdl {

// Where `window` is on X11 and no window manager runs there, moves and sizes it to cover `area`
// itself, and returns true; false elsewhere (another video driver, or a window manager that
// does it).
bool cover_without_window_manager(SDL_Window* window, const SDL_Rect& area);

} // namespace kv::sdl
