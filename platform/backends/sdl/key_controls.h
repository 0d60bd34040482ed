// The viewer's keys. They act on how the window is shown and how fast its clock runs; none of
// them reaches the application, which takes only the mouse.
#pragma once

#include "viewer/boxes.h"

#include <SDL_keyboard.h>

#include <optional>
#include <vector>

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
    ToggleHelp,       // F1 or '?'
    CloseHelp,        // Escape
    SavePicture,      // F12 or Ctrl 'S': a PNG of the picture
    ToggleRecording,  // Ctrl 'R': start / stop a GIF recording
    SaveData,         // Ctrl 'E': the run's data so far, as CSV
    ToggleReadout,    // 'I': the readout of values over the picture
};

// The action of a key press, or none. Held keys repeat only the step.
std::optional<ViewerAction> viewer_action(const SDL_Keysym& key, bool repeat);

// The keys above and what they do, as the help box lists them.
std::vector<viewer::BoxRow> key_help();

} // namespace kv::sdl
