// The viewer's actions, and the shape of the one table of them a program hands the viewer: for
// each row, its action, its keys, its label and help in French and English, and whether the
// toolbars show it. The desktop's keys, toolbar and help box, the page's keys, toolbar and help
// come from that table, and so may a program's --help. The viewer's own rows are in own_actions.h;
// a new action is a value here, a row there or in a program's table, and what it does in
// Viewer::act.
#pragma once

#include "viewer/boxes.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv::viewer {

enum class Action {
    TogglePause,
    Step,
    Slower,
    Faster,
    ZoomOut,
    ZoomIn,
    ZoomReset,
    ToggleFullscreen,
    ToggleReadout,
    // The program's layer over the picture, shown or not.
    ToggleLayer,
    SavePicture,
    SaveData,
    ToggleRecording,
    ToggleSound,
    ToggleHelp,
    CloseHelp,
    // The keyboard's way into the picture: a focus ring over its clickable regions.
    FocusNext,
    FocusPrevious,
    FocusClick,
    FocusRightClick,
    // The program's next language (the viewer's own texts follow) and next look, changed while
    // the run goes on.
    NextLanguage,
    NextLook,
    // The program's panel of rows over the picture, changed with the keys while the run goes on.
    TogglePanel,
};

enum class Lang { Fr, En };

struct Text {
    std::string_view fr;
    std::string_view en;
    constexpr std::string_view operator()(Lang lang) const { return lang == Lang::Fr ? fr : en; }
};

// A key as the web's KeyboardEvent.key names it (" ", "ArrowRight", "F11", "+", "s"), with Ctrl,
// and with Shift where Shift makes it another chord (Shift Tab).
struct Chord {
    std::string_view key; // empty: none
    bool ctrl = false;
    bool shift = false;
};

// Where a row has a button.
enum class Button {
    Toolbars, // on the window's toolbar and on the page's
    Window,   // on the window's toolbar only: the page has a control of its own for it
    None,     // on none: a key of the keyboard's own way through the picture
};

// A row of the table (UTF-8 texts).
struct ActionInfo {
    Action action;
    std::string_view name; // the page's button id
    std::array<Chord, 2> keys;
    Text label;    // a button's
    Text label_on; // a button's while its action is on (paused, recording), or empty
    Text help;
    Button toolbar = Button::Toolbars;

    // The same row with a program's words for what it shows of the program.
    constexpr ActionInfo with_help(const Text& words) const {
        ActionInfo row = *this;
        row.help = words;
        return row;
    }
};

// A key pressed: its KeyboardEvent.key name (letters in either case, '=' as '+'), its modifiers
// (Alt or the logo key: the window manager's shortcuts, never ours; Shift counts only for the
// chords that name it), and whether it repeats while held down (only a step does).
struct KeyPress {
    std::string_view key;
    bool ctrl = false;
    bool alt = false;
    bool repeat = false;
    bool shift = false;
};
// The action of the first row of `table` whose keys the press makes, or none.
std::optional<Action> action_for_key(std::span<const ActionInfo> table, const KeyPress& press);

// An action's keys, "F12", "Ctrl S", "Space" / "Espace", with `separator` between them (UTF-8).
std::string keys_text(const ActionInfo& info, Lang lang, std::string_view separator);
// The table's keys and what they do: as the help box's rows (ISO 8859-1, as boxes are), and as
// lines for a terminal, the keys in a column `column` wide.
std::vector<BoxRow> key_help(std::span<const ActionInfo> table, Lang lang);
std::string key_help_text(std::span<const ActionInfo> table, Lang lang, std::size_t column);
// A text of ours in ISO 8859-1, as boxes take it: beyond U+00FF ours hold only the minus sign
// (U+2212), which becomes a hyphen.
std::string latin1(std::string_view utf8);

} // namespace kv::viewer
