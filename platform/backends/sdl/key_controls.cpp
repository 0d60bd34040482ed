#include "backends/sdl/key_controls.h"

#include <array>

namespace kv::sdl {

std::string_view key_name(const SDL_Keysym& key) {
    static constexpr std::array<std::string_view, 26> kLetters{
        "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m",
        "n", "o", "p", "q", "r", "s", "t", "u", "v", "w", "x", "y", "z"};
    const SDL_Keycode k = key.sym;
    // '?' is Shift '/' on US keyboards and Shift ',' on French ones.
    if (k == SDLK_QUESTION || ((key.mod & KMOD_SHIFT) != 0 && (k == SDLK_SLASH || k == SDLK_COMMA)))
        return "?";
    if (k >= SDLK_a && k <= SDLK_z) return kLetters[static_cast<std::size_t>(k - SDLK_a)];
    switch (k) {
    case SDLK_SPACE:
        return " ";
    case SDLK_RIGHT:
        return "ArrowRight";
    case SDLK_PLUS:
    case SDLK_KP_PLUS:
        return "+";
    case SDLK_EQUALS: // '+' without its Shift
        return "=";
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
        return "-";
    case SDLK_0:
    case SDLK_KP_0:
        return "0";
    case SDLK_ESCAPE:
        return "Escape";
    case SDLK_F1:
        return "F1";
    case SDLK_F11:
        return "F11";
    case SDLK_F12:
        return "F12";
    default:
        return {};
    }
}

std::optional<viewer::Action> viewer_action(const SDL_Keysym& key, bool repeat) {
    const std::string_view name = key_name(key);
    if (name.empty()) return std::nullopt;
    return viewer::action_for_key(
        {name, (key.mod & KMOD_CTRL) != 0, (key.mod & (KMOD_ALT | KMOD_GUI)) != 0, repeat});
}

} // namespace kv::sdl
