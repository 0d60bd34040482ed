// The desktop's keys: SDL's key events named as the viewer's table names keys. They act on how
// the window is shown and how fast its clock runs, or move the viewer's focus ring and click
// where it stands; the application itself never sees a key, only the mouse's messages.
#pragma once

#include "viewer/actions.h"

#include <SDL_keyboard.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kv::sdl {

// The key as the web's KeyboardEvent.key names it, near enough for the table ("ArrowRight",
// "F11", "+", "S").
std::string key_name(const SDL_Keysym& key);

// The press as the viewer takes it; `name` is key_name(key), kept by the caller.
viewer::KeyPress key_press(const SDL_Keysym& key, std::string_view name, bool repeat);

// The action of a key press in `table`, or none. Held keys repeat only the step.
std::optional<viewer::Action> viewer_action(std::span<const viewer::ActionInfo> table,
                                            const SDL_Keysym& key, bool repeat);

} // namespace kv::sdl
