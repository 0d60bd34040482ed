#include "backends/sdl/key_controls.h"

namespace kv::sdl {

namespace {

bool is_plus(SDL_Keycode k) {
    return k == SDLK_PLUS || k == SDLK_KP_PLUS || k == SDLK_EQUALS;
}
bool is_minus(SDL_Keycode k) {
    return k == SDLK_MINUS || k == SDLK_KP_MINUS;
}
bool is_zero(SDL_Keycode k) {
    return k == SDLK_0 || k == SDLK_KP_0;
}
// '?' is Shift '/' on US keyboards and Shift ',' on French ones.
bool is_question_mark(const SDL_Keysym& key) {
    const bool shift = (key.mod & KMOD_SHIFT) != 0;
    return key.sym == SDLK_QUESTION || (shift && (key.sym == SDLK_SLASH || key.sym == SDLK_COMMA));
}

} // namespace

std::optional<ViewerAction> viewer_action(const SDL_Keysym& key, bool repeat) {
    const SDL_Keycode k = key.sym;
    if (k == SDLK_RIGHT) return ViewerAction::Step;
    // A held key would toggle or zoom over and over.
    if (repeat) return std::nullopt;

    const bool ctrl = (key.mod & KMOD_CTRL) != 0;
    const bool alt = (key.mod & (KMOD_ALT | KMOD_GUI)) != 0;
    if (alt) return std::nullopt; // leave the window manager's shortcuts alone
    if (ctrl) {
        if (is_plus(k)) return ViewerAction::ZoomIn;
        if (is_minus(k)) return ViewerAction::ZoomOut;
        if (is_zero(k)) return ViewerAction::ZoomReset;
        if (k == SDLK_s) return ViewerAction::SavePicture;
        if (k == SDLK_r) return ViewerAction::ToggleRecording;
        if (k == SDLK_e) return ViewerAction::SaveData;
        return std::nullopt;
    }
    if (k == SDLK_SPACE) return ViewerAction::TogglePause;
    if (is_plus(k)) return ViewerAction::Faster;
    if (is_minus(k)) return ViewerAction::Slower;
    if (k == SDLK_F11) return ViewerAction::ToggleFullscreen;
    if (k == SDLK_F1 || is_question_mark(key)) return ViewerAction::ToggleHelp;
    if (k == SDLK_ESCAPE) return ViewerAction::CloseHelp;
    if (k == SDLK_F12) return ViewerAction::SavePicture;
    if (k == SDLK_i) return ViewerAction::ToggleReadout;
    return std::nullopt;
}

std::vector<viewer::BoxRow> key_help() {
    return {
        {"Space", "pause / resume", {}},
        {"Right arrow", "one Tick, while paused", {}},
        {"-   +", "slower / faster: x1/4, x1/2, x1, x2, x4, x8", {}},
        {"Ctrl +   Ctrl -", "zoom in / out, as far as the screen allows", {}},
        {"Ctrl 0", "zoom x1", {}},
        {"F11", "full screen", {}},
        {"F12   Ctrl S", "save the picture (PNG) in your pictures folder", {}},
        {"Ctrl R", "start / stop recording an animation (GIF)", {}},
        {"Ctrl E", "save the run's data so far (CSV)", {}},
        {"I", "show / hide the readout of values", {}},
        {"F1   ?", "this help (Esc closes it)", {}},
    };
}

} // namespace kv::sdl
