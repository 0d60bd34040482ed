// The viewer's keys. They act on how the window is shown and how fast its clock runs; none of
// them reaches the application, which takes only the mouse.
#pragma once

#include <SDL_keyboard.h>

#include <optional>

namespace kv::sdl {

enum class ViewerAction {
    TogglePause,      // Space
    Step,             // Right arrow: one Tick while paused
    Slower,           // '-'
    Faster,           // '+' (also '=' unshifted)
    ZoomIn,           // Ctrl '+'
    ZoomOut,          // Ctrl '-'
    ZoomReset,        // Ctrl '0'
    ToggleFullscreen, // F11
};

// The action of a key press, or none. Held keys repeat only the step.
std::optional<ViewerAction> viewer_action(const SDL_Keysym& key, bool repeat);

} // namespace kv::sdl
