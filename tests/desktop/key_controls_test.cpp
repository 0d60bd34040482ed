// The viewer's keys, as SDL reports them: each through the one table of actions.
#include "backends/sdl/key_controls.h"
#include "tools/instruments/action_table.h"

#include <gtest/gtest.h>

namespace {

using ViewerAction = kv::viewer::Action;

SDL_Keysym key(SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
    SDL_Keysym k{};
    k.sym = sym;
    k.mod = mod;
    return k;
}

TEST(KeyControls, EachKeyDoesItsOneThing) {
    struct Case {
        SDL_Keycode sym;
        Uint16 mod;
        std::optional<ViewerAction> action;
    };
    const Case cases[] = {
        {SDLK_SPACE, KMOD_NONE, ViewerAction::TogglePause},
        {SDLK_RIGHT, KMOD_NONE, ViewerAction::Step},
        {SDLK_MINUS, KMOD_NONE, ViewerAction::Slower},
        {SDLK_KP_MINUS, KMOD_NONE, ViewerAction::Slower},
        {SDLK_PLUS, KMOD_NONE, ViewerAction::Faster},
        {SDLK_KP_PLUS, KMOD_NONE, ViewerAction::Faster},
        {SDLK_EQUALS, KMOD_NONE, ViewerAction::Faster},   // '+' without its Shift
        {SDLK_EQUALS, KMOD_LSHIFT, ViewerAction::Faster}, // '+' on a US keyboard
        {SDLK_PLUS, KMOD_LCTRL, ViewerAction::ZoomIn},
        {SDLK_EQUALS, KMOD_RCTRL, ViewerAction::ZoomIn},
        {SDLK_KP_PLUS, KMOD_LCTRL, ViewerAction::ZoomIn},
        {SDLK_MINUS, KMOD_LCTRL, ViewerAction::ZoomOut},
        {SDLK_KP_MINUS, KMOD_RCTRL, ViewerAction::ZoomOut},
        {SDLK_0, KMOD_LCTRL, ViewerAction::ZoomReset},
        {SDLK_KP_0, KMOD_LCTRL, ViewerAction::ZoomReset},
        {SDLK_F11, KMOD_NONE, ViewerAction::ToggleFullscreen},
        {SDLK_F1, KMOD_NONE, ViewerAction::ToggleHelp},
        {SDLK_SLASH, KMOD_LSHIFT, ViewerAction::ToggleHelp}, // '?' on a US keyboard
        {SDLK_COMMA, KMOD_RSHIFT, ViewerAction::ToggleHelp}, // '?' on a French one
        {SDLK_QUESTION, KMOD_NONE, ViewerAction::ToggleHelp},
        {SDLK_SLASH, KMOD_NONE, std::nullopt},
        {SDLK_ESCAPE, KMOD_NONE, ViewerAction::CloseHelp},
        {SDLK_TAB, KMOD_NONE, ViewerAction::FocusNext},
        {SDLK_TAB, KMOD_LSHIFT, ViewerAction::FocusPrevious},
        {SDLK_RETURN, KMOD_NONE, ViewerAction::FocusClick},
        {SDLK_KP_ENTER, KMOD_NONE, ViewerAction::FocusClick},
        {SDLK_RETURN, KMOD_RSHIFT, ViewerAction::FocusRightClick},
        {SDLK_TAB, KMOD_LCTRL, std::nullopt},
        {SDLK_F12, KMOD_NONE, ViewerAction::SavePicture},
        {SDLK_s, KMOD_LCTRL, ViewerAction::SavePicture},
        {SDLK_s, KMOD_NONE, std::nullopt},
        {SDLK_r, KMOD_RCTRL, ViewerAction::ToggleRecording},
        {SDLK_e, KMOD_LCTRL, ViewerAction::SaveData},
        {SDLK_i, KMOD_NONE, ViewerAction::ToggleReadout},
        {SDLK_i, KMOD_LCTRL, std::nullopt},
        {SDLK_0, KMOD_NONE, std::nullopt},      // zoom needs Ctrl
        {SDLK_SPACE, KMOD_LCTRL, std::nullopt}, // Ctrl takes the zoom keys only
        {SDLK_F4, KMOD_LALT, std::nullopt},     // the window manager's, not ours
        {SDLK_PLUS, KMOD_LALT, std::nullopt},
        {SDLK_l, KMOD_NONE, ViewerAction::NextLanguage},
        {SDLK_a, KMOD_NONE, ViewerAction::NextLook},
        {SDLK_a, KMOD_LCTRL, std::nullopt},
        {SDLK_m, KMOD_NONE, ViewerAction::ToggleSound},
        {SDLK_m, KMOD_LCTRL, std::nullopt},
        {SDLK_b, KMOD_NONE, std::nullopt}, // a letter of no action
        {SDLK_LEFT, KMOD_NONE, std::nullopt},
        {SDLK_F2, KMOD_NONE, ViewerAction::TogglePanel},
        {SDLK_o, KMOD_NONE, ViewerAction::TogglePanel},
        {SDLK_o, KMOD_LCTRL, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kv::sdl::viewer_action(kv::tools::ActionTable(), key(c.sym, c.mod), false),
                  c.action)
            << SDL_GetKeyName(c.sym) << " mod " << c.mod;
    }
}

TEST(KeyControls, AHeldKeyRepeatsOnlyTheStep) {
    EXPECT_EQ(kv::sdl::viewer_action(kv::tools::ActionTable(), key(SDLK_RIGHT), true),
              ViewerAction::Step);
    for (const SDL_Keysym k : {key(SDLK_SPACE), key(SDLK_MINUS), key(SDLK_PLUS),
                               key(SDLK_PLUS, KMOD_LCTRL), key(SDLK_F11)}) {
        EXPECT_EQ(kv::sdl::viewer_action(kv::tools::ActionTable(), k, true), std::nullopt)
            << SDL_GetKeyName(k.sym);
    }
}

// The laboratory panel's keys reach it by the web's names.
TEST(KeyControls, TheArrowsHaveTheWebsNames) {
    EXPECT_EQ(kv::sdl::key_name(key(SDLK_UP)), "ArrowUp");
    EXPECT_EQ(kv::sdl::key_name(key(SDLK_DOWN)), "ArrowDown");
    EXPECT_EQ(kv::sdl::key_name(key(SDLK_LEFT)), "ArrowLeft");
    EXPECT_EQ(kv::sdl::key_name(key(SDLK_KP_MINUS)), "-");
    EXPECT_EQ(kv::sdl::key_name(key(SDLK_KP_PLUS)), "+");
}

} // namespace
