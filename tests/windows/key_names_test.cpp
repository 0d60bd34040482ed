// korveline.exe's keys: what its window procedure hears (a virtual-key code, the character the
// key types unshifted in the keyboard layout, the modifiers) named as the viewer's table names
// keys. Every action of the table is reached from a US keyboard, the keys a French keyboard moves
// still work, and what belongs to Windows (Alt, AltGr) or repeats stays out.
#include "backends/win32/key_names.h"
#include "tools/instruments/action_table.h"
#include "viewer/actions.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using kv::viewer::Action;
using kv::win32::KeyDown;

// WinUser.h's codes of the keys below.
enum : unsigned {
    kTab = 0x09,
    kReturn = 0x0D,
    kShiftKey = 0x10,
    kEscape = 0x1B,
    kSpace = 0x20,
    kRight = 0x27,
    kUp = 0x26,
    kDigit0 = 0x30,
    kDigit6 = 0x36,
    kAdd = 0x6B,
    kSubtract = 0x6D,
    kF1 = 0x70,
    kF2 = 0x71,
    kF4 = 0x73,
    kF11 = 0x7A,
    kF12 = 0x7B,
    kOemPlus = 0xBB,  // '=' and '+' on US keyboards, '=' and '+' on French ones too
    kOemComma = 0xBC, // ',' and '<' on US keyboards, ',' and '?' on French ones
    kOemMinus = 0xBD,
    kOem2 = 0xBF, // '/' and '?' on US keyboards
};

KeyDown letter(char c, bool ctrl = false) {
    return {static_cast<unsigned>(c), static_cast<char32_t>(c), false, ctrl};
}

struct Typed {
    const char* what;
    KeyDown key;
    std::optional<Action> action;
};

std::optional<Action> action_of(const KeyDown& key) {
    const std::string name = kv::win32::key_name(key);
    return kv::viewer::action_for_key(kv::tools::ActionTable(), kv::win32::key_press(key, name));
}

const std::vector<Typed> kUsKeyboard{
    {"Space", {kSpace, U' '}, Action::TogglePause},
    {"Right arrow", {kRight}, Action::Step},
    {"-", {kOemMinus, U'-'}, Action::Slower},
    {"keypad -", {kSubtract, U'-'}, Action::Slower},
    {"Shift =", {kOemPlus, U'=', true}, Action::Faster},
    {"keypad +", {kAdd, U'+'}, Action::Faster},
    {"Ctrl -", {kOemMinus, U'-', false, true}, Action::ZoomOut},
    {"Ctrl =", {kOemPlus, U'=', false, true}, Action::ZoomIn},
    {"Ctrl 0", {kDigit0, U'0', false, true}, Action::ZoomReset},
    {"F11", {kF11}, Action::ToggleFullscreen},
    {"I", letter('I'), Action::ToggleReadout},
    {"C", letter('C'), Action::ToggleLayer},
    {"F12", {kF12}, Action::SavePicture},
    {"Ctrl S", letter('S', true), Action::SavePicture},
    {"Ctrl E", letter('E', true), Action::SaveData},
    {"Ctrl R", letter('R', true), Action::ToggleRecording},
    {"M", letter('M'), Action::ToggleSound},
    {"F1", {kF1}, Action::ToggleHelp},
    {"Shift / (?)", {kOem2, U'/', true}, Action::ToggleHelp},
    {"Escape", {kEscape, 0x1B}, Action::CloseHelp},
    {"Tab", {kTab, U'\t'}, Action::FocusNext},
    {"Shift Tab", {kTab, U'\t', true}, Action::FocusPrevious},
    {"Enter", {kReturn, U'\r'}, Action::FocusClick},
    {"Shift Enter", {kReturn, U'\r', true}, Action::FocusRightClick},
    {"L", letter('L'), Action::NextLanguage},
    {"A", letter('A'), Action::NextLook},
    {"F2", {kF2}, Action::TogglePanel},
    {"O", letter('O'), Action::TogglePanel},
};

TEST(WindowsKeys, EveryActionOfTheTableIsReachedFromAUsKeyboard) {
    std::set<Action> reached;
    for (const Typed& t : kUsKeyboard) {
        EXPECT_EQ(action_of(t.key), t.action) << t.what;
        if (t.action) reached.insert(*t.action);
    }
    for (const kv::viewer::ActionInfo& info : kv::tools::ActionTable())
        EXPECT_TRUE(reached.contains(info.action)) << info.name << " has no key in the table";
}

TEST(WindowsKeys, AFrenchKeyboardTypesItsOwnSignsAndCtrlTakesTheDigitsOfTheNumberRow) {
    const std::vector<Typed> french{
        {"- on the 6 key", {kDigit6, U'-'}, Action::Slower},
        {"Shift = (+)", {kOemPlus, U'=', true}, Action::Faster},
        {"Ctrl on the 0 key, which types a", {kDigit0, U'\u00E0', false, true}, Action::ZoomReset},
        {"Shift , (?)", {kOemComma, U',', true}, Action::ToggleHelp},
        {"the 0 key alone types its letter", {kDigit0, U'\u00E0'}, std::nullopt},
    };
    for (const Typed& t : french)
        EXPECT_EQ(action_of(t.key), t.action) << t.what;
    EXPECT_EQ(kv::win32::key_name({kDigit0, U'\u00E0'}), "\xC3\xA0");
}

TEST(WindowsKeys, WindowsOwnChordsAndHeldKeysStayOut) {
    const std::vector<Typed> none{
        {"Alt F4", {kF4, 0, false, false, true}, std::nullopt},
        {"AltGr E (Ctrl and Alt)", {'E', U'E', false, true, true}, std::nullopt},
        {"Shift alone", {kShiftKey, 0, true}, std::nullopt},
        {"a dead key", {0xDD, 0}, std::nullopt},
        {"I held down", {'I', U'I', false, false, false, true}, std::nullopt},
        {"the right arrow held down", {kRight, 0, false, false, false, true}, Action::Step},
    };
    for (const Typed& t : none)
        EXPECT_EQ(action_of(t.key), t.action) << t.what;
    // While the laboratory panel shows, the arrows are its own: named as it reads them.
    EXPECT_EQ(kv::win32::key_name({kUp}), "ArrowUp");
}

} // namespace
