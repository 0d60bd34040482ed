#include "backends/sdl/key_controls.h"

namespace kv::sdl {

std::string key_name(const SDL_Keysym& key) {
    // '?' is Shift '/' on US keyboards and Shift ',' on French ones.
    if ((key.mod & KMOD_SHIFT) != 0 && (key.sym == SDLK_SLASH || key.sym == SDLK_COMMA)) return "?";
    std::string name = SDL_GetKeyName(key.sym);
    if (name.starts_with("Keypad ")) name.erase(0, 7);
    if (name == "Right" || name == "Left" || name == "Up" || name == "Down") return "Arrow" + name;
    if (name == "Space") return " ";
    if (name == "Return") return "Enter";
    return name;
}

viewer::KeyPress key_press(const SDL_Keysym& key, std::string_view name, bool repeat) {
    return {name, (key.mod & KMOD_CTRL) != 0, (key.mod & (KMOD_ALT | KMOD_GUI)) != 0, repeat,
            (key.mod & KMOD_SHIFT) != 0};
}

std::optional<viewer::Action> viewer_action(std::span<const viewer::ActionInfo> table,
                                            const SDL_Keysym& key, bool repeat) {
    const std::string name = key_name(key);
    return viewer::action_for_key(table, key_press(key, name, repeat));
}

} // namespace kv::sdl
